#include "HeadwordMerge.h"

#include "LetterIndex.h"

#include <QHashFunctions>

#include <algorithm>
#include <cassert>
#include <cstring>

namespace vocab {

namespace {

constexpr int EntryOfShortI = LetterIndexEntry(QChar(0x0419)); // Й

// The first eight bytes of a key, big-end first, zeros past its end.
std::uint64_t prefixOf(const char *key)
{
    std::uint64_t prefix = 0;
    for (int i = 0; i < 8 && key[i]; ++i)
        prefix |= std::uint64_t(static_cast<unsigned char>(key[i])) << (56 - 8 * i);
    return prefix;
}

} // namespace

void HeadwordMerge::Add(QStringView line)
{
    assert(m_nextBucket < 0);
    if (line.isEmpty())
        return;
    // The very same line again changes nothing: it is equal to the one added
    // before, or to whatever that one was equal to.
    const std::size_t hash = qHash(line);
    if (m_slots.size() < 2 * (m_lines.size() + 1))
        growSlots();
    std::uint32_t *slot = findSlot(line, hash);
    if (*slot != 0)
        return;

    const auto number = std::uint32_t(m_lines.size());
    m_lines.push_back(Line{std::uint32_t(m_text.size()), std::uint32_t(line.size())});
    m_text.append(line);
    *slot = number + 1;

    const auto key = std::uint32_t(m_keys.size());
    m_order.AppendSortKey(line, m_keys);
    m_records.push_back(Record{prefixOf(m_keys.constData() + key), key, number});
}

void HeadwordMerge::Add(const QStringList &lines)
{
    for (const QString &line : lines)
        Add(QStringView(line));
}

void HeadwordMerge::Add(const LineList &lines)
{
    for (qsizetype i = 0; i < lines.size(); ++i)
        Add(lines.at(i));
}

std::uint32_t *HeadwordMerge::findSlot(QStringView line, std::size_t hash)
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        std::uint32_t &slot = m_slots[i];
        if (slot == 0 || text(slot - 1) == line)
            return &slot;
    }
}

void HeadwordMerge::growSlots()
{
    std::size_t size = 1024;
    while (size < 4 * (m_lines.size() + 1))
        size *= 2;
    m_slots.assign(size, 0);
    for (std::uint32_t number = 0; number < m_lines.size(); ++number) {
        const QStringView line = text(number);
        *findSlot(line, qHash(line)) = number + 1;
    }
}

int HeadwordMerge::compare(const Record &a, const Record &b) const
{
    if (a.prefix != b.prefix)
        return a.prefix < b.prefix ? -1 : 1;
    // A zero among the first eight bytes ends both keys there; otherwise the
    // rest of the keys decide.
    if ((a.prefix & 0xFF) != 0) {
        if (const int byKey = std::strcmp(m_keys.constData() + a.key + 8, m_keys.constData() + b.key + 8))
            return byKey;
    }
    return m_order.CompareTied(text(a.line), text(b.line));
}

void HeadwordMerge::beginSort()
{
    // The records go into one bucket per letter, in adding order.
    std::vector<std::size_t> start(LetterIndexTable::EntryCount + 1, 0);
    for (const Record &r : m_records)
        ++start[std::size_t(entryOf(r)) + 1];
    for (std::size_t e = 1; e < start.size(); ++e)
        start[e] += start[e - 1];
    std::vector<Record> bucketed(m_records.size());
    std::vector<std::size_t> next(start.begin(), start.end() - 1);
    for (const Record &r : m_records)
        bucketed[next[std::size_t(entryOf(r))]++] = r;
    m_records = std::move(bucketed);
    m_bucketStart = std::move(start);
    m_slots = {};
    m_nextBucket = 0;
}

bool HeadwordMerge::SortSome()
{
    if (m_nextBucket < 0)
        beginSort();
    const auto less = [this](const Record &a, const Record &b) {
        if (const int c = compare(a, b))
            return c < 0;
        return a.line < b.line;
    };
    while (m_nextBucket < LetterIndexTable::EntryCount) {
        const auto e = std::size_t(m_nextBucket++);
        const auto from = m_records.begin() + std::ptrdiff_t(m_bucketStart[e]);
        const auto to = m_records.begin() + std::ptrdiff_t(m_bucketStart[e + 1]);
        if (to - from < 2)
            continue;
        std::sort(from, to, less);
        return m_nextBucket == LetterIndexTable::EntryCount;
    }
    return true;
}

LineList HeadwordMerge::Lines()
{
    while (!SortSome()) {
    }
    // Of each run of equal lines the first stays: the sort put them in the
    // order they were added.
    std::vector<Record> kept;
    kept.reserve(m_records.size());
    for (const Record &r : m_records) {
        if (kept.empty() || compare(kept.back(), r) != 0)
            kept.push_back(r);
    }
    const auto [start, stop] = ShortIBlock(qsizetype(kept.size()), [&](qsizetype i) { return entryOf(kept[std::size_t(i)]); });
    std::stable_partition(kept.begin() + start, kept.begin() + stop,
                          [this](const Record &r) { return entryOf(r) != EntryOfShortI; });

    LineList::Builder builder;
    qsizetype characters = 0;
    for (const Record &r : kept)
        characters += m_lines[r.line].textLength;
    builder.Reserve(qsizetype(kept.size()), characters);
    for (const Record &r : kept)
        builder.Append(text(r.line));
    return builder.Finish();
}

void ReorderShortI(QStringList &lines)
{
    const auto [start, stop] = ShortIBlock(lines.size(), [&](qsizetype i) { return EntryOfLine(lines.at(i)); });
    // Everything else keeps its place; the Й lines, in their order, go last.
    std::stable_partition(lines.begin() + start, lines.begin() + stop,
                          [](const QString &line) { return EntryOfLine(line) != EntryOfShortI; });
}

} // namespace vocab

#include "HeadwordMerge.h"

#include "LetterIndex.h"

#include <QLocale>

#include <algorithm>
#include <numeric>

namespace vocab {

namespace {

constexpr int EntryOfI = LetterIndexEntry(QChar(0x0418));      // И
constexpr int EntryOfShortI = LetterIndexEntry(QChar(0x0419)); // Й
constexpr int EntryOfK = LetterIndexEntry(QChar(0x041A));      // К

// The word as it is read for ordering: hyphens and apostrophes left out.
QString withoutMarks(const QString &line)
{
    if (!line.contains(u'-') && !line.contains(u'\''))
        return line;
    QString out = line;
    out.remove(u'-');
    out.remove(u'\'');
    return out;
}

} // namespace

HeadwordOrder::HeadwordOrder() : m_collator(QLocale(QLocale::Russian, QLocale::Russia))
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

HeadwordOrder::Key HeadwordOrder::KeyOf(const QString &line) const
{
    return Key{EntryOfLine(line), m_collator.sortKey(withoutMarks(line))};
}

int HeadwordOrder::Compare(const QString &a, const Key &ka, const QString &b, const Key &kb) const
{
    if (ka.entry != kb.entry)
        return ka.entry < kb.entry ? -1 : 1;
    if (const int byWord = ka.sortKey.compare(kb.sortKey))
        return byWord;
    // The same word read without its marks: the marks, and only a difference
    // of case beyond them, decide.
    return m_collator.compare(a, b);
}

HeadwordMerge::HeadwordMerge(const QStringList &existing)
{
    Add(existing);
}

void HeadwordMerge::Add(const QString &line)
{
    if (line.isEmpty())
        return;
    m_items.push_back(Item{line, m_order.KeyOf(line)});
}

void HeadwordMerge::Add(const QStringList &lines)
{
    m_items.reserve(m_items.size() + std::size_t(lines.size()));
    for (const QString &line : lines)
        Add(line);
}

QStringList HeadwordMerge::Lines() const
{
    // A stable sort keeps equal lines in the order they were added, so the
    // first of each run of equals is the one that came first: the same list
    // as adding them one by one to a sorted list that ignores duplicates.
    std::vector<std::size_t> order(m_items.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    const auto compare = [this](std::size_t x, std::size_t y) {
        return m_order.Compare(m_items[x].line, m_items[x].key, m_items[y].line, m_items[y].key);
    };
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) { return compare(x, y) < 0; });

    QStringList lines;
    lines.reserve(qsizetype(order.size()));
    const std::size_t none = order.size();
    std::size_t kept = none;
    for (const std::size_t i : order) {
        if (kept != none && compare(kept, i) == 0)
            continue;
        lines.append(m_items[i].line);
        kept = i;
    }
    return lines;
}

void ReorderShortI(QStringList &lines)
{
    const auto entryAt = [&](qsizetype i) { return EntryOfLine(lines.at(i)); };
    const auto firstOf = [&](int entry) -> qsizetype {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (entryAt(i) == entry)
                return i;
        }
        return -1;
    };
    const qsizetype firstI = firstOf(EntryOfI);
    const qsizetype firstShortI = firstOf(EntryOfShortI);
    if (firstI < 0 || firstShortI < 0)
        return;
    const qsizetype start = std::min(firstI, firstShortI);
    // The block ends at the first line of К..Я, or with the list when И and Й
    // are the last letters it has.
    qsizetype stop = start;
    while (stop < lines.size() && entryAt(stop) < EntryOfK)
        ++stop;
    // Everything else keeps its place; the Й lines, in their order, go last.
    std::stable_partition(lines.begin() + start, lines.begin() + stop,
                          [](const QString &line) { return EntryOfLine(line) != EntryOfShortI; });
}

} // namespace vocab

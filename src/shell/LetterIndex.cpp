#include "LetterIndex.h"

#include "ListFile.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <vector>

namespace vocab {

namespace {

constexpr bool IsIndexMark(QChar c) noexcept { return c == u'-' || c == u'\''; }

constexpr int FirstLetterEntry = 1;
constexpr int LastLetterEntry = LetterIndexTable::EntryCount - 1;

// The entry of every line, worked out once for the scans of a build.
std::vector<std::uint8_t> entriesOfLines(const QStringList &lines)
{
    std::vector<std::uint8_t> entries;
    entries.reserve(std::size_t(lines.size()));
    for (const QString &line : lines)
        entries.push_back(std::uint8_t(EntryOfLine(line)));
    return entries;
}

// What every letter's last is for given firsts: the line before the next
// letter that has lines, or the last line of the list.
std::int32_t lastOfLetter(const LetterIndexTable &index, int entry, std::int32_t count)
{
    for (int next = entry + 1; next <= LastLetterEntry; ++next) {
        if (!index.Entry(next).IsEmpty())
            return index.Entry(next).first - 1;
    }
    return count - 1;
}

} // namespace

QChar KeyLetter(QStringView word) noexcept
{
    if (word.isEmpty())
        return QChar();
    if (word.size() >= 2 && IsIndexMark(word[0]) && (IsLatinCapital(word[1]) || IsCyrillicCapital(word[1])))
        return word[1];
    return word[0];
}

int EntryOfLine(QStringView line) noexcept
{
    // Only the first two units can decide the letter.
    QChar head[2];
    const qsizetype n = std::min<qsizetype>(line.size(), 2);
    for (qsizetype i = 0; i < n; ++i)
        head[i] = line[i].toUpper();
    return EntryOfKey(QStringView(head, n));
}

LetterIndexTable LetterIndexTable::Build(const QStringList &lines)
{
    LetterIndexTable index;
    if (lines.isEmpty())
        return index;
    const auto count = std::int32_t(lines.size());
    const std::vector<std::uint8_t> entries = entriesOfLines(lines);

    for (LetterRange &range : index.m_entries)
        range = {-1, count - 1};

    // A letter is looked for from where the letter before it was found. The
    // last line of each letter tells at once whether there is any at or after
    // that place, so a missing letter costs no scan and the scans of all
    // letters together pass over the list once.
    std::array<std::int32_t, EntryCount> lastOccurrence;
    lastOccurrence.fill(-1);
    for (std::int32_t i = 0; i < count; ++i)
        lastOccurrence[entries[std::size_t(i)]] = i;
    std::int32_t pos = 0;
    for (int e = FirstLetterEntry; e <= LastLetterEntry; ++e) {
        if (lastOccurrence[std::size_t(e)] < pos)
            continue;
        while (entries[std::size_t(pos)] != e)
            ++pos;
        index.m_entries[std::size_t(e)].first = pos;
    }

    LetterRange &others = index.m_entries[0];
    others.first = 0;
    for (std::int32_t i = 0; i < count && entries[std::size_t(i)] == 0; ++i)
        others.last = i;

    for (int e = FirstLetterEntry; e < LastLetterEntry; ++e)
        index.m_entries[std::size_t(e)].last = lastOfLetter(index, e, count);
    return index;
}

bool LetterIndexTable::FitsList(const QStringList &lines) const
{
    if (lines.size() > INT32_MAX)
        return false;
    const auto count = std::int32_t(lines.size());
    if (count == 0) {
        return std::all_of(m_entries.begin(), m_entries.end(), [](const LetterRange &r) { return r.IsEmpty(); });
    }
    const auto entryAt = [&](std::int32_t i) { return EntryOfLine(lines.at(i)); };

    const LetterRange &others = m_entries[0];
    std::int32_t othersLast = count - 1;
    for (std::int32_t i = 0; i < count && entryAt(i) == 0; ++i)
        othersLast = i;
    if (others.first != 0 || others.last != othersLast)
        return false;

    std::int32_t previousFirst = -1;
    for (int e = FirstLetterEntry; e <= LastLetterEntry; ++e) {
        const LetterRange &range = m_entries[std::size_t(e)];
        if (!range.IsEmpty()) {
            if (range.first <= previousFirst || range.first >= count || entryAt(range.first) != e)
                return false;
            // The line before was looked at for this letter too, unless the
            // letter before begins there.
            const std::int32_t before = range.first - 1;
            if (before >= 0 && before > previousFirst && entryAt(before) == e)
                return false;
            previousFirst = range.first;
        }
        if (range.last != lastOfLetter(*this, e, count))
            return false;
    }
    return true;
}

std::optional<LetterRange> LetterIndexTable::LinesOfEntry(int entry, qsizetype count) const
{
    const LetterRange &range = Entry(entry);
    if (range.IsEmpty() || range.first >= count)
        return std::nullopt;
    const auto last = std::int32_t(std::min<qsizetype>(range.last, count - 1));
    if (last < range.first)
        return std::nullopt;
    return LetterRange{range.first, last};
}

QByteArray LetterIndexTable::Record() const
{
    QByteArray record(RecordSize, Qt::Uninitialized);
    char *out = record.data();
    for (const LetterRange &range : m_entries) {
        qToLittleEndian<std::int32_t>(range.first, out);
        qToLittleEndian<std::int32_t>(range.last, out + 4);
        out += 8;
    }
    return record;
}

std::optional<LetterIndexTable> LetterIndexTable::FromRecord(QByteArrayView bytes)
{
    if (bytes.size() < RecordSize)
        return std::nullopt;
    LetterIndexTable index;
    const char *in = bytes.data();
    for (LetterRange &range : index.m_entries) {
        range.first = qFromLittleEndian<std::int32_t>(in);
        range.last = qFromLittleEndian<std::int32_t>(in + 4);
        in += 8;
    }
    return index;
}

std::optional<LetterIndexTable> LetterIndexTable::ReadFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return FromRecord(file.read(RecordSize));
}

void LetterIndexTable::WriteFile(const QString &path) const
{
    ListFile::writeBytes(path, Record());
}

} // namespace vocab

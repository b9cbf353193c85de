#include "LetterIndex.h"

#include "ListFile.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <vector>

namespace vocab {

namespace {

constexpr int FirstLetterEntry = 1;
constexpr int LastLetterEntry = LetterIndexTable::EntryCount - 1;

// The entry of every line, worked out once for the scans of a build.
template <typename Lines>
std::vector<std::uint8_t> entriesOfLines(const Lines &lines)
{
    std::vector<std::uint8_t> entries(std::size_t(lines.size()));
    for (qsizetype i = 0; i < lines.size(); ++i)
        entries[std::size_t(i)] = std::uint8_t(EntryOfLine(lines.at(i)));
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

LetterIndexTable LetterIndexTable::fromEntries(const std::vector<std::uint8_t> &entries)
{
    LetterIndexTable index;
    if (entries.empty())
        return index;
    const auto count = std::int32_t(entries.size());

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

LetterIndexTable LetterIndexTable::Build(const QStringList &lines)
{
    return fromEntries(entriesOfLines(lines));
}

LetterIndexTable LetterIndexTable::Build(const LineList &lines)
{
    return fromEntries(entriesOfLines(lines));
}

bool LetterIndexTable::FitsList(const QStringList &lines) const
{
    return lines.size() <= INT32_MAX && *this == fromEntries(entriesOfLines(lines));
}

bool LetterIndexTable::FitsList(const LineList &lines) const
{
    return lines.size() <= INT32_MAX && *this == fromEntries(entriesOfLines(lines));
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

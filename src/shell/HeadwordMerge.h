#pragma once

#include "HeadwordCollation.h"
#include "LineList.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace vocab {

// Builds the combined headword list. The result is the list that adding the
// lines one by one to a list kept in HeadwordOrder would give, where a line
// equal to one already there is dropped: sorted, no two lines equal, of equal
// lines the one added first. Empty lines are left out, as no search can find
// them.
//
// Adding a line costs its sort key, or a look-up alone when the very same
// line was added before. The sort goes a letter at a time, so that a window
// can stay alive between the steps; the keys are compared as bytes, and the
// lines themselves only where two keys are equal.
class HeadwordMerge {
public:
    HeadwordMerge() = default;
    // The merge starts from the list as it stands.
    explicit HeadwordMerge(const QStringList &existing) { Add(existing); }

    // Not once the sort has begun.
    void Add(QStringView line);
    void Add(const QStringList &lines);
    void Add(const LineList &lines);

    // Lines added, the very same line counted once.
    qsizetype Count() const { return qsizetype(m_lines.size()); }

    // Sorts the lines of the next letter that has any; true once all are sorted.
    bool SortSome();

    // The sorted list without duplicates, then Й put after И (see
    // ReorderShortI; the order already does it). Sorts what is still to sort.
    LineList Lines();

private:
    struct Line {
        std::uint32_t textOffset;
        std::uint32_t textLength;
    };
    // A line as it is sorted: the first eight bytes of its sort key, big-end
    // first, where the key lies in m_keys, and the line's number in adding
    // order, which keeps equal lines in the order they came.
    struct Record {
        std::uint64_t prefix;
        std::uint32_t key;
        std::uint32_t line;
    };

    QStringView text(std::uint32_t line) const
    {
        const Line &l = m_lines[line];
        return QStringView(m_text.constData() + l.textOffset, l.textLength);
    }
    int compare(const Record &a, const Record &b) const;
    int entryOf(const Record &r) const { return int(static_cast<unsigned char>(m_keys[r.key])) - 1; }
    std::uint32_t *findSlot(QStringView line, std::size_t hash);
    void growSlots();
    void beginSort();

    HeadwordOrder m_order;
    QString m_text;
    std::vector<Line> m_lines;
    QByteArray m_keys;
    std::vector<Record> m_records;
    // The lines added, by hash: line number + 1, 0 for a free slot.
    std::vector<std::uint32_t> m_slots;
    // The records by letter once the sort has begun: letter e is
    // m_records[m_bucketStart[e] .. m_bucketStart[e + 1]).
    std::vector<std::size_t> m_bucketStart;
    int m_nextBucket = -1;
};

// The lines start .. stop - 1 among which the lines of Й are to go last: from
// the first line of И or of Й, whichever comes first, up to the first line of
// К..Я after it or the end of the list. An empty range when the list has no
// line of И or none of Й. `entryAt(i)` is the index entry of line i.
template <typename EntryAt>
std::pair<qsizetype, qsizetype> ShortIBlock(qsizetype count, EntryAt entryAt)
{
    constexpr int EntryOfI = LetterIndexEntry(QChar(0x0418));      // И
    constexpr int EntryOfShortI = LetterIndexEntry(QChar(0x0419)); // Й
    constexpr int EntryOfK = LetterIndexEntry(QChar(0x041A));      // К
    qsizetype firstI = -1;
    qsizetype firstShortI = -1;
    for (qsizetype i = 0; i < count && (firstI < 0 || firstShortI < 0); ++i) {
        const int entry = entryAt(i);
        if (entry == EntryOfI && firstI < 0)
            firstI = i;
        else if (entry == EntryOfShortI && firstShortI < 0)
            firstShortI = i;
    }
    if (firstI < 0 || firstShortI < 0)
        return {0, 0};
    const qsizetype start = std::min(firstI, firstShortI);
    qsizetype stop = start;
    while (stop < count && entryAt(stop) < EntryOfK)
        ++stop;
    return {start, stop};
}

// Makes sure the lines of Й stand after every line of И, directly before the
// first line of К..Я that follows them, keeping their own order; the lines
// are told by their index entries. A list without lines of И or of Й is left
// as it is. The merge never puts Й among И; a list made elsewhere may.
void ReorderShortI(QStringList &lines);

} // namespace vocab

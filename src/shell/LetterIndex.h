#pragma once

#include "HeadwordCollation.h"
#include "LineList.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace vocab {

// Lines first..last of the combined list; first is -1 for a letter without lines.
struct LetterRange {
    std::int32_t first = -1;
    std::int32_t last = -1;

    bool IsEmpty() const { return first < 0; }
    bool operator==(const LetterRange &) const = default;
};

// Where each letter's lines lie in the combined headword list: entry 0 for
// lines that begin with anything but a capital letter, 1..26 for A..Z, 27..58
// for А..Я. On disk (dictionaries.dvc) it is one record of 59 pairs of signed
// 32-bit little-endian numbers, first then last, 472 bytes with no header.
class LetterIndexTable {
public:
    static constexpr int EntryCount = 59;
    static constexpr int RecordSize = EntryCount * 8;

    // Every entry (-1, -1): no letter has lines, so no search reads any.
    LetterIndexTable() = default;

    // The index of `lines`, in the list's own order; an empty list gives the
    // empty index. Each letter begins at the first line of that letter after
    // the beginning of the letter before; a letter ends where the next letter
    // that has lines begins, the last one at the end of the list. Entry 0
    // starts at line 0 and ends with the run of other lines at the top (at the
    // end of the list when the first line already begins with a letter).
    static LetterIndexTable Build(const QStringList &lines);
    static LetterIndexTable Build(const LineList &lines);

    const LetterRange &Entry(int entry) const { return m_entries.at(std::size_t(entry)); }
    void SetEntry(int entry, LetterRange range) { m_entries.at(std::size_t(entry)) = range; }

    // Whether the index is the one built from `lines`. A record from another
    // or an older list fails this, even one of the same length whose letters
    // begin where this list's do: every line is looked at once.
    bool FitsList(const QStringList &lines) const;
    bool FitsList(const LineList &lines) const;

    // Lines of `lines` to scan for a key of the given entry, kept inside the
    // list whatever the index says; nothing for an entry without lines.
    std::optional<LetterRange> LinesOfEntry(int entry, qsizetype count) const;

    QByteArray Record() const;
    // The first record of the bytes; nothing when they are fewer than a record.
    static std::optional<LetterIndexTable> FromRecord(QByteArrayView bytes);

    // Reads the first record of the file; nothing when it is missing, shorter
    // than a record or cannot be read.
    static std::optional<LetterIndexTable> ReadFile(const QString &path);
    // Writes the record atomically; throws FileError.
    void WriteFile(const QString &path) const;

    bool operator==(const LetterIndexTable &) const = default;

private:
    // The index of a list whose lines have these entries.
    static LetterIndexTable fromEntries(const std::vector<std::uint8_t> &entries);

    std::array<LetterRange, EntryCount> m_entries{};
};

} // namespace vocab

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <cstdint>
#include <optional>

namespace vocab {

// --- the letter of a word, as the combined list is indexed by it -------------

// U+0410..U+042F, А..Я; Ё lies outside.
constexpr bool IsCyrillicCapital(QChar c) noexcept { return c.unicode() >= 0x0410 && c.unicode() <= 0x042F; }
inline bool IsCyrillicCapital(QStringView text) noexcept { return !text.isEmpty() && IsCyrillicCapital(text.front()); }
constexpr bool IsLatinCapital(QChar c) noexcept { return c.unicode() >= u'A' && c.unicode() <= u'Z'; }

// À, É and Ö stand for A, E and O when the range of a key is chosen; every
// other character is itself.
constexpr QChar FoldLatinAccent(QChar c) noexcept
{
    switch (c.unicode()) {
    case 0x00C0: return QChar(u'A');
    case 0x00C9: return QChar(u'E');
    case 0x00D6: return QChar(u'O');
    default: return c;
    }
}

// The character a word is indexed by: its first, or its second when the first
// is a hyphen or an apostrophe standing before a Latin or Cyrillic capital.
// A null character for an empty word.
QChar KeyLetter(QStringView word) noexcept;

// The entry of the letter index for a character: 1..26 for A..Z, 27..58 for
// А..Я, 0 for anything else.
constexpr int LetterIndexEntry(QChar c) noexcept
{
    if (IsLatinCapital(c))
        return c.unicode() - 64;
    if (IsCyrillicCapital(c))
        return c.unicode() - 1013;
    return 0;
}

// The entry a search key is looked up in: its key letter, accent-folded.
inline int EntryOfKey(QStringView key) noexcept { return LetterIndexEntry(FoldLatinAccent(KeyLetter(key))); }

// The entry a line of the combined list belongs to: the entry of its
// upper-cased form, so that lines differing only in case belong together. The
// combined list is sorted by it first, which keeps every letter's lines
// together and every line inside the range its key is looked up in.
int EntryOfLine(QStringView line) noexcept;

// --- the index -----------------------------------------------------------------

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

    const LetterRange &Entry(int entry) const { return m_entries.at(std::size_t(entry)); }
    void SetEntry(int entry, LetterRange range) { m_entries.at(std::size_t(entry)) = range; }

    // Whether the index can be one built from `lines`: entry 0 ends where the
    // list's own run of other lines does, every letter's first line is in the
    // list and of that letter (the line before it not), the letters follow
    // each other in order, and every last is what those firsts and the length
    // of the list make it. A record from another or an older list fails this;
    // the check reads the other lines at the top and two lines per letter.
    bool FitsList(const QStringList &lines) const;

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
    std::array<LetterRange, EntryCount> m_entries{};
};

} // namespace vocab

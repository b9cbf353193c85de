#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringView>

struct UCollator;

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

// --- the order of the combined headword list ----------------------------------

// Lines are ordered by their letter index entry first (other characters,
// then A..Z, then А..Я; see EntryOfLine), so each letter's lines stand
// together and the index can point at them. Within a letter the order is the
// Russian locale's, without regard to case, reading a word as if its hyphens
// and apostrophes were not there, so "CO-OP" stands beside "COOP" and "-ЛОГ"
// among the other words in Л; a word with them comes just before the same
// word without them. Two lines are equal, and so the same headword, when
// they differ in letter case alone: a soft hyphen, a zero-width space or an
// accent written as a separate mark make another headword, which stands next
// to the one without it.
//
// The locale is fixed rather than the user's, so that the list, and with it
// the index on disk, come out the same for every user.
class HeadwordOrder {
public:
    HeadwordOrder();
    ~HeadwordOrder();
    HeadwordOrder(const HeadwordOrder &) = delete;
    HeadwordOrder &operator=(const HeadwordOrder &) = delete;

    // Appends the line's sort key to `out`: a byte for its entry, the
    // collation bytes of its word read without marks, and a closing zero byte,
    // the only zero in it. Keys compare as C strings compare (strcmp) in the
    // order of the lines they stand for; equal keys leave the order to
    // CompareTied.
    void AppendSortKey(QStringView line, QByteArray &out) const;
    QByteArray SortKey(QStringView line) const;

    // The order of two lines with equal sort keys: the marks and the way the
    // lines are written decide, and only lines that differ in case alone are
    // equal.
    int CompareTied(QStringView a, QStringView b) const;

    // Negative, zero or positive as a stands before, with or after b.
    int Compare(QStringView a, QStringView b) const;

private:
    UCollator *m_collator = nullptr;
};

} // namespace vocab

#pragma once

#include <QCollator>
#include <QCollatorSortKey>
#include <QString>
#include <QStringList>

#include <vector>

namespace vocab {

// The order of the combined headword list.
//
// Lines are ordered by their letter index entry first (other characters,
// then A..Z, then А..Я; see EntryOfLine), so each letter's lines stand
// together and the index can point at them. Within a letter the order is the
// Russian locale's, without regard to case, reading a word as if its hyphens
// and apostrophes were not there, so "CO-OP" stands beside "COOP" and "-ЛОГ"
// among the other words in Л; a word with them comes just before the same
// word without them. Two lines are equal, and so the same headword, when
// they differ in letter case alone.
//
// The locale is fixed rather than the user's, so that the list, and with it
// the index on disk, come out the same for every user.
class HeadwordOrder {
public:
    HeadwordOrder();

    // A line made ready for comparing: its entry and collation key.
    struct Key {
        int entry;
        QCollatorSortKey sortKey;
    };
    Key KeyOf(const QString &line) const;

    // Negative, zero or positive as a stands before, with or after b.
    int Compare(const QString &a, const Key &ka, const QString &b, const Key &kb) const;
    int Compare(const QString &a, const QString &b) const { return Compare(a, KeyOf(a), b, KeyOf(b)); }

private:
    QCollator m_collator;
};

// Builds the combined headword list: the lines already there and every line
// added come out in HeadwordOrder, with no two lines equal; of equal lines the
// one added first stays. Empty lines are left out, as no search can find them.
class HeadwordMerge {
public:
    // The merge starts from the list as it stands.
    explicit HeadwordMerge(const QStringList &existing = {});

    void Add(const QString &line);
    void Add(const QStringList &lines);

    // The sorted list without duplicates.
    QStringList Lines() const;

private:
    struct Item {
        QString line;
        HeadwordOrder::Key key;
    };

    HeadwordOrder m_order;
    std::vector<Item> m_items;
};

// Makes sure the lines of Й stand after every line of И, directly before the
// first line of К..Я that follows them, keeping their own order; the lines
// are told by their index entries. A list without lines of И or of Й is left
// as it is. The merge never puts Й among И; a list made elsewhere may.
void ReorderShortI(QStringList &lines);

} // namespace vocab

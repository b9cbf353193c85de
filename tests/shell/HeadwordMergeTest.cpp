// The order of the combined headword list, the merge that builds it and the
// move of Й after И.
#include "HeadwordMerge.h"

#include "CombinedFixtures.h"
#include "LetterIndex.h"

#include <algorithm>
#include <utility>
#include <vector>

using namespace vocab;
using namespace vocab::test;
using namespace Qt::StringLiterals;

TEST(HeadwordMergeTest, OtherSignsThenLatinThenCyrillicEachLetterTogether)
{
    EXPECT_EQ(MixedDictionaries(), (QStringList{
        // Digits, signs and the letters that are not indexed: Ё, Ü.
        u"(X"_s, u"1812"_s, u"5-Й"_s, u"ЁЖ"_s, u"ÜBER"_s,
        u"A"_s, u"APPLE"_s,
        // É belongs to E and is read as E there.
        u"ÉTAGE"_s, u"ETAT"_s, u"EZ"_s,
        u"O'CLOCK"_s, u"ÖL"_s,
        // Read without the apostrophe: TIS.
        u"TABLE"_s, u"'TIS"_s, u"TREE"_s,
        u"ZOO"_s,
        // Read without the hyphen: БИС; "Бор" came after "БОР" and is dropped.
        u"БАНК"_s, u"-БИС"_s, u"БОР"_s,
        u"ЕЖ"_s,
        u"ИВА"_s, u"ИГЛА"_s, u"ИЗЮМ"_s,
        u"ЙОГ"_s, u"ЙОД"_s,
        u"КОТ"_s,
        u"ЛЕС"_s, u"-ЛОГ"_s, u"ЛУНА"_s,
        u"ЯК"_s,
    }));
}

TEST(HeadwordMergeTest, EqualsWithoutRegardToCaseKeepTheFirstAdded)
{
    struct Case {
        QStringList existing;
        QStringList added;
        QStringList result;
    };
    const Case cases[] = {
        {{u"КОТ"_s}, {u"кот"_s}, {u"КОТ"_s}},
        {{}, {u"кот"_s, u"КОТ"_s, u"Кот"_s}, {u"кот"_s}},
        // Differences that are not of case make different headwords.
        {{}, {u"COOP"_s, u"CO-OP"_s, u"CO'OP"_s}, {u"CO-OP"_s, u"CO'OP"_s, u"COOP"_s}},
        {{}, {u"ЁЖ"_s, u"ЕЖ"_s, u"ETE"_s, u"ÉTÉ"_s}, {u"ЁЖ"_s, u"ETE"_s, u"ÉTÉ"_s, u"ЕЖ"_s}},
        // What the collator passes over still tells headwords apart: a soft
        // hyphen, a zero-width space, an accent written as its own mark.
        {{u"КОТ"_s}, {u"КО\u00ADТ"_s}, {u"КО\u00ADТ"_s, u"КОТ"_s}},
        {{u"КО\u00ADТ"_s}, {u"КОТ"_s, u"ко\u00ADт"_s}, {u"КО\u00ADТ"_s, u"КОТ"_s}},
        {{}, {u"A\u200BB"_s, u"AB"_s}, {u"AB"_s, u"A\u200BB"_s}},
        {{}, {u"ÉT"_s, u"E\u0301T"_s, u"ét"_s}, {u"E\u0301T"_s, u"ÉT"_s}},
        // The lines already there are sorted too; empty lines are no headwords.
        {{u"ЯК"_s, u""_s, u"АИСТ"_s}, {u""_s, u"ак"_s}, {u"АИСТ"_s, u"ак"_s, u"ЯК"_s}},
        {{}, {}, {}},
    };
    for (const Case &c : cases) {
        HeadwordMerge merge(c.existing);
        merge.Add(c.added);
        EXPECT_EQ(merge.Lines().ToStringList(), c.result) << c.added.join(u' ').toStdString();
    }
}

namespace {

// The list the merge stands for: each line put into a list kept sorted, one
// at a time, where a line equal to one already there is dropped.
QStringList insertedOneByOne(const std::vector<QStringList> &parts)
{
    const HeadwordOrder order;
    QStringList sorted;
    for (const QStringList &part : parts) {
        for (const QString &line : part) {
            if (line.isEmpty())
                continue;
            const auto at = std::lower_bound(sorted.begin(), sorted.end(), line, [&](const QString &a, const QString &b) {
                return order.Compare(a, b) < 0;
            });
            if (at != sorted.end() && order.Compare(*at, line) == 0)
                continue;
            sorted.insert(at, line);
        }
    }
    return sorted;
}

} // namespace

TEST(HeadwordMergeTest, SameListAsInsertingTheLinesOneByOne)
{
    // Case, marks, accents composed and not, a soft hyphen, Ё, И and Й,
    // blanks, digits and signs, both alphabets.
    const QString alphabet = u"-' 1(AEÉOÖZeéЁЕИЙКЯеий\u0301\u00AD"_s;
    for (quint32 seed = 1; seed <= 10; ++seed) {
        SCOPED_TRACE(seed);
        const std::vector<QStringList> parts{RandomWords(alphabet, 1000, seed * 3), RandomWords(alphabet, 1000, seed * 3 + 1),
                                             RandomWords(alphabet, 1000, seed * 3 + 2)};
        HeadwordMerge merge;
        for (const QStringList &part : parts)
            merge.Add(part);
        ASSERT_EQ(merge.Lines().ToStringList(), insertedOneByOne(parts));
    }
}

TEST(HeadwordOrderTest, LinesAreEqualWhenTheyDifferInCaseAlone)
{
    const HeadwordOrder order;
    const std::pair<QString, QString> equal[] = {{u"КОТ"_s, u"кот"_s}, {u"Кот"_s, u"кОТ"_s}, {u"ÉTÉ"_s, u"été"_s}, {u"-ЁЖ"_s, u"-ёж"_s}};
    for (const auto &[a, b] : equal) {
        EXPECT_EQ(order.Compare(a, b), 0) << a.toStdString();
        EXPECT_EQ(order.SortKey(a), order.SortKey(b)) << a.toStdString();
    }
    const std::pair<QString, QString> different[] = {
        {u"КО\u00ADТ"_s, u"КОТ"_s}, {u"AB"_s, u"A\u200BB"_s}, {u"E\u0301T"_s, u"ÉT"_s},
        {u"CO-OP"_s, u"COOP"_s},   {u"ЁЖ"_s, u"ЕЖ"_s},        {u"ИВА"_s, u"ЙОД"_s},
    };
    for (const auto &[a, b] : different) {
        EXPECT_LT(order.Compare(a, b), 0) << a.toStdString();
        EXPECT_GT(order.Compare(b, a), 0) << a.toStdString();
    }
}

TEST(HeadwordMergeTest, AnyMixKeepsEveryLetterInOneRunAndInIndexOrder)
{
    // Random words over every kind of first character, in both cases,
    // merged from three dictionaries.
    const QString alphabet = u"-'1(AEÉÀÖOZÜЁЕИЙКЯаеиzя"_s;
    const QStringList merged = Merged({RandomWords(alphabet, 2000, 1), RandomWords(alphabet, 2000, 2),
                                       RandomWords(alphabet, 2000, 3)});

    for (qsizetype i = 1; i < merged.size(); ++i) {
        ASSERT_LE(EntryOfLine(merged[i - 1]), EntryOfLine(merged[i])) << merged[i - 1].toStdString() << " / " << merged[i].toStdString();
        ASSERT_NE(merged[i - 1].compare(merged[i], Qt::CaseInsensitive), 0) << merged[i].toStdString();
    }
    QStringList reordered = merged;
    ReorderShortI(reordered);
    EXPECT_EQ(reordered, merged) << "the merge already puts Й after И";

    const LetterIndexTable index = LetterIndexTable::Build(merged);
    for (qsizetype i = 0; i < merged.size(); ++i) {
        const std::optional<LetterRange> range = index.LinesOfEntry(EntryOfLine(merged[i]), merged.size());
        ASSERT_TRUE(range && range->first <= i && i <= range->last) << merged[i].toStdString();
    }
}

TEST(ReorderShortITest, ShortIStandsAfterEveryI)
{
    struct Case {
        const char *what;
        QStringList lines;
        QStringList result;
    };
    const Case cases[] = {
        {"Й among И", {u"АИСТ"_s, u"ИВА"_s, u"ЙОД"_s, u"ИГЛА"_s, u"КОТ"_s}, {u"АИСТ"_s, u"ИВА"_s, u"ИГЛА"_s, u"ЙОД"_s, u"КОТ"_s}},
        // A list that begins with И is put right too, as is one that ends
        // with И and Й: otherwise И words would fall into Й's range.
        {"И on the first line", {u"ИВА"_s, u"ЙОД"_s, u"ИГЛА"_s, u"КОТ"_s}, {u"ИВА"_s, u"ИГЛА"_s, u"ЙОД"_s, u"КОТ"_s}},
        {"no К..Я after them", {u"АИСТ"_s, u"ИВА"_s, u"ЙОД"_s, u"ИГЛА"_s}, {u"АИСТ"_s, u"ИВА"_s, u"ИГЛА"_s, u"ЙОД"_s}},
        {"Й first", {u"ЙОД"_s, u"ИВА"_s, u"КОТ"_s}, {u"ИВА"_s, u"ЙОД"_s, u"КОТ"_s}},
        {"the Й block keeps its order; Й after К stays",
         {u"ИВА"_s, u"ЙОГ"_s, u"ИГЛА"_s, u"ЙОД"_s, u"ИЗЮМ"_s, u"КОТ"_s, u"ЙТ"_s},
         {u"ИВА"_s, u"ИГЛА"_s, u"ИЗЮМ"_s, u"ЙОГ"_s, u"ЙОД"_s, u"КОТ"_s, u"ЙТ"_s}},
        {"a hyphen before Й", {u"ИВА"_s, u"-ЙОД"_s, u"ИГЛА"_s, u"КОТ"_s}, {u"ИВА"_s, u"ИГЛА"_s, u"-ЙОД"_s, u"КОТ"_s}},
        {"no Й", {u"АИСТ"_s, u"ИВА"_s, u"КОТ"_s}, {u"АИСТ"_s, u"ИВА"_s, u"КОТ"_s}},
        {"no И", {u"ЙОД"_s, u"АИСТ"_s, u"КОТ"_s}, {u"ЙОД"_s, u"АИСТ"_s, u"КОТ"_s}},
        {"empty", {}, {}},
    };
    for (const Case &c : cases) {
        QStringList lines = c.lines;
        ReorderShortI(lines);
        EXPECT_EQ(lines, c.result) << c.what;
    }
}

// The letter of a word, the index of the combined list and its 472-byte record.
#include "LetterIndex.h"

#include "AppError.h"
#include "CombinedFixtures.h"
#include "TestSupport.h"

#include <algorithm>
#include <vector>

using namespace vocab;
using namespace vocab::test;
using namespace Qt::StringLiterals;

namespace {

constexpr int A = 1, B = 2, C = 3, E = 5, T = 20, Z = 26;
constexpr int Cyr_A = 27, Cyr_B = 28, Yu = 57, Ya = 58;

struct Expected {
    int entry;
    LetterRange range;
};

} // namespace

TEST(IndexLetterTest, KeyLetterFoldingAndEntry)
{
    struct Case {
        QString key;
        int entry;
    };
    const Case cases[] = {
        {u"ABC"_s, A},   {u"ZOO"_s, Z},    {u"АИСТ"_s, Cyr_A}, {u"ЯК"_s, Ya},
        {u"-БИС"_s, Cyr_B}, {u"'TIS"_s, T}, {u"-T"_s, T},       {u"'А"_s, Cyr_A},
        {u"ÉTÉ"_s, E},   {u"ÀB"_s, A},     {u"ÖL"_s, 15},      {u"ÜBER"_s, 0},
        {u"-ÉTÉ"_s, 0},  {u"-"_s, 0},      {u"-1"_s, 0},       {u"--A"_s, 0},
        {u"5"_s, 0},     {u"ЁЖ"_s, 0},     {u"abc"_s, 0},      {QString(), 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(EntryOfKey(c.key), c.entry) << c.key.toStdString();

    // A line belongs where its upper-case form would be looked up.
    EXPECT_EQ(EntryOfLine(u"кот"_s), EntryOfLine(u"КОТ"_s));
    EXPECT_EQ(EntryOfLine(u"-é"_s), 0);
    EXPECT_EQ(EntryOfLine(u"éte"_s), E);

    EXPECT_TRUE(IsCyrillicCapital(u"А"_s));
    EXPECT_TRUE(IsCyrillicCapital(u"ЯК"_s));
    for (const QString &no : {u"Ё"_s, u"а"_s, u"я"_s, u"Ѐ"_s, u"Џ"_s, u"A"_s, QString()})
        EXPECT_FALSE(IsCyrillicCapital(no)) << no.toStdString();
}

TEST(LetterIndexBuildTest, RangesOfTheLetters)
{
    struct Case {
        const char *what;
        QStringList lines;
        // Every entry not named here has no lines.
        std::vector<Expected> entries;
    };
    const Case cases[] = {
        {"first line begins with a letter: entry 0 spans the list", {u"A1"_s, u"B"_s}, {{0, {0, 1}}, {A, {0, 0}}, {B, {1, 1}}}},
        {"three digits, then A", {u"1"_s, u"2"_s, u"3"_s, u"ABC"_s}, {{0, {0, 2}}, {A, {3, 3}}, {Ya, {-1, 3}}}},
        {"a letter without lines ends where the next one begins", {u"A"_s, u"AB"_s, u"C"_s},
         {{0, {0, 2}}, {A, {0, 1}}, {B, {-1, 1}}, {C, {2, 2}}, {C + 1, {-1, 2}}}},
        {"no Я: Ю runs to the end", {u"A"_s, u"ЮГ"_s, u"ЮЛА"_s}, {{0, {0, 2}}, {A, {0, 0}}, {Yu, {1, 2}}, {Ya, {-1, 2}}}},
        {"Latin before Cyrillic", {u"Z"_s, u"А"_s}, {{0, {0, 1}}, {Z, {0, 0}}, {Cyr_A, {1, 1}}}},
        // The marks and the accents place a line the way the search looks for it.
        {"a hyphen, an apostrophe and É", {u"1"_s, u"-AB"_s, u"AC"_s, u"ÉTÉ"_s, u"ETF"_s, u"'TIS"_s},
         {{0, {0, 0}}, {A, {1, 2}}, {E, {3, 4}}, {T, {5, 5}}}},
        // Each letter is looked for from where the one before it was found.
        {"out of order", {u"B1"_s, u"A1"_s, u"B2"_s}, {{0, {0, 2}}, {A, {1, 1}}, {B, {2, 2}}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const LetterIndexTable index = LetterIndexTable::Build(c.lines);
        for (int e = 0; e < LetterIndexTable::EntryCount; ++e) {
            const auto named = std::find_if(c.entries.begin(), c.entries.end(), [e](const Expected &x) { return x.entry == e; });
            if (named != c.entries.end()) {
                EXPECT_EQ(index.Entry(e), named->range) << "entry " << e;
            } else {
                EXPECT_TRUE(index.Entry(e).IsEmpty()) << "entry " << e;
            }
        }
        EXPECT_TRUE(index.FitsList(c.lines));
    }

    const LetterIndexTable empty = LetterIndexTable::Build(QStringList());
    EXPECT_EQ(empty, LetterIndexTable());
    EXPECT_EQ(empty.Entry(0), (LetterRange{-1, -1}));
    EXPECT_TRUE(empty.FitsList(QStringList()));
}

TEST(LetterIndexRecordTest, FourHundredSeventyTwoLittleEndianBytes)
{
    const LetterIndexTable index = LetterIndexTable::Build({u"1"_s, u"2"_s, u"3"_s, u"ABC"_s});
    const QByteArray record = index.Record();
    ASSERT_EQ(record.size(), 472);
    EXPECT_EQ(hex(record.left(24)), "00 00 00 00 02 00 00 00 03 00 00 00 03 00 00 00 ff ff ff ff 03 00 00 00");
    EXPECT_EQ(hex(record.right(8)), "ff ff ff ff 03 00 00 00");

    EXPECT_EQ(LetterIndexTable::FromRecord(record), index);
    EXPECT_EQ(LetterIndexTable::FromRecord(record + QByteArray(28, '\x7f')), index) << "only the first record counts";
    EXPECT_EQ(LetterIndexTable::FromRecord(record.left(471)), std::nullopt);

    QTemporaryDir dir;
    const QString file = dir.filePath(u"dictionaries.dvc"_s);
    index.WriteFile(file);
    EXPECT_EQ(readBytes(file), record);
    EXPECT_EQ(LetterIndexTable::ReadFile(file), index);
    EXPECT_THROW(index.WriteFile(dir.filePath(u"missing/dictionaries.dvc"_s)), FileError);
}

TEST(LetterIndexRecordTest, MissingOrShortFilesCannotBeRead)
{
    QTemporaryDir dir;
    EXPECT_EQ(LetterIndexTable::ReadFile(dir.filePath(u"none.dvc"_s)), std::nullopt);
    EXPECT_EQ(LetterIndexTable::ReadFile(dir.path()), std::nullopt) << "a folder in its place";
    for (const int size : {0, 100, 471}) {
        const QString file = dir.filePath(u"short.dvc"_s);
        writeBytes(file, QByteArray(size, '\0'));
        EXPECT_EQ(LetterIndexTable::ReadFile(file), std::nullopt) << size;
    }
}

TEST(LetterIndexFitTest, ARecordOfAnotherListDoesNotFit)
{
    const QStringList list{u"1"_s, u"ABC"_s, u"ABD"_s, u"БОР"_s};
    struct Case {
        const char *what;
        QStringList builtFrom;
    };
    const Case cases[] = {
        {"a longer list: ranges past the end", {u"1"_s, u"ABC"_s, u"ABD"_s, u"БОР"_s, u"ЯК"_s}},
        {"a shorter list: the last letter ends too early", {u"1"_s, u"ABC"_s, u"БОР"_s}},
        {"as long, other letters", {u"1"_s, u"ABC"_s, u"ZZ"_s, u"БОР"_s}},
        {"as long, the letters elsewhere", {u"1"_s, u"2"_s, u"ABC"_s, u"БОР"_s}},
        // Every letter that has lines in the record begins where it did.
        {"as long, a letter of the list missing", {u"1"_s, u"ABC"_s, u"ABD"_s, u"ABE"_s}},
        {"an empty list's index", {}},
    };
    for (const Case &c : cases)
        EXPECT_FALSE(LetterIndexTable::Build(c.builtFrom).FitsList(list)) << c.what;
    EXPECT_FALSE(LetterIndexTable::Build(list).FitsList(QStringList())) << "an empty list fits the empty index only";
    // B would never be found: its letter has no lines in the record.
    EXPECT_FALSE(LetterIndexTable::Build({u"A"_s, u"AB"_s, u"AC"_s}).FitsList({u"A"_s, u"AB"_s, u"B"_s}));
    const LineList held = LineList::FromLines(list);
    EXPECT_TRUE(LetterIndexTable::Build(held).FitsList(held));
    EXPECT_EQ(LetterIndexTable::Build(held), LetterIndexTable::Build(list));
    EXPECT_FALSE(LetterIndexTable::Build({u"1"_s, u"ABC"_s, u"ABD"_s, u"ABE"_s}).FitsList(held));

    // Hand-made records that no build gives.
    LetterIndexTable backwards = LetterIndexTable::Build(list);
    backwards.SetEntry(Cyr_B, {1, 3});
    EXPECT_FALSE(backwards.FitsList(list)) << "Б cannot begin among the A lines";
    LetterIndexTable noStart = LetterIndexTable::Build(list);
    noStart.SetEntry(0, {-1, 0});
    EXPECT_FALSE(noStart.FitsList(list));
}

TEST(LetterIndexFitTest, LinesOfAnEntryStayInsideTheList)
{
    // An index that was never checked against the list, as one read back
    // after the list changed under it.
    const LetterIndexTable stale = LetterIndexTable::Build({u"A"_s, u"B"_s, u"BB"_s, u"BC"_s, u"D"_s});
    EXPECT_EQ(stale.LinesOfEntry(B, 5), (LetterRange{1, 3}));
    EXPECT_EQ(stale.LinesOfEntry(B, 2), (LetterRange{1, 1}));
    EXPECT_EQ(stale.LinesOfEntry(4, 2), std::nullopt) << "D begins past the end";
    EXPECT_EQ(stale.LinesOfEntry(C, 5), std::nullopt);
    EXPECT_EQ(LetterIndexTable().LinesOfEntry(0, 0), std::nullopt);
}

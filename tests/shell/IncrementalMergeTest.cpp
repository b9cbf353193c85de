// The combined list merged a step at a time gives the list the one-go merge gives.
#include "IncrementalMerge.h"

#include "CombinedFixtures.h"

using namespace vocab;
using namespace vocab::test;
using namespace Qt::StringLiterals;

namespace {

QStringList inOneGo(const std::vector<QStringList> &parts)
{
    HeadwordMerge merge;
    for (const QStringList &part : parts)
        merge.Add(part);
    return merge.Lines();
}

// The parts added in turn, committing after every `commitEvery` lines and at
// the end of every part, each commit taken 5 lines at a time.
QStringList inSteps(const std::vector<QStringList> &parts, qsizetype commitEvery)
{
    IncrementalHeadwordMerge merge;
    const auto commit = [&] {
        while (!merge.CommitSome(5)) {
        }
    };
    qsizetype added = 0;
    for (const QStringList &part : parts) {
        for (const QString &line : part) {
            merge.Add(line);
            if (++added % commitEvery == 0)
                commit();
        }
        commit();
    }
    EXPECT_EQ(merge.PendingCount(), 0);
    return merge.Lines();
}

} // namespace

TEST(IncrementalMerge, SameListAsTheOneGoMergeHoweverItIsCommitted)
{
    // Case, hyphens and apostrophes, accents, Ё, И and Й, a line to drop.
    const std::vector<QStringList> mixed{
        {u"ЯК"_s, u"ЛУНА"_s, u"-ЛОГ"_s, u"ЛЕС"_s, u"ИГЛА"_s, u"ЙОД"_s, u"ИВА"_s, u"ЁЖ"_s, u"ЕЖ"_s, u"БОР"_s, QString(), u"1812"_s},
        {u"ZOO"_s, u"'TIS"_s, u"TABLE"_s, u"ÉTAGE"_s, u"ETAT"_s, u"APPLE"_s, u"O'CLOCK"_s, u"ÖL"_s},
        {u"лес"_s, u"Бор"_s, u"ЙОГ"_s, u"КОТ"_s, u"apple"_s, u"-ЛОГ"_s, u"-лог"_s},
    };
    const std::vector<QStringList> random{
        RandomWords(u"АБИЙКЛЯ-'"_s, 3000, 1), RandomWords(u"абийкля-"_s, 3000, 2), RandomWords(u"ABZaz'1"_s, 3000, 3)};
    for (const auto *parts : {&mixed, &random}) {
        const QStringList expected = inOneGo(*parts);
        for (const qsizetype every : {qsizetype(1), qsizetype(7), qsizetype(1000), qsizetype(100000)}) {
            SCOPED_TRACE(every);
            EXPECT_EQ(inSteps(*parts, every), expected);
        }
    }
}

TEST(IncrementalMerge, LinesAlreadyMergedStayBeforeEqualOnesAdded)
{
    IncrementalHeadwordMerge merge;
    // A list not in order, as another program may have left it.
    for (const QString &line : {u"КОТ"_s, u"Бор"_s, u"АИСТ"_s})
        merge.Add(line);
    merge.Commit();
    EXPECT_EQ(merge.Lines(), (QStringList{u"АИСТ"_s, u"Бор"_s, u"КОТ"_s}));
    for (const QString &line : {u"кот"_s, u"БОР"_s, u"ДОМ"_s})
        merge.Add(line);
    EXPECT_EQ(merge.Count(), 3) << "nothing is merged before the commit";
    merge.Commit();
    EXPECT_EQ(merge.Lines(), (QStringList{u"АИСТ"_s, u"Бор"_s, u"ДОМ"_s, u"КОТ"_s}));
}

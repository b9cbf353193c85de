// Rebuilding the combined list from the dictionaries of the saved tree: the
// files it writes and in what order, its progress, a stop, an empty tree.
#include "CombinedListRebuild.h"

#include "IniFile.h"
#include "InstallFixtures.h"
#include "LetterIndex.h"

using namespace vocab;
using namespace vocab::test;
using namespace Qt::StringLiterals;

namespace {

// The three dictionaries in the tree; the combined list and its index still
// hold the headwords of a deleted one, and [List]incomplete is set.
class Rebuild : public ::testing::Test {
protected:
    void SetUp() override
    {
        dicts.write(dir);
        dir.writeList("ConfigFiles/TreeView.trv", {Root, u"Мои"_s, u"\tEnglish=eng"_s, u"\tРусский=rus"_s, "Другие",
                                                   u"\tЦелый=whole"_s});
        const QStringList stale = dicts.mergedWith({u"УДАЛЕННЫЙ"_s});
        dir.writeList("ConfigFiles/dictionaries/dictionaries.ogl", stale);
        LetterIndexTable::Build(stale).WriteFile(paths.letterIndex);
        ini.WriteBool("List", "incomplete", true);
    }

    QByteArray ogl() const { return readBytes(paths.allHeadwords); }
    QByteArray dvc() const { return readBytes(paths.letterIndex); }

    FixtureFolder dir;
    const ConfigPaths paths{dir.base()};
    const ThreeDictionaries dicts;
    TIniFile ini{paths.optionsIni};
    RebuildRecorder host;
};

} // namespace

TEST_F(Rebuild, EveryDictionaryOfTheTreeAndNothingElse)
{
    ASSERT_EQ(RebuildCombinedList(paths, ini, host), RebuildOutcome::Finished);
    // What installing the same dictionaries in the same order gives.
    const QStringList expected = dicts.mergedWith({});
    EXPECT_EQ(hex(ogl()), hex(ListFile::encode(expected)));
    EXPECT_EQ(hex(dvc()), hex(LetterIndexTable::Build(expected).Record()));
    EXPECT_FALSE(CombinedListIncomplete(dir.base()));
    EXPECT_EQ(host.names, (QStringList{u"Обновление: English"_s, u"Обновление: Русский"_s, u"Обновление: Целый"_s}));
    EXPECT_EQ(host.statistics,
              (QStringList{u"Выполнено 0 из 3"_s, u"Выполнено 1 из 3"_s, u"Выполнено 2 из 3"_s, u"Выполнено 3 из 3"_s}));
    EXPECT_EQ(host.writingBegun, 1);
}

TEST_F(Rebuild, WholeListOf200LinesRunsFrom10To109)
{
    QStringList lines;
    for (int m = 0; m < 200; ++m)
        lines.append(u"СЛОВО%1"_s.arg(m, 3, 10, QChar(u'0')));
    dir.writeList("dic/long/long.ogl", lines);
    const QString name(40, u'Д');
    dir.writeList("ConfigFiles/TreeView.trv", {Root, u"\t"_s + name + u"=long"_s});
    ASSERT_EQ(RebuildCombinedList(paths, ini, host), RebuildOutcome::Finished);
    std::vector<int> expected;
    for (int p = 10; p <= 109; ++p)
        expected.push_back(p);
    EXPECT_EQ(host.positions, expected);
    EXPECT_EQ(host.statistics.last(), u"Выполнено 1 из 1"_s);
    EXPECT_EQ(host.names, QStringList{u"Обновление: "_s + name.left(38) + "..."});
}

TEST_F(Rebuild, AStopWritesNothing)
{
    const QByteArray oglBefore = ogl();
    const QByteArray dvcBefore = dvc();
    for (const int dictionary : {1, 2, 3}) {
        SCOPED_TRACE(dictionary);
        host = RebuildRecorder();
        host.stopWhen = [&] { return host.names.size() == dictionary; };
        EXPECT_EQ(RebuildCombinedList(paths, ini, host), RebuildOutcome::Stopped);
        EXPECT_EQ(ogl(), oglBefore);
        EXPECT_EQ(dvc(), dvcBefore);
        EXPECT_TRUE(CombinedListIncomplete(dir.base()));
        EXPECT_EQ(host.writingBegun, 0);
    }
    // Started again, it runs to the end.
    host = RebuildRecorder();
    EXPECT_EQ(RebuildCombinedList(paths, ini, host), RebuildOutcome::Finished);
    EXPECT_EQ(hex(ogl()), hex(ListFile::encode(dicts.mergedWith({}))));
}

TEST_F(Rebuild, TheListIsWrittenBeforeItsIndex)
{
    // The list cannot be written: the old index must not be replaced by one
    // of a list that is not there.
    const QByteArray dvcBefore = dvc();
    QFile::remove(paths.allHeadwords);
    QDir().mkpath(paths.allHeadwords);
    EXPECT_THROW(RebuildCombinedList(paths, ini, host), FileError);
    EXPECT_EQ(dvc(), dvcBefore);
    EXPECT_TRUE(CombinedListIncomplete(dir.base()));

    // The index cannot be written: the new list is there, and the flag stays
    // set so that the rebuild is offered again.
    QDir(paths.allHeadwords).removeRecursively();
    QFile::remove(paths.letterIndex);
    QDir().mkpath(paths.letterIndex);
    EXPECT_THROW(RebuildCombinedList(paths, ini, host), FileError);
    EXPECT_EQ(hex(ogl()), hex(ListFile::encode(dicts.mergedWith({}))));
    EXPECT_TRUE(CombinedListIncomplete(dir.base()));
}

TEST_F(Rebuild, ATreeWithoutDictionariesEmptiesTheListAndLeavesTheIndex)
{
    dir.writeList("ConfigFiles/TreeView.trv", {Root, u"Мои"_s});
    const QByteArray dvcBefore = dvc();
    ASSERT_EQ(RebuildCombinedList(paths, ini, host), RebuildOutcome::Finished);
    EXPECT_EQ(hex(ogl()), "ef bb bf");
    EXPECT_EQ(dvc(), dvcBefore);
    EXPECT_FALSE(CombinedListIncomplete(dir.base()));
    EXPECT_TRUE(host.names.isEmpty());
}

TEST(RebuildMenu, OfferedOnlyWhileTheCombinedListIsIncomplete)
{
    struct Case {
        QByteArray ini;
        bool offered;
    };
    const std::vector<Case> cases{{"", false}, {"[List]\r\nincomplete=0\r\n", false}, {"[List]\r\nincomplete=1\r\n", true},
                                  {"[list]\r\nINCOMPLETE=2\r\n", true}, {"[List]\r\nincomplete=x\r\n", false}};
    for (const Case &c : cases) {
        QTemporaryDir dir;
        writeBytes(dir.filePath("ConfigFiles/options.ini"), c.ini);
        EXPECT_EQ(CombinedListIncomplete(dir.path()), c.offered) << c.ini.toStdString();
    }
}

TEST(RebuildMenu, TheTreeFileGivesTheDictionariesInFileOrder)
{
    const std::vector<DictionaryEntry> expected{{u"Б"_s, "b"}, {u"А"_s, "a=x"}, {u"Пустой"_s, ""}, {u"Без папки"_s, ""}};
    EXPECT_EQ(TreeFileDictionaries({Root, u"\tБ=b"_s, u"Мои"_s, u"\tА=a=x"_s, u"\tПустой="_s, u"\tБез папки"_s}), expected);
}

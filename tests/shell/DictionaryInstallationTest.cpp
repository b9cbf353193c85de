// Installing the dictionaries found at start: the combined list and the tree
// lines after it, its progress, and what a cancel or a failure leaves.
#include "DictionaryInstallation.h"

#include "InstallFixtures.h"

using namespace vocab;
using namespace vocab::test;
using namespace Qt::StringLiterals;

namespace {

// A working folder with a combined list, a tree and the three dictionaries
// new under "dic"; the start's reconciliation already done.
class Installation : public ::testing::Test {
protected:
    void SetUp() override
    {
        dicts.write(dir);
        dir.writeList("ConfigFiles/dictionaries/dictionaries.ogl", existing);
        // A dictionary gone from "dic" whose line the reconciliation drops.
        dir.writeList("ConfigFiles/TreeView.trv", treeFile);
        AllHeadwords = LineList::Read(paths.allHeadwords);
    }

    InstallOutcome install()
    {
        folderIndex = FindNewDictionaries(paths, NewDictionaries, TreeLines);
        return InstallNewDictionaries(paths, NewDictionaries, folderIndex, AllHeadwords, TreeLines, host);
    }
    QByteArray ogl() const { return readBytes(paths.allHeadwords); }

    FixtureFolder dir;
    const ConfigPaths paths{dir.base()};
    const ThreeDictionaries dicts;
    const QStringList existing{u"АИСТ"_s, u"ДОМ"_s, u"КОТ"_s};
    const QStringList treeFile{Root, u"Мои"_s, u"\tПропал=gone"_s};
    std::vector<DictionaryEntry> NewDictionaries;
    StringList TreeLines;
    LineList AllHeadwords;
    int folderIndex = -1;
    InstallRecorder host;
};

} // namespace

TEST_F(Installation, HeadwordsMergedAndDictionariesPutUnderNewDictionaries)
{
    ASSERT_EQ(install(), InstallOutcome::Installed);
    const QStringList merged = dicts.mergedWith(existing);
    EXPECT_EQ(AllHeadwords.ToStringList(), merged);
    EXPECT_EQ(hex(ogl()), hex(ListFile::encode(merged)));
    // Found as eng, rus, whole: each placed on top of the one before.
    EXPECT_EQ(TreeLines, (StringList{Root, u"Мои"_s, NewFolder, u"\tЦелый=whole"_s, u"\tРусский=rus"_s, u"\tEnglish=eng"_s}));
    EXPECT_EQ(host.statistics, (QStringList{u"Выполнено 0 из 3"_s, u"Выполнено 1 из 3"_s, u"Выполнено 2 из 3"_s}));
    EXPECT_EQ(host.names, (QStringList{"English", u"Русский"_s, u"Целый"_s}));
    EXPECT_TRUE(host.errors.isEmpty());
    EXPECT_EQ(readBytes(paths.treeView), ListFile::encode(treeFile)) << "the start writes the tree file, later";
}

TEST_F(Installation, ProgressOfEachLayout)
{
    QStringList lines200;
    for (int m = 0; m < 200; ++m)
        lines200.append(u"СЛОВО%1"_s.arg(m, 3, 10, QChar(u'0')));
    const auto letters = [](int first, int last, auto position) {
        std::vector<int> out;
        for (int j = first; j <= last; ++j)
            out.push_back(position(j));
        return out;
    };
    struct Case {
        const char *what;
        QString folder;
        std::vector<int> positions;
    };
    // A whole list's bar starts one below empty; the per-letter ones run past full.
    std::vector<int> whole;
    for (int p = -1; p <= 98; ++p)
        whole.push_back(p);
    const std::vector<Case> cases{
        {"whole list of 200 lines", "long", whole},
        {"English per letter", "eng", letters(100, 126, [](int j) { return (j - 100) * 100 / 23; })},
        {"Russian per letter", "rus", letters(0, 32, [](int j) { return j * 100 / 25; })},
    };
    dir.writeAbout("long", u"Длинный"_s);
    dir.writeList("dic/long/long.ogl", lines200);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        InstallRecorder recorder;
        const std::vector<DictionaryEntry> one{{c.folder, c.folder}};
        LineList all;
        StringList tree{Root};
        ASSERT_EQ(InstallNewDictionaries(paths, one, 0, all, tree, recorder), InstallOutcome::Installed);
        EXPECT_EQ(recorder.positions, c.positions);
    }
}

TEST_F(Installation, ACancelLeavesTheFilesAndUndoesTheReconciliation)
{
    // A long whole list, so that a cancel can come in the middle of one.
    QStringList many;
    for (int i = 0; i < 3 * DictionaryMergeRun::ChunkLines; ++i)
        many.append(u"Я%1"_s.arg(i));
    dir.writeAbout("zz", u"Последний"_s);
    dir.writeList("dic/zz/zz.ogl", many);
    struct Case {
        const char *what;
        std::function<bool(const InstallRecorder &)> when;
    };
    const std::vector<Case> cases{
        {"before the first dictionary", [](const InstallRecorder &h) { return h.statistics.size() == 1; }},
        {"inside a per-letter dictionary", [](const InstallRecorder &h) { return h.names.size() == 2 && h.positions.size() > 40; }},
        {"inside the last whole list", [](const InstallRecorder &h) { return h.names.size() == 4 && h.positions.size() > 80; }},
    };
    const QByteArray oglBefore = ogl();
    const QByteArray treeBefore = readBytes(paths.treeView);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        host = InstallRecorder();
        host.stopWhen = [&] { return c.when(host); };
        AllHeadwords = LineList::FromLines(existing);
        ASSERT_EQ(install(), InstallOutcome::Cancelled);
        EXPECT_EQ(AllHeadwords.ToStringList(), existing);
        EXPECT_EQ(TreeLines, StringList(treeFile)) << "read again from the file: the vanished line is back";
        EXPECT_EQ(hex(ogl()), hex(oglBefore));
        EXPECT_EQ(readBytes(paths.treeView), treeBefore);
    }
}

TEST_F(Installation, ACancelAtTheLastLookBeforeTheListIsWrittenStillCancels)
{
    const QByteArray oglBefore = ogl();
    ASSERT_EQ(install(), InstallOutcome::Installed);
    const int looks = host.polls;
    writeBytes(paths.allHeadwords, oglBefore);
    AllHeadwords = LineList::FromLines(existing);

    host = InstallRecorder();
    host.stopWhen = [&] { return host.polls == looks; };
    ASSERT_EQ(install(), InstallOutcome::Cancelled);
    EXPECT_EQ(host.statistics.size(), 3) << "every dictionary was merged";
    EXPECT_EQ(AllHeadwords.ToStringList(), existing);
    EXPECT_EQ(hex(ogl()), hex(oglBefore));
}

TEST_F(Installation, AWholeListThatCannotBeReadIsShownAndLeftOut)
{
    dir.writeAbout("broken", u"Сломанный"_s);
    if (!makeUnreadable(dir.path("dic/broken/broken.ogl")))
        GTEST_SKIP() << "no file here refuses to be read";
    ASSERT_EQ(install(), InstallOutcome::Installed);
    ASSERT_EQ(host.errors.size(), 1);
    EXPECT_TRUE(host.errors[0].contains("broken.ogl"));
    EXPECT_EQ(AllHeadwords.ToStringList(), dicts.mergedWith(existing));
    EXPECT_FALSE(TreeLines.join(u'\n').contains("broken"));

    // With nothing else new, nothing is installed and nothing written.
    for (const char *folder : {"eng", "rus", "whole"})
        TreeLines.append(u"\t"_s + folder + u"="_s + folder);
    ListFile::write(paths.treeView, TreeLines);
    const QByteArray oglBefore = ogl();
    host = InstallRecorder();
    EXPECT_EQ(install(), InstallOutcome::NothingInstalled);
    EXPECT_EQ(host.errors.size(), 1);
    EXPECT_EQ(ogl(), oglBefore);
}

TEST_F(Installation, ACombinedListThatCannotBeWrittenChangesNothingInMemory)
{
    QFile::remove(paths.allHeadwords);
    QDir().mkpath(paths.allHeadwords); // a folder where the list belongs
    EXPECT_THROW(install(), FileError);
    EXPECT_EQ(AllHeadwords.ToStringList(), existing);
    EXPECT_EQ(TreeLines, (StringList{Root, u"Мои"_s})) << "reconciled, without the new dictionaries";
}

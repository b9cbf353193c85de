#include "ProgramRunner.h"

#include "IniFile.h"
#include "ListFile.h"
#include "Registry.h"

#include <QDirIterator>

using namespace vocab;
using namespace vocab::test;

namespace {

const QByteArray Mark("\xEF\xBB\xBF");
const QByteArray RootOnlyTree = QByteArray::fromHex("efbbbfd092d181d0b520d181d0bbd0bed0b2d0b0d180d0b80d0a");

const QString FatalText = QStringLiteral(
    "Критическая ошибка при открытии Vocabulinarum. \r\nВероятно были удаленны системные файлы. \r\n"
    "Переустановите программу. \r\n\r\nЕсли вы пытались создать ярлык на рабочем столе, перетаскиванием мыши exe-файла программы, \r\n"
    "то удалите файл с рабочего стола, который вы перетащили. \r\n"
    "Ярлык создается так. Щелчок правой кнопкой мыши по программе - отправить - Рабочий стол.");

// A working folder as a fresh install has it: only the folder of the combined
// list and the start page.
class FreshFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir(work.path()).mkpath("ConfigFiles/dictionaries");
        writeBytes(path("ConfigFiles/references.htm"), "<html><body>references</body></html>");
    }

    QString path(const QString &relative) const { return work.filePath(relative); }

    // Every file under the working folder, relative, sorted.
    QStringList files() const
    {
        QStringList out;
        QDirIterator it(work.path(), QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            out.append(QDir(work.path()).relativeFilePath(it.next()));
        out.sort();
        return out;
    }

    QTemporaryDir work;
    QTemporaryDir shared;
};

} // namespace

TEST_F(FreshFolder, FirstStartCreatesEveryFileByteForByte)
{
    ProgramRunner program(work.path(), shared.path());
    program.start();
    ASSERT_TRUE(program.waitReady());
    ASSERT_TRUE(program.terminate());
    EXPECT_EQ(program.exitCode(), 0);

    EXPECT_EQ(files(), (QStringList{"ConfigFiles", "ConfigFiles/TreeTemp.trv", "ConfigFiles/TreeView.trv", "ConfigFiles/dictionaries",
                                    "ConfigFiles/dictionaries/dictionaries.ogl", "ConfigFiles/dictionaries/dictionaries.uvs",
                                    "ConfigFiles/graylist.trv", "ConfigFiles/history.trv", "ConfigFiles/options.ini",
                                    "ConfigFiles/references.htm", "dic"}));
    EXPECT_EQ(hex(readBytes(path("ConfigFiles/TreeView.trv"))), hex(RootOnlyTree));
    EXPECT_EQ(hex(readBytes(path("ConfigFiles/TreeTemp.trv"))), hex(RootOnlyTree));
    for (const char *empty : {"ConfigFiles/dictionaries/dictionaries.ogl", "ConfigFiles/dictionaries/dictionaries.uvs",
                              "ConfigFiles/history.trv", "ConfigFiles/graylist.trv"})
        EXPECT_EQ(hex(readBytes(path(empty))), hex(Mark)) << empty;

    // The tree held the root alone, so no geometry was written.
    EXPECT_EQ(readBytes(path("ConfigFiles/options.ini")),
              QByteArray("[List]\r\nNumberVersion=149\r\n\r\n[Font]\r\n"
                         "FontFamily=Arial Unicode MS, Lucida Sans Unicode, Palatino Linotype, Arial\r\nFontSize=10pt\r\n"));

    qputenv("VOCABULINARUM_REGISTRY", QFile::encodeName(shared.filePath("registry.json")));
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\WinRAR SFX", false));
    const QString programDir = QFileInfo(VOCABULINARUM_EXE).absolutePath();
    EXPECT_EQ(reg.ReadString("C%%Vocabulinarum 2"), programDir);
    EXPECT_EQ(reg.ReadString("C%%Vocabulinarum 2%dic"), programDir + "/dic");
    qunsetenv("VOCABULINARUM_REGISTRY");
    EXPECT_TRUE(program.messages().empty());
}

TEST_F(FreshFolder, SecondCopyIsTurnedAwayUntilTheFirstDies)
{
    ProgramRunner first(work.path(), shared.path());
    first.start();
    ASSERT_TRUE(first.waitReady());
    const QByteArray treeBefore = readBytes(path("ConfigFiles/TreeView.trv"));

    ProgramRunner second(work.path(), shared.path());
    second.start();
    ASSERT_TRUE(second.waitExit());
    const auto boxes = second.messages();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]["text"].toString(), u"Программа уже запущена"_qs);
    EXPECT_EQ(boxes[0]["caption"].toString(), "Vocabulinarum");
    EXPECT_TRUE(first.running());
    EXPECT_EQ(readBytes(path("ConfigFiles/TreeView.trv")), treeBefore);

    first.killHard();
    ProgramRunner third(work.path(), shared.path());
    third.start();
    EXPECT_TRUE(third.waitReady()) << "a killed copy must not leave its guard behind";
    EXPECT_TRUE(third.terminate());
    EXPECT_EQ(third.messages().size(), 1u) << "only the second copy's box";
}

TEST_F(FreshFolder, MissingRequiredFileIsFatalAndTouchesNothing)
{
    for (const char *missing : {"ConfigFiles/references.htm", "ConfigFiles/dictionaries"}) {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath("ConfigFiles/dictionaries");
        writeBytes(dir.filePath("ConfigFiles/references.htm"), "x");
        QDir(dir.path()).remove(missing);
        QDir(dir.path()).rmdir(missing);
        QTemporaryDir runtime;
        ProgramRunner program(dir.path(), runtime.path());
        program.start();
        ASSERT_TRUE(program.waitExit()) << missing;
        const auto boxes = program.messages();
        ASSERT_EQ(boxes.size(), 1u) << missing;
        EXPECT_EQ(boxes[0]["text"].toString(), FatalText);
        QStringList left;
        QDirIterator it(dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            left.append(QDir(dir.path()).relativeFilePath(it.next()));
        left.sort();
        const QStringList expected = QString(missing).endsWith("dictionaries")
            ? QStringList{"ConfigFiles", "ConfigFiles/references.htm"}
            : QStringList{"ConfigFiles", "ConfigFiles/dictionaries"};
        EXPECT_EQ(left, expected) << missing;
    }
}

TEST_F(FreshFolder, DamagedOptionsReadAsDefaultsAndBrokenTreeIsRepaired)
{
    writeBytes(path("ConfigFiles/options.ini"), "[List]\r\nNumberVersion=abc\r\n[options]\r\nBrowserLoad=x\r\n");
    writeBytes(path("ConfigFiles/TreeView.trv"), Mark);
    ProgramRunner program(work.path(), shared.path());
    program.start();
    ASSERT_TRUE(program.waitReady());
    ASSERT_TRUE(program.terminate());
    TIniFile ini(path("ConfigFiles/options.ini"));
    EXPECT_EQ(ini.ReadInteger("List", "NumberVersion", 0), 149);
    EXPECT_EQ(hex(readBytes(path("ConfigFiles/TreeView.trv"))), hex(RootOnlyTree));
}

TEST_F(FreshFolder, FailedLoadDoesNotOverwriteTheUsersLists)
{
    // The combined list cannot be read (a folder stands in its place), so the
    // load ends before the grey list and the geometry are read; closing must
    // keep that file and the saved geometry.
    QDir(work.path()).mkpath("ConfigFiles/dictionaries/dictionaries.ogl");
    ListFile::write(path("ConfigFiles/history.trv"), {u"слово"_qs, "word"});
    ListFile::write(path("ConfigFiles/graylist.trv"), {u"Толковый"_qs});
    const QByteArray size("[size]\r\nHeightSplitter=300\r\nWidthSplitter=400\r\nWindowStateNormal=1\r\n"
                          "Top=11\r\nLeft=12\r\nHeight=700\r\nWidth=900\r\n");
    writeBytes(path("ConfigFiles/options.ini"), size);
    const QByteArray grayBefore = readBytes(path("ConfigFiles/graylist.trv"));
    ProgramRunner program(work.path(), shared.path());
    program.start();
    // The load stops before the tree, so wait for its error box instead.
    QElapsedTimer t;
    t.start();
    while (program.messages().empty() && t.elapsed() < 60000)
        QThread::msleep(50);
    ASSERT_EQ(program.messages().size(), 1u);
    EXPECT_TRUE(program.messages()[0]["text"].toString().contains("dictionaries.ogl"));
    ASSERT_TRUE(program.terminate());
    EXPECT_EQ(readBytes(path("ConfigFiles/graylist.trv")), grayBefore);
    EXPECT_EQ(ListFile::read(path("ConfigFiles/history.trv")), (QStringList{u"слово"_qs, "word"}));
    // The start-up wrote its other keys after the geometry; the geometry is as it was.
    EXPECT_TRUE(readBytes(path("ConfigFiles/options.ini")).startsWith(size)) << readBytes(path("ConfigFiles/options.ini")).toStdString();
}

TEST_F(FreshFolder, SessionEndSavesEvenWhenClosingHidesToTheTray)
{
    writeBytes(path("ConfigFiles/options.ini"), "[options]\r\nOnCloseApplication=1\r\n");
    ListFile::write(path("ConfigFiles/TreeView.trv"), {u"Все словари"_qs, u"Мои"_qs, u"\tСловарь=folder"_qs});
    writeBytes(path("dic/folder/about.info"), ListFile::encode({u"Описание"_qs, u"Словарь"_qs}));
    ListFile::write(path("ConfigFiles/history.trv"), {u"дом"_qs});
    ProgramRunner program(work.path(), shared.path());
    program.start();
    ASSERT_TRUE(program.waitReady());
    ASSERT_TRUE(program.terminate());
    EXPECT_EQ(ListFile::read(path("ConfigFiles/TreeView.trv")), (QStringList{u"Все словари"_qs, u"Мои"_qs, u"\tСловарь=folder"_qs}));
    EXPECT_EQ(ListFile::read(path("ConfigFiles/history.trv")), QStringList{u"дом"_qs});
    // More than the root in the tree: the geometry was written too.
    TIniFile ini(path("ConfigFiles/options.ini"));
    EXPECT_NE(ini.ReadInteger("size", "HeightSplitter", 113113), 113113);
    EXPECT_TRUE(ini.ReadBool("size", "WindowStateNormal", false));
    EXPECT_GT(ini.ReadInteger("size", "Width", 0), 0);
}

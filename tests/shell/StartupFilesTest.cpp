#include "AppError.h"
#include "IniFile.h"
#include "ListFile.h"
#include "MessageBoxes.h"
#include "PageHead.h"
#include "StartupFiles.h"

#include "TestSupport.h"

#include <cerrno>
#include <cstring>

using namespace vocab;
using vocab::test::readBytes;

TEST(PageHeadFontKeys, DefaultsAreWrittenBackAndUserValuesLeftAlone)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("options.ini");
    struct Case { QByteArray before; QByteArray after; };
    const QByteArray defaults = "[Font]\r\nFontFamily=Arial Unicode MS, Lucida Sans Unicode, Palatino Linotype, Arial\r\nFontSize=10pt\r\n";
    const std::vector<Case> cases{
        {"", defaults},
        {defaults, defaults},
        {"[Font]\r\nFontFamily=Verdana\r\n", "[Font]\r\nFontFamily=Verdana\r\nFontSize=10pt\r\n"},
        {"[Font]\r\nFontSize=12px\r\nFontFamily=Verdana\r\n", "[Font]\r\nFontSize=12px\r\nFontFamily=Verdana\r\n"},
    };
    for (const Case &c : cases) {
        QFile::remove(path);
        if (!c.before.isEmpty())
            vocab::test::writeBytes(path, c.before);
        TIniFile ini(path);
        const QString head = BuildPageHead(ini);
        EXPECT_EQ(readBytes(path), c.after) << c.before.toStdString();
        EXPECT_TRUE(head.startsWith(u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"));
        EXPECT_TRUE(head.endsWith(u"</script></head><body>"));
    }
}

TEST(PageHeadFontKeys, FontValuesGoIntoTheStyleSheetAsTheyStand)
{
    QTemporaryDir dir;
    vocab::test::writeBytes(dir.filePath("o.ini"), "[Font]\r\nFontFamily=Georgia\r\nFontSize=14px\r\n");
    TIniFile ini(dir.filePath("o.ini"));
    EXPECT_TRUE(BuildPageHead(ini).contains(u"DIV {FONT-FAMILY: Georgia, sans-serif; FONT-SIZE: 14px;} BODY {margin=\"10\";"));
}

TEST(ListVersion, RaisedTo149OnlyWhenLower)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("options.ini");
    for (const auto &[stored, expected] : std::vector<std::pair<QByteArray, int>>{{"", 149}, {"abc", 149}, {"12", 149}, {"149", 149}, {"150", 150}}) {
        vocab::test::writeBytes(path, "[List]\r\nNumberVersion=" + stored + "\r\n");
        TIniFile ini(path);
        RaiseListVersion(ini);
        EXPECT_EQ(ini.ReadInteger("List", "NumberVersion", 0), expected) << stored.toStdString();
    }
}

namespace {

// Takes the boxes the errors would show.
class Boxes : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = setMessageBoxResponder([this](const MessageBoxRequest &r) {
            shown.append(r.text);
            return int(IDOK);
        });
    }
    void TearDown() override { setMessageBoxResponder(previous); }

    MessageBoxResponder previous;
    QStringList shown;
    FileFaults faults;
};

using MissingFiles = Boxes;
using FileFaultsTest = Boxes;

} // namespace

TEST_F(MissingFiles, CreatedByteForByteAndExistingOnesKept)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("ConfigFiles/dictionaries");
    const ConfigPaths paths(dir.path());
    vocab::test::writeBytes(paths.allArticles, "keep");
    CreateMissingFiles(paths, faults);
    EXPECT_TRUE(shown.isEmpty()) << shown.join('\n').toStdString();
    EXPECT_TRUE(QFileInfo(paths.dicDir).isDir());
    EXPECT_EQ(vocab::test::hex(readBytes(paths.treeView)),
              vocab::test::hex(QByteArray::fromHex("efbbbfd092d181d0b520d181d0bbd0bed0b2d0b0d180d0b80d0a")));
    EXPECT_EQ(readBytes(paths.allHeadwords), QByteArray("\xEF\xBB\xBF"));
    EXPECT_EQ(readBytes(paths.allArticles), QByteArray("keep"));
    EXPECT_TRUE(RequiredFilesPresent(paths) == false) << "references.htm is still missing";
    vocab::test::writeBytes(paths.references, "<html></html>");
    EXPECT_TRUE(RequiredFilesPresent(paths));
}

TEST_F(MissingFiles, EachIsMadeOnItsOwnAndOneThatCannotBeNamesItsCause)
{
    // A plain file named "dic" at the program's base: the folder cannot be
    // made there, and the message says why. The files after it are made
    // all the same.
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("ConfigFiles/dictionaries");
    const ConfigPaths paths(dir.path());
    vocab::test::writeBytes(dir.filePath("dic"), "a file");
    CreateMissingFiles(paths, faults);
    EXPECT_EQ(shown, QStringList{u"Не удаётся создать папку \"%1\": %2"_qs.arg(paths.dicDir, QString::fromLocal8Bit(std::strerror(EEXIST)))});
    EXPECT_EQ(ListFile::read(paths.treeView), QStringList{u"Все словари"_qs});
    EXPECT_EQ(readBytes(paths.allHeadwords), QByteArray("\xEF\xBB\xBF"));
    EXPECT_EQ(readBytes(paths.allArticles), QByteArray("\xEF\xBB\xBF"));

    // Each of the others that cannot be made is named on its own: here the
    // folder "ConfigFiles" is missing.
    QTemporaryDir bare;
    const ConfigPaths others(bare.path());
    shown.clear();
    CreateMissingFiles(others, faults);
    const QString cannot = u"Не удаётся создать файл \"%1\": нет такого файла или папки"_qs;
    EXPECT_EQ(shown, (QStringList{cannot.arg(others.treeView), cannot.arg(others.allHeadwords), cannot.arg(others.allArticles)}));
    EXPECT_TRUE(QFileInfo(others.dicDir).isDir());
}

TEST_F(FileFaultsTest, EachFileIsToldOnceAndAnErrorAboutNoFileEveryTime)
{
    faults.Tell(FileError(u"Не удаётся создать файл \"a\": нет прав доступа"_qs, "a"));
    faults.Tell(FileError(u"Не удаётся прочитать файл \"a\": ошибка ввода-вывода"_qs, "a"));
    EXPECT_FALSE(faults.Try([] { throw FileError(u"Не удаётся заменить файл \"a\""_qs, "a"); }));
    faults.Tell(FileError(u"Не удаётся создать файл \"b\": нет прав доступа"_qs, "b"));
    faults.Tell(FileError(u"Список слишком велик"_qs));
    EXPECT_FALSE(faults.Try([] { throw FileError(u"Список слишком велик"_qs); }));
    EXPECT_TRUE(faults.Try([] {}));
    EXPECT_EQ(shown, (QStringList{u"Не удаётся создать файл \"a\": нет прав доступа"_qs,
                                  u"Не удаётся создать файл \"b\": нет прав доступа"_qs, u"Список слишком велик"_qs,
                                  u"Список слишком велик"_qs}));
}

TEST_F(FileFaultsTest, AListThatCouldNotBeWrittenIsTriedAgainOnlyForNewLines)
{
    // The folder is missing at the first try and there at the next ones,
    // so each try that is made succeeds from then on.
    QTemporaryDir dir;
    const QString path = dir.filePath("ConfigFiles/history.trv");
    EXPECT_FALSE(faults.Write(path, {}));
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0], u"Не удаётся создать файл \"%1\": нет такого файла или папки"_qs.arg(path));
    ASSERT_TRUE(QDir(dir.path()).mkdir("ConfigFiles"));

    EXPECT_FALSE(faults.Write(path, {})) << "the same lines again";
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(faults.Write(path, {u"дом"_qs}));
    EXPECT_EQ(ListFile::read(path), QStringList{u"дом"_qs});
    EXPECT_TRUE(faults.Write(path, {})) << "written once, the file takes any lines";
    EXPECT_EQ(readBytes(path), QByteArray("\xEF\xBB\xBF"));
    EXPECT_EQ(shown.size(), 1);
}

#include "IniFile.h"
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

TEST(MissingFiles, CreatedByteForByteAndExistingOnesKept)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("ConfigFiles/dictionaries");
    const ConfigPaths paths(dir.path());
    vocab::test::writeBytes(paths.allArticles, "keep");
    CreateMissingFiles(paths);
    EXPECT_TRUE(QFileInfo(paths.dicDir).isDir());
    EXPECT_EQ(vocab::test::hex(readBytes(paths.treeView)),
              vocab::test::hex(QByteArray::fromHex("efbbbfd092d181d0b520d181d0bbd0bed0b2d0b0d180d0b80d0a")));
    EXPECT_EQ(readBytes(paths.allHeadwords), QByteArray("\xEF\xBB\xBF"));
    EXPECT_EQ(readBytes(paths.allArticles), QByteArray("keep"));
    EXPECT_TRUE(RequiredFilesPresent(paths) == false) << "references.htm is still missing";
    vocab::test::writeBytes(paths.references, "<html></html>");
    EXPECT_TRUE(RequiredFilesPresent(paths));
}

TEST(MissingFiles, AFolderThatCannotBeMadeNamesItsCause)
{
    // A plain file named "dic" at the program's base: the folder cannot be
    // made there, and the message says why.
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("ConfigFiles/dictionaries");
    const ConfigPaths paths(dir.path());
    vocab::test::writeBytes(dir.filePath("dic"), "a file");
    EXPECT_EQ(vocab::test::errorOf([&] { CreateMissingFiles(paths); }),
              u"Не удаётся создать папку \"%1\": %2"_qs.arg(paths.dicDir, QString::fromLocal8Bit(std::strerror(EEXIST))));
}

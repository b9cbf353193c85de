#include "IniFile.h"

#include "AppError.h"
#include "TestSupport.h"

#include <climits>
#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vocab;
using vocab::test::readBytes;
using vocab::test::writeBytes;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath("options.ini");
};

} // namespace

TEST_F(IniFileTest, MissingFileGivesDefaultsAndFirstWriteCreatesIt)
{
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("size", "HeightSplitter", 113113), 113113);
    EXPECT_TRUE(ini.ReadBool("size", "WindowStateNormal", true));
    EXPECT_EQ(ini.ReadString("Font", "FontSize", "10pt"), "10pt");
    EXPECT_FALSE(QFileInfo::exists(path));
    ini.WriteInteger("List", "NumberVersion", 149);
    EXPECT_EQ(readBytes(path), QByteArray("[List]\r\nNumberVersion=149\r\n"));
}

TEST_F(IniFileTest, ReadsIntegersAndBooleansLikeTheProfileFunctions)
{
    writeBytes(path, "[options]\nTwo=2\nZero=0\nWord=abc\nEmpty=\nHex=$10\nNeg=-5\nSpaced =  7  \n");
    TIniFile ini(path);
    struct Case { const char *key; int def; int expected; };
    for (const Case &c : {Case{"Two", 0, 2}, {"Zero", 5, 0}, {"Word", 5, 5}, {"Empty", 5, 5},
                          {"Hex", 0, 16}, {"Neg", 0, -5}, {"Spaced", 0, 7}, {"Absent", 9, 9}})
        EXPECT_EQ(ini.ReadInteger("options", c.key, c.def), c.expected) << c.key;
    EXPECT_TRUE(ini.ReadBool("options", "Two", false));
    EXPECT_FALSE(ini.ReadBool("options", "Zero", true));
    EXPECT_TRUE(ini.ReadBool("options", "Word", true)) << "not a number reads as the default";
    EXPECT_FALSE(ini.ReadBool("options", "Word", false));
}

TEST_F(IniFileTest, NamesIgnoreCaseAndValuesStayVerbatim)
{
    writeBytes(path, "; kept\r\n[Font]\r\nFontFamily=Arial, Verdana\r\nfontfamily=second\r\nQuoted=\"  a, b \"\r\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("FONT", "fontFAMILY", ""), "Arial, Verdana");
    EXPECT_EQ(ini.ReadString("font", "Quoted", ""), "  a, b ");
    EXPECT_EQ(ini.ReadString("Font", "Missing", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadString("Font", "Missing", ""), "");
}

TEST_F(IniFileTest, WritesBooleansAsDigitsAndKeepsOtherLines)
{
    writeBytes(path, "; comment\r\n[size]\r\nTop=5\r\n\r\n[Other]\r\nX=1\r\n");
    TIniFile ini(path);
    ini.WriteBool("SIZE", "WindowStateNormal", false);
    ini.WriteInteger("size", "top", 10);
    ini.WriteBool("options", "CtrlCC", true);
    EXPECT_EQ(readBytes(path), QByteArray("; comment\r\n[size]\r\ntop=10\r\nWindowStateNormal=0\r\n\r\n[Other]\r\nX=1\r\n\r\n[options]\r\nCtrlCC=1\r\n"));
}

TEST_F(IniFileTest, SecondObjectSeesWritesAtOnce)
{
    TIniFile a(path);
    TIniFile b(path);
    a.WriteString("List", "incomplete", "1");
    EXPECT_TRUE(b.ReadBool("List", "incomplete", false));
    b.WriteBool("List", "incomplete", false);
    EXPECT_FALSE(a.ReadBool("List", "incomplete", true));
}

TEST_F(IniFileTest, ValuesCannotBreakIntoNewLines)
{
    TIniFile ini(path);
    ini.WriteString("Font", "FontFamily", "Arial\r\n[size]\r\nTop=1");
    EXPECT_EQ(ini.ReadInteger("size", "Top", -1), -1);
    EXPECT_EQ(ini.ReadString("Font", "FontFamily", ""), "Arial  [size]  Top=1");
}

TEST_F(IniFileTest, ReadsAnsiAndUtf8Files)
{
    writeBytes(path, "[Font]\r\nFontFamily=\xC0\xF0\xE8\xE0\xEB\r\n");
    EXPECT_EQ(TIniFile(path).ReadString("Font", "FontFamily", ""), u"Ариал"_qs);
    writeBytes(path, "[Font]\r\nFontFamily=\xD0\x90\r\n");
    EXPECT_EQ(TIniFile(path).ReadString("Font", "FontFamily", ""), u"А"_qs);
}

TEST_F(IniFileTest, DeleteKeyAndEraseSection)
{
    TIniFile ini(path);
    ini.WriteString("a", "k", "1");
    ini.WriteString("a", "j", "2");
    ini.WriteString("b", "k", "3");
    ini.DeleteKey("A", "K");
    EXPECT_FALSE(ini.ValueExists("a", "k"));
    EXPECT_TRUE(ini.ValueExists("a", "j"));
    ini.EraseSection("a");
    EXPECT_FALSE(ini.SectionExists("a"));
    EXPECT_EQ(ini.ReadString("b", "k", ""), "3");
}

namespace {

// Makes `path` a file its reader may not read (mode 0200) while the object
// lives. Root reads any file, so as root the folder and file go to "nobody"
// and this thread checks file access as that user meanwhile.
class ReadDenied {
public:
    explicit ReadDenied(const QString &path) : m_path(QFile::encodeName(path))
    {
        const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
        ::chmod(m_path.constData(), 0200);
        if (::geteuid() != 0)
            return;
        m_asRoot = ::chown(folder.constData(), kNobody, kNobody) == 0 && ::chown(m_path.constData(), kNobody, kNobody) == 0;
        if (m_asRoot) {
            ::setfsgid(kNobody);
            ::setfsuid(kNobody);
        }
    }
    ~ReadDenied()
    {
        if (m_asRoot) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
        ::chmod(m_path.constData(), 0600);
    }
    bool denied() const
    {
        const int fd = ::open(m_path.constData(), O_RDONLY);
        if (fd >= 0)
            ::close(fd);
        return fd < 0;
    }

private:
    static constexpr uid_t kNobody = 65534;
    QByteArray m_path;
    bool m_asRoot = false;
};

} // namespace

TEST_F(IniFileTest, AFileThatCannotBeReadIsNeverReplaced)
{
    const QByteArray bytes("[options]\r\nBrowserLoad=2\r\n[size]\r\nTop=40\r\n");
    writeBytes(path, bytes);
    {
        ReadDenied denied(path);
        if (!denied.denied())
            GTEST_SKIP() << "cannot take read access away here";
        TIniFile ini(path);
        EXPECT_EQ(ini.ReadInteger("options", "BrowserLoad", 1), 1) << "reads give their defaults";
        EXPECT_FALSE(ini.SectionExists("size"));
        try {
            ini.WriteInteger("List", "NumberVersion", 149);
            ADD_FAILURE() << "the write went ahead";
        } catch (const FileError &e) {
            EXPECT_TRUE(e.message().contains(path)) << e.message().toStdString();
        }
        EXPECT_THROW(ini.DeleteKey("size", "Top"), FileError);
        EXPECT_THROW(ini.EraseSection("options"), FileError);
    }
    EXPECT_EQ(readBytes(path), bytes);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"options.ini"}) << "no temporary left";
}

TEST(ProfileInteger, SignsOnlyInFrontAndNoOverflow)
{
    struct Case {
        const char *text;
        bool ok;
        int value;
    };
    const std::vector<Case> cases{
        {"0", true, 0},
        {"  42 ", true, 42},
        {"+7", true, 7},
        {"-5", true, -5},
        {"2147483647", true, INT_MAX},
        {"-2147483648", true, INT_MIN},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999999999999", false, 0},
        {"$10", true, 16},
        {"0x1f", true, 31},
        {"0XFF", true, 255},
        {"-$10", true, -16},
        {"-0x5", true, -5},
        {"+$A", true, 10},
        {"$FFFFFFFF", true, -1},
        {"$80000000", true, INT_MIN},
        {"-$80000000", true, INT_MIN},
        {"-$80000001", false, 0},
        {"$100000000", false, 0},
        {"-$-8000000000000000", false, 0},
        {"$-1", false, 0},
        {"0x-5", false, 0},
        {"-$-1", false, 0},
        {"--5", false, 0},
        {"+-5", false, 0},
        {"5-", false, 0},
        {"1 2", false, 0},
        {"$", false, 0},
        {"0x", false, 0},
        {"-", false, 0},
        {"", false, 0},
        {"$G", false, 0},
        {"12a", false, 0},
        {"0x0x5", false, 0},
        {"$0x5", false, 0},
    };
    for (const Case &c : cases) {
        int value = 12345;
        EXPECT_EQ(parseProfileInteger(QString::fromLatin1(c.text), value), c.ok) << c.text;
        EXPECT_EQ(value, c.ok ? c.value : 12345) << c.text;
    }
    // Through the file: what is no number reads as the default.
    QTemporaryDir dir;
    const QString path = dir.filePath("options.ini");
    writeBytes(path, "[n]\r\nA=-$-8000000000000000\r\nB=$-1\r\nC=-0x5\r\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("n", "A", 7), 7);
    EXPECT_EQ(ini.ReadInteger("n", "B", 7), 7);
    EXPECT_EQ(ini.ReadInteger("n", "C", 7), -5);
}

TEST_F(IniFileTest, AValueTheFileAlreadyGivesIsNotWrittenAgain)
{
    // On a disk that takes no byte, confirming what the file holds must
    // still work; only a change needs the disk and fails there.
    const QByteArray bytes("[Font]\r\nFontSize = \"10pt\"\r\nFontFamily=Arial\r\n[size]\r\nTop=40\r\n");
    writeBytes(path, bytes);
    TIniFile ini(path);
    {
        vocab::test::FileSizeLimit full(0);
        ASSERT_TRUE(full.set());
        EXPECT_NO_THROW(ini.WriteString("font", "fontsize", "10pt"));
        EXPECT_NO_THROW(ini.WriteString("Font", "FontFamily", "Arial"));
        EXPECT_NO_THROW(ini.WriteInteger("size", "Top", 40));
        EXPECT_THROW(ini.WriteInteger("size", "Top", 41), FileError);
        EXPECT_THROW(ini.WriteInteger("size", "Left", 40), FileError) << "a missing key is a change";
    }
    EXPECT_EQ(readBytes(path), bytes);
    ini.WriteInteger("size", "Top", 41);
    EXPECT_EQ(ini.ReadInteger("size", "Top", 0), 41);
}

#include "Registry.h"

#include "AppError.h"
#include "TestSupport.h"

using namespace vocab;

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { qputenv("VOCABULINARUM_REGISTRY", QFile::encodeName(dir.filePath("reg/registry.json"))); }
    void TearDown() override { qunsetenv("VOCABULINARUM_REGISTRY"); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(RegistryTest, TypedValuesSurviveInTheFile)
{
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(u"Software\\WinRAR SFX"_qs, true));
        reg.WriteString(u"C%%Vocabulinarum 2"_qs, u"/opt/вокаб"_qs);
        reg.WriteInteger("Count", -7);
        reg.WriteBinaryData("Blob", QByteArray("\x00\x01\xFF", 3));
    }
    ASSERT_FALSE(vocab::test::readBytes(TRegistry::storePath()).isEmpty());
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(u"software\\winrar sfx"_qs, false)) << "key names ignore case";
    EXPECT_FALSE(reg.KeyExists(u"\\software/winrar sfx"_qs)) << "a slash is part of a name, not a separator";
    EXPECT_EQ(reg.ReadString(u"c%%VOCABULINARUM 2"_qs), u"/opt/вокаб"_qs);
    EXPECT_EQ(reg.ReadInteger("count"), -7);
    EXPECT_EQ(reg.ReadBinaryData("BLOB"), QByteArray("\x00\x01\xFF", 3));
    EXPECT_EQ(reg.GetDataType("Count"), RegDataType::rdInteger);
    EXPECT_EQ(reg.GetValueNames(), (QStringList{"Blob", u"C%%Vocabulinarum 2"_qs, "Count"}));
}

TEST_F(RegistryTest, MissingAndMistypedValues)
{
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("Software\\Nothing", false));
    EXPECT_FALSE(reg.KeyExists("Software\\Nothing"));
    ASSERT_TRUE(reg.OpenKey("Software\\Some", true));
    EXPECT_EQ(reg.ReadString("absent"), QString());
    EXPECT_THROW(reg.ReadInteger("absent"), AppError);
    reg.WriteString("text", "12");
    EXPECT_THROW(reg.ReadInteger("text"), AppError);
    EXPECT_THROW(reg.ReadBinaryData("text"), AppError);
}

TEST_F(RegistryTest, RootsAreSeparateAndKeysCanBeDeleted)
{
    TRegistry user(RegRoot::HKEY_CURRENT_USER);
    TRegistry machine(RegRoot::HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(user.OpenKey("Software\\App\\Form", true));
    user.WriteInteger("Left", 10);
    EXPECT_FALSE(machine.KeyExists("Software\\App"));
    ASSERT_TRUE(machine.OpenKey("\\Software\\App", true));
    EXPECT_FALSE(machine.ValueExists("Left"));
    user.CloseKey();
    ASSERT_TRUE(user.OpenKey("Software", false));
    EXPECT_EQ(user.GetKeyNames(), QStringList{"App"});
    EXPECT_TRUE(user.OpenKey("App", false)) << "relative to the open key";
    EXPECT_EQ(user.CurrentPath(), "Software\\App");
    EXPECT_TRUE(user.DeleteKey("\\Software\\APP"));
    EXPECT_FALSE(user.KeyExists("\\Software\\App\\Form"));
    EXPECT_TRUE(machine.KeyExists("\\Software\\App"));
}

TEST_F(RegistryTest, AKeyMovesWithItsWholeSubtreeButNeverIntoItself)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Sounds\\.Current", true));
    reg.WriteString("", "nav.wav");
    ASSERT_TRUE(reg.OpenKey("Deeper\\Still", true));
    reg.WriteInteger("Depth", 2);
    ASSERT_TRUE(reg.OpenKey("\\Sounds\\Old", true));
    reg.WriteString("Kept", "yes");
    reg.WriteString("", "older.wav");

    ASSERT_TRUE(reg.OpenKey("\\Sounds", false));
    EXPECT_TRUE(reg.MoveKey(".current", "Old", true));
    EXPECT_EQ(reg.GetKeyNames(), QStringList{"Old"});
    ASSERT_TRUE(reg.OpenKey("Old", false));
    EXPECT_EQ(reg.ReadString(""), "nav.wav") << "copied over";
    EXPECT_EQ(reg.ReadString("Kept"), "yes") << "what was there stays";
    ASSERT_TRUE(reg.OpenKey("Deeper\\Still", false));
    EXPECT_EQ(reg.ReadInteger("Depth"), 2);

    ASSERT_TRUE(reg.OpenKey("\\Sounds", false));
    EXPECT_TRUE(reg.MoveKey("Old", "\\Copy", false));
    EXPECT_TRUE(reg.KeyExists("Old")) << "kept when not to be deleted";
    EXPECT_TRUE(reg.KeyExists("\\Copy\\Deeper\\Still"));
    for (const auto &[from, to] : {std::pair{"Old", "Old\\Inner"}, std::pair{"Old\\Deeper", "Old"}, std::pair{"OLD", "old"},
                                   std::pair{"Missing", "Elsewhere"}})
        EXPECT_FALSE(reg.MoveKey(from, to, true)) << from << " -> " << to;
    EXPECT_TRUE(reg.KeyExists("Old\\Deeper\\Still"));
    EXPECT_FALSE(reg.KeyExists("Old\\Inner"));
    EXPECT_FALSE(reg.KeyExists("Elsewhere"));
}

TEST_F(RegistryTest, ChangesByAnotherProcessAreSeen)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("K", true));
    reg.WriteInteger("v", 1);
    // Another process rewrites the file (same layout, other value).
    QByteArray bytes = vocab::test::readBytes(TRegistry::storePath());
    bytes.replace("\"data\": 1", "\"data\": 22");
    QFile::remove(TRegistry::storePath());
    vocab::test::writeBytes(TRegistry::storePath(), bytes);
    EXPECT_EQ(reg.ReadInteger("v"), 22);
}

TEST_F(RegistryTest, AStoreThatCannotBeParsedIsSetAsideBeforeTheNextWrite)
{
    // Two damaged stores in turn (within the same second, as like as not):
    // each is kept byte for byte under a name of its own, and the store
    // written in its place holds the new value.
    const QList<QByteArray> damaged{"{\"HKEY_CURRENT_USER\": {\"keys\": {\"Software\": ", "\xEF\xBB\xBF not json"};
    for (const QByteArray &bytes : damaged) {
        QFile::remove(TRegistry::storePath());
        vocab::test::writeBytes(TRegistry::storePath(), bytes);
        TRegistry reg;
        EXPECT_FALSE(reg.KeyExists("Software")) << "reads as empty";
        ASSERT_TRUE(reg.OpenKey("Software\\New", true));
        reg.WriteInteger("v", 5);
        TRegistry again;
        ASSERT_TRUE(again.OpenKey("Software\\New", false));
        EXPECT_EQ(again.ReadInteger("v"), 5);
    }
    const QDir folder = QFileInfo(TRegistry::storePath()).absoluteDir();
    const QStringList aside = folder.entryList({"registry.json.bad-*"}, QDir::Files);
    ASSERT_EQ(aside.size(), 2) << aside.join(' ').toStdString();
    QList<QByteArray> kept;
    for (const QString &name : aside)
        kept.append(vocab::test::readBytes(folder.filePath(name)));
    std::sort(kept.begin(), kept.end());
    QList<QByteArray> expected = damaged;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(kept, expected);
}

TEST_F(RegistryTest, ADamagedStoreThatCannotBeSetAsideNamesTheCauseAndStaysAsItWas)
{
    const QByteArray bytes("{ not json");
    vocab::test::writeBytes(TRegistry::storePath(), bytes);
    const QString folder = QFileInfo(TRegistry::storePath()).absolutePath();
    vocab::test::ImmutableFiles locked({folder});
    if (!locked.made())
        GTEST_SKIP() << "chattr +i does not work here";
    TRegistry reg;
    try {
        reg.OpenKey("Software\\New", true);
        reg.WriteInteger("v", 5);
        FAIL() << "the write went through";
    } catch (const FileError &error) {
        const QString &text = error.message();
        EXPECT_TRUE(text.startsWith(u"Не удаётся сохранить повреждённый файл \"%1\""_qs.arg(TRegistry::storePath()))
                    && text.endsWith(u": действие запрещено"_qs))
            << error.what();
    }
    EXPECT_EQ(vocab::test::readBytes(TRegistry::storePath()), bytes);
}

TEST_F(RegistryTest, AnEmptyStoreFileIsSimplyEmpty)
{
    vocab::test::writeBytes(TRegistry::storePath(), "");
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("K", true));
    EXPECT_TRUE(QFileInfo(TRegistry::storePath()).absoluteDir().entryList({"*.bad-*"}).isEmpty());
}

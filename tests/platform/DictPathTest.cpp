#include "DictPath.h"

#include "TestSupport.h"

using namespace vocab;
using vocab::test::writeBytes;

namespace {

class DictPathTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString root() const { return dir.path(); }
    void touch(const QString &relative) { writeBytes(root() + u'/' + relative, "x"); }

    QTemporaryDir dir;
};

TEST_F(DictPathTest, FindsEachComponentWithoutRegardToCase)
{
    touch(QStringLiteral("dic/Словарь Один/Base/101.OGL"));
    EXPECT_EQ(DictPath::find(root(), QStringLiteral("dic/словарь один/base/101.ogl")),
              root() + QStringLiteral("/dic/Словарь Один/Base/101.OGL"));
    EXPECT_TRUE(DictPath::fileExists(root(), QStringLiteral("DIC/СЛОВАРЬ ОДИН/BASE/101.ogl")));
}

TEST_F(DictPathTest, PrefersTheExactName)
{
    touch(QStringLiteral("d/Sort.trv"));
    touch(QStringLiteral("d/sort.trv"));
    EXPECT_EQ(DictPath::find(root(), QStringLiteral("d/sort.trv")), root() + QStringLiteral("/d/sort.trv"));
    EXPECT_EQ(DictPath::find(root(), QStringLiteral("d/Sort.trv")), root() + QStringLiteral("/d/Sort.trv"));
    // Neither exact: the first name in the order of its letters' codes.
    EXPECT_EQ(DictPath::find(root(), QStringLiteral("d/SORT.TRV")), root() + QStringLiteral("/d/Sort.trv"));
}

TEST_F(DictPathTest, MissingComponentsAndFoldersAreNotFiles)
{
    touch(QStringLiteral("d/base/1.ogl"));
    EXPECT_TRUE(DictPath::find(root(), QStringLiteral("d/base/2.ogl")).isEmpty());
    EXPECT_TRUE(DictPath::find(root(), QStringLiteral("x/base/1.ogl")).isEmpty());
    EXPECT_FALSE(DictPath::fileExists(root(), QStringLiteral("d/base")));
    EXPECT_FALSE(DictPath::fileExists(root(), QStringLiteral("d/base/2.ogl")));
}

TEST_F(DictPathTest, RefusesComponentsThatLeaveTheFolder)
{
    touch(QStringLiteral("secret.ogl"));
    touch(QStringLiteral("dic/d/a.ogl"));
    const QString dic = root() + QStringLiteral("/dic");
    for (const char *relative : {"../secret.ogl", "d/../../secret.ogl", "./d/a.ogl", "d//a.ogl", "/d/a.ogl", ""})
        EXPECT_TRUE(DictPath::find(dic, QString::fromUtf8(relative)).isEmpty()) << relative;
}

TEST(DictPathNames, SafeNames)
{
    struct Case {
        const char *name;
        bool safe;
    };
    const Case cases[] = {
        {"engrus", true},       {"Толковый словарь", true}, {" lead blank", true}, {"a.b", true},
        {"a..b", true},         {"Dict..v2", true},         {"...", true},         {"..x", true},
        {"", false},            {".", false},               {"..", false},         {"../x", false},
        {"a/b", false},         {"a\\b", false},            {"/abs", false},         {"..\\x", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DictPath::isSafeName(QString::fromUtf8(c.name)), c.safe) << c.name;
    EXPECT_FALSE(DictPath::isSafeName(QStringLiteral("a") + QChar(0) + QStringLiteral("b")));
}

} // namespace

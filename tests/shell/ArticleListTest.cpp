#include "ArticleList.h"

#include "AppError.h"
#include "ListFile.h"
#include "TestSupport.h"

#include <QTemporaryDir>

using namespace vocab;

TEST(ArticleList, LinesAsEveryListFileBreaksThem)
{
    const QByteArray mark("\xEF\xBB\xBF");
    const QByteArray cases[] = {
        "", mark, "a", "a\r\n", "a\r\n\r\n", "\r\n", "a\rb\nc\r\nd", "a\n\rb", "a\r",
        mark + u"Все\r\nслова\r\n"_qs.toUtf8(),
        QByteArray("\xC2\xF1\xE5\r\n\xA8\xB8"),
        QByteArray("\xFF\xFE" "a\0\r\0\n\0b\0", 10),
    };
    for (const QByteArray &bytes : cases) {
        const QStringList expected = ListFile::decode(bytes);
        const ArticleList list = ArticleList::Decode(bytes);
        EXPECT_EQ(list.ToStringList(), expected) << vocab::test::hex(bytes);
        ASSERT_EQ(list.size(), expected.size());
        for (qsizetype i = 0; i < list.size(); ++i)
            EXPECT_EQ(list.at(i), expected.at(i));
    }
    const QStringList lines{u"ДОМ, -а"_qs, QString(), u"КОТ"_qs};
    EXPECT_EQ(ArticleList::FromLines(lines).ToStringList(), lines);
}

TEST(ArticleList, ACopyKeepsItsLinesWhenTheOriginalGoes)
{
    ArticleList list = ArticleList::Decode("one\r\ntwo\r\n");
    const ArticleList copy = list;
    list.clear();
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(copy.ToStringList(), (QStringList{"one", "two"}));
}

TEST(ArticleList, AFileThatCannotBeReadThrows)
{
    QTemporaryDir dir;
    EXPECT_THROW(ArticleList::Read(dir.filePath("missing.uvs")), FileError);
    EXPECT_THROW(ArticleList::Read(dir.path()), FileError);
    vocab::test::writeBytes(dir.filePath("a.uvs"), "\xEF\xBB\xBF" "x\r\ny\r\n");
    EXPECT_EQ(ArticleList::Read(dir.filePath("a.uvs")).ToStringList(), (QStringList{"x", "y"}));
}

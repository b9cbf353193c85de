// Names of favourites as file names, and the shortcut files written.

#include "AppError.h"
#include "Favorites.h"
#include "TestSupport.h"

#include <QFileInfo>

using namespace vocab;
using namespace vocab::test;

TEST(FavoriteNames, ANameCannotLeaveTheFolderOrHideAndKeepsTheRest)
{
    const struct {
        QString name;
        QString expected;
    } cases[] = {
        {u"Словарь — статья"_qs, u"Словарь — статья"_qs},
        {"../../etc/passwd", "etc passwd"},
        {"a/b\\c", "a b c"},
        {"a:b*c?d\"e<f>g|h", "a b c d e f g h"},
        {"  Title \t\r\n  here  ", "Title here"},
        {"name.", "name"},
        {".hidden", "hidden"},
        {"...", ""},
        {" / ", ""},
        {QString(300, u'ж'), QString(120, u'ж')},
        // A pair of surrogates stays whole where the name is cut.
        {QString(117, u'ж') + u"😀😀"_qs, QString(117, u'ж') + u"😀"_qs},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        EXPECT_EQ(SanitizeFavoriteName(c.name), c.expected);
    }
}

TEST(FavoriteNames, AShortcutIsWrittenInsideTheFolderWithItsAddressOnOneLine)
{
    QTemporaryDir dir;
    const QString path = WriteInternetShortcut(dir.path(), "../up/Page", "http://example.org/a\r\nb=c");
    EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
    EXPECT_EQ(QFileInfo(path).fileName(), "up Page.url");
    EXPECT_EQ(readBytes(path), "\xEF\xBB\xBF[InternetShortcut]\r\nURL=http://example.org/ab=c\r\n");
    EXPECT_THROW(WriteInternetShortcut(dir.path(), "..", "http://example.org/"), FileError);
}

// A page's title made the name of a file that stays in its folder.

#include "FileNameFromTitle.h"
#include "TestSupport.h"

using namespace vocab;

TEST(FileNameFromTitle, ATitleCannotLeaveTheFolderOrHideAndGivesWayToTheFallbackWhenEmpty)
{
    const struct {
        QString title;
        QString expected;
    } cases[] = {
        {u"Статья: один/два"_qs, u"Статья: один два"_qs},
        {"../../etc/passwd", "etc passwd"},
        {"a\\b\tc\r\nd", "a b c d"},
        {"  .hidden ", "hidden"},
        {"...", "fallback"},
        {" / \\ ", "fallback"},
        {QString(), "fallback"},
        {QString(150, u'ж'), QString(100, u'ж')},
        // A pair of surrogates is never cut in half where the name ends.
        {QString(99, u'ж') + u"😀"_qs, QString(99, u'ж')},
        {QString(98, u'ж') + u"😀😀"_qs, QString(98, u'ж') + u"😀"_qs},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.title.toStdString());
        EXPECT_EQ(FileNameFromTitle(c.title, QStringLiteral("fallback")), c.expected);
    }
}

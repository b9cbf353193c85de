// Text on its way into HTTP headers.

#include "HeaderText.h"

#include "TestSupport.h"

using namespace vocab;

TEST(SingleHeaderLine, KeepsOnlyWhatComesBeforeTheFirstLineBreak)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("Vocabulinarum/2.0"), QStringLiteral("Vocabulinarum/2.0")},
        {QStringLiteral("Agent/1\r\nX-Evil: 1"), QStringLiteral("Agent/1")},
        {QStringLiteral("Agent/1\nX-Evil: 1"), QStringLiteral("Agent/1")},
        {QStringLiteral("Agent/1\rX-Evil: 1"), QStringLiteral("Agent/1")},
        {QStringLiteral("\r\nAgent"), QString()},
        {QString(), QString()},
    };
    for (const auto &[text, line] : cases)
        EXPECT_EQ(singleHeaderLine(text), line);
}

TEST(HeaderBlock, SplitsAtEveryLineBreakAndDropsWhatIsNoHeader)
{
    const auto headers = parseHeaderBlock(QStringLiteral(
        "Referer: http://a.test/\r\nX-One:1\rX-Two: two words \nno colon\r\n: no name\r\nBad Name: x\r\n\r\n"));
    const QList<QPair<QByteArray, QByteArray>> expected{
        {"Referer", "http://a.test/"},
        {"X-One", "1"},
        {"X-Two", "two words"},
    };
    EXPECT_EQ(headers, expected);
    EXPECT_TRUE(parseHeaderBlock(QString()).isEmpty());
}

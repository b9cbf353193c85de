// Text on its way into HTTP headers.

#include "HeaderText.h"

#include "TestSupport.h"

using namespace vocab;

TEST(SingleHeaderLine, KeepsOnlyWhatComesBeforeTheFirstLineBreakOrOtherControlCharacter)
{
    const QChar nul(0);
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("Vocabulinarum/2.0"), QStringLiteral("Vocabulinarum/2.0")},
        {QStringLiteral("Agent/1\r\nX-Evil: 1"), QStringLiteral("Agent/1")},
        {QStringLiteral("Agent/1\nX-Evil: 1"), QStringLiteral("Agent/1")},
        {QStringLiteral("Agent/1\rX-Evil: 1"), QStringLiteral("Agent/1")},
        {QStringLiteral("\r\nAgent"), QString()},
        {QStringLiteral("Agent/1") + nul + QStringLiteral("X-Evil: 1"), QStringLiteral("Agent/1")},
        {QStringLiteral("Agent/1\x01\x1f"), QStringLiteral("Agent/1")},
        {QStringLiteral("Agent/1\x7f"), QStringLiteral("Agent/1")},
        {QStringLiteral("Agent/1\t(Linux)"), QStringLiteral("Agent/1\t(Linux)")},
        {QStringLiteral("Агент/1 ü"), QStringLiteral("Агент/1 ü")},
        {QString(), QString()},
    };
    for (const auto &[text, line] : cases)
        EXPECT_EQ(singleHeaderLine(text), line);
}

TEST(HeaderBlock, SplitsAtEveryLineBreakAndDropsWhatIsNoHeader)
{
    const auto headers = parseHeaderBlock(QStringLiteral(
        "Referer: http://a.test/\r\nX-One:1\rX-Two: two words \nno colon\r\n: no name\r\nBad Name: x\r\n"
        "X-Controls: a\x01" "b\x7f\tc\r\n\r\n") + QStringLiteral("X-Nul: d") + QChar(0) + QStringLiteral("e"));
    const QList<QPair<QByteArray, QByteArray>> expected{
        {"Referer", "http://a.test/"},
        {"X-One", "1"},
        {"X-Two", "two words"},
        {"X-Controls", "ab\tc"},
        {"X-Nul", "de"},
    };
    EXPECT_EQ(headers, expected);
    EXPECT_TRUE(parseHeaderBlock(QString()).isEmpty());
}

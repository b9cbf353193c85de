#include "OutsideWords.h"

#include "TestSupport.h"

using namespace vocab;

namespace {

TEST(OutsideWords, ATextBecomesTheWordToLookUp)
{
    struct Case {
        const char16_t *text;
        const char16_t *word;
    };
    const Case cases[] = {
        {u"кот.", u"кот"},
        {u"кот,", u"кот"},
        {u"кот:", u"кот"},
        {u"кот;", u"кот"},
        {u"а.", u"а"},             // a letter and a full stop: the letter
        {u".", u"."},              // too short to lose anything
        {u"кот..", u"кот."},       // one character only
        {u" \tкот - ", u"кот"},    // trimmed, the hyphen dropped, the blank before it trimmed
        {u"\r\nкот\n", u"кот"},    // every character up to the blank goes at the ends
        {u"кот!", u"кот!"},
        {u"Ёж", u"Еж"},            // the capital Ё as the search writes it
        {u"-", u"-"},
        {u"   ", u""},
    };
    for (const Case &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(ExternalWordOf(text), QString::fromUtf16(c.word)) << text.toStdString();
    }
}

TEST(OutsideWords, TheWordLimitAndTheCutOfAnotherProgramsText)
{
    EXPECT_FALSE(WithinWordLimit(QString()));
    EXPECT_TRUE(WithinWordLimit(QString(130, u'a')));
    EXPECT_FALSE(WithinWordLimit(QString(131, u'a')));

    EXPECT_EQ(CutOutsideText(QString(250, u'a')).size(), 250);
    EXPECT_EQ(CutOutsideText(QString(251, u'a')).size(), 230);
    // 300 letters are cut to 230, still over the limit: not used.
    EXPECT_FALSE(WithinWordLimit(ExternalWordOf(CutOutsideText(QString(300, u'a')))));
    // Mostly blanks around a word in the first 230: the word is used.
    const QString padded = QString(100, u' ') + QStringLiteral("кот.") + QString(196, u' ');
    EXPECT_EQ(ExternalWordOf(CutOutsideText(padded)), QStringLiteral("кот"));
}

TEST(OutsideWords, TheArticleViewAreaHasStrictBounds)
{
    // L = 100 + 200 + 18 = 318, T = 50 + 10 + 50 = 110.
    const ArticleViewArea area{{100, 50}, 200, 10, 400, 300};
    EXPECT_FALSE(area.Contains({318, 200})) << "x = L";
    EXPECT_FALSE(area.Contains({400, 110})) << "y = T";
    EXPECT_TRUE(area.Contains({319, 111}));
    EXPECT_TRUE(area.Contains({717, 409}));
    EXPECT_FALSE(area.Contains({718, 200})) << "x = L + width";
    EXPECT_FALSE(area.Contains({400, 410})) << "y = T + height";
    EXPECT_EQ(area.PointerParking(), QPoint(100 + 200 - 27, 50 + 10 + 130));
}

TEST(OutsideWords, TheArticleMenuShowsWhatTheWordAllows)
{
    struct Case {
        QString word;
        bool headword;
        PopupBrowserItems items;
    };
    const Case cases[] = {
        {QString(), false, {false, false, false, false}},
        {QString(131, u'a'), true, {true, false, false, false}},
        {QStringLiteral("кот"), true, {true, true, true, true}},
        {QStringLiteral("кит"), false, {true, true, true, false}},
    };
    for (const Case &c : cases) {
        const PopupBrowserItems items = PopupBrowserItemsFor(c.word, c.headword);
        EXPECT_EQ(items.copyVisible, c.items.copyVisible) << c.word.size();
        EXPECT_EQ(items.copyInEditVisible, c.items.copyInEditVisible) << c.word.size();
        EXPECT_EQ(items.findAllDicVisible, c.items.findAllDicVisible) << c.word.size();
        EXPECT_EQ(items.findAllDicEnabled, c.items.findAllDicEnabled) << c.word.size();
    }
}

} // namespace

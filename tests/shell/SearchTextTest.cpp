#include "DictionaryFolder.h"
#include "SearchText.h"

#include "TestSupport.h"

using namespace vocab;

namespace {

TEST(SearchKeyTest, UpperCasesUnitByUnitAndNormalises)
{
    struct Case {
        const char16_t *typed;
        const char16_t *key;
    };
    const Case cases[] = {
        {u"  кот  ", u"КОТ"},
        {u"ёлка", u"ЕЛКА"},            // small ё is upper-cased first, then made Е
        {u"Ёж и ёж", u"ЕЖ И ЕЖ"},
        {u"\tкот ", u"\tКОТ"},          // only U+0020 is trimmed
        {u"кот\u00A0", u"КОТ\u00A0"},
        {u"   ", u""},
        {u"", u""},
        {u"straße", u"STRAßE"},         // ß has no one-unit capital and stays
        {u"ǆemal", u"ǄEMAL"},
        {u"-а'b", u"-А'B"},
    };
    for (const Case &c : cases) {
        const QString typed = QString::fromUtf16(c.typed);
        EXPECT_EQ(SearchKey(typed), QString::fromUtf16(c.key)) << typed.toStdString();
    }
}

TEST(SearchKeyTest, UpperCasingKeepsTheLengthOfAnyText)
{
    // Lone surrogates and letters whose full capital is longer.
    const char16_t units[] = {u'ß', u'ŉ', u'ǰ', u'ΐ', 0xD800, u'x', 0xDC00, u'ﬀ'};
    const QString text(reinterpret_cast<const QChar *>(units), std::size(units));
    const QString upper = UpperCaseText(text);
    ASSERT_EQ(upper.size(), text.size());
    EXPECT_EQ(upper.at(0), text.at(0));
    EXPECT_EQ(upper.at(5), QChar(u'X'));
    EXPECT_EQ(upper.at(4), text.at(4));
}

TEST(SearchKeyTest, BeginsWithKeyComparesUnitsCaseSensitively)
{
    EXPECT_TRUE(BeginsWithKey(u"КОТЁНОК", u"КОТ"));
    EXPECT_TRUE(BeginsWithKey(u"КОТ", u"КОТ"));
    EXPECT_FALSE(BeginsWithKey(u"КО", u"КОТ"));
    EXPECT_FALSE(BeginsWithKey(u"кот", u"КОТ"));
    EXPECT_FALSE(BeginsWithKey(u"", u"К"));
}

TEST(LetterFileNumberTest, RussianAndEnglishRules)
{
    struct Case {
        const char16_t *word;
        int russian;
        int english;
    };
    const Case cases[] = {
        {u"АБ", 1, 100},   {u"ЯК", 32, 100},  {u"-А", 1, 100},   {u"-", 0, 100},
        {u"'T", 0, 120},   {u"-T", 0, 120},   {u"'А", 0, 100},   {u"'", 0, 100},
        {u"ЕЖ", 6, 100},   {u"ЁЖ", 0, 100},   {u"7", 0, 100},    {u"A", 0, 101},
        {u"Z", 0, 126},    {u"'-A", 0, 100},  {u"--А", 0, 100},  {u"a", 0, 100},
        {u"", 0, 100},
    };
    for (const Case &c : cases) {
        const QString word = QString::fromUtf16(c.word);
        EXPECT_EQ(LetterFileNumber(word, false), c.russian) << word.toStdString();
        EXPECT_EQ(LetterFileNumber(word, true), c.english) << word.toStdString();
    }
}

} // namespace

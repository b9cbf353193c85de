// The navigation variants over a spy control: the search engines'
// addresses, the arguments each navigation hands the control, the position
// rule of CharCodeAt and the order of GoNoHistory's steps.

#include "HbToolsNavigation.h"
#include "HostedBrowser.h"
#include "SpyControl.h"
#include "TestSupport.h"
#include "platform/MailFixtures.h"

#include <QTimer>

using namespace vocab;
using namespace vocab::test;

namespace {

class HbNavigation : public ::testing::Test {
protected:
    void SetUp() override { browser = makeWithSpy<THostedBrowser>(spy); }
    const SpyControl::NavigateCall &last() const { return spy->navigateCalls.back(); }

    SpyControl *spy = nullptr;
    std::unique_ptr<THostedBrowser> browser;
};

} // namespace

TEST_F(HbNavigation, SearchTermsGoIntoTheEnginesAddressesEncoded)
{
    const struct {
        const char16_t *term;
        const char *encoded;
    } cases[] = {
        {u"word", "word"},
        {u"a b&c=d#e+f%", "a%20b%26c%3Dd%23e%2Bf%25"},
        {u"слово", "%D1%81%D0%BB%D0%BE%D0%B2%D0%BE"},
        {u"", ""},
    };
    for (const auto &c : cases) {
        const QString term = QString::fromUtf16(c.term);
        const QString encoded = QLatin1String(c.encoded);
        spy->navigations.clear();
        browser->GoSearchInGoogle(term);
        browser->GoSearchInMSN(term);
        browser->GoSearchInYahoo(term);
        EXPECT_EQ(spy->navigations,
                  (QStringList{QStringLiteral("https://www.google.com/search?ie=UTF-8&q=") + encoded,
                               QStringLiteral("https://www.bing.com/results.aspx?q=") + encoded
                                   + QStringLiteral("&FORM=CBPW&first=1&noredir=1"),
                               QStringLiteral("https://search.yahoo.com/bin/search?p=") + encoded}))
            << c.encoded;
    }
}

TEST_F(HbNavigation, EachNavigationHandsTheControlItsArguments)
{
    // Blanks are the space and every character below it; other spaces are
    // not, and the address goes as given.
    const std::pair<const char16_t *, bool> addresses[] = {
        {u" \t ", false}, {u"\x01\r\n", false}, {u"\u00A0", true}, {u" http://example.org/ ", true}};
    for (const auto &[address, goes] : addresses) {
        spy->navigateCalls.clear();
        HbTools::NavigateToUrl(*browser, QString::fromUtf16(address));
        ASSERT_EQ(spy->navigateCalls.size(), goes ? 1u : 0u) << QString::fromUtf16(address).toStdString();
        if (goes) {
            EXPECT_EQ(last().url, QVariant(QString::fromUtf16(address)));
        }
    }
    for (const QVariant &zero : {last().flags, last().target, last().postData, last().headers})
        EXPECT_EQ(zero, QVariant(0));

    browser->GoWithQueryDetails(QStringLiteral("http://example.org/form"), QString());
    EXPECT_EQ(last().url, QVariant(QStringLiteral("http://example.org/form"))) << "an empty query adds nothing";
    EXPECT_EQ(last().postData, QVariant(QByteArray("version=current&name=myname\r\n")));
    EXPECT_EQ(last().headers, QVariant(QByteArray("Content-Type:application/x-www-form-urlencoded\r\n")));
    browser->GoWithQueryDetails(QStringLiteral("http://example.org/form"), QStringLiteral("?q=1"));
    EXPECT_EQ(last().url, QVariant(QStringLiteral("http://example.org/form?q=1")));

    browser->GoDownloadFile(QStringLiteral("http://example.org/file.zip"));
    EXPECT_EQ(last().url, QVariant(QStringLiteral("http://example.org/file.zip")));
    EXPECT_EQ(last().flags.toInt(), 62);

    browser->GoAboutBlank();
    EXPECT_EQ(spy->navigations.last(), QStringLiteral("about:blank"));
}

TEST_F(HbNavigation, GoNoHistoryNavigatesWaitsAndThenForgetsTheAddress)
{
    const QString url = QStringLiteral("http://example.org/once");
    spy->loadDocument();
    spy->loading = true;
    QTimer::singleShot(30, [&] {
        EXPECT_TRUE(spy->deletedFromHistory.isEmpty()) << "not before the page has come";
        spy->loading = false;
    });
    browser->GoNoHistory(url);
    EXPECT_FALSE(spy->loading) << "returned only once the page had come";
    ASSERT_EQ(spy->navigateCalls.size(), 1u);
    EXPECT_EQ(last().url, QVariant(url));
    EXPECT_EQ(last().flags, QVariant(navNoHistory));
    EXPECT_EQ(spy->deletedFromHistory, QStringList{url});
}

TEST(HbToolsCharCodeAt, AnswersTheCodeUnitAtAPositionFromOneAndZeroOutsideTheText)
{
    const struct {
        const char16_t *text;
        int position;
        std::uint16_t code;
    } cases[] = {
        {u"abc", 1, 97}, {u"abc", 3, 99}, {u"жx", 1, 0x436}, {u"\U0001F600", 2, 0xDE00},
        {u"abc", 0, 0},  {u"abc", 4, 0},  {u"abc", -5, 0},   {u"", 1, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(HbTools::CharCodeAt(QString::fromUtf16(c.text), c.position), c.code) << c.position;
}

TEST(HbToolsFrameBrowser, IsNullForAnythingButAnHtmlDocumentsFrame)
{
    std::unique_ptr<IWebBrowser2> frame;
    HbTools::GetFrameBrowser(nullptr, 0, frame);
    EXPECT_EQ(frame, nullptr);
    SpyDocument document; // no frames to look into
    HbTools::GetFrameBrowser(&document, 0, frame);
    EXPECT_EQ(frame, nullptr);
}

TEST_F(HbNavigation, APageThatCannotBeSavedIsNotMailed)
{
    auto transport = std::make_shared<vocab::test::CapturingTransport>();
    const vocab::test::TransportScope scope(transport);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("page.htm"));
    browser->SendPageInMailAsAttachment(nullptr, file, QStringLiteral("subject"), QStringLiteral("body"));
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_TRUE(transport->sent().empty());
}

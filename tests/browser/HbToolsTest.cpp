// The browser tools that need no engine: URL text, schemes, certificates,
// page-setup values, the rules of loading, and the component's loading,
// waiting and navigation over a spy control.

#include "HbToolsLoading.h"
#include "HbToolsPageSetup.h"
#include "HbToolsUrl.h"
#include "HostedBrowser.h"
#include "MessageBoxes.h"
#include "PlatformLibraries.h"
#include "Registry.h"
#include "SpyControl.h"
#include "TestSupport.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QTest>
#include <QLocale>
#include <QSslCertificate>
#include <QStringDecoder>
#include <QTimer>

using namespace vocab;
using namespace vocab::test;

namespace {

// A registry file of the test's own.
class OwnRegistry {
public:
    OwnRegistry() { qputenv("VOCABULINARUM_REGISTRY", QFile::encodeName(dir.filePath(QStringLiteral("registry.json")))); }
    ~OwnRegistry() { qunsetenv("VOCABULINARUM_REGISTRY"); }
    QTemporaryDir dir;
};

// The default locale for the span of a test.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale &locale) : m_previous(QLocale()) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(m_previous); }

private:
    QLocale m_previous;
};

} // namespace

TEST(HbToolsEncodeUrl, KeepsTheSafeCharactersAndEscapesTheRest)
{
    const struct {
        const char16_t *input;
        const char *query;
        const char *path;
    } cases[] = {
        {u"a b", "a+b", "a%20b"},
        {u"AZaz09-._", "AZaz09-._", "AZaz09-._"},
        {u"~*'()!,/", "%7E%2A%27%28%29%21%2C%2F", "%7E%2A%27%28%29%21%2C%2F"},
        {u"%", "%25", "%25"},
        {u"\u00E9\u0001", "%E9%01", "%E9%01"},
        {u"", "", ""},
        // Beyond one byte: the octets of UTF-8, a surrogate pair as one character.
        {u"\u043F", "%D0%BF", "%D0%BF"},
        {u"\U0001F600", "%F0%9F%98%80", "%F0%9F%98%80"},
    };
    for (const auto &c : cases) {
        const QString input = QString::fromUtf16(c.input);
        EXPECT_EQ(HbTools::EncodeUrl(input, true), QLatin1String(c.query)) << c.query;
        EXPECT_EQ(HbTools::EncodeUrl(input, false), QLatin1String(c.path)) << c.path;
    }
}

TEST(HbToolsDecodeUrl, ReadsEscapesOfEitherCaseAndPlusAsSpace)
{
    EXPECT_EQ(HbTools::DecodeUrl(QStringLiteral("a+b%4a%4A%e9")), QStringLiteral("a bJJ\u00E9"));
    EXPECT_EQ(HbTools::DecodeUrl(QString()), QString());
    for (const char *bad : {"%", "x%4", "%4G", "%G4", "%%41"}) {
        try {
            HbTools::DecodeUrl(QLatin1String(bad));
            ADD_FAILURE() << bad;
        } catch (const EConvertError &error) {
            EXPECT_EQ(error.message(), QStringLiteral("Invalid HEX digit in URL")) << bad;
        }
    }
}

TEST(HbToolsDecodeUrl, GivesBackWhatEncodeUrlMadeOfEveryByte)
{
    QString all;
    for (int code = 0; code <= 0xFF; ++code) {
        const QString one(QChar(static_cast<char16_t>(code)));
        EXPECT_EQ(HbTools::DecodeUrl(HbTools::EncodeUrl(one, true)), one) << code;
        all += one;
    }
    EXPECT_EQ(HbTools::DecodeUrl(HbTools::EncodeUrl(all, true)), all);
}

TEST(HbToolsIsValidProtocol, FindsAKnownSchemeAnywhereInTheText)
{
    const struct {
        const char *url;
        bool valid;
    } cases[] = {
        {"HTTP://x", true},     {"news:x", true},  {"mailto:a", true}, {"see https://x", true}, {"prospero://", true},
        {"FiLe://c/", true},    {"http:/x", false}, {"htp://", false}, {"", false},             {"about:blank", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(HbTools::IsValidProtocol(QLatin1String(c.url)), c.valid) << c.url;
}

TEST(HbToolsVersion, TheVersionTestIsAbsentHere)
{
    EXPECT_FALSE(IsWinXPSP2OrLater());
}

namespace {

// A self-signed certificate, DER-encoded.
const QByteArray CertificateDer = QByteArray::fromBase64(
    "MIIBkTCCATegAwIBAgIUdt7slvyVyXSKF0+JYcDcFh+D0HowCgYIKoZIzj0EAwIwHTEbMBkGA1UEAwwSVm9jYWJ1bGluYXJ1bSB0"
    "ZXN0MCAXDTI2MTIxMDEwMTUzOFoYDzIxMjYxMTE2MTAxNTM4WjAdMRswGQYDVQQDDBJWb2NhYnVsaW5hcnVtIHRlc3QwWTATBgcq"
    "hkjOPQIBBggqhkjOPQMBBwNCAARYU0/FxrJj6L1oLiw6dBd92dLdvimxTDx4beZWD5Uwj2d7TvquwJhccxBRlfOVN6BT0wUvtPsZ"
    "UFsarm+MTYWmo1MwUTAdBgNVHQ4EFgQUE8Ttl07R0YVUE+LjqbPbTCpUN28wHwYDVR0jBBgwFoAUE8Ttl07R0YVUE+LjqbPbTCpU"
    "N28wDwYDVR0TAQH/BAUwAwEB/zAKBggqhkjOPQQDAgNIADBFAiEA91g3sQYvZTOi+M5i7rUBbhp3MViOEorQFCzZSTTFYPsCIFQ/"
    "QflQp9Bdx7ihEPp1yMAuCcn9AGkCw9RvdBNXJA5k");

class HbToolsImportCertFile : public ::testing::Test {
protected:
    QString file(const QString &name, const QByteArray &bytes)
    {
        const QString path = registry.dir.filePath(name);
        writeBytes(path, bytes);
        return path;
    }
    QStringList storeEntries(const QString &store) const
    {
        return QDir(HbTools::CertificateStorePath(store)).entryList(QDir::Files);
    }
    OwnRegistry registry;
};

} // namespace

TEST_F(HbToolsImportCertFile, AddsTheCertificateOnceByItsThumbprint)
{
    const QString der = file(QStringLiteral("a.cer"), CertificateDer);
    QFile::setPermissions(der, QFile::ReadOwner);
    ASSERT_TRUE(HbTools::ImportCertFile(der, QStringLiteral("ROOT")));
    ASSERT_TRUE(HbTools::ImportCertFile(der, QStringLiteral("ROOT")));
    const QStringList entries = storeEntries(QStringLiteral("ROOT"));
    ASSERT_EQ(entries.size(), 1);
    const QString stored = HbTools::CertificateStorePath(QStringLiteral("ROOT")) + u'/' + entries.first();
    EXPECT_EQ(QSslCertificate(readBytes(stored), QSsl::Der), QSslCertificate(CertificateDer, QSsl::Der));
}

TEST_F(HbToolsImportCertFile, RefusesWhatIsNoCertificateAndNamesThatAreNoStore)
{
    const QString der = file(QStringLiteral("a.cer"), CertificateDer);
    EXPECT_FALSE(HbTools::ImportCertFile(registry.dir.filePath(QStringLiteral("missing.cer")), QStringLiteral("ROOT")));
    EXPECT_FALSE(HbTools::ImportCertFile(file(QStringLiteral("empty.cer"), {}), QStringLiteral("ROOT")));
    const QByteArray pem = QSslCertificate(CertificateDer, QSsl::Der).toPem();
    EXPECT_FALSE(HbTools::ImportCertFile(file(QStringLiteral("text.pem"), pem), QStringLiteral("ROOT")));
    for (const char *store : {"", "..", "../x", "a/b", "a\\b"})
        EXPECT_FALSE(HbTools::ImportCertFile(der, QLatin1String(store))) << store;
    EXPECT_FALSE(QFileInfo::exists(registry.dir.filePath(QStringLiteral("x"))));
    SpyControl *spy = nullptr;
    const auto browser = makeWithSpy<THostedBrowser>(spy);
    EXPECT_TRUE(browser->ImportCertFile(der, QStringLiteral("CA")));
}

TEST(HbToolsPageSetupMargin, InchesFromTheStoredTextInTheUnitOfTheOptions)
{
    const LocaleScope english(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_DOUBLE_EQ(HbTools::PageSetupMargin(QString(), mMetric), 19.05);
    EXPECT_DOUBLE_EQ(HbTools::PageSetupMargin(QStringLiteral(" 1.0 "), mMetric), 25.4);
    EXPECT_DOUBLE_EQ(HbTools::PageSetupMargin(QStringLiteral("0.5"), mUS), 0.5);
    EXPECT_DOUBLE_EQ(HbTools::PageSetupMargin(QStringLiteral("0.5"), mUnknown), 0.5);
    EXPECT_THROW(HbTools::PageSetupMargin(QStringLiteral("abc"), mMetric), EConvertError);

    const LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_DOUBLE_EQ(HbTools::PageSetupMargin(QStringLiteral("0.5"), mMetric), 12.7);
}

TEST(HbToolsMarginText, ShowsTheMarginInTheLocalesUnit)
{
    const LocaleScope english(QLocale(QLocale::English, QLocale::UnitedStates));
    const struct {
        TMeasure measure;
        TMeasure runtime;
        double value;
        const char *text;
    } cases[] = {
        {mMetric, mMetric, 19.05, "19.05"}, {mMetric, mUS, 19.05, "0.75"},   {mMetric, mUnknown, 25.4, "1"},
        {mUS, mMetric, 0.75, "19.05"},      {mMetric, mMetric, 1234.5, "1234.5"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(HbTools::MarginText(c.value, c.measure, c.runtime), QLatin1String(c.text)) << c.text;
    const LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(HbTools::MarginText(19.05, mMetric, mUS), QStringLiteral("0,75"));
}

namespace {

class HbToolsReadPageSetup : public ::testing::Test {
protected:
    void SetUp() override { browser = makeWithSpy<THostedBrowser>(spy); }
    TRegistry pageSetupKey()
    {
        TRegistry key;
        key.OpenKey(QString::fromLatin1(HbTools::PageSetupKey), true);
        return key;
    }
    const TMargins &margins() { return browser->PrintOptions().Margins; }

    OwnRegistry registry;
    LocaleScope locale{QLocale(QLocale::English, QLocale::UnitedStates)};
    SpyControl *spy = nullptr;
    std::unique_ptr<THostedBrowser> browser;
};

} // namespace

TEST_F(HbToolsReadPageSetup, TakesThePlatformsValuesInMillimetres)
{
    browser->PrintOptions().Header = QStringLiteral("kept");
    EXPECT_FALSE(browser->ReadPageSetup()) << "no key";
    EXPECT_EQ(browser->PrintOptions().Header, QStringLiteral("kept"));
    EXPECT_EQ(margins().Left, 0.0);

    TRegistry key = pageSetupKey();
    key.WriteString(QStringLiteral("header"), QStringLiteral("&w&bPage &p"));
    key.WriteString(QStringLiteral("margin_top"), QStringLiteral(" 1.0 "));
    EXPECT_TRUE(browser->ReadPageSetup());
    EXPECT_EQ(browser->PrintOptions().Header, QStringLiteral("&w&bPage &p"));
    EXPECT_EQ(browser->PrintOptions().Footer, QString());
    EXPECT_DOUBLE_EQ(margins().Left, 19.05);
    EXPECT_DOUBLE_EQ(margins().Right, 19.05);
    EXPECT_DOUBLE_EQ(margins().Top, 25.4);
    EXPECT_DOUBLE_EQ(margins().Bottom, 19.05);
    EXPECT_EQ(browser->MarginToText(margins().Top), QStringLiteral("25.4"));
}

TEST_F(HbToolsReadPageSetup, StopsAtTheFirstValueItCannotReadKeepingWhatCameBefore)
{
    TRegistry key = pageSetupKey();
    key.WriteString(QStringLiteral("margin_left"), QStringLiteral("0.5"));
    key.WriteString(QStringLiteral("margin_right"), QStringLiteral("abc"));
    EXPECT_FALSE(browser->ReadPageSetup());
    EXPECT_DOUBLE_EQ(margins().Left, 12.7);
    EXPECT_EQ(margins().Right, 0.0);

    key.WriteInteger(QStringLiteral("header"), 1);
    browser->PrintOptions().Footer = QStringLiteral("kept");
    EXPECT_FALSE(browser->ReadPageSetup()) << "a header of another type";
    EXPECT_EQ(browser->PrintOptions().Footer, QStringLiteral("kept"));
}

TEST(HbToolsLoadingRules, OneLineIsAnAddressByHowItBegins)
{
    const struct {
        const char *line;
        bool address;
    } cases[] = {
        {"www.a.com", true}, {"ABOUT:blank", true}, {"About:x", true}, {"HTTP://x", true}, {"ftp:x", true},
        {"files are here", true}, {"<p>hi", false}, {"abou", false}, {"", false}, {" http://x", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(HbTools::IsAddressLine(QLatin1String(c.line)), c.address) << c.line;
}

TEST(HbToolsLoadingRules, TagsAreAddedUnlessThePageBeginsWithHtml)
{
    const QStringList wrapped{QStringLiteral("<html>"), QStringLiteral("<body>"), QStringLiteral("<body bgcolor=\"#ffffff\">"),
                              QStringLiteral("  <HTML>x"), QStringLiteral("</body>"), QStringLiteral("</html>")};
    EXPECT_EQ(HbTools::WithHtmlTags({QStringLiteral("  <HTML>x")}), wrapped);
    const QStringList own{QStringLiteral("<html><body>x")};
    EXPECT_EQ(HbTools::WithHtmlTags(own), own);
    EXPECT_EQ(HbTools::WithHtmlTags({QStringLiteral("<Html>"), QStringLiteral("x")}).size(), 2);
}

TEST(HbToolsLoadingRules, FrameListsAreNumbersBetweenCommasAndBlanks)
{
    EXPECT_EQ(HbTools::ParseFrameList(QString()), QList<int>());
    EXPECT_EQ(HbTools::ParseFrameList(QStringLiteral("0, 2 \"1\"")), (QList<int>{0, 2, 1}));
    EXPECT_THROW(HbTools::ParseFrameList(QStringLiteral("0,x")), EConvertError);
}

TEST(HbToolsLoadingRules, PageBytesAreReadInTheEncodingTheyName)
{
    const QString text = QStringLiteral("<p>Берёза</p>");
    EXPECT_EQ(HbTools::HtmlFromBytes(HbTools::TextToBytes(text, QStringConverter::Utf8), QStringConverter::Latin1), text)
        << "the mark of UTF-8";
    EXPECT_EQ(HbTools::HtmlFromBytes(HbTools::TextToBytes(text, QStringConverter::Utf16LE), QStringConverter::Latin1), text);
    const QString meta = QStringLiteral("<meta charset=windows-1251>") + text;
    EXPECT_EQ(HbTools::HtmlFromBytes(QStringEncoder("windows-1251").encode(meta), QStringConverter::Utf8), meta);
    EXPECT_EQ(HbTools::HtmlFromBytes(text.toUtf8(), QStringConverter::Utf8), text) << "no mark: the fallback";
    EXPECT_EQ(HbTools::TextToBytes(QStringLiteral("é"), QStringConverter::Latin1), QByteArray("\xE9"));
}

TEST(HbToolsLoadingRules, BytesThatNameNoEncodingAreReadInTheCallersOwn)
{
    const struct {
        const char *what;
        QByteArray bytes;
        QStringConverter::Encoding fallback;
        QString text;
    } cases[] = {
        {"Latin-1, nothing named", QByteArray("<p>\xE9t\xE9</p>"), QStringConverter::Latin1, u"<p>été</p>"_qs},
        {"Latin-1, a head without a charset", QByteArray("<head><meta name=x></head>\xE9"), QStringConverter::Latin1,
         u"<head><meta name=x></head>é"_qs},
        {"an http-equiv charset overrules the fallback",
         QByteArray("<meta http-equiv=Content-Type content=\"text/html; charset=utf-8\">\xC3\xA9"), QStringConverter::Latin1,
         u"<meta http-equiv=Content-Type content=\"text/html; charset=utf-8\">é"_qs},
        {"a quoted meta charset in capitals", QByteArray("<META CHARSET='UTF-8'>\xC3\xA9"), QStringConverter::Latin1,
         u"<META CHARSET='UTF-8'>é"_qs},
        {"a charset of no known encoding names nothing", QByteArray("<meta charset=no-such-set>\xE9"), QStringConverter::Latin1,
         u"<meta charset=no-such-set>é"_qs},
        {"a charset past the head's first 1024 bytes is not looked for",
         QByteArray(1024, ' ') + "<meta charset=utf-8>\xE9", QStringConverter::Latin1,
         QString(1024, u' ') + u"<meta charset=utf-8>é"_qs},
        {"UTF-16 without a mark, the caller's", QStringEncoder(QStringConverter::Utf16LE).encode(u"<p>é</p>"_qs),
         QStringConverter::Utf16LE, u"<p>é</p>"_qs},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(HbTools::HtmlFromBytes(c.bytes, c.fallback), c.text);
    }
}

namespace {

class HbToolsSpyBrowser : public ::testing::Test {
protected:
    void SetUp() override { browser = makeWithSpy<THostedBrowser>(spy); }
    SpyControl *spy = nullptr;
    std::unique_ptr<THostedBrowser> browser;
};

} // namespace

TEST_F(HbToolsSpyBrowser, HTMLCodeGoesToAnAddressOrLoadsItselfAtEveryChange)
{
    spy->loadDocument();
    SpyDocument &doc = *spy->document;
    browser->HTMLCode().Add(QStringLiteral("www.example.org"));
    EXPECT_EQ(spy->navigations, QStringList{QStringLiteral("www.example.org")});
    EXPECT_TRUE(doc.written.isEmpty());
    browser->HTMLCode().Add(QStringLiteral("<b>"));
    EXPECT_EQ(doc.written, QStringList{QStringLiteral("www.example.org\n<b>\n")}) << "two lines are a page";
    browser->HTMLCode().Clear();
    EXPECT_EQ(doc.written.last(), QString()) << "an empty page";
    browser->SetHTMLCode({QStringLiteral("<p>hi")});
    EXPECT_EQ(doc.written.last(), QStringLiteral("<p>hi\n"));
    EXPECT_EQ(spy->navigations.size(), 1);
}

TEST_F(HbToolsSpyBrowser, GoNavigatesToFoldersAsFilesAndLeavesBlanksAlone)
{
    QTemporaryDir folder;
    EXPECT_TRUE(browser->Go(folder.path(), 5000));
    EXPECT_EQ(spy->navigations, QStringList{QUrl::fromLocalFile(folder.path()).toString()});
    EXPECT_TRUE(browser->Go(QStringLiteral("   "), 5000));
    EXPECT_EQ(spy->navigations.size(), 1);
    EXPECT_TRUE(browser->Go(QStringLiteral("http://example.org/"), 0));
    EXPECT_EQ(spy->navigations.last(), QStringLiteral("http://example.org/"));
}

TEST_F(HbToolsSpyBrowser, WaitEndsWhenThePageHasComeOrAsTheHandlerDecides)
{
    EXPECT_TRUE(browser->Wait(0)) << "nothing on its way";

    spy->loading = true;
    QTimer::singleShot(30, [&] { spy->loading = false; });
    EXPECT_TRUE(browser->Wait(0));

    spy->loading = true;
    int calls = 0;
    browser->OnBusyWait = [&](THostedBrowser *, std::uint32_t, std::uint32_t &, bool &Cancel) { Cancel = ++calls == 3; };
    EXPECT_FALSE(browser->Wait(0));
    EXPECT_EQ(calls, 3);

    browser->OnBusyWait = nullptr;
    EXPECT_FALSE(browser->Wait(20)) << "the time-out";
    EXPECT_FALSE(browser->WaitWhileBusy(20));

    // A handler that enlarges the time-out extends the wait until the page comes.
    QTimer::singleShot(60, [&] { spy->loading = false; });
    browser->OnBusyWait = [](THostedBrowser *, std::uint32_t, std::uint32_t &TimeOut, bool &) { TimeOut = 60000; };
    EXPECT_TRUE(browser->Wait(1));
}

// A load into a browser without a document waits for the empty page; what
// runs meanwhile may destroy the component, and the load then ends without
// touching it.
TEST_F(HbToolsSpyBrowser, ALoadWaitingForTheEmptyPageEndsWhenTheComponentGoesMeanwhile)
{
    struct Case {
        const char *what;
        std::function<bool(THostedBrowser &)> load; // whether it answered that nothing was loaded
    };
    const Case cases[] = {
        {"LoadFromStrings", [](THostedBrowser &b) { return b.LoadFromStrings({QStringLiteral("<p>x")}) == S_FALSE; }},
        {"LoadFromStream",
         [](THostedBrowser &b) {
             QBuffer bytes;
             bytes.setData("<p>x");
             bytes.open(QIODevice::ReadOnly);
             return b.LoadFromStream(bytes) == S_FALSE;
         }},
        {"AddHtmlToAboutBlank", [](THostedBrowser &b) { return !b.AddHtmlToAboutBlank(QStringLiteral("<p>x")); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        browser = makeWithSpy<THostedBrowser>(spy);
        ASSERT_EQ(browser->Document(), nullptr);
        QTimer::singleShot(0, [&] { browser.reset(); });
        EXPECT_TRUE(c.load(*browser));
        EXPECT_EQ(browser, nullptr) << "the component was not destroyed during the wait";
    }
}

// A quit that a window refuses to close for does not end the program: the
// waits go on waiting.
TEST_F(HbToolsSpyBrowser, AQuitAWindowRefusesLeavesTheWaitsWaiting)
{
    class Refusing : public QWidget {
    protected:
        void closeEvent(QCloseEvent *event) override { event->ignore(); }
    } window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    spy->loading = true;
    QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit));
    EXPECT_FALSE(browser->Wait(300)) << "the wait ended as for a program on its way out";
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(browser->Wait(50));
}

// A quit that goes through ends the waits, however long they would wait.
TEST(HostedBrowserQuit, AQuitThatGoesThroughEndsTheWaits)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            SpyControl *spy = nullptr;
            auto browser = makeWithSpy<THostedBrowser>(spy);
            spy->loading = true;
            QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit));
            std::_Exit(browser->Wait(60000) ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(HbToolsSpyBrowser, WithoutADocumentNothingIsSavedOrFound)
{
    QStringList lines{QStringLiteral("kept")};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_EQ(browser->SaveToStrings(lines), S_FALSE);
    EXPECT_EQ(browser->SaveToStream(buffer), S_FALSE);
    EXPECT_EQ(browser->SaveToFile(QStringLiteral("/nonexistent/x.htm")), S_FALSE);
    EXPECT_EQ(lines, QStringList{QStringLiteral("kept")});
    EXPECT_EQ(browser->SaveFrameToStrings(0, lines), S_FALSE);
    EXPECT_EQ(browser->GetFrame(0), nullptr);
    EXPECT_EQ(browser->NavigateToFrame(QString()), nullptr);
    EXPECT_EQ(browser->FrameCount(), 0);
    EXPECT_EQ(browser->GetSelectedText(false, true), QString());
    EXPECT_FALSE(browser->IsCommandEnabled(QStringLiteral("Copy")));
    EXPECT_EQ(browser->QueryCommandValue(QStringLiteral("Bold")), QVariant(false));
    EXPECT_FALSE(browser->Copy());
    EXPECT_EQ(browser->GetCookie(), QString());
    EXPECT_EQ(browser->HScrollBarPosition(), -1);
    EXPECT_EQ(browser->VScrollBarPosition(), -1);
    EXPECT_FALSE(browser->HScrollBarVisible() || browser->VScrollBarVisible());
    EXPECT_EQ(browser->DocumentSource(), QString());
    QStringList links{QStringLiteral("kept")};
    browser->ViewPageLinksToStrings(links);
    EXPECT_TRUE(links.isEmpty()) << "cleared";
    EXPECT_FALSE(browser->SetCharartersSet(QStringLiteral("windows-1251"), true));
    EXPECT_FALSE(browser->GetBmpFromBrowser(QStringLiteral("/tmp/never.bmp")));
}

TEST_F(HbToolsSpyBrowser, TheHomePageComesFromThePlatformsKey)
{
    OwnRegistry registry;
    EXPECT_EQ(browser->GetIEHomePage(), QString());
    TRegistry key;
    key.OpenKey(QStringLiteral("\\Software\\Microsoft\\Internet Explorer\\Main"), true);
    key.WriteString(QStringLiteral("Start Page"), QStringLiteral("about:home"));
    EXPECT_EQ(browser->GetIEHomePage(), QStringLiteral("about:home"));
}

TEST_F(HbToolsSpyBrowser, LeavingTheInternalUserAgentTellsTheControlToAskAgain)
{
    OwnRegistry registry;
    browser->SetUserAgent(QStringLiteral("Vocab/2"));
    browser->SetUserAgentMode(uaInternal);
    EXPECT_EQ(spy->ambient.value(DISPID_AMBIENT_USERAGENT).toString(), QStringLiteral("Vocab/2\r\n"));
    browser->SetUserAgentMode(uaDefault);
    EXPECT_FALSE(spy->ambient.contains(DISPID_AMBIENT_USERAGENT)) << "the control's own agent again";
    spy->announced.clear();
    browser->SetUserAgentMode(uaInternal);
    EXPECT_EQ(spy->announced, std::vector<int>{DISPID_AMBIENT_USERAGENT}) << "the same text, announced again";
}

TEST_F(HbToolsSpyBrowser, TheAboutBoxNamesTheComponentAndItsEngine)
{
    QStringList shown;
    const auto previous = setMessageBoxResponder([&](const MessageBoxRequest &r) {
        shown << r.text;
        return IDOK;
    });
    browser->ShowAboutBox();
    setMessageBoxResponder(previous);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.first().startsWith(browser->About()));
    EXPECT_TRUE(shown.first().contains(QLatin1String("Chromium")));
}

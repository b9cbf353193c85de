// Script calls into the page and the navigation variants over the real
// engine: page functions with their arguments, script text run in the page,
// navigation kept out of the history, a posted form, the blank page, the
// frames' browsers and downloads, against a server on the loopback interface.

#include "BrowserEngineFixture.h"
#include "HbToolsNavigation.h"

#include "MessageBoxes.h"
#include "platform/MailFixtures.h"
#include "WebEngineControl.h"
#include "WebPage.h"

#include <QWebEngineHistory>
#include <QWebEngineProfile>

using namespace vocab;
using namespace vocab::test;

namespace {

class NavScript : public ServedBrowserEngineTest {
protected:
    QWebEnginePage &page() { return *engineOf(*Emb).page(); }
    QStringList historyUrls()
    {
        QStringList urls;
        for (const QWebEngineHistoryItem &item : page().history()->items())
            urls << item.url().toString();
        return urls;
    }
};

} // namespace

TEST_F(NavScript, PageFunctionsGetTheArgumentsInTheirOrderAndTypes)
{
    load(QStringLiteral("<script>function f(a,b,c){return [typeof a,a,typeof b,b,typeof c,c];}"
                        "function same(x){return x;} let counter=7;"
                        "function node(){return document.body;} function obj(){return {a:1,b:[2,'x']};}</script>"));
    EXPECT_EQ(Emb->ExecScriptEx(QStringLiteral("f"), {1, true, 2.5}).toList(),
              (QVariantList{QStringLiteral("number"), 1, QStringLiteral("boolean"), true, QStringLiteral("number"), 2.5}));
    EXPECT_EQ(Emb->ExecScriptEx(QStringLiteral("f"), {QStringLiteral("ж"), 'c', 5LL}).toList(),
              (QVariantList{QStringLiteral("string"), QStringLiteral("ж"), QStringLiteral("string"), QStringLiteral("c"),
                            QStringLiteral("number"), 5}));
    EXPECT_DOUBLE_EQ(Emb->ExecScriptEx(QStringLiteral("same"), {TVarRec::Currency(12345)}).toDouble(), 1.2345);
    EXPECT_EQ(Emb->ExecScriptEx(QStringLiteral("counter"), {}).toInt(), 7) << "a global the window does not carry";
    const QVariantMap object = Emb->ExecScriptEx(QStringLiteral("obj"), {}).toMap();
    EXPECT_EQ(object.value(QStringLiteral("b")).toList(), (QVariantList{2, QStringLiteral("x")}));
    const QVariant element = Emb->ExecScriptEx(QStringLiteral("node"), {});
    EXPECT_TRUE(element.isNull() || !element.isValid()) << "an element of the page comes back empty";
}

TEST_F(NavScript, ScriptCallErrorsCarryTheirTextsAndNamesNeverRunAsScript)
{
    load(QStringLiteral("<script>var hits=0; function hit(){return ++hits;}"
                        "function boom(){throw new TypeError('boom');}</script>"));
    EXPECT_EQ(errorOf([&] { Emb->ExecScriptEx(QStringLiteral("missing"), {}); }),
              QStringLiteral("This object does not support this method"));
    EXPECT_EQ(errorOf([&] { Emb->ExecScriptEx(QStringLiteral("boom"), {}); }),
              QStringLiteral("Method call unsuccessful. boom (TypeError)."));
    EXPECT_EQ(errorOf([&] { Emb->ExecScriptEx(QStringLiteral("hits"), {1}); }),
              QStringLiteral("Method call unsuccessful. hits is not a function (TypeError)."));
    for (const char *name : {"hit()", "hit;hit()", "\"];hit();//", "alert(1)//", "(hit)"})
        EXPECT_EQ(errorOf([&] { Emb->ExecScriptEx(QLatin1String(name), {}); }),
                  QStringLiteral("This object does not support this method"))
            << name;
    EXPECT_EQ(Emb->ExecScriptEx(QStringLiteral("hits"), {}).toInt(), 0) << "no name ran";
    EXPECT_EQ(Emb->ExecScriptEx(QStringLiteral("hit"), {}).toInt(), 1);
}

TEST_F(NavScript, ScriptTextRunsAtThePagesGlobalLevelBeforeTheCallReturns)
{
    load(QStringLiteral("<p>text</p>"));
    Emb->ExecScript(QStringLiteral("var z = 5; document.title = 'ran';"), QStringLiteral("JavaScript"));
    EXPECT_EQ(Emb->ExecScriptEx(QStringLiteral("z"), {}).toInt(), 5);
    EXPECT_EQ(Emb->Document()->title(), QStringLiteral("ran"));
    Emb->ExecScript(QStringLiteral("z = ("), QStringLiteral("JScript"));
    Emb->ExecScript(QStringLiteral("throw new Error('x')"), QString());
    Emb->ExecScript(QStringLiteral("z = 6"), QStringLiteral("VBScript"));
    EXPECT_EQ(Emb->ExecScriptEx(QStringLiteral("z"), {}).toInt(), 5) << "nothing of these ran or got through";
    Emb->ExecScript(QStringLiteral("z = 7"), QString());
    EXPECT_EQ(Emb->ExecScriptEx(QStringLiteral("z"), {}).toInt(), 7);
}

TEST_F(NavScript, GoNoHistoryTakesThePlaceOfThePageAndReturnsOnceItHasCome)
{
    for (const char *path : {"/a", "/b", "/c"})
        server.page(path, QByteArray(path).mid(1));
    go(QStringLiteral("/a"));
    const QStringList before = historyUrls();
    Emb->GoNoHistory(server.url(QStringLiteral("/b")).toString());
    EXPECT_EQ(Emb->LocationURL(), server.url(QStringLiteral("/b")).toString());
    EXPECT_EQ(Emb->Document()->title(), QStringLiteral("b"));
    QStringList expected = before;
    expected.last() = server.url(QStringLiteral("/b")).toString();
    EXPECT_EQ(historyUrls(), expected) << "the page's entry was taken, none added";

    go(QStringLiteral("/c"));
    EXPECT_EQ(historyUrls().size(), before.size() + 1) << "a plain navigation adds its entry";
}

namespace {

// The control over a profile that keeps the addresses it visits, in a
// folder of the test's own; the program's own profiles keep none.
class NavScriptVisited : public NavScript {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(storage.isValid());
        ASSERT_NO_FATAL_FAILURE(
            showBrowser(Shown::Exposed, [this](QWidget *container, IOleClientSite *site, DWebBrowserEvents2 *events) {
                auto profile = std::make_unique<QWebEngineProfile>(QStringLiteral("visited"));
                profile->setPersistentStoragePath(storage.path());
                return std::make_unique<WebEngineControl>(container, site, events, std::move(profile));
            }));
    }
    void TearDown() override
    {
        delete Emb; // and its profile with it
        Emb = nullptr;
        EXPECT_TRUE(removeProfileFolder(storage.path()));
    }
    bool visited(const char *path) { return page().profile()->visitedLinksContainsUrl(server.url(QLatin1String(path))); }

    QTemporaryDir storage;
};

} // namespace

TEST_F(NavScriptVisited, GoNoHistoryTakesTheAddressOutOfTheVisitedOnes)
{
    for (const char *path : {"/a", "/b", "/c"})
        server.page(path, QByteArray(path).mid(1));
    go(QStringLiteral("/b"));
    go(QStringLiteral("/a"));
    ASSERT_TRUE(waitUntil([&] { return visited("/b") && visited("/a"); })) << "the profile keeps what it visits";
    Emb->GoNoHistory(server.url(QStringLiteral("/b")).toString());
    ASSERT_EQ(Emb->LocationURL(), server.url(QStringLiteral("/b")).toString());
    EXPECT_FALSE(visited("/b"));
    // The engine records visits in their order: once the next page is
    // recorded, a late record of the address would be there too.
    go(QStringLiteral("/c"));
    ASSERT_TRUE(waitUntil([&] { return visited("/c"); }));
    EXPECT_FALSE(visited("/b"));
    EXPECT_TRUE(visited("/a"));
}

TEST_F(NavScript, TheQueryFormIsPostedWithItsContentTypeAndAPlainAddressIsFetched)
{
    server.page("/form?x=1", "posted");
    server.page("/plain", "plain");
    Emb->GoWithQueryDetails(server.url(QStringLiteral("/form")).toString(), QStringLiteral("?x=1"));
    ASSERT_TRUE(waitUntil([&] { return !server.requestsOf("/form?x=1").isEmpty(); }));
    const LocalHttpServer::Request posted = server.requestsOf("/form?x=1").first();
    EXPECT_TRUE(posted.head.startsWith("POST ")) << posted.head.toStdString();
    EXPECT_TRUE(posted.head.toLower().contains("content-type: application/x-www-form-urlencoded\r\n")) << posted.head.toStdString();
    EXPECT_EQ(posted.body, QByteArray("version=current&name=myname\r\n"));
    ASSERT_TRUE(Emb->Wait(10000));

    HbTools::NavigateToUrl(*Emb, server.url(QStringLiteral("/plain")).toString());
    ASSERT_TRUE(waitUntil([&] { return !server.requestsOf("/plain").isEmpty(); }));
    const LocalHttpServer::Request plain = server.requestsOf("/plain").first();
    EXPECT_TRUE(plain.head.startsWith("GET ")) << "the zeros of the other arguments post nothing";
    EXPECT_TRUE(plain.body.isEmpty());
}

TEST_F(NavScript, HeaderBytesGiveOnlyTheirOwnHeaders)
{
    server.page("/h", "h");
    Emb->Navigate2(server.url(QStringLiteral("/h")), 0, 0, 0,
                   QByteArray("X-One: 1\r\nX-Two: 2\0tail\r\nX-Three: 3\nBad Name: 4\r\n\r\nGET /smuggled HTTP/1.1\r\n", 72));
    ASSERT_TRUE(waitUntil([&] { return !server.requestsOf("/h").isEmpty(); }));
    const QByteArray head = server.requestsOf("/h").first().head;
    EXPECT_TRUE(head.contains("X-One: 1\r\n")) << head.toStdString();
    EXPECT_TRUE(head.contains("X-Two: 2tail\r\n")) << head.toStdString();
    EXPECT_TRUE(head.contains("X-Three: 3\r\n"));
    EXPECT_FALSE(head.contains("Bad Name"));
    EXPECT_FALSE(head.contains("smuggled"));
    EXPECT_FALSE(head.contains('\0'));
}

TEST_F(NavScript, TheBlankPageIsThereWhenGoAboutBlankReturns)
{
    server.page("/a", "a");
    go(QStringLiteral("/a"));
    EXPECT_TRUE(HbTools::GoAboutBlank(*Emb));
    EXPECT_EQ(Emb->LocationURL(), QStringLiteral("about:blank"));
    EXPECT_FALSE(Emb->Busy());
}

TEST_F(NavScript, FrameBrowsersReachTheFramesAndNothingPastThem)
{
    load(QStringLiteral("<iframe srcdoc='<title>first</title>'></iframe><iframe srcdoc='<title>second</title>'></iframe>"));
    ASSERT_TRUE(waitUntil([&] { return Emb->FrameCount() == 2; }));
    std::unique_ptr<IWebBrowser2> frame;
    ASSERT_TRUE(waitUntil([&] {
        HbTools::GetFrameBrowser(Emb->Document(), 1, frame);
        return frame && frame->Document() && frame->Document()->title() == QLatin1String("second");
    }));
    for (int index : {2, -1}) {
        HbTools::GetFrameBrowser(Emb->Document(), index, frame);
        EXPECT_EQ(frame, nullptr) << index;
    }
    HbTools::GetFrameBrowser(nullptr, 0, frame);
    EXPECT_EQ(frame, nullptr);
}

TEST_F(NavScript, DownloadsComeWholeIntoTheirFileOrTellTheirFailure)
{
    const QByteArray bytes("\x00\x01 file \xFF", 9);
    server.route("/file.bin", bytes, "application/octet-stream");
    const QString target = dir.filePath(QStringLiteral("file.bin"));
    EXPECT_TRUE(HbTools::DownloadToFile(server.url(QStringLiteral("/file.bin")).toString(), target));
    EXPECT_EQ(readBytes(target), bytes);
    writeBytes(target, "older");
    EXPECT_FALSE(HbTools::DownloadToFile(server.url(QStringLiteral("/missing")).toString(), target));
    EXPECT_EQ(readBytes(target), QByteArray("older")) << "a failed download leaves the file alone";
    EXPECT_FALSE(HbTools::DownloadToFile(QString(), target));

    std::vector<MessageBoxRequest> shown;
    const auto previous = setMessageBoxResponder([&](const MessageBoxRequest &request) {
        shown.push_back(request);
        return IDOK;
    });
    const QString good = server.url(QStringLiteral("/file.bin")).toString();
    const QString bad = server.url(QStringLiteral("/missing")).toString();
    Emb->GoDownloadMaskedFile(good, target, false);
    Emb->GoDownloadMaskedFile(bad, target, false);
    EXPECT_TRUE(shown.empty()) << "without Notify nothing is shown";
    Emb->GoDownloadMaskedFile(good, target, true);
    Emb->GoDownloadMaskedFile(bad, target, true);
    setMessageBoxResponder(previous);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].caption, QStringLiteral("Download successful."));
    EXPECT_EQ(shown[0].text, QStringLiteral("Downloading: %1\n\rTo: %2\n\rwas successfully finished.").arg(good, target));
    EXPECT_EQ(shown[0].flags, unsigned(MB_OK));
    EXPECT_EQ(shown[1].caption, QStringLiteral("Downloading Error!!"));
    EXPECT_EQ(shown[1].text, QStringLiteral("An error ocurred while downloading the file.") + bad);
    EXPECT_EQ(shown[1].flags, unsigned(MB_ICONERROR));
}

TEST_F(NavScript, GoDownloadFileLetsTheBrowserOfferTheDownload)
{
    server.page("/a", "a");
    server.route("/archive.zip", QByteArray(64, 'z'), "application/zip");
    go(QStringLiteral("/a"));
    QList<QUrl> offered;
    Emb->OnFileDownload = [&](TCustomHostedBrowser *, const QUrl &pmk, IInterface *, std::uint32_t, std::uint32_t,
                              IInterface *, const QString &, const QString &, std::uint32_t, HRESULT &Rezult) {
        offered << pmk;
        Rezult = S_OK;
    };
    Emb->GoDownloadFile(server.url(QStringLiteral("/archive.zip")).toString());
    ASSERT_TRUE(waitUntil([&] { return !offered.isEmpty(); }));
    EXPECT_EQ(offered.first(), server.url(QStringLiteral("/archive.zip")));
    EXPECT_EQ(Emb->LocationURL(), server.url(QStringLiteral("/a")).toString()) << "the page stays";
}


TEST_F(NavScript, ThePageIsSavedIntoItsFileAndMailedAsTheAttachment)
{
    auto transport = std::make_shared<vocab::test::CapturingTransport>();
    const vocab::test::TransportScope scope(transport);
    load(QStringLiteral("<title>mail</title><p>Письмо</p>"));
    const QString file = dir.filePath(QStringLiteral("page.htm"));
    Emb->SendPageInMailAsAttachment(nullptr, file, QStringLiteral("subject"), QStringLiteral("body"));
    ASSERT_TRUE(waitUntil([&] { return !transport->sent().empty(); }));
    const auto sent = transport->sent().front();
    EXPECT_TRUE(sent.composed) << "in the mail client's compose window";
    EXPECT_EQ(sent.mail.subject, QStringLiteral("subject"));
    ASSERT_EQ(sent.contents.size(), 1);
    EXPECT_TRUE(QString::fromUtf8(sent.contents.front()).contains(QStringLiteral("Письмо")));
}

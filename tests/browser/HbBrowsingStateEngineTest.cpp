// The program's browsing state over the real engine, with two live
// controls, each with its profile: clearing history and cache, the offline
// mode and the proxy reach both.

#include "HostedBrowser.h"
#include "platform/web/EngineTestSupport.h"
#include "platform/web/LocalHttpServer.h"

#include "HbToolsHistory.h"
#include "HbToolsProxy.h"
#include "NetworkState.h"
#include "TestSupport.h"
#include "WebPage.h"

#include <QNetworkProxy>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>

using namespace vocab;
using namespace vocab::test;

namespace {

constexpr std::uint32_t LoadTimeoutMs = 20000;

class TwoControls : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto *layout = new QVBoxLayout(&window);
        for (THostedBrowser *&browser : controls) {
            browser = new THostedBrowser(&window);
            browser->LoadSettings();
            layout->addWidget(browser);
        }
        window.resize(640, 480);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        for (THostedBrowser *browser : controls)
            loadBlank(*browser);
    }
    void TearDown() override
    {
        setGlobalOffline(false);
        setProgramProxy(QNetworkProxy());
    }

    static QWebEngineProfile *profileOf(THostedBrowser *browser) { return engineOf(*browser).page()->profile(); }
    static QString titleOf(THostedBrowser *browser) { return engineOf(*browser).page()->title(); }
    // Goes to the address and waits until the load of that address has
    // ended, well or not: the end of an earlier load (the blank page's, which
    // the engine may report late) is not this one's.
    static void go(THostedBrowser *browser, const QUrl &url)
    {
        bool ended = false;
        QWebEnginePage *page = engineOf(*browser).page();
        const QMetaObject::Connection watch =
            QObject::connect(page, &QWebEnginePage::loadingChanged, [&](const QWebEngineLoadingInfo &info) {
                if (info.status() != QWebEngineLoadingInfo::LoadStartedStatus && info.url() == url)
                    ended = true;
            });
        browser->Navigate(url.toString());
        const bool done = waitUntil([&] { return ended; }, static_cast<int>(LoadTimeoutMs));
        QObject::disconnect(watch);
        ASSERT_TRUE(done) << url.toString().toStdString();
    }

    HostedBrowserModuleScope module;
    QWidget window;
    std::array<THostedBrowser *, 2> controls{};
    QTemporaryDir dir;
};

} // namespace

// The controls' own profiles are off the record and keep no visited
// addresses; profiles that do keep them are all forgotten.
TEST(BrowsingHistory, ClearingItForgetsTheVisitedAddressesOfEveryLiveProfile)
{
    LocalHttpServer server;
    QTemporaryDir dir;
    struct Live {
        std::unique_ptr<QWebEngineProfile> profile;
        std::unique_ptr<QWebEnginePage> page;
        QUrl url;
    };
    std::array<Live, 2> live;
    for (int i = 0; i < 2; ++i) {
        Live &l = live[static_cast<std::size_t>(i)];
        l.profile = std::make_unique<QWebEngineProfile>(QStringLiteral("history%1").arg(i));
        l.profile->setPersistentStoragePath(dir.filePath(QString::number(i)));
        l.profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
        registerBrowserProfile(l.profile.get());
        l.page = std::make_unique<QWebEnginePage>(l.profile.get());
        l.url = server.url(QStringLiteral("/visited%1").arg(i));
        QSignalSpy finished(l.page.get(), &QWebEnginePage::loadFinished);
        l.page->load(l.url);
        ASSERT_TRUE(finished.wait(static_cast<int>(LoadTimeoutMs)));
        ASSERT_TRUE(waitUntil([&] { return l.profile->visitedLinksContainsUrl(l.url); })) << i;
    }
    HbTools::ClearHistory();
    for (const Live &l : live)
        EXPECT_FALSE(l.profile->visitedLinksContainsUrl(l.url));
    for (Live &l : live) {
        l.page.reset();
        l.profile.reset();
    }
    EXPECT_TRUE(removeProfileFolder(dir.path()));
}

TEST_F(TwoControls, ClearingTheCacheMakesEveryControlAskAgain)
{
    LocalHttpServer server(LocalHttpServer::Others::PageNamingTheTarget);
    const std::array paths{QByteArray("/cached-first"), QByteArray("/cached-second")};
    auto visit = [&](int i) {
        go(controls[i], server.url(QString::fromLatin1(paths[i])));
        go(controls[i], QUrl(QStringLiteral("about:blank")));
    };
    for (int i = 0; i < 2; ++i) {
        visit(i);
        visit(i);
        ASSERT_EQ(server.requestsOf(paths[i]).size(), 1) << "the second visit comes from the cache";
    }
    controls[1]->ClearCache();
    for (int i = 0; i < 2; ++i) {
        // The cache is emptied while the engine goes on; a visit before that
        // ends still comes from it.
        EXPECT_TRUE(waitUntil(
            [&] {
                visit(i);
                return server.requestsOf(paths[i]).size() > 1;
            },
            LoadTimeoutMs))
            << i;
    }
}

TEST_F(TwoControls, ClearingTheCacheDeletesTheCookiesOfEveryControl)
{
    LocalHttpServer server(LocalHttpServer::Others::PageNamingTheTarget);
    server.route("/set", "<html><body><script>document.cookie='kept=1;max-age=3600'</script>set</body></html>");
    // The cookie the last visit of the checking page carried.
    auto cookieSent = [&](int i) {
        const QString target = QStringLiteral("/check%1?%2").arg(i).arg(server.requests().size());
        go(controls[i], server.url(target));
        const auto asked = server.requestsOf(target.toLatin1());
        return asked.isEmpty() ? QByteArray("(not asked)") : asked.last().header("Cookie");
    };
    for (int i = 0; i < 2; ++i) {
        go(controls[i], server.url(QStringLiteral("/set")));
        ASSERT_TRUE(waitUntil([&] { return cookieSent(i) == "kept=1"; }, LoadTimeoutMs)) << i;
    }
    controls[0]->ClearCache();
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(waitUntil([&] { return cookieSent(i).isEmpty(); }, LoadTimeoutMs)) << i;
}

// The walk over the cache takes the history's entries with it.
TEST(BrowsingHistory, ClearingTheCacheForgetsTheVisitedAddressesToo)
{
    LocalHttpServer server;
    QTemporaryDir dir;
    auto profile = std::make_unique<QWebEngineProfile>(QStringLiteral("cachehistory"));
    profile->setPersistentStoragePath(dir.filePath(QStringLiteral("profile")));
    profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    registerBrowserProfile(profile.get());
    auto page = std::make_unique<QWebEnginePage>(profile.get());
    const QUrl url = server.url(QStringLiteral("/visited"));
    QSignalSpy finished(page.get(), &QWebEnginePage::loadFinished);
    page->load(url);
    ASSERT_TRUE(finished.wait(static_cast<int>(LoadTimeoutMs)));
    ASSERT_TRUE(waitUntil([&] { return profile->visitedLinksContainsUrl(url); }));
    HbTools::ClearCache();
    EXPECT_FALSE(profile->visitedLinksContainsUrl(url));
    page.reset();
    profile.reset();
    EXPECT_TRUE(removeProfileFolder(dir.path()));
}

TEST_F(TwoControls, OfflineNoControlAndNoDownloadReachesTheNetwork)
{
    LocalHttpServer server;
    controls[0]->WorkOffline();
    for (THostedBrowser *browser : controls) {
        go(browser, server.url());
        EXPECT_NE(titleOf(browser), QStringLiteral("served"));
    }
    EXPECT_FALSE(controls[1]->DownloadFile(server.url().toString(), dir.filePath(QStringLiteral("page.html"))));
    EXPECT_TRUE(server.requests().isEmpty());
    ASSERT_EQ(controls[0]->LoadFromString(QStringLiteral("<title>written</title>")), S_OK);
    ASSERT_TRUE(controls[0]->Wait(LoadTimeoutMs));
    EXPECT_EQ(titleOf(controls[0]), QStringLiteral("written")) << "written pages still load";

    controls[1]->WorkOnline();
    for (THostedBrowser *browser : controls) {
        go(browser, server.url());
        EXPECT_EQ(titleOf(browser), QStringLiteral("served"));
    }
}

TEST_F(TwoControls, EveryControlGoesThroughTheProgramsProxyUntilItIsRemoved)
{
    LocalHttpServer proxy(LocalHttpServer::Others::PageNamingTheTarget);
    TProxySettings &settings = controls[0]->ProxySettings();
    settings.Address = QStringLiteral("127.0.0.1");
    settings.Port = proxy.port();
    controls[0]->RefreshProxy();
    ASSERT_TRUE(hostedBrowserModule().ProxyWasSet);
    const std::array pages{QStringLiteral("http://pages.example/one"), QStringLiteral("http://pages.example/two")};
    for (int i = 0; i < 2; ++i) {
        go(controls[i], QUrl(pages[i]));
        EXPECT_EQ(titleOf(controls[i]), QStringLiteral("through ") + pages[i]);
        EXPECT_EQ(proxy.requestsOf(pages[i].toLatin1()).size(), 1);
    }

    ASSERT_TRUE(HbTools::RemoveProxy());
    const qsizetype seen = proxy.requests().size();
    go(controls[1], QUrl(QStringLiteral("http://pages.example/three")));
    EXPECT_NE(titleOf(controls[1]), QStringLiteral("through http://pages.example/three"));
    EXPECT_EQ(proxy.requests().size(), seen);
}

TEST_F(TwoControls, TheProxysCredentialsAnswerItOnceAndThenTheHost)
{
    LocalHttpServer proxy(LocalHttpServer::Others::PageNamingTheTarget);
    proxy.requireProxyCredentials("reader", "s3cret");
    TProxySettings &settings = controls[0]->ProxySettings();
    ASSERT_TRUE(settings.SetProxy(QString(), QStringLiteral("127.0.0.1"), QStringLiteral("reader"), QStringLiteral("s3cret"),
                                  proxy.port()));
    go(controls[0], QUrl(QStringLiteral("http://pages.example/login")));
    EXPECT_EQ(titleOf(controls[0]), QStringLiteral("through http://pages.example/login"));
    EXPECT_EQ(proxy.requests().last().header("Proxy-Authorization"), "Basic " + QByteArray("reader:s3cret").toBase64());

    // A wrong password: the proxy refuses it, and the host is asked, once.
    int asked = 0;
    controls[1]->SetSilent(true);
    controls[1]->OnAuthenticate = [&](TCustomHostedBrowser *, QWidget *&, QString &, QString &, HRESULT &) { ++asked; };
    ASSERT_TRUE(settings.SetProxy(QString(), QStringLiteral("127.0.0.1"), QStringLiteral("reader"), QStringLiteral("wrong"),
                                  proxy.port()));
    go(controls[1], QUrl(QStringLiteral("http://pages.example/refused")));
    EXPECT_NE(titleOf(controls[1]), QStringLiteral("through http://pages.example/refused"));
    EXPECT_EQ(asked, 1);
}

TEST_F(TwoControls, APageWithHttpsOnlyInItsQueryIsNotSecure)
{
    LocalHttpServer server;
    go(controls[0], server.url(QStringLiteral("/?next=https://secure.example/")));
    QString name = QStringLiteral("kept");
    QString description = QStringLiteral("kept");
    EXPECT_FALSE(controls[0]->GetSSLStatus(name, description));
    EXPECT_EQ(name, QStringLiteral("kept"));
    EXPECT_EQ(description, QStringLiteral("kept"));
}


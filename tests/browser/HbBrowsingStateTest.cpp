// The program's browsing state and proxy without the engine: the offline
// mode and the proxy as our own downloads follow them, the proxy settings
// and what the module's end does with them, the cache walk and the typed
// addresses.

#include "HbToolsHistory.h"
#include "HbToolsProxy.h"
#include "HostedBrowser.h"
#include "SpyControl.h"
#include "platform/web/LocalHttpServer.h"

#include "NetworkState.h"
#include "Registry.h"
#include "TestSupport.h"

#include <QNetworkProxy>

using namespace vocab;
using namespace vocab::test;

namespace {

// Leaves the process as it found it: connected, with no proxy of ours.
class BrowsingState : public ::testing::Test {
protected:
    void TearDown() override
    {
        setGlobalOffline(false);
        setProgramProxy(QNetworkProxy());
        hostedBrowserModule().ProxyWasSet = false;
    }

    // The program's proxy, with its credentials.
    static QNetworkProxy proxy() { return programProxy(); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(BrowsingState, WorkOnlineAndWorkOfflineDoWhatTheySay)
{
    SpyControl *spy = nullptr;
    auto browser = makeWithSpy<THostedBrowser>(spy);
    browser->WorkOffline();
    EXPECT_TRUE(browser->IsGlobalOffline());
    EXPECT_FALSE(browser->CheckOnlineStatus()) << "no connection while offline";
    browser->WorkOnline();
    EXPECT_FALSE(browser->IsGlobalOffline());
    EXPECT_TRUE(HbTools::GoOffline());
    EXPECT_TRUE(HbTools::IsGlobalOffline());
    EXPECT_TRUE(HbTools::GoOnline());
    EXPECT_FALSE(HbTools::IsGlobalOffline());
}

TEST_F(BrowsingState, OfflineADownloadFailsWithoutAskingAndTheFileStays)
{
    LocalHttpServer server;
    const QString file = dir.filePath(QStringLiteral("page.html"));
    writeBytes(file, "before");
    HbTools::GoOffline();
    EXPECT_FALSE(HbTools::DownloadToFile(server.url(), file));
    EXPECT_TRUE(server.requests().isEmpty());
    EXPECT_EQ(readBytes(file), QByteArray("before"));
    writeBytes(dir.filePath(QStringLiteral("local.txt")), "local");
    EXPECT_TRUE(HbTools::DownloadToFile(QUrl::fromLocalFile(dir.filePath(QStringLiteral("local.txt"))), file))
        << "local files are no network";
    EXPECT_EQ(readBytes(file), QByteArray("local"));

    HbTools::GoOnline();
    EXPECT_TRUE(HbTools::DownloadToFile(server.url(), file));
    EXPECT_EQ(server.requests().size(), 1);
}

TEST_F(BrowsingState, ADownloadTheDiskCannotTakeFailsAndTheFileStays)
{
    LocalHttpServer server;
    const QString file = dir.filePath(QStringLiteral("page.html"));
    writeBytes(file, "before");
    {
        FileSizeLimit full(0);
        ASSERT_TRUE(full.set());
        EXPECT_FALSE(HbTools::DownloadToFile(server.url(), file));
    }
    EXPECT_EQ(server.requests().size(), 1);
    EXPECT_EQ(readBytes(file), QByteArray("before"));
}

TEST_F(BrowsingState, DownloadsGoThroughTheProxyExceptToLocalNames)
{
    LocalHttpServer proxyServer(LocalHttpServer::Others::PageNamingTheTarget);
    const QString file = dir.filePath(QStringLiteral("got.html"));
    ASSERT_TRUE(HbTools::SetProxy(QString(), proxyServer.address()));
    EXPECT_TRUE(HbTools::DownloadToFile(QUrl(QStringLiteral("http://files.example/a.txt")), file));
    EXPECT_EQ(proxyServer.requestLines(), QList<QByteArray>{"GET http://files.example/a.txt HTTP/1.1"});
    EXPECT_TRUE(readBytes(file).contains("through http://files.example/a.txt"));

    // A local name is reached directly; asked without looking the name up.
    EXPECT_EQ(downloadProxyFor(QUrl(QStringLiteral("http://intranet/a.txt"))).type(), QNetworkProxy::NoProxy);
    EXPECT_EQ(downloadProxyFor(QUrl(QStringLiteral("http://files.example/a.txt"))).hostName(), QStringLiteral("127.0.0.1"));

    ASSERT_TRUE(HbTools::RemoveProxy());
    EXPECT_EQ(proxy().type(), QNetworkProxy::NoProxy);
    EXPECT_FALSE(HbTools::DownloadToFile(QUrl(QStringLiteral("http://files.example/a.txt")), file));
    EXPECT_EQ(proxyServer.requestLines().size(), 1);
}

TEST_F(BrowsingState, AProxyWithLoginGetsItsCredentialsOnItsOwnPort)
{
    LocalHttpServer proxyServer(LocalHttpServer::Others::PageNamingTheTarget);
    proxyServer.requireProxyCredentials("reader", "s3cret");
    ASSERT_TRUE(HbTools::SetProxyWithLogin(QString(), QStringLiteral("127.0.0.1"), QStringLiteral("reader"),
                                           QStringLiteral("s3cret"), proxyServer.port()));
    EXPECT_TRUE(HbTools::DownloadToFile(QUrl(QStringLiteral("http://files.example/b.txt")),
                                        dir.filePath(QStringLiteral("b.txt"))));
    ASSERT_FALSE(proxyServer.requests().isEmpty());
    EXPECT_EQ(proxyServer.requests().last().header("Proxy-Authorization"), "Basic " + QByteArray("reader:s3cret").toBase64());
}

TEST_F(BrowsingState, RefreshProxySetsTheProxyOfTheSettings)
{
    const struct {
        const char *address;
        int port;
        const char *user;
        bool set;
        int expectedPort;
    } cases[] = {
        {"proxy1", 80, "", true, 80},
        {"proxy1", 8080, "reader", true, 8080},
        {"proxy1", 0, "reader", false, 0},
        {"", 80, "", false, 0},
        {"proxy1:3128", 80, "", false, 0},
    };
    SpyControl *spy = nullptr;
    auto browser = makeWithSpy<THostedBrowser>(spy);
    for (const auto &c : cases) {
        setProgramProxy(QNetworkProxy());
        TProxySettings &settings = browser->ProxySettings();
        settings.Address = QString::fromLatin1(c.address);
        settings.Port = c.port;
        settings.UserName = QString::fromUtf8(c.user);
        settings.Password = QStringLiteral("pw");
        browser->RefreshProxy();
        EXPECT_EQ(hostedBrowserModule().ProxyWasSet, c.set) << c.address << ' ' << c.port;
        if (!c.set) {
            EXPECT_NE(proxy().type(), QNetworkProxy::HttpProxy) << "nothing set";
            continue;
        }
        EXPECT_EQ(proxy().type(), QNetworkProxy::HttpProxy);
        EXPECT_EQ(proxy().hostName(), QStringLiteral("proxy1"));
        EXPECT_EQ(proxy().port(), c.expectedPort);
        EXPECT_EQ(proxy().user(), QString::fromUtf8(c.user));
        EXPECT_EQ(proxy().password(), *c.user ? QStringLiteral("pw") : QString());
    }
}

TEST_F(BrowsingState, TheModuleEndRemovesOnlyAProxyThatIsStillSet)
{
    SpyControl *spy = nullptr;
    {
        HostedBrowserModuleScope module;
        auto browser = makeWithSpy<THostedBrowser>(spy);
        browser->ProxySettings().Address = QStringLiteral("proxy1");
        browser->ProxySettings().AutoLoadProxy = true;
        browser->LoadSettings();
        EXPECT_TRUE(hostedBrowserModule().ProxyWasSet);
        EXPECT_EQ(proxy().hostName(), QStringLiteral("proxy1"));
    }
    EXPECT_FALSE(hostedBrowserModule().ProxyWasSet);
    EXPECT_EQ(proxy().type(), QNetworkProxy::NoProxy) << "removed at the end";

    {
        HostedBrowserModuleScope module;
        TProxySettings settings;
        EXPECT_TRUE(settings.SetProxy(QString(), QStringLiteral("proxy2:8080")));
        EXPECT_FALSE(settings.SetProxy(QString(), QStringLiteral("no such:proxy")));
        EXPECT_FALSE(hostedBrowserModule().ProxyWasSet) << "the last call failed";
        EXPECT_TRUE(settings.SetProxy(QString(), QStringLiteral("proxy2:8080")));
        EXPECT_FALSE(settings.SetProxyFromPAC(QString(), QStringLiteral("http://config.example/proxy.pac")));
        EXPECT_FALSE(hostedBrowserModule().ProxyWasSet) << "no script can be set";
    }
    EXPECT_EQ(proxy().hostName(), QStringLiteral("proxy2")) << "not removed: not known to be set";
}

TEST_F(BrowsingState, AnEmptyCacheWalkEndsAtOnceWithNoHandle)
{
    HbTools::TCacheEnumHandle handle = 7;
    EXPECT_EQ(HbTools::DeleteFirstCacheEntry(handle), HbTools::ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(HbTools::DeleteNextCacheEntry(handle), HbTools::ERROR_NO_MORE_ITEMS);
    HbTools::ClearCache();
}

TEST_F(BrowsingState, TypedAddressesAreDeletedAndDeletingThemAgainIsNoError)
{
    qputenv("VOCABULINARUM_REGISTRY", QFile::encodeName(dir.filePath(QStringLiteral("registry.json"))));
    const QString typed = QStringLiteral("Software\\Microsoft\\Internet Explorer\\TypedURLs");
    const QString main = QStringLiteral("Software\\Microsoft\\Internet Explorer\\Main");
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(typed + QStringLiteral("\\more"), true));
        ASSERT_TRUE(registry.OpenKey(QStringLiteral("\\") + typed, true));
        registry.WriteString(QStringLiteral("url1"), QStringLiteral("http://a.example/"));
        ASSERT_TRUE(registry.OpenKey(QStringLiteral("\\") + main, true));
    }
    SpyControl *spy = nullptr;
    auto browser = makeWithSpy<THostedBrowser>(spy);
    browser->ClearTypedUrls();
    EXPECT_FALSE(TRegistry().KeyExists(typed));
    EXPECT_TRUE(TRegistry().KeyExists(main));
    EXPECT_NO_THROW(browser->ClearTypedUrls());

    // A store that cannot be written: the deletion is no error either.
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(typed, true));
    }
    {
        FileSizeLimit full(0);
        ASSERT_TRUE(full.set());
        EXPECT_NO_THROW(browser->ClearTypedUrls());
    }
    qunsetenv("VOCABULINARUM_REGISTRY");
}

#include "NetworkState.h"

#include <QEventLoop>
#include <QNetworkInformation>
#include <QNetworkInterface>
#include <QObject>
#include <QTcpServer>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

namespace vocab {

namespace {

QList<QWebEngineProfile *> &profiles()
{
    static QList<QWebEngineProfile *> live;
    return live;
}

std::atomic<bool> g_offline{false};

// The credentials of the program's proxy, and the proxy they are for.
struct ProxyCredentials {
    QString host;
    quint16 port = 0;
    QString user;
    QString password;
};

ProxyCredentials &proxyCredentials()
{
    static ProxyCredentials credentials;
    return credentials;
}

// How long the profiles are given to take a new proxy up.
constexpr int ProxyProbeTimeoutMs = 5000;

// An address on the loopback where nothing answers: a port just given up.
QUrl closedLoopbackUrl()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    const quint16 port = server.serverPort();
    server.close();
    return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port));
}

bool interfaceReachesOut()
{
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &interface : interfaces) {
        const auto flags = interface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning)
            || flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry &entry : interface.addressEntries())
            if (entry.ip().isGlobal())
                return true;
    }
    return false;
}

// The system's own answer, when a backend is there and knows it.
std::optional<bool> systemReachability()
{
    static const bool loaded = QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    const QNetworkInformation *information = loaded ? QNetworkInformation::instance() : nullptr;
    if (!information)
        return std::nullopt;
    switch (information->reachability()) {
    case QNetworkInformation::Reachability::Unknown:
        return std::nullopt;
    case QNetworkInformation::Reachability::Disconnected:
        return false;
    default:
        // A local network counts, as a connection through the LAN does.
        return true;
    }
}

} // namespace

void registerBrowserProfile(QWebEngineProfile *profile)
{
    if (!profile || profiles().contains(profile))
        return;
    profiles().append(profile);
    QObject::connect(profile, &QObject::destroyed, [profile] { profiles().removeAll(profile); });
}

QList<QWebEngineProfile *> liveBrowserProfiles()
{
    return profiles();
}

void setGlobalOffline(bool offline)
{
    g_offline = offline;
}

bool globalOffline()
{
    return g_offline;
}

bool isNetworkScheme(const QString &scheme)
{
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("ftp")
        || scheme == QLatin1String("ws") || scheme == QLatin1String("wss");
}

bool platformReportsConnection()
{
    if (const std::optional<bool> reachable = systemReachability())
        return *reachable;
    return interfaceReachesOut();
}

void setProgramProxy(const QNetworkProxy &proxy)
{
    proxyCredentials() = ProxyCredentials{proxy.hostName(), proxy.port(), proxy.user(), proxy.password()};
    QNetworkProxy bare = proxy;
    bare.setUser(QString());
    bare.setPassword(QString());
    QNetworkProxy::setApplicationProxy(bare);
    applyProxyToLiveProfiles();
}

QNetworkProxy programProxy()
{
    QNetworkProxy proxy = QNetworkProxy::applicationProxy();
    const ProxyCredentials &credentials = proxyCredentials();
    if (proxy.type() == QNetworkProxy::HttpProxy && !credentials.user.isEmpty()
        && proxy.hostName().compare(credentials.host, Qt::CaseInsensitive) == 0 && proxy.port() == credentials.port) {
        proxy.setUser(credentials.user);
        proxy.setPassword(credentials.password);
    }
    return proxy;
}

void applyProxyToLiveProfiles()
{
    const QList<QWebEngineProfile *> live = profiles();
    if (live.isEmpty())
        return;
    const QUrl probe = closedLoopbackUrl();
    QEventLoop loop;
    std::size_t pending = 0;
    std::vector<std::unique_ptr<QWebEnginePage>> pages;
    for (QWebEngineProfile *profile : live) {
        auto page = std::make_unique<QWebEnginePage>(profile);
        ++pending;
        QObject::connect(page.get(), &QWebEnginePage::loadFinished, &loop, [&] {
            if (--pending == 0)
                loop.quit();
        });
        page->load(probe);
        pages.push_back(std::move(page));
    }
    QTimer::singleShot(ProxyProbeTimeoutMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

QNetworkProxy downloadProxyFor(const QUrl &url)
{
    // Local names bypass the proxy, as the proxy's bypass list "<local>"
    // asks; the loopback is bypassed by Qt itself.
    if (!url.host().contains(u'.'))
        return QNetworkProxy(QNetworkProxy::NoProxy);
    return programProxy();
}

} // namespace vocab

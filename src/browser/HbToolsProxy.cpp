#include "HbToolsProxy.h"

#include "NetworkState.h"

#include <QNetworkProxy>
#include <QUrl>

#include <optional>

namespace vocab::HbTools {

namespace {

constexpr int DefaultProxyPort = 80;

struct ProxyServer {
    QString host;
    int port = DefaultProxyPort;
};

// "server", "server:port", "[v6 address]:port", with or without "http://".
std::optional<ProxyServer> serverOf(const QString &address)
{
    QString text = address.trimmed();
    if (!text.contains(QLatin1String("://")))
        text.prepend(QLatin1String("http://"));
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != QLatin1String("http") || url.host().isEmpty() || !url.userInfo().isEmpty()
        || url.hasQuery() || url.hasFragment() || (url.path() != QString() && url.path() != QLatin1String("/")))
        return std::nullopt;
    const int port = url.port(DefaultProxyPort);
    if (port < 1)
        return std::nullopt;
    return ProxyServer{url.host(), port};
}

} // namespace

bool SetProxy(const QString &, const QString &Address)
{
    const std::optional<ProxyServer> server = serverOf(Address);
    if (!server)
        return false;
    setProgramProxy(QNetworkProxy(QNetworkProxy::HttpProxy, server->host, static_cast<quint16>(server->port)));
    return true;
}

bool SetProxyWithLogin(const QString &, const QString &Address, const QString &UserName, const QString &Password, int Port)
{
    // The port is the proxy's own: the server keeps it, as the credentials
    // are given to the proxy itself.
    const std::optional<ProxyServer> server = serverOf(Address);
    if (!server || Port < 1 || Port > 0xFFFF)
        return false;
    setProgramProxy(QNetworkProxy(QNetworkProxy::HttpProxy, server->host, static_cast<quint16>(Port), UserName, Password));
    return true;
}

bool SetProxyFromPAC(const QString &, const QString &)
{
    return false;
}

bool RemoveProxy()
{
    setProgramProxy(QNetworkProxy(QNetworkProxy::NoProxy));
    return true;
}

} // namespace vocab::HbTools

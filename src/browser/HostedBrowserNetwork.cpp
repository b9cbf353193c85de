// THostedBrowser's methods over the program's browsing state (history,
// cache, typed addresses, connection) and its proxy, and the proxy methods
// of TProxySettings.

#include "HostedBrowser.h"

#include "HbToolsHistory.h"
#include "HbToolsProxy.h"

namespace vocab {

bool TProxySettings::SetProxy(const QString &AUserAgent, const QString &AAddress)
{
    const bool result = HbTools::SetProxy(AUserAgent, AAddress);
    hostedBrowserModule().ProxyWasSet = result;
    return result;
}

bool TProxySettings::SetProxy(const QString &AUserAgent, const QString &AAddress, const QString &AUserName,
                              const QString &APassword, int APort)
{
    const bool result = HbTools::SetProxyWithLogin(AUserAgent, AAddress, AUserName, APassword, APort);
    hostedBrowserModule().ProxyWasSet = result;
    return result;
}

bool TProxySettings::SetProxyFromPAC(const QString &AUserAgent, const QString &PACFile)
{
    const bool result = HbTools::SetProxyFromPAC(AUserAgent, PACFile);
    hostedBrowserModule().ProxyWasSet = result;
    return result;
}

void THostedBrowser::RefreshProxy()
{
    TProxySettings &proxy = *FProxySettings;
    if (!proxy.UserName.isEmpty())
        proxy.SetProxy(proxy.UserAgent, proxy.Address, proxy.UserName, proxy.Password, proxy.Port);
    else
        proxy.SetProxy(proxy.UserAgent, proxy.Address + u':' + QString::number(proxy.Port));
}

void THostedBrowser::ClearCache()
{
    HbTools::ClearCache();
}

void THostedBrowser::ClearTypedUrls()
{
    HbTools::ClearTypedUrls();
}

void THostedBrowser::ClearHistory()
{
    HbTools::ClearHistory();
}

bool THostedBrowser::CheckOnlineStatus()
{
    return HbTools::CheckOnlineStatus();
}

bool THostedBrowser::IsGlobalOffline()
{
    return HbTools::IsGlobalOffline();
}

// Each of the two does what its name says.
void THostedBrowser::WorkOnline()
{
    HbTools::GoOnline();
}

void THostedBrowser::WorkOffline()
{
    HbTools::GoOffline();
}

} // namespace vocab

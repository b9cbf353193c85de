// The user agent of THostedBrowser: the control's own, one of the
// program's given through the ambient property, or one added to the
// registry's list for every browser of the user. And the control's about box.

#include "HostedBrowser.h"

#include "MessageBoxes.h"
#include "Registry.h"

#include <QtWebEngineCore/qtwebenginecoreglobal.h>

namespace vocab {

namespace {

const QString UserAgentKey = QStringLiteral("\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\User Agent");
const QString PostPlatformKey = UserAgentKey + QStringLiteral("\\Post Platform");
const QString RegistryAgentBase = QStringLiteral("User-agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)");

} // namespace

void THostedBrowser::SetUserAgent(const QString &value)
{
    if (value == FUserAgent)
        return;
    FUserAgent = value;
    ApplyUserAgentMode();
}

void THostedBrowser::SetUserAgentMode(TUserAgentMode value)
{
    if (value == FUserAgentMode)
        return;
    FUserAgentMode = value;
    ApplyUserAgentMode();
}

void THostedBrowser::ApplyUserAgentMode()
{
    switch (FUserAgentMode) {
    case uaDefault:
        RestoreRegistryUserAgent();
        WithdrawInternalUserAgent();
        break;
    case uaInternal:
        ApplyInternalUserAgent();
        break;
    case uaRegistry:
        ApplyRegistryUserAgent();
        WithdrawInternalUserAgent();
        break;
    }
}

// Once the mode is another, the text the control was given goes too: the
// control asks again now and gets its own, and the same text given again
// later is announced again.
void THostedBrowser::WithdrawInternalUserAgent()
{
    if (FUserAgentInt.isEmpty())
        return;
    FUserAgentInt.clear();
    if (IOleControl *control = OleControl())
        control->OnAmbientPropertyChange(DISPID_AMBIENT_USERAGENT);
}

void THostedBrowser::ApplyRegistryUserAgent()
{
    if (FUserAgent == FUserAgentReg)
        return;
    RestoreRegistryUserAgent(false);
    FUserAgentReg = RegistryAgentBase + u'(' + FUserAgent + u')';
    TRegistry registry(RegRoot::HKEY_CURRENT_USER);
    if (registry.OpenKey(PostPlatformKey, true)) {
        registry.WriteString(FUserAgentReg, QString());
        FUserAgentRegSet = true;
    }
    registry.CloseKey();
    // The control reads the user's additions to its agent when told the
    // agent changed; it is told each time the component's entry comes or goes.
    if (IOleControl *control = OleControl())
        control->OnAmbientPropertyChange(DISPID_AMBIENT_USERAGENT);
}

void THostedBrowser::RestoreRegistryUserAgent(bool announce)
{
    if (FUserAgentReg.isEmpty() || !FUserAgentRegSet)
        return;
    TRegistry registry(RegRoot::HKEY_CURRENT_USER);
    if (registry.OpenKey(UserAgentKey, false)) {
        // Only the component's own entry goes; the others stay as they are.
        if (registry.OpenKey(PostPlatformKey, true)) {
            registry.DeleteValue(FUserAgentReg);
            registry.WriteString(RegistryAgentBase, QString());
        }
        FUserAgentRegSet = false;
        FUserAgentReg.clear();
        registry.CloseKey();
        if (IOleControl *control = announce ? OleControl() : nullptr)
            control->OnAmbientPropertyChange(DISPID_AMBIENT_USERAGENT);
    }
    registry.CloseKey();
}

void THostedBrowser::ApplyInternalUserAgent()
{
    if (FUserAgent == FUserAgentInt)
        return;
    // Announced once, with the text, below.
    RestoreRegistryUserAgent(false);
    if (IOleControl *control = OleControl()) {
        FUserAgentInt = FUserAgent;
        control->OnAmbientPropertyChange(DISPID_AMBIENT_USERAGENT);
    }
}

// The control has no about box of its own here; the component shows what
// it is and what it runs on.
void THostedBrowser::ShowAboutBox()
{
    vocab::ShowMessage(QStringLiteral("%1\nQt WebEngine %2 (Chromium %3)")
                    .arg(FAbout, QLatin1String(qWebEngineVersion()), QLatin1String(qWebEngineChromiumVersion())));
}

HRESULT THostedBrowser::SupplyUserAgent(QString &UserAgent)
{
    UserAgent.clear();
    if (FUserAgentMode == uaInternal && !FUserAgent.isEmpty()) {
        UserAgent = FUserAgent;
        return S_OK;
    }
    return S_FALSE;
}

} // namespace vocab

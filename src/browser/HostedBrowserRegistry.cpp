// THostedBrowser's methods over the registry places, the commands of its
// window and the navigation sound.

#include "HostedBrowser.h"

#include "HbToolsRegistry.h"

namespace vocab {

void THostedBrowser::RestoreApplicationFormSize()
{
    HbTools::RestoreApplicationFormSize();
}

void THostedBrowser::SaveApplicationFormSize()
{
    HbTools::SaveApplicationFormSize();
}

void THostedBrowser::ShowIEVersionInfo()
{
    HbTools::ShowIEVersionInfo(this);
}

void THostedBrowser::CreateDesktopShortcut()
{
    HbTools::CreateDesktopShortcut(this);
}

void THostedBrowser::SetNewHomePage(const QString &HomePage)
{
    HbTools::SetNewHomePage(HomePage);
}

bool THostedBrowser::GetLastVisitedPage(QString &LastVisitedPage)
{
    return HbTools::GetLastVisitedPage(LastVisitedPage);
}

bool THostedBrowser::SaveLastVisitedPage()
{
    return HbTools::SaveLastVisitedPage(*this, LocationURL());
}

void THostedBrowser::DisableNavSound(bool bDisable)
{
    HbTools::SwitchNavSound(bDisable, HbTools::GetIEMajorVersion());
}

} // namespace vocab

// THostedBrowser's browser dialogs: each gathers the document, the
// control's automation object or its own window and hands on to its routine.

#include "HostedBrowser.h"

#include "HbToolsDialogs.h"
#include "HbToolsPrinting.h"

namespace vocab {

bool THostedBrowser::OpenDialog()
{
    return HbTools::OpenDialog(*this, this);
}

bool THostedBrowser::SaveDialog()
{
    return HbTools::SaveDialog(Document());
}

QString THostedBrowser::SaveDialogEx(const QString &AFilter, const QString &ATitle)
{
    return HbTools::SaveDialogEx(*this, this, ATitle, AFilter);
}

bool THostedBrowser::ShowInternetOptions()
{
    return HbTools::ShowInternetOptions(Document());
}

bool THostedBrowser::ShowPageProperties()
{
    return HbTools::ShowPageProperties(Document());
}

bool THostedBrowser::ShowOrganizeFavorites()
{
    return HbTools::ShowOrganizeFavorites(this);
}

bool THostedBrowser::ShowFindDialog()
{
    return HbTools::ShowFindDialog(Document());
}

void THostedBrowser::SaveImagesDialog()
{
    HbTools::SaveImagesDialog(DefaultInterface(), Document());
}

bool THostedBrowser::ViewPageSourceHtml()
{
    return HbTools::ViewPageSourceHtml(Document());
}

void THostedBrowser::SavePageTextDialog()
{
    Wait(0);
    HbTools::SavePageTextDialog(this, DefaultInterface(), Document());
}

bool THostedBrowser::OpenClient(const QString &Client)
{
    return HbTools::OpenClient(Client);
}

void THostedBrowser::ExploreFolder(const QString &Path)
{
    HbTools::ExploreFolder(this, Path);
}

void THostedBrowser::OpenIEBrowserWithAddress()
{
    HbTools::OpenIEBrowserWithAddress(this);
}

} // namespace vocab

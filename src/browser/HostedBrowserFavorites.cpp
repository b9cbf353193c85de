// THostedBrowser's methods over the favourites, shell-folder and mail
// routines: none needs the page but SendURLInMail, which mails its address.

#include "HostedBrowser.h"

#include "HbToolsFavorites.h"

namespace vocab {

void THostedBrowser::AddToFavorites(const QString &URL, const QString &Title)
{
    HbTools::AddToFavorites(URL, Title);
}

QString THostedBrowser::GetCookiesPath() { return HbTools::GetCookiesPath(); }

QString THostedBrowser::GetHistoryPath() { return HbTools::GetHistoryPath(); }

QString THostedBrowser::GetFavoritesPath() { return HbTools::GetFavoritesPath(); }

QString THostedBrowser::GetDefaultBrowserFromRegistry() { return HbTools::GetDefaultBrowserFromRegistry(); }

QString THostedBrowser::GetSpecialFolderPath(QWidget *CallerHandle, int CSIDL)
{
    return HbTools::GetSpecialFolderPath(CallerHandle, CSIDL);
}

QString THostedBrowser::GetCachedFileFromURL(const QString &ItemUrl) { return HbTools::GetCachedFileFromURL(ItemUrl); }

QString THostedBrowser::URLFromFavorites(const QString &dotURL) { return HbTools::URLFromFavorites(dotURL); }

QString THostedBrowser::UrlFromHistory(IShellFolder *ShellFolder, const QByteArray &pidl)
{
    return HbTools::UrlFromHistory(ShellFolder, pidl);
}

bool THostedBrowser::GetIPAndHostName(QString &HostName, QString &IPaddr, QString &WSAErr)
{
    return HbTools::GetIPAndHostName(HostName, IPaddr, WSAErr);
}

void THostedBrowser::CreateNewMail() { HbTools::CreateNewMail(); }

void THostedBrowser::SendURLInMail() { HbTools::SendURLInMail(LocationURL(), LocationName()); }

} // namespace vocab

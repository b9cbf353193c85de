#pragma once

// The browser tools that reach the user's desktop and mail: the
// favourites, the shell's folders, the cached copy of an address, the
// default browser, the machine's name and address, and new mails.

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace vocab {

class IShellFolder;

namespace HbTools {

// Shows the Add Favorite dialog for the page; nothing when the address or
// the title is blank (blanks and control characters only). Never throws.
void AddToFavorites(const QString &URL, const QString &Title);

// A value of the shell's folder record in the registry, as stored; empty
// when it is missing or blank. A value that is no text raises the
// registry's error.
QString ReadShellFolder(const QString &Name);
QString GetFavoritesPath();
QString GetCookiesPath();
QString GetHistoryPath();

// The folder of a special-folder number, made when missing; empty for a
// number this system has no folder for.
QString GetSpecialFolderPath(QWidget *CallerHandle, int CSIDL);

// The local copy of an address in the URL cache: the first entry whose
// address is the same, letter case counting; empty when there is none.
QString GetCachedFileFromURL(const QString &ItemUrl);

// Entries of the URL cache the browser lets us walk, in cache order.
struct TUrlCacheEntry {
    QString SourceUrlName;
    QString LocalFileName;
};
// The engine keeps its cache to itself, so there is none unless a source
// is installed (tests do). Returns the previous source.
using UrlCacheSource = std::function<std::vector<TUrlCacheEntry>()>;
UrlCacheSource setUrlCacheSource(UrlCacheSource source);

// Opens the folder for the user to organise, with the desktop's file
// manager; True when that could be started.
bool OrganizeFavoritesDialog(QWidget *Handle, const QString &Path);

// The address an internet shortcut file holds; empty for anything else.
// Never throws.
QString URLFromFavorites(const QString &dotURL);

// The address of a history item: what follows the first line feed of its
// info tip, without blanks and control characters at its ends; empty when
// the item has no info tip.
QString UrlFromHistory(IShellFolder *ShellFolder, const QByteArray &pidl);

// The command of the default web browser, or "No default browser found.".
// A command that is no text raises the registry's error.
QString GetDefaultBrowserFromRegistry();

// The machine's name and its first IPv4 address. False, with a failure
// text in WSAErr for the causes that have one, when either is not found;
// HostName and IPaddr then stay as they were.
bool GetIPAndHostName(QString &HostName, QString &IPaddr, QString &WSAErr);

// What looking up a name answered: getaddrinfo's result (0 or an EAI_
// code), errno when that is EAI_SYSTEM, and the name's first IPv4 address
// as dotted text when it was found.
struct TNameLookup {
    int Result = 0;
    int SystemError = 0;
    QString IPaddr;
};
// The lookup GetIPAndHostName makes of the machine's name is the system's
// unless one is installed (tests do). Returns the previous one.
using NameResolver = std::function<TNameLookup(const QByteArray &HostName)>;
NameResolver setNameResolver(NameResolver resolver);

// Opens a blank mail in the desktop's mail program; True when it started.
bool CreateNewMail();

// Opens a mail of the address, the title as its subject, in the mail
// client's compose window.
void SendURLInMail(const QString &URL, const QString &Title);

} // namespace HbTools
} // namespace vocab

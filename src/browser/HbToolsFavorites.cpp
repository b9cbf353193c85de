#include "HbToolsFavorites.h"

#include "AppError.h"
#include "Favorites.h"
#include "IniFile.h"
#include "Registry.h"
#include "SendMail_For_Hb.h"
#include "ShellFolder.h"
#include "ShellOpen.h"
#include "SpecialFolders.h"
#include "StandIn.h"
#include "TrimBlanks.h"

#include <QDir>
#include <QUrl>

#include <arpa/inet.h>
#include <cerrno>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <exception>
#include <utility>

namespace vocab::HbTools {

namespace {

// POSIX sockets need no start-up, so they always answer.
bool startSockets() { return true; }

// The socket layer's code for a failure's errno: 10000 and the BSD number
// of the ones callers are told of.
int socketErrorCode(int error)
{
    switch (error) {
    case EINPROGRESS: return 10036;
    case ENETDOWN: return 10050;
    default: return error;
    }
}

// The system's lookup of a name: its first IPv4 address.
TNameLookup lookUpName(const QByteArray &HostName)
{
    TNameLookup lookup;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo *found = nullptr;
    lookup.Result = getaddrinfo(HostName.constData(), nullptr, &hints, &found);
    if (lookup.Result == EAI_SYSTEM)
        lookup.SystemError = errno;
    if (lookup.Result == 0 && found) {
        char dotted[INET_ADDRSTRLEN] = {};
        const auto *address = reinterpret_cast<const sockaddr_in *>(found->ai_addr);
        if (inet_ntop(AF_INET, &address->sin_addr, dotted, sizeof dotted))
            lookup.IPaddr = QString::fromLatin1(dotted);
    }
    if (found)
        freeaddrinfo(found);
    return lookup;
}

} // namespace

NameResolver setNameResolver(NameResolver resolver)
{
    return StandIn<NameResolver>::Install(std::move(resolver));
}

void AddToFavorites(const QString &URL, const QString &Title)
{
    if (TrimBlanks(URL).isEmpty() || TrimBlanks(Title).isEmpty())
        return;
    try {
        AddFavorite(URL, Title);
    } catch (const std::exception &) {
        // Adding a favourite is never worth an error.
    }
}

QString ReadShellFolder(const QString &Name)
{
    // The shell keeps this record of its folders itself; ours writes what is
    // missing of it before anyone reads it. A store that cannot be written
    // is read as it is.
    try {
        RecordShellFolders();
    } catch (const AppError &) {
    }
    TRegistry reg(RegRoot::HKEY_CURRENT_USER);
    QString result;
    // A value that is no text raises the registry's error, which goes to the caller.
    if (reg.OpenKeyReadOnly(QString::fromUtf16(ShellFoldersKey))) {
        const QString value = reg.ReadString(Name);
        if (!TrimBlanks(value).isEmpty())
            result = value;
    }
    reg.CloseKey();
    return result;
}

QString GetFavoritesPath() { return ReadShellFolder(QStringLiteral("Favorites")); }

QString GetCookiesPath() { return ReadShellFolder(QStringLiteral("Cookies")); }

QString GetHistoryPath() { return ReadShellFolder(QStringLiteral("History")); }

QString GetSpecialFolderPath(QWidget *, int CSIDL) { return SpecialFolderPath(CSIDL, true); }

UrlCacheSource setUrlCacheSource(UrlCacheSource source)
{
    return StandIn<UrlCacheSource>::Install(std::move(source));
}

QString GetCachedFileFromURL(const QString &ItemUrl)
{
    const UrlCacheSource source = StandIn<UrlCacheSource>::Current();
    if (!source)
        return {};
    // The walk ends at the first entry of the address, and at the last entry.
    for (const TUrlCacheEntry &entry : source())
        if (entry.SourceUrlName == ItemUrl)
            return entry.LocalFileName;
    return {};
}

bool OrganizeFavoritesDialog(QWidget *, const QString &Path)
{
    if (Path.isEmpty() || !QDir().mkpath(Path))
        return false;
    return ShellOpen(QUrl::fromLocalFile(QDir(Path).absolutePath()));
}

QString URLFromFavorites(const QString &dotURL)
{
    try {
        return TIniFile(dotURL).ReadString(QStringLiteral("InternetShortcut"), QStringLiteral("URL"), QString());
    } catch (const std::exception &) {
        return {};
    }
}

QString UrlFromHistory(IShellFolder *ShellFolder, const QByteArray &pidl)
{
    QString result;
    if (ShellFolder) {
        if (const std::unique_ptr<IQueryInfo> info = ShellFolder->GetUIObjectOf(nullptr, pidl))
            result = info->GetInfoTip(0);
    }
    // A history item's tip is its title, a line feed and its address.
    const qsizetype feed = result.indexOf(u'\n');
    return TrimBlanks(feed >= 0 ? QStringView(result).sliced(feed + 1) : QStringView(result));
}

QString GetDefaultBrowserFromRegistry()
{
    try {
        RecordDefaultBrowser();
    } catch (const AppError &) {
    }
    TRegistry reg(RegRoot::HKEY_CLASSES_ROOT);
    if (!reg.OpenKey(QString::fromUtf16(DefaultBrowserKey), false))
        return QStringLiteral("No default browser found.");
    // A default value that is no text raises the registry's error, which goes
    // to the caller.
    const QString command = reg.ReadString(QString());
    reg.CloseKey();
    return command;
}

bool GetIPAndHostName(QString &HostName, QString &IPaddr, QString &WSAErr)
{
    if (!startSockets()) {
        WSAErr = QStringLiteral("Winsock is not responding.\"");
        return false;
    }
    char name[260] = {};
    int error = 0;
    if (gethostname(name, sizeof name - 1) != 0) {
        error = socketErrorCode(errno);
    } else {
        const NameResolver standIn = StandIn<NameResolver>::Current();
        const TNameLookup lookup = standIn ? standIn(QByteArray(name)) : lookUpName(QByteArray(name));
        if (lookup.Result == 0 && !lookup.IPaddr.isEmpty()) {
            HostName = QString::fromLocal8Bit(name);
            IPaddr = lookup.IPaddr;
            return true;
        }
        error = lookup.Result == EAI_SYSTEM ? socketErrorCode(lookup.SystemError) : lookup.Result;
    }
    switch (error) {
    case 10036: WSAErr = QStringLiteral("WSAEInProgress"); break;
    case 10050: WSAErr = QStringLiteral("WSAENetDown"); break;
    case 10093: WSAErr = QStringLiteral("WSANotInitialised"); break;
    default: break; // other causes have no text
    }
    return false;
}

bool CreateNewMail()
{
    return ShellOpen(QUrl(QStringLiteral("mailto:?subject=&body=")));
}

void SendURLInMail(const QString &URL, const QString &Title)
{
    auto *mail = new THbMapiMail(nullptr);
    mail->SetSubject(Title);
    mail->SetBody(URL);
    mail->SetEditDialog(true);
    // The worker has the mail now, and frees it when sending ends.
    mail->Send();
}

} // namespace vocab::HbTools

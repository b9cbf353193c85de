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

} // namespace

void AddToFavorites(const QString &URL, const QString &Title)
{
    if (URL.trimmed().isEmpty() || Title.trimmed().isEmpty())
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
    if (reg.OpenKeyReadOnly(QString::fromUtf16(ShellFoldersKey))) {
        try {
            const QString value = reg.ReadString(Name);
            if (!value.trimmed().isEmpty())
                result = value;
        } catch (const AppError &) {
            // A value of another type names no folder.
        }
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
    return (feed >= 0 ? result.mid(feed + 1) : result).trimmed();
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
    QString command;
    try {
        command = reg.ReadString(QString());
    } catch (const AppError &) {
    }
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
        addrinfo hints{};
        hints.ai_family = AF_INET;
        addrinfo *found = nullptr;
        const int rc = getaddrinfo(name, nullptr, &hints, &found);
        if (rc == 0 && found) {
            char dotted[INET_ADDRSTRLEN] = {};
            const auto *address = reinterpret_cast<const sockaddr_in *>(found->ai_addr);
            const bool shown = inet_ntop(AF_INET, &address->sin_addr, dotted, sizeof dotted) != nullptr;
            freeaddrinfo(found);
            if (shown) {
                HostName = QString::fromLocal8Bit(name);
                IPaddr = QString::fromLatin1(dotted);
                return true;
            }
        } else {
            if (found)
                freeaddrinfo(found);
            error = rc == EAI_SYSTEM ? socketErrorCode(errno) : rc;
        }
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

#include "SpecialFolders.h"

#include "Registry.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringDecoder>

#include <utility>

namespace vocab {

namespace {

QString location(QStandardPaths::StandardLocation where)
{
    return QStandardPaths::writableLocation(where);
}

// Our own folder under one of the user's.
QString ownFolder(QStandardPaths::StandardLocation where, const QString &name)
{
    const QString base = location(where);
    if (base.isEmpty())
        return {};
    return QDir(base).filePath(name.isEmpty() ? QStringLiteral("vocabulinarum") : QStringLiteral("vocabulinarum/") + name);
}

QString mappedFolder(int csidl)
{
    switch (csidl) {
    case CSIDL_DESKTOP:
    case CSIDL_DESKTOPDIRECTORY: return location(QStandardPaths::DesktopLocation);
    case CSIDL_PERSONAL: return location(QStandardPaths::DocumentsLocation);
    case CSIDL_FAVORITES: return ownFolder(QStandardPaths::GenericDataLocation, QStringLiteral("Favorites"));
    case CSIDL_STARTUP: {
        const QString config = location(QStandardPaths::GenericConfigLocation);
        return config.isEmpty() ? QString() : QDir(config).filePath(QStringLiteral("autostart"));
    }
    case CSIDL_MYMUSIC: return location(QStandardPaths::MusicLocation);
    case CSIDL_MYVIDEO: return location(QStandardPaths::MoviesLocation);
    case CSIDL_FONTS: return location(QStandardPaths::FontsLocation);
    case CSIDL_APPDATA: return location(QStandardPaths::GenericConfigLocation);
    case CSIDL_LOCAL_APPDATA: return location(QStandardPaths::GenericDataLocation);
    // The engine keeps its cache, cookies and history in memory; these are
    // the places a program of ours may keep its own.
    case CSIDL_INTERNET_CACHE: return ownFolder(QStandardPaths::GenericCacheLocation, QString());
    case CSIDL_COOKIES: return ownFolder(QStandardPaths::GenericDataLocation, QStringLiteral("Cookies"));
    case CSIDL_HISTORY: return ownFolder(QStandardPaths::GenericDataLocation, QStringLiteral("History"));
    case CSIDL_MYPICTURES: return location(QStandardPaths::PicturesLocation);
    case CSIDL_PROFILE: return location(QStandardPaths::HomeLocation);
    default: return {}; // the system's own folders and unknown numbers
    }
}

// The Exec line of the [Desktop Entry] group of a desktop entry file.
QString desktopEntryExec(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(file.readAll());
    bool inEntry = false;
    for (const QString &raw : text.split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == u"[Desktop Entry]";
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (inEntry && eq > 0 && QStringView(line).left(eq).trimmed() == u"Exec")
            return line.mid(eq + 1).trimmed();
    }
    return {};
}

// The desktop's handler of http addresses: its Exec line, or empty.
QString httpHandlerCommand()
{
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("x-scheme-handler/http")});
    if (!query.waitForFinished(10000) || query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) {
        query.kill();
        query.waitForFinished(1000);
        return {};
    }
    const QString entry = QString::fromUtf8(query.readAllStandardOutput()).trimmed();
    // A handler's name is a file name of the applications folders, nothing more.
    if (entry.isEmpty() || entry.contains(u'/') || !entry.endsWith(u".desktop"))
        return {};
    const QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, entry);
    return path.isEmpty() ? QString() : desktopEntryExec(path);
}

} // namespace

QString SpecialFolderPath(int csidl, bool create)
{
    create = create || (csidl & CSIDL_FLAG_CREATE) != 0;
    const QString folder = mappedFolder(csidl & 0xFF);
    if (folder.isEmpty())
        return {};
    const QString path = QDir::cleanPath(folder);
    if (create && !QDir().mkpath(path))
        return {};
    return path;
}

void RecordShellFolders()
{
    static const std::pair<const char16_t *, int> folders[] = {
        {u"Favorites", CSIDL_FAVORITES}, {u"Cookies", CSIDL_COOKIES},     {u"History", CSIDL_HISTORY},
        {u"Cache", CSIDL_INTERNET_CACHE}, {u"Desktop", CSIDL_DESKTOPDIRECTORY}, {u"Personal", CSIDL_PERSONAL},
        {u"AppData", CSIDL_APPDATA},     {u"Local AppData", CSIDL_LOCAL_APPDATA}, {u"My Pictures", CSIDL_MYPICTURES},
        {u"My Music", CSIDL_MYMUSIC},    {u"My Video", CSIDL_MYVIDEO},     {u"Fonts", CSIDL_FONTS},
        {u"Startup", CSIDL_STARTUP},
    };
    TRegistry reg(RegRoot::HKEY_CURRENT_USER);
    if (!reg.OpenKey(QString::fromUtf16(ShellFoldersKey), true))
        return;
    for (const auto &[name, csidl] : folders) {
        const QString value = QString::fromUtf16(name);
        if (reg.ValueExists(value))
            continue;
        const QString path = SpecialFolderPath(csidl, false);
        if (!path.isEmpty())
            reg.WriteString(value, path);
    }
}

void RecordDefaultBrowser()
{
    TRegistry reg(RegRoot::HKEY_CLASSES_ROOT);
    if (reg.KeyExists(QString::fromUtf16(DefaultBrowserKey)))
        return;
    const QString command = httpHandlerCommand();
    if (command.isEmpty() || !reg.OpenKey(QString::fromUtf16(DefaultBrowserKey), true))
        return;
    reg.WriteString(QString(), command);
}

} // namespace vocab

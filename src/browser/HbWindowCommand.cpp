#include "HbWindowCommand.h"

#include "AppError.h"
#include "FileNameFromTitle.h"
#include "ListFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QWidget>

namespace vocab {

QEvent::Type WindowCommandEvent::eventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

std::intptr_t SendCommandMessage(QWidget *Window, std::uintptr_t Command, std::intptr_t LParam)
{
    if (!Window)
        return 0;
    WindowCommandEvent event(Command, LParam);
    QCoreApplication::sendEvent(Window, &event);
    return event.Result;
}

namespace {

// A value of a desktop entry: one line, its escapes written out.
QString entryValue(const QString &text)
{
    QString value;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\': value += QStringLiteral("\\\\"); break;
        case '\n': value += QStringLiteral("\\n"); break;
        case '\r': value += QStringLiteral("\\r"); break;
        case '\t': value += QStringLiteral("\\t"); break;
        default:
            if (c.unicode() >= 0x20)
                value += c;
        }
    }
    return value;
}

} // namespace

QString CreateDesktopLink(const QString &Name, const QString &Url)
{
    if (Url.trimmed().isEmpty())
        return {};
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return {};
    const QString title = Name.trimmed().isEmpty() ? Url : Name;
    const QString base = FileNameFromTitle(title, QStringLiteral("Link"));
    QString path = QDir(folder).filePath(base + QStringLiteral(".desktop"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QDir(folder).filePath(QStringLiteral("%1 (%2).desktop").arg(base).arg(n));
    const QString entry = QStringLiteral("[Desktop Entry]\nType=Link\nName=%1\nURL=%2\nIcon=text-html\n")
                              .arg(entryValue(title), entryValue(Url));
    try {
        ListFile::writeBytes(path, entry.toUtf8());
    } catch (const FileError &) {
        return {};
    }
    return path;
}

} // namespace vocab

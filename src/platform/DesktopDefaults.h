#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace vocab {

// The desktop's default programs, as the desktop names them for a kind of
// data (a MIME type such as "x-scheme-handler/mailto").

// Asks the desktop which program opens a kind of data: the answer is the id
// of its desktop entry ("mail.desktop"), or "" when the desktop names none.
// Tests install an answer of their own; an empty one restores the real
// question, which asks `xdg-mime query default`.
using DesktopDefaultQuery = std::function<QString(const QString &mimeType)>;
DesktopDefaultQuery setDesktopDefaultQuery(DesktopDefaultQuery query);
QString DesktopDefaultFor(const QString &mimeType);

// The command of a desktop entry, program first, as its Exec key gives it:
// quoted words kept whole, the escapes inside quotes undone, and the field
// codes for files and addresses left out, since the program is opened with
// none. Empty when no entry of that id is found on the data paths or it has
// no Exec key.
QStringList DesktopEntryCommand(const QString &desktopId);

// The words of an Exec value, with the field codes left out.
QStringList SplitDesktopExec(const QString &exec);

} // namespace vocab

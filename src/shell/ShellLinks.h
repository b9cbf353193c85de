#pragma once

#include <QString>
#include <QUrl>

namespace vocab {

// The help file beside the program: <program folder>/ConfigFiles/help.chm.
QString HelpFilePath(const QString &programDir);

// Opens the help file with the desktop's program for it. A missing file, or
// one for which no program could be started, is said in a message box, since
// no help viewer stands behind us to say it.
void OpenHelpFile(const QString &programDir);

// Opens a web page or a mailto: link with the desktop's program for it; when
// none could be started a message box says so.
void OpenLink(const QUrl &target);

// The mailto: link to an address.
QUrl MailLink(const QString &address);

} // namespace vocab

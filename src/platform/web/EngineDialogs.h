#pragma once

// The dialogs the browser control shows by itself when its host leaves a
// request to it: credentials for a site, where to save a download, and
// whether a page with a script error may go on running its scripts.

#include <QString>

class QUrl;
class QWidget;

namespace vocab {

// False when the user cancels.
bool askCredentials(QWidget *parent, const QUrl &url, const QString &realm, QString &user, QString &password);

// The path chosen, empty when the user cancels.
QString askDownloadPath(QWidget *parent, const QString &suggestedPath);

// True when the user lets the page's scripts go on.
bool askContinueScripts(QWidget *parent, const QString &message, int line, const QString &url);

} // namespace vocab

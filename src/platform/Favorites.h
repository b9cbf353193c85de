#pragma once

// The favourites: internet shortcut files ("<name>.url", holding
// "[InternetShortcut]" and "URL=<address>") in the favourites folder
// (SpecialFolders.h, CSIDL_FAVORITES), and the dialog that adds one.

#include <QString>

class QWidget;

namespace vocab {

// A shortcut's name as one file name inside the folder: the characters
// that separate folders or that file systems refuse (\ / : * ? " < > |)
// and control characters become blanks, runs of blanks one blank, dots and
// blanks at the ends go, and the name is cut to fit a file name. Empty when
// nothing is left.
QString SanitizeFavoriteName(const QString &name);

// Writes (or replaces) the shortcut "<folder>/<name>.url" for `url`, with
// the name sanitised first; line breaks in the address are dropped. Returns
// the file's path. Throws FileError when it cannot be written or nothing of
// the name is left.
QString WriteInternetShortcut(const QString &folder, const QString &name, const QString &url);

// The Add Favorite dialog: the name to give the page, the title to start
// with; OK writes the shortcut into the favourites folder, asking first
// whether to replace one of that name. True when a shortcut was written.
bool AddFavorite(const QString &url, const QString &title, QWidget *parent = nullptr);

} // namespace vocab

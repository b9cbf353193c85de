#pragma once

#include <QString>

namespace vocab {

// Numbers of the special folders, as the browser routines ask for them.
enum : int {
    CSIDL_DESKTOP = 0x0000,
    CSIDL_PERSONAL = 0x0005,
    CSIDL_FAVORITES = 0x0006,
    CSIDL_STARTUP = 0x0007,
    CSIDL_MYMUSIC = 0x000D,
    CSIDL_MYVIDEO = 0x000E,
    CSIDL_DESKTOPDIRECTORY = 0x0010,
    CSIDL_FONTS = 0x0014,
    CSIDL_APPDATA = 0x001A,
    CSIDL_LOCAL_APPDATA = 0x001C,
    CSIDL_INTERNET_CACHE = 0x0020,
    CSIDL_COOKIES = 0x0021,
    CSIDL_HISTORY = 0x0022,
    CSIDL_WINDOWS = 0x0024,
    CSIDL_SYSTEM = 0x0025,
    CSIDL_PROGRAM_FILES = 0x0026,
    CSIDL_MYPICTURES = 0x0027,
    CSIDL_PROFILE = 0x0028,
    // Ored into a number: make the folder when it is missing.
    CSIDL_FLAG_CREATE = 0x8000,
};

// The folder a special-folder number stands for on this desktop, from the
// XDG folders of the user (HOME, XDG_*_HOME, user-dirs.dirs); the browser's
// own folders (favourites, cookies, history, cache) lie in ours under them.
// With `create`, or CSIDL_FLAG_CREATE in the number, a missing folder is
// made, and a folder that cannot be made gives the empty text. The numbers
// of folders this system has no counterpart of (the system's own, the
// programs') and unknown numbers give the empty text.
QString SpecialFolderPath(int csidl, bool create);

// The shell's record of its folders: the values "Favorites", "Cookies",
// "History" and the like under HKEY_CURRENT_USER
// "SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders", as
// programs read them. Writes each value that is missing; one already there is
// left as it is.
void RecordShellFolders();
inline constexpr const char16_t ShellFoldersKey[] = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The desktop's default web browser as the registry keeps it: the default
// value of HKEY_CLASSES_ROOT "htmlfile\shell\open\command". When that key is
// missing, it is made from the desktop's handler of http addresses
// (`xdg-mime query default x-scheme-handler/http`, then the Exec line of
// that desktop entry); with no handler, nothing is written.
void RecordDefaultBrowser();
inline constexpr const char16_t DefaultBrowserKey[] = u"htmlfile\\shell\\open\\command";

} // namespace vocab

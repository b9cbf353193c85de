#pragma once

// Commands of the control and of its document, and the groups they belong to.

#include "ComTypes.h"

#include <cstdint>

namespace vocab {

// One command of a status query: its id in, its state flags out.
struct OLECMD {
    std::uint32_t cmdID = 0;
    std::uint32_t cmdf = 0;
};

// The optional text of a status query.
struct OLECMDTEXT {
    std::uint32_t cmdtextf = 0;
    QString text;
};

inline constexpr std::uint32_t OLECMDF_SUPPORTED = 0x1;
inline constexpr std::uint32_t OLECMDF_ENABLED = 0x2;
inline constexpr std::uint32_t OLECMDF_LATCHED = 0x4;
inline constexpr std::uint32_t OLECMDF_NINCHED = 0x8;

inline constexpr std::uint32_t OLECMDEXECOPT_DODEFAULT = 0;
inline constexpr std::uint32_t OLECMDEXECOPT_PROMPTUSER = 1;
inline constexpr std::uint32_t OLECMDEXECOPT_DONTPROMPTUSER = 2;

// The standard command group (no group given).
inline constexpr std::uint32_t OLECMDID_SAVEAS = 4;
inline constexpr std::uint32_t OLECMDID_PRINT = 6;
inline constexpr std::uint32_t OLECMDID_PRINTPREVIEW = 7;
inline constexpr std::uint32_t OLECMDID_PAGESETUP = 8;
inline constexpr std::uint32_t OLECMDID_PROPERTIES = 10;
inline constexpr std::uint32_t OLECMDID_CUT = 11;
inline constexpr std::uint32_t OLECMDID_COPY = 12;
inline constexpr std::uint32_t OLECMDID_PASTE = 13;
inline constexpr std::uint32_t OLECMDID_PASTESPECIAL = 14;
inline constexpr std::uint32_t OLECMDID_UNDO = 15;
inline constexpr std::uint32_t OLECMDID_REDO = 16;
inline constexpr std::uint32_t OLECMDID_SELECTALL = 17;
inline constexpr std::uint32_t OLECMDID_CLEARSELECTION = 18;
inline constexpr std::uint32_t OLECMDID_ZOOM = 19;
inline constexpr std::uint32_t OLECMDID_GETZOOMRANGE = 20;
inline constexpr std::uint32_t OLECMDID_REFRESH = 22;
inline constexpr std::uint32_t OLECMDID_STOP = 23;
inline constexpr std::uint32_t OLECMDID_SETPROGRESSTEXT = 27;
inline constexpr std::uint32_t OLECMDID_DELETE = 33;
inline constexpr std::uint32_t OLECMDID_ONUNLOAD = 37;
inline constexpr std::uint32_t OLECMDID_PREREFRESH = 39;
inline constexpr std::uint32_t OLECMDID_SHOWSCRIPTERROR = 40;
inline constexpr std::uint32_t OLECMDID_OPTICAL_ZOOM = 63;
inline constexpr std::uint32_t OLECMDID_OPTICAL_GETZOOMRANGE = 64;

// The browser's own command group, next to the standard one.
inline constexpr QUuid CGID_IWebBrowser{0xED016940, 0xBD5B, 0x11CF, 0xBA, 0x4E, 0x00, 0xC0, 0x4F, 0xD7, 0x08, 0x16};
// Its commands: the find dialog, the page's source and the browser's options.
inline constexpr std::uint32_t BrowserFind = 1;
inline constexpr std::uint32_t BrowserViewSource = 2;
inline constexpr std::uint32_t BrowserOptions = 3;

// Commands the control sends to its host's command target.
inline constexpr QUuid CGID_Explorer{0x000214D0, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
inline constexpr QUuid CGID_DocHostCommandHandler{0xF38BC242, 0xB950, 0x11D1, 0x89, 0x18, 0x00, 0xC0, 0x4F, 0xC2, 0xC8, 0x36};

// Refresh commands of the document host group: plain, the normal refresh
// and the full one that bypasses the cache.
inline constexpr std::uint32_t IDM_REFRESH = 2300;
inline constexpr std::uint32_t IDM_REFRESH_TOP = 6041;
inline constexpr std::uint32_t IDM_REFRESH_TOP_FULL = 6042;

// Ids of the items of the control's own context menu, kept in each item's
// QAction::data() so that a host can remove items by command.
inline constexpr int IDM_PRINT = 27;
inline constexpr int IDM_PROPERTIES = 28;
inline constexpr int IDM_COPY = 15;
inline constexpr int IDM_CUT = 16;
inline constexpr int IDM_PASTE = 26;
inline constexpr int IDM_SELECTALL = 31;
inline constexpr int IDM_FOLLOWLINKC = 2136;
inline constexpr int IDM_FOLLOWLINKN = 2137;
inline constexpr int IDM_VIEWSOURCE = 2139;
inline constexpr int IDM_ADDFAVORITES = 2261;
inline constexpr int IDM_SAVEBACKGROUND = 2263;
inline constexpr int IDM_SETWALLPAPER = 2264;
inline constexpr int IDM_COPYBACKGROUND = 2265;
inline constexpr int IDM_CREATESHORTCUT = 2266;
inline constexpr int IDM_SETDESKTOPITEM = 2278;
inline constexpr int IDM_GOBACKWARD = 2282;
inline constexpr int IDM_GOFORWARD = 2283;
inline constexpr int IDM_LANGUAGE = 2292;

} // namespace vocab

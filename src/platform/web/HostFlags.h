#pragma once

// The host flags a host answers in DOCHOSTUIINFO::dwFlags and the download
// flags it answers for the ambient property DISPID_AMBIENT_DLCONTROL.
//
// What the engine can be told of them takes effect: of the host flags
// DIALOG (no text can be selected), SCROLL_NO, LOCAL_MACHINE_ACCESS_CHECK,
// DISABLE_UNTRUSTEDPROTOCOL and ENABLE_INPLACE_NAVIGATION; of the download
// flags DLIMAGES, VIDEOS and BGSOUNDS (media), NO_SCRIPTS,
// NO_FRAMEDOWNLOAD, PRAGMA_NO_CACHE, RESYNCHRONIZE, FORCEOFFLINE and
// OFFLINE, and SILENT. The engine has no switch for the others (borders,
// themes, the help menu, autocomplete, URL encodings, the meta charset,
// client pull, download only, behaviours, Java and ActiveX): they are
// kept and answered, and change nothing.

#include <cstdint>

namespace vocab {

inline constexpr std::uint32_t DOCHOSTUIFLAG_DIALOG = 0x1;
inline constexpr std::uint32_t DOCHOSTUIFLAG_DISABLE_HELP_MENU = 0x2;
inline constexpr std::uint32_t DOCHOSTUIFLAG_NO3DBORDER = 0x4;
inline constexpr std::uint32_t DOCHOSTUIFLAG_SCROLL_NO = 0x8;
inline constexpr std::uint32_t DOCHOSTUIFLAG_DISABLE_SCRIPT_INACTIVE = 0x10;
inline constexpr std::uint32_t DOCHOSTUIFLAG_OPENNEWWIN = 0x20;
inline constexpr std::uint32_t DOCHOSTUIFLAG_DISABLE_OFFSCREEN = 0x40;
inline constexpr std::uint32_t DOCHOSTUIFLAG_FLAT_SCROLLBAR = 0x80;
inline constexpr std::uint32_t DOCHOSTUIFLAG_DIV_BLOCKDEFAULT = 0x100;
inline constexpr std::uint32_t DOCHOSTUIFLAG_ACTIVATE_CLIENTHIT_ONLY = 0x200;
inline constexpr std::uint32_t DOCHOSTUIFLAG_OVERRIDEBEHAVIORFACTORY = 0x400;
inline constexpr std::uint32_t DOCHOSTUIFLAG_CODEPAGELINKEDFONTS = 0x800;
inline constexpr std::uint32_t DOCHOSTUIFLAG_URL_ENCODING_DISABLE_UTF8 = 0x1000;
inline constexpr std::uint32_t DOCHOSTUIFLAG_URL_ENCODING_ENABLE_UTF8 = 0x2000;
inline constexpr std::uint32_t DOCHOSTUIFLAG_ENABLE_FORMS_AUTOCOMPLETE = 0x4000;
inline constexpr std::uint32_t DOCHOSTUIFLAG_ENABLE_INPLACE_NAVIGATION = 0x10000;
inline constexpr std::uint32_t DOCHOSTUIFLAG_IME_ENABLE_RECONVERSION = 0x20000;
inline constexpr std::uint32_t DOCHOSTUIFLAG_THEME = 0x40000;
inline constexpr std::uint32_t DOCHOSTUIFLAG_NOTHEME = 0x80000;
inline constexpr std::uint32_t DOCHOSTUIFLAG_NOPICS = 0x100000;
inline constexpr std::uint32_t DOCHOSTUIFLAG_NO3DOUTERBORDER = 0x200000;
inline constexpr std::uint32_t DOCHOSTUIFLAG_DISABLE_EDIT_NS_FIXUP = 0x400000;
inline constexpr std::uint32_t DOCHOSTUIFLAG_LOCAL_MACHINE_ACCESS_CHECK = 0x800000;
inline constexpr std::uint32_t DOCHOSTUIFLAG_DISABLE_UNTRUSTEDPROTOCOL = 0x1000000;
inline constexpr std::uint32_t DOCHOSTUIFLAG_HOST_NAVIGATES = 0x2000000;
inline constexpr std::uint32_t DOCHOSTUIFLAG_ENABLE_REDIRECT_NOTIFICATION = 0x4000000;
inline constexpr std::uint32_t DOCHOSTUIFLAG_USE_WINDOWLESS_SELECTCONTROL = 0x8000000;
inline constexpr std::uint32_t DOCHOSTUIFLAG_USE_WINDOWED_SELECTCONTROL = 0x10000000;
inline constexpr std::uint32_t DOCHOSTUIFLAG_ENABLE_ACTIVEX_INACTIVATE_MODE = 0x20000000;

inline constexpr std::uint32_t DLCTL_DLIMAGES = 0x10;
inline constexpr std::uint32_t DLCTL_VIDEOS = 0x20;
inline constexpr std::uint32_t DLCTL_BGSOUNDS = 0x40;
inline constexpr std::uint32_t DLCTL_NO_SCRIPTS = 0x80;
inline constexpr std::uint32_t DLCTL_NO_JAVA = 0x100;
inline constexpr std::uint32_t DLCTL_NO_RUNACTIVEXCTLS = 0x200;
inline constexpr std::uint32_t DLCTL_NO_DLACTIVEXCTLS = 0x400;
inline constexpr std::uint32_t DLCTL_DOWNLOADONLY = 0x800;
inline constexpr std::uint32_t DLCTL_NO_FRAMEDOWNLOAD = 0x1000;
inline constexpr std::uint32_t DLCTL_RESYNCHRONIZE = 0x2000;
inline constexpr std::uint32_t DLCTL_PRAGMA_NO_CACHE = 0x4000;
inline constexpr std::uint32_t DLCTL_NO_BEHAVIORS = 0x8000;
inline constexpr std::uint32_t DLCTL_NO_METACHARSET = 0x10000;
inline constexpr std::uint32_t DLCTL_URL_ENCODING_DISABLE_UTF8 = 0x20000;
inline constexpr std::uint32_t DLCTL_URL_ENCODING_ENABLE_UTF8 = 0x40000;
inline constexpr std::uint32_t DLCTL_FORCEOFFLINE = 0x10000000;
inline constexpr std::uint32_t DLCTL_NO_CLIENTPULL = 0x20000000;
inline constexpr std::uint32_t DLCTL_SILENT = 0x40000000;
inline constexpr std::uint32_t DLCTL_OFFLINE = 0x80000000;

// What the control does when its host answers no download flags.
inline constexpr std::uint32_t DLCTL_CONTROL_DEFAULT = DLCTL_DLIMAGES | DLCTL_VIDEOS | DLCTL_BGSOUNDS;

} // namespace vocab

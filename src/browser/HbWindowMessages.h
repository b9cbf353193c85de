#pragma once

// The window messages the browser component's window procedure knows, and
// the message record it takes. The component builds the record from the Qt
// event that stands in for each message (see THostedBrowser::event and the
// component's window events in HostedBrowserWindow.cpp); a message whose
// result is not 0, or that is kept from the inherited handling, keeps its
// event from its widget.

#include <Qt>

#include <cstdint>

namespace vocab {

inline constexpr std::uint32_t WM_SIZE = 0x0005;
inline constexpr std::uint32_t WM_ACTIVATE = 0x0006;
inline constexpr std::uint32_t WM_SETFOCUS = 0x0007;
inline constexpr std::uint32_t WM_CLOSE = 0x0010;
inline constexpr std::uint32_t WM_WINDOWPOSCHANGING = 0x0046;
inline constexpr std::uint32_t WM_GETDLGCODE = 0x0087;
inline constexpr std::uint32_t WM_COMMAND = 0x0111;
inline constexpr std::uint32_t WM_PARENTNOTIFY = 0x0210;
inline constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr std::uint32_t WM_FOCUSDOCUMENT = 0x0444;
inline constexpr std::uint32_t CM_DIALOGCHAR = 0xB006;
inline constexpr std::uint32_t CM_VISIBLECHANGED = 0xB00B;
inline constexpr std::uint32_t CM_DOCWINDOWACTIVATE = 0xB02B;
inline constexpr std::uint32_t CN_KEYDOWN = 0xBD00;
inline constexpr std::uint32_t CN_KEYUP = 0xBD01;

inline constexpr std::intptr_t DLGC_WANTCHARS = 0x80;
inline constexpr std::uint32_t SWP_NOSIZE = 0x1;
inline constexpr std::uint32_t SWP_NOMOVE = 0x2;

// A message to the component's window. For a key message WParam is the
// virtual key and LParam the key data (scan code in bits 16 to 23); for
// WM_PARENTNOTIFY of a button press WParam is the press's message and
// LParam the point, x in the low word and y in the high one.
struct TMessage {
    std::uint32_t Msg = 0;
    std::uintptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
    // The modifier keys held when the message arose.
    Qt::KeyboardModifiers keyState;
};

// The position record of WM_WINDOWPOSCHANGING, its address in LParam.
struct WINDOWPOS {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    std::uint32_t flags = 0;
};

inline std::intptr_t MakeLParam(int low, int high)
{
    return static_cast<std::intptr_t>(static_cast<std::int32_t>(
        (static_cast<std::uint32_t>(static_cast<std::uint16_t>(high)) << 16) | static_cast<std::uint16_t>(low)));
}

} // namespace vocab

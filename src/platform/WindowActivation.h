#pragma once

// Giving a window the keyboard in answer to the user's input that the window
// itself never received, such as a global hot key, whose press the key grab
// keeps from every window. The X server and window managers refuse a request
// for the focus that carries a time older than the last change of focus, and
// a window's own last known time is older whenever the user has been working
// in another program meanwhile: the request must carry the time of the
// user's input that asked for it.

#include <cstdint>

class QWidget;

namespace vocab {

// Whether a window manager runs on the X display and takes requests to
// activate a window (_NET_SUPPORTING_WM_CHECK names a live window of its
// own, and _NET_SUPPORTED holds _NET_ACTIVE_WINDOW).
bool WindowManagerActivates();

// Asks for the keyboard for `window`'s top-level window with the X server
// time `userTime` of the input that asked for it: through the window
// manager (_NET_ACTIVE_WINDOW, from a source acting for the user) when one
// runs, else from the X server directly. The window must be shown. False,
// asking nothing, without an X connection or a time; the caller then
// activates the window the toolkit's way.
bool ActivateWindowForUserInput(QWidget *window, std::uint32_t userTime);

} // namespace vocab

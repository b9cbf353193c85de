#pragma once

// Commands sent to a window as the browser's own window takes them: the
// command id and its parameter go to the window in a WindowCommandEvent,
// which a browser component turns into WM_COMMAND for its window procedure
// (so its OnMessage sees it) and then answers from a small table. Sending
// waits for the answer.

#include <QEvent>
#include <QString>

#include <cstdint>

class QWidget;

namespace vocab {

// Commands of the browser's own window.
inline constexpr int IE_CMD_ADDRESS = 275;          // belongs to whoever receives it; nothing here answers it
inline constexpr int IE_CMD_DESKTOPSHORTCUT = 284;  // a shortcut to the page on the desktop
inline constexpr int IE_CMD_ABOUT = 336;            // the about box
inline constexpr int IE_CMD_IMPORTEXPORT = 374;     // the import and export wizard, which there is none of here

class WindowCommandEvent : public QEvent {
public:
    WindowCommandEvent(std::uintptr_t wParam, std::intptr_t lParam) : QEvent(eventType()), WParam(wParam), LParam(lParam) {}
    static QEvent::Type eventType();

    std::uintptr_t WParam;
    std::intptr_t LParam;
    // The window's answer.
    std::intptr_t Result = 0;
};

// Sends the command to the window and answers its result: 0 when there is
// no window or it takes no commands.
std::intptr_t SendCommandMessage(QWidget *Window, std::uintptr_t Command, std::intptr_t LParam = 0);

// Puts a link to the address on the desktop (the user's desktop folder), as
// a desktop entry named after the page; a name taken already gets a number.
// The path of the file written; empty when there is no address or the file
// cannot be written.
QString CreateDesktopLink(const QString &Name, const QString &Url);

} // namespace vocab

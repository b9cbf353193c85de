#include "KeyboardLayoutWatcher.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>

#include <xcb/xcb.h>
// The XKB header names a field "explicit", which C++ reserves.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

namespace vocab {

namespace {

// Group changes of any kind: the effective, base, latched and locked group.
constexpr std::uint16_t GroupParts = XCB_XKB_STATE_PART_GROUP_STATE | XCB_XKB_STATE_PART_GROUP_BASE
    | XCB_XKB_STATE_PART_GROUP_LATCH | XCB_XKB_STATE_PART_GROUP_LOCK;

} // namespace

KeyboardLayoutWatcher::KeyboardLayoutWatcher(QObject *parent) : QObject(parent)
{
    // Qt's connection already asks for the XKB state notifications it needs
    // for its own keyboard handling; they pass this filter on their way.
    // Asking again here would change what Qt is sent.
    auto *x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (xcb_connection_t *c = x11 ? x11->connection() : nullptr) {
        const xcb_query_extension_reply_t *xkb = xcb_get_extension_data(c, &xcb_xkb_id);
        if (xkb && xkb->present)
            m_xkbFirstEvent = xkb->first_event;
    }
    if (QCoreApplication *app = QCoreApplication::instance()) {
        app->installNativeEventFilter(this);
        app->installEventFilter(this);
    }
}

KeyboardLayoutWatcher::~KeyboardLayoutWatcher()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool KeyboardLayoutWatcher::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (m_xkbFirstEvent == 0 || eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7F) != m_xkbFirstEvent)
        return false;
    // Every XKB event starts with its own kind in the second byte.
    const auto *xkb = static_cast<const xcb_xkb_state_notify_event_t *>(message);
    if (xkb->xkbType == XCB_XKB_STATE_NOTIFY && (xkb->changed & GroupParts))
        Q_EMIT layoutChanged();
    else if (xkb->xkbType == XCB_XKB_NEW_KEYBOARD_NOTIFY || xkb->xkbType == XCB_XKB_MAP_NOTIFY)
        Q_EMIT layoutChanged(); // a new set of layouts (setxkbmap)
    return false;
}

bool KeyboardLayoutWatcher::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::KeyboardLayoutChange)
        Q_EMIT layoutChanged();
    return false;
}

} // namespace vocab

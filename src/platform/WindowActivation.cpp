#include "WindowActivation.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace vocab {

namespace {

template <class T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_connection_t *x11Connection()
{
    auto *x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootWindow(xcb_connection_t *c)
{
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::uint16_t(std::strlen(name)), name), nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The first window a WINDOW property names; none without the property.
xcb_window_t windowProperty(xcb_connection_t *c, xcb_window_t window, xcb_atom_t property)
{
    Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, XCB_ATOM_WINDOW, 0, 1), nullptr), &std::free);
    if (!reply || reply->type != XCB_ATOM_WINDOW || xcb_get_property_value_length(reply.get()) < 4)
        return XCB_NONE;
    return *static_cast<const xcb_window_t *>(xcb_get_property_value(reply.get()));
}

bool windowManagerActivates(xcb_connection_t *c)
{
    const xcb_window_t root = rootWindow(c);
    const xcb_atom_t check = atom(c, "_NET_SUPPORTING_WM_CHECK");
    // A window manager that has gone leaves the root's property behind; its
    // own window, which names itself, goes with it.
    const xcb_window_t wm = windowProperty(c, root, check);
    if (wm == XCB_NONE || windowProperty(c, wm, check) != wm)
        return false;
    Reply<xcb_get_property_reply_t> supported(
        xcb_get_property_reply(c, xcb_get_property(c, 0, root, atom(c, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 0, 4096),
                               nullptr),
        &std::free);
    if (!supported || supported->type != XCB_ATOM_ATOM)
        return false;
    const xcb_atom_t active = atom(c, "_NET_ACTIVE_WINDOW");
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(supported.get()));
    const int count = xcb_get_property_value_length(supported.get()) / 4;
    for (int i = 0; i < count; ++i)
        if (atoms[i] == active)
            return true;
    return false;
}

} // namespace

bool WindowManagerActivates()
{
    xcb_connection_t *c = x11Connection();
    return c && windowManagerActivates(c);
}

bool ActivateWindowForUserInput(QWidget *window, std::uint32_t userTime)
{
    xcb_connection_t *c = x11Connection();
    QWidget *topLevel = window ? window->window() : nullptr;
    const QWindow *handle = topLevel ? topLevel->windowHandle() : nullptr;
    if (!c || !handle || userTime == 0)
        return false;
    const auto xWindow = static_cast<xcb_window_t>(handle->winId());
    if (windowManagerActivates(c)) {
        // The user's last input in this window is the press: a window
        // manager that weighs requests by it sees one made just now.
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, xWindow, atom(c, "_NET_WM_USER_TIME"), XCB_ATOM_CARDINAL, 32, 1,
                            &userTime);
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = xWindow;
        message.type = atom(c, "_NET_ACTIVE_WINDOW");
        // Source 2: asked for directly by the user, as from a pager or a
        // task bar; the hot key is a key the user pressed for this window.
        message.data.data32[0] = 2;
        message.data.data32[1] = userTime;
        message.data.data32[2] = XCB_NONE;
        xcb_send_event(c, 0, rootWindow(c),
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char *>(&message));
    } else {
        // Without a window manager the server itself moves the focus. The
        // window was mapped by the show before this, on the same connection,
        // so it is viewable by the time the server reads this request.
        xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, xWindow, userTime);
    }
    xcb_flush(c);
    return true;
}

} // namespace vocab

#pragma once

// Input through the real X server, as a user's mouse and keyboard give it:
// XTest events sent on a connection of the test's own, so that they reach
// the program the way xdotool's do, grabs, focus and all. Also a small
// window of the test's own, standing for another program, and the server's
// answers the tests wait on.

#include <xcb/xcb.h>
#include <xcb/xproto.h>
#include <xcb/xtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace vocab::test {

template <class T>
using XReply = std::unique_ptr<T, decltype(&std::free)>;

class XInput {
public:
    XInput() : m_c(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(m_c))
            return;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root;
    }
    ~XInput()
    {
        xcb_disconnect(m_c); // its windows go with it
    }
    XInput(const XInput &) = delete;
    XInput &operator=(const XInput &) = delete;

    bool ok() const { return !xcb_connection_has_error(m_c); }
    xcb_connection_t *connection() const { return m_c; }
    xcb_window_t root() const { return m_root; }

    void movePointer(int x, int y) { fake(XCB_MOTION_NOTIFY, 0, m_root, x, y); }
    void button(std::uint8_t number, bool down) { fake(down ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE, number); }
    void click(std::uint8_t number)
    {
        button(number, true);
        button(number, false);
    }
    void key(xcb_keycode_t keycode, bool down) { fake(down ? XCB_KEY_PRESS : XCB_KEY_RELEASE, keycode); }

    // Presses the keys in order and releases them in the reverse order.
    void chord(const std::vector<xcb_keycode_t> &keys)
    {
        for (const xcb_keycode_t k : keys)
            key(k, true);
        for (auto it = keys.rbegin(); it != keys.rend(); ++it)
            key(*it, false);
    }

    // The key that carries `keysym` in the first column of the mapping now in force.
    xcb_keycode_t keycode(xcb_keysym_t keysym) const
    {
        const xcb_setup_t *setup = xcb_get_setup(m_c);
        const int count = setup->max_keycode - setup->min_keycode + 1;
        XReply<xcb_get_keyboard_mapping_reply_t> reply(
            xcb_get_keyboard_mapping_reply(m_c, xcb_get_keyboard_mapping(m_c, setup->min_keycode, std::uint8_t(count)),
                                           nullptr),
            &std::free);
        if (!reply)
            return 0;
        const xcb_keysym_t *syms = xcb_get_keyboard_mapping_keysyms(reply.get());
        for (int k = 0; k < count; ++k)
            if (syms[k * reply->keysyms_per_keycode] == keysym)
                return xcb_keycode_t(setup->min_keycode + k);
        return 0;
    }

    // The window that has the keyboard focus now.
    xcb_window_t focus() const
    {
        XReply<xcb_get_input_focus_reply_t> reply(xcb_get_input_focus_reply(m_c, xcb_get_input_focus(m_c), nullptr),
                                                  &std::free);
        return reply ? reply->focus : XCB_NONE;
    }

    // Whether `window` is mapped and viewable.
    bool viewable(xcb_window_t window) const
    {
        XReply<xcb_get_window_attributes_reply_t> reply(
            xcb_get_window_attributes_reply(m_c, xcb_get_window_attributes(m_c, window), nullptr), &std::free);
        return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
    }

    // The window `window` is a child of; none when it has gone.
    xcb_window_t parent(xcb_window_t window) const
    {
        XReply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(m_c, xcb_query_tree(m_c, window), nullptr), &std::free);
        return tree ? tree->parent : XCB_NONE;
    }

    // A plain window of this connection, standing for another program's,
    // mapped at (x, y).
    xcb_window_t otherWindow(int x, int y, int width, int height)
    {
        if (m_window)
            return m_window;
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data;
        m_window = xcb_generate_id(m_c);
        const std::uint32_t values[] = {screen->white_pixel, XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_FOCUS_CHANGE};
        xcb_create_window(m_c, XCB_COPY_FROM_PARENT, m_window, m_root, std::int16_t(x), std::int16_t(y),
                          std::uint16_t(width), std::uint16_t(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
        const std::string name = "other program";
        xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, m_window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                            std::uint32_t(name.size()), name.data());
        xcb_map_window(m_c, m_window);
        sync();
        return m_window;
    }

    // The focus to this connection's window, with a time the server takes:
    // the time of a property change made just now.
    void focusOtherWindow()
    {
        xcb_set_input_focus(m_c, XCB_INPUT_FOCUS_POINTER_ROOT, m_window, serverTime());
        sync();
    }

    // The server's time now, read from the event of a property change on
    // an unmapped window of this connection's.
    xcb_timestamp_t serverTime()
    {
        if (!m_clock) {
            m_clock = xcb_generate_id(m_c);
            const std::uint32_t mask[] = {XCB_EVENT_MASK_PROPERTY_CHANGE};
            xcb_create_window(m_c, 0, m_clock, m_root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT,
                              XCB_CW_EVENT_MASK, mask);
        }
        xcb_change_property(m_c, XCB_PROP_MODE_APPEND, m_clock, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, "");
        xcb_flush(m_c);
        xcb_timestamp_t time = XCB_CURRENT_TIME;
        while (xcb_generic_event_t *event = xcb_wait_for_event(m_c)) {
            const bool found = (event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY;
            if (found)
                time = reinterpret_cast<xcb_property_notify_event_t *>(event)->time;
            std::free(event);
            if (found)
                break;
        }
        return time;
    }

    // Every request sent so far has been carried out by the server.
    void sync() const { std::free(xcb_get_input_focus_reply(m_c, xcb_get_input_focus(m_c), nullptr)); }

    xcb_atom_t atom(const char *name) const
    {
        XReply<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(m_c, xcb_intern_atom(m_c, 0, std::uint16_t(std::strlen(name)), name), nullptr),
            &std::free);
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    // The first window of a WINDOW property; none when there is no such property.
    xcb_window_t windowProperty(xcb_window_t window, const char *name) const
    {
        XReply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(m_c, xcb_get_property(m_c, 0, window, atom(name), XCB_ATOM_WINDOW, 0, 1), nullptr),
            &std::free);
        if (!reply || xcb_get_property_value_length(reply.get()) < 4)
            return XCB_NONE;
        return *static_cast<const xcb_window_t *>(xcb_get_property_value(reply.get()));
    }

private:
    void fake(std::uint8_t type, std::uint8_t detail, xcb_window_t root = XCB_NONE, int x = 0, int y = 0)
    {
        xcb_test_fake_input(m_c, type, detail, XCB_CURRENT_TIME, root, std::int16_t(x), std::int16_t(y), 0);
        sync();
    }

    xcb_connection_t *m_c;
    xcb_window_t m_root = XCB_NONE;
    xcb_window_t m_window = XCB_NONE;
    xcb_window_t m_clock = XCB_NONE;
};

} // namespace vocab::test

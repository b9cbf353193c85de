#include "GlobalHotKeys.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHash>
#include <QPointer>

#include <xcb/xcb.h>
// The XKB header names a field "explicit", which C++ reserves.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

namespace vocab {

namespace {

// The modifier bits of the X core protocol.
constexpr std::uint16_t ModShift = XCB_MOD_MASK_SHIFT;
constexpr std::uint16_t ModLock = XCB_MOD_MASK_LOCK;
constexpr std::uint16_t ModControl = XCB_MOD_MASK_CONTROL;
constexpr std::uint16_t ModAlt = XCB_MOD_MASK_1;
constexpr std::uint16_t ModNumLock = XCB_MOD_MASK_2;
constexpr std::uint16_t ModSuper = XCB_MOD_MASK_4;
// The bits a chord is told apart by; the lock keys and the pointer buttons
// held do not count.
constexpr std::uint16_t ChordModifiers = ModShift | ModControl | ModAlt | ModSuper;
constexpr std::uint16_t LockVariants[] = {0, ModLock, ModNumLock, ModLock | ModNumLock};

xcb_connection_t *x11Connection()
{
    auto *x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootWindow(xcb_connection_t *c)
{
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

std::uint16_t xModifiers(unsigned modifiers)
{
    std::uint16_t out = 0;
    if (modifiers & MOD_ALT)
        out |= ModAlt;
    if (modifiers & MOD_CONTROL)
        out |= ModControl;
    if (modifiers & MOD_SHIFT)
        out |= ModShift;
    if (modifiers & MOD_WIN)
        out |= ModSuper;
    return out;
}

// The keysym a virtual key stands for: letters by their lower-case keysym,
// which equals the ASCII code, digits likewise; 0 for keys not offered.
xcb_keysym_t keysymOf(unsigned virtualKey)
{
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return virtualKey - 'A' + 'a';
    if (virtualKey >= '0' && virtualKey <= '9')
        return virtualKey;
    return 0;
}

} // namespace

std::uint8_t KeycodeInMapping(std::span<const std::uint32_t> keysyms, int perKey, int firstKeycode, std::uint32_t keysym)
{
    if (perKey <= 0)
        return 0;
    const std::uint32_t upper = keysym >= 'a' && keysym <= 'z' ? keysym - 'a' + 'A' : keysym;
    const int count = static_cast<int>(keysyms.size()) / perKey;
    // Column by column, so that the key of the first layout wins over one
    // that carries the letter only on a later layout.
    for (int column = 0; column < perKey; ++column) {
        for (int k = 0; k < count; ++k) {
            const std::uint32_t sym = keysyms[static_cast<std::size_t>(k * perKey + column)];
            if (sym == keysym || sym == upper)
                return static_cast<std::uint8_t>(firstKeycode + k);
        }
    }
    return 0;
}

namespace {

// The key that carries `keysym` on any layout of the session; 0 when no
// key does. With "ru,us" the Latin letters sit only on the second layout's
// columns, and the chord must still be had.
xcb_keycode_t keycodeOf(xcb_connection_t *c, xcb_keysym_t keysym)
{
    const xcb_setup_t *setup = xcb_get_setup(c);
    const int first = setup->min_keycode;
    const int count = setup->max_keycode - setup->min_keycode + 1;
    auto cookie = xcb_get_keyboard_mapping(c, xcb_keycode_t(first), std::uint8_t(count));
    std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&std::free)> reply(
        xcb_get_keyboard_mapping_reply(c, cookie, nullptr), &std::free);
    if (!reply)
        return 0;
    const xcb_keysym_t *syms = xcb_get_keyboard_mapping_keysyms(reply.get());
    const int length = xcb_get_keyboard_mapping_keysyms_length(reply.get());
    return KeycodeInMapping({syms, static_cast<std::size_t>(length)}, reply->keysyms_per_keycode, first, keysym);
}

struct Chord {
    xcb_keycode_t keycode = 0;
    std::uint16_t modifiers = 0;
    bool operator==(const Chord &) const = default;
};

struct Registration {
    QObject *window = nullptr;
    int id = 0;
    xcb_keysym_t keysym = 0;
    Chord chord; // keycode 0: the mapping in force has no key for the letter
};

// The grabs this program holds, and the filter that turns their key presses
// into hot-key events for the windows that asked for them.
class HotKeyRegistry final : public QAbstractNativeEventFilter {
public:
    bool registerKey(QObject *window, int id, unsigned modifiers, unsigned virtualKey)
    {
        xcb_connection_t *c = x11Connection();
        const xcb_keysym_t keysym = keysymOf(virtualKey);
        if (!c || !window || keysym == 0)
            return false;
        const Chord chord{keycodeOf(c, keysym), xModifiers(modifiers)};
        if (chord.keycode == 0 || chord.modifiers == 0)
            return false;
        for (const Registration &r : m_registrations)
            if (r.chord == chord && !(r.window == window && r.id == id))
                return false;
        unregisterKey(window, id);
        if (!grab(c, chord))
            return false;
        m_registrations.push_back({window, id, keysym, chord});
        watch(window);
        return true;
    }

    std::uint8_t grabbedKeycode(QObject *window, int id) const
    {
        for (const Registration &r : m_registrations)
            if (r.window == window && r.id == id)
                return r.chord.keycode;
        return 0;
    }

    bool unregisterKey(QObject *window, int id)
    {
        for (auto it = m_registrations.begin(); it != m_registrations.end(); ++it) {
            if (it->window != window || it->id != id)
                continue;
            if (xcb_connection_t *c = x11Connection(); c && it->chord.keycode != 0)
                ungrab(c, it->chord);
            m_registrations.erase(it);
            unwatchIfUnused(window);
            return true;
        }
        return false;
    }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (m_registrations.empty() || eventType != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        const std::uint8_t type = event->response_type & 0x7F;
        if (isMappingChange(event, type)) {
            regrabSoon();
            return false; // Qt follows the new mapping too
        }
        if (type != XCB_KEY_PRESS)
            return false;
        const auto *press = static_cast<const xcb_key_press_event_t *>(message);
        const Chord pressed{press->detail, std::uint16_t(press->state & ChordModifiers)};
        for (const Registration &r : m_registrations) {
            if (r.chord.keycode != 0 && r.chord == pressed) {
                QCoreApplication::postEvent(r.window, new HotKeyEvent(r.id, press->time));
                return true;
            }
        }
        return false;
    }

private:
    // The core protocol's notice, and the keyboard extension's, which takes
    // its place for a client that uses the extension, as Qt does.
    bool isMappingChange(const xcb_generic_event_t *event, std::uint8_t type)
    {
        if (type == XCB_MAPPING_NOTIFY)
            return reinterpret_cast<const xcb_mapping_notify_event_t *>(event)->request == XCB_MAPPING_KEYBOARD;
        if (m_xkbFirstEvent < 0) {
            xcb_connection_t *c = x11Connection();
            const xcb_query_extension_reply_t *xkb = c ? xcb_get_extension_data(c, &xcb_xkb_id) : nullptr;
            m_xkbFirstEvent = xkb && xkb->present ? xkb->first_event : 0;
        }
        if (m_xkbFirstEvent == 0 || type != m_xkbFirstEvent)
            return false;
        const std::uint8_t xkbType = reinterpret_cast<const xcb_xkb_new_keyboard_notify_event_t *>(event)->xkbType;
        return xkbType == XCB_XKB_NEW_KEYBOARD_NOTIFY || xkbType == XCB_XKB_MAP_NOTIFY;
    }

    // One change of layouts comes as several notices: the keys are grabbed
    // again once, after them.
    void regrabSoon()
    {
        if (m_regrabPending)
            return;
        m_regrabPending = true;
        QMetaObject::invokeMethod(QCoreApplication::instance(), [this] {
            m_regrabPending = false;
            regrab();
        }, Qt::QueuedConnection);
    }

    // Each chord moves to the key that carries its letter now. One whose
    // new key another program holds, or that no key carries, waits for the
    // next change; its presses are not delivered meanwhile.
    void regrab()
    {
        xcb_connection_t *c = x11Connection();
        if (!c)
            return;
        for (Registration &r : m_registrations) {
            const Chord now{keycodeOf(c, r.keysym), r.chord.modifiers};
            if (now == r.chord)
                continue;
            if (r.chord.keycode != 0)
                ungrab(c, r.chord);
            r.chord = now.keycode != 0 && grab(c, now) ? now : Chord{0, now.modifiers};
        }
    }

    // All four lock variants or none: a chord that works only with Caps
    // Lock off would puzzle more than one that is refused.
    static bool grab(xcb_connection_t *c, const Chord &chord)
    {
        const xcb_window_t root = rootWindow(c);
        std::vector<xcb_void_cookie_t> cookies;
        for (const std::uint16_t lock : LockVariants)
            cookies.push_back(xcb_grab_key_checked(c, 1, root, chord.modifiers | lock, chord.keycode,
                                                   XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        bool held = true;
        for (const xcb_void_cookie_t &cookie : cookies) {
            // BadAccess: another program holds this variant.
            if (xcb_generic_error_t *error = xcb_request_check(c, cookie)) {
                held = false;
                std::free(error);
            }
        }
        if (!held)
            ungrab(c, chord);
        xcb_flush(c);
        return held;
    }

    // Released once this returns, so that another program may take the chord
    // at once. Releasing a variant another program holds does nothing.
    static void ungrab(xcb_connection_t *c, const Chord &chord)
    {
        const xcb_window_t root = rootWindow(c);
        std::vector<xcb_void_cookie_t> cookies;
        for (const std::uint16_t lock : LockVariants)
            cookies.push_back(xcb_ungrab_key_checked(c, chord.keycode, root, chord.modifiers | lock));
        for (const xcb_void_cookie_t &cookie : cookies)
            std::free(xcb_request_check(c, cookie));
    }

    void watch(QObject *window)
    {
        if (!m_installed) {
            QCoreApplication::instance()->installNativeEventFilter(this);
            m_installed = true;
        }
        if (m_watched.contains(window))
            return;
        // A window that goes takes its hot keys with it.
        m_watched.insert(window, QObject::connect(window, &QObject::destroyed, [this, window] {
            m_watched.remove(window);
            std::erase_if(m_registrations, [&](const Registration &r) {
                if (r.window != window)
                    return false;
                if (xcb_connection_t *c = x11Connection(); c && r.chord.keycode != 0)
                    ungrab(c, r.chord);
                return true;
            });
        }));
    }

    void unwatchIfUnused(QObject *window)
    {
        for (const Registration &r : m_registrations)
            if (r.window == window)
                return;
        QObject::disconnect(m_watched.take(window));
    }

    std::vector<Registration> m_registrations;
    QHash<QObject *, QMetaObject::Connection> m_watched;
    bool m_installed = false;
    bool m_regrabPending = false;
    int m_xkbFirstEvent = -1; // not looked up yet
};

HotKeyRegistry &registry()
{
    static HotKeyRegistry instance;
    return instance;
}

} // namespace

QEvent::Type HotKeyEvent::eventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

bool RegisterHotKey(QObject *window, int id, unsigned modifiers, unsigned virtualKey)
{
    return registry().registerKey(window, id, modifiers, virtualKey);
}

bool UnregisterHotKey(QObject *window, int id)
{
    return registry().unregisterKey(window, id);
}

std::uint8_t HotKeyKeycode(QObject *window, int id)
{
    return registry().grabbedKeycode(window, id);
}

} // namespace vocab

#include "KeyboardLayout.h"

#include <QGuiApplication>

#include <xcb/xcb.h>
// The XKB header names a field "explicit", which C++ reserves.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

#include <cstdlib>

namespace vocab {

namespace {

xcb_connection_t *connection()
{
    auto *x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11)
        return nullptr;
    xcb_connection_t *c = x11->connection();
    static bool ready = false;
    if (c && !ready) {
        auto cookie = xcb_xkb_use_extension(c, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION);
        xcb_xkb_use_extension_reply_t *reply = xcb_xkb_use_extension_reply(c, cookie, nullptr);
        ready = reply && reply->supported;
        std::free(reply);
    }
    return ready ? c : nullptr;
}

// The rules names the session's keymap was made from: rules, model, layout,
// variant and options, each ended by a NUL.
QStringList rulesNames(xcb_connection_t *c)
{
    static const char name[] = "_XKB_RULES_NAMES";
    auto atomCookie = xcb_intern_atom(c, 1, sizeof name - 1, name);
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(c, atomCookie, nullptr);
    if (!atom)
        return {};
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    auto propCookie = xcb_get_property(c, 0, root, atom->atom, XCB_ATOM_STRING, 0, 1024);
    std::free(atom);
    xcb_get_property_reply_t *prop = xcb_get_property_reply(c, propCookie, nullptr);
    if (!prop)
        return {};
    const QByteArray bytes(static_cast<const char *>(xcb_get_property_value(prop)), xcb_get_property_value_length(prop));
    std::free(prop);
    QStringList out;
    for (const QByteArray &part : bytes.split('\0'))
        out.append(QString::fromLatin1(part));
    return out;
}

std::uint32_t handleForId(const QString &layoutId)
{
    bool ok = false;
    const std::uint32_t lang = layoutId.toUInt(&ok, 16) & 0xFFFF;
    return ok ? (lang << 16 | lang) : 0;
}

} // namespace

QStringList KeyboardLayout::groups()
{
    xcb_connection_t *c = connection();
    if (!c)
        return {};
    const QStringList names = rulesNames(c);
    if (names.size() < 3)
        return {};
    return names[2].split(u',');
}

std::uint32_t KeyboardLayout::handleForLayoutName(const QString &name)
{
    if (name == u"ru")
        return 0x04190419;
    if (name == u"us")
        return 0x04090409;
    return 0;
}

bool KeyboardLayout::activate(const QString &layoutId)
{
    xcb_connection_t *c = connection();
    if (!c)
        return false;
    const std::uint32_t wanted = handleForId(layoutId);
    const QStringList layouts = groups();
    for (int group = 0; group < layouts.size(); ++group) {
        if (handleForLayoutName(layouts[group].trimmed()) != wanted)
            continue;
        auto cookie = xcb_xkb_latch_lock_state_checked(c, XCB_XKB_ID_USE_CORE_KBD, 0, 0, 1, std::uint8_t(group), 0, 0, 0);
        xcb_generic_error_t *error = xcb_request_check(c, cookie);
        const bool done = !error;
        std::free(error);
        return done;
    }
    return false;
}

std::uint32_t KeyboardLayout::current()
{
    xcb_connection_t *c = connection();
    if (!c)
        return 0;
    xcb_xkb_get_state_reply_t *state = xcb_xkb_get_state_reply(c, xcb_xkb_get_state(c, XCB_XKB_ID_USE_CORE_KBD), nullptr);
    if (!state)
        return 0;
    const int group = state->group;
    std::free(state);
    const QStringList layouts = groups();
    return group < layouts.size() ? handleForLayoutName(layouts[group].trimmed()) : 0;
}

} // namespace vocab

#pragma once

// Global hot keys: a key chord that reaches this program whatever window has
// the keyboard, keyed by an id the window chooses. A window registers a chord
// with RegisterHotKey and receives a HotKeyEvent carrying the id each time
// the chord is pressed, until it calls UnregisterHotKey or is destroyed.
//
// Under X the chord is a passive grab of the key on the root window. X
// matches a grab on the exact modifier state, so each chord is grabbed also
// with Caps Lock and Num Lock on, and the key goes by its place on the first
// layout of the session that has the letter, so Ctrl+Shift+C works as well
// under a Russian layout. When the keyboard's mapping changes (another set
// of layouts, xmodmap) the chord is grabbed again on the key that carries
// the letter now. A chord that another program holds cannot be had; without an X
// connection (Wayland, offscreen) there are no global hot keys at all. Both
// make RegisterHotKey answer false and change nothing.

#include <QEvent>

#include <cstdint>
#include <span>

namespace vocab {

// Modifiers as the registration takes them.
inline constexpr unsigned MOD_ALT = 0x1;
inline constexpr unsigned MOD_CONTROL = 0x2;
inline constexpr unsigned MOD_SHIFT = 0x4;
inline constexpr unsigned MOD_WIN = 0x8;

// Registers the chord `modifiers` + `virtualKey` (a letter 'A'..'Z' or a digit
// '0'..'9', as its virtual-key code) under `id` for `window`. A chord already
// registered in this program, under any id, or grabbed by another program is
// refused. Registering an id again replaces its chord. True when it holds.
bool RegisterHotKey(QObject *window, int id, unsigned modifiers, unsigned virtualKey);

// Releases the chord of `id` for `window`; false when there was none.
bool UnregisterHotKey(QObject *window, int id);

// The key the chord of `id` is grabbed on now; 0 when it is not registered
// or the mapping in force has no key for its letter.
std::uint8_t HotKeyKeycode(QObject *window, int id);

// The key code that carries `keysym` (a letter by its lower-case keysym) in
// a keyboard mapping of `perKey` keysyms per key starting at `firstKeycode`,
// preferring the earliest column; 0 when no key carries it.
std::uint8_t KeycodeInMapping(std::span<const std::uint32_t> keysyms, int perKey, int firstKeycode, std::uint32_t keysym);

// The chord of a registered hot key was pressed. Posted to the window that
// registered it, so it arrives after the key press has been handled.
// `timestamp` is the press's time on the X server: a window that asks for
// the keyboard in answer must give that time, as the press itself never
// reached it (0 when unknown).
class HotKeyEvent : public QEvent {
public:
    explicit HotKeyEvent(int id, std::uint32_t timestamp = 0) : QEvent(eventType()), m_id(id), m_timestamp(timestamp) {}
    int id() const { return m_id; }
    std::uint32_t timestamp() const { return m_timestamp; }
    static QEvent::Type eventType();

private:
    int m_id;
    std::uint32_t m_timestamp;
};

} // namespace vocab

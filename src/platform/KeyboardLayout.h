#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace vocab {

// Keyboard layouts of the X session, named the way the viewer's options and
// labels think of them: layout identifiers such as "00000419" (Russian) and
// layout handles whose low and high words are both the language
// (0x04190419 Russian, 0x04090409 US English).
//
// A layout switch locks the XKB group of the whole display, so it reaches
// every program, not just this one; that is how layouts work under X. Without
// an X connection (Wayland, offscreen) there are no layouts: nothing switches
// and the current layout is 0.
namespace KeyboardLayout {

// Layout names of the session's XKB groups, e.g. {"us", "ru"}.
QStringList groups();

// Switches to the layout with this identifier when the session has it.
bool activate(const QString &layoutId);

// The handle of the layout in force, 0 when unknown.
std::uint32_t current();

// The language of an XKB layout name as a handle: "ru" → 0x04190419,
// "us" → 0x04090409; 0 for layouts the viewer does not name.
std::uint32_t handleForLayoutName(const QString &name);

} // namespace KeyboardLayout

} // namespace vocab

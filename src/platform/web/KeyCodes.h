#pragma once

// Key events as the browser's host reads them: virtual-key codes that name
// the key's place on a standard keyboard, so that Ctrl+N is the same key
// under a Russian layout as under an English one.

#include "ComTypes.h"

#include <Qt>

#include <cstdint>

class QKeyEvent;
class QWidget;

namespace vocab {

inline constexpr std::uint32_t VK_F1 = 0x70;
inline constexpr std::uint32_t VK_RETURN = 0x0D;

// The virtual-key code of a key, 0 for a key without one. `nativeScanCode`
// is the X keycode when the platform gives one, 0 otherwise.
std::uint32_t virtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers, std::uint32_t nativeScanCode);

// The key message of a key press or release aimed at `target`.
TMsg keyMessageOf(const QKeyEvent &event, QWidget *target);

// The MK_* state of a drag from the buttons and modifiers held.
int dragKeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

} // namespace vocab

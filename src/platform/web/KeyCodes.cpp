#include "KeyCodes.h"

#include <QKeyEvent>

#include <array>
#include <utility>

namespace vocab {

namespace {

// Keys whose code does not depend on the layout.
constexpr std::array<std::pair<int, std::uint32_t>, 27> SpecialKeys{{
    {Qt::Key_Backspace, 0x08}, {Qt::Key_Tab, 0x09},      {Qt::Key_Backtab, 0x09}, {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN}, {Qt::Key_Shift, 0x10},   {Qt::Key_Control, 0x11}, {Qt::Key_Alt, 0x12},
    {Qt::Key_Pause, 0x13},     {Qt::Key_CapsLock, 0x14}, {Qt::Key_Escape, 0x1B},  {Qt::Key_Space, 0x20},
    {Qt::Key_PageUp, 0x21},    {Qt::Key_PageDown, 0x22}, {Qt::Key_End, 0x23},     {Qt::Key_Home, 0x24},
    {Qt::Key_Left, 0x25},      {Qt::Key_Up, 0x26},       {Qt::Key_Right, 0x27},   {Qt::Key_Down, 0x28},
    {Qt::Key_Print, 0x2C},     {Qt::Key_Insert, 0x2D},   {Qt::Key_Delete, 0x2E},  {Qt::Key_Meta, 0x5B},
    {Qt::Key_Menu, 0x5D},      {Qt::Key_NumLock, 0x90},  {Qt::Key_ScrollLock, 0x91},
}};

// Punctuation keys of the US layout.
constexpr std::array<std::pair<int, std::uint32_t>, 12> PunctuationKeys{{
    {Qt::Key_Semicolon, 0xBA}, {Qt::Key_Equal, 0xBB},       {Qt::Key_Plus, 0xBB},      {Qt::Key_Comma, 0xBC},
    {Qt::Key_Minus, 0xBD},     {Qt::Key_Period, 0xBE},      {Qt::Key_Slash, 0xBF},     {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_BracketLeft, 0xDB}, {Qt::Key_Backslash, 0xDC}, {Qt::Key_BracketRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE},
}};

// X keycodes of the character keys of a standard keyboard, whatever symbol
// the layout puts on them: index = keycode - 10, from the "1" key on.
constexpr std::array<std::uint32_t, 52> KeycodeToVk{
    '1', '2', '3', '4', '5', '6', '7', '8', '9', '0', 0xBD, 0xBB, // 10..21
    0,   0,                                                       // 22 Backspace, 23 Tab
    'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P', 0xDB, 0xDD, // 24..35
    0,   0,                                                       // 36 Return, 37 Control
    'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L', 0xBA, 0xDE, 0xC0, // 38..49
    0,   0xDC,                                                    // 50 Shift, 51 backslash
    'Z', 'X', 'C', 'V', 'B', 'N', 'M', 0xBC, 0xBE, 0xBF,          // 52..61
};

template <std::size_t N>
std::uint32_t lookUp(const std::array<std::pair<int, std::uint32_t>, N> &table, int key)
{
    for (const auto &[qtKey, vk] : table)
        if (qtKey == key)
            return vk;
    return 0;
}

} // namespace

std::uint32_t virtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers, std::uint32_t nativeScanCode)
{
    if (const std::uint32_t vk = lookUp(SpecialKeys, qtKey))
        return vk;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return VK_F1 + static_cast<std::uint32_t>(qtKey - Qt::Key_F1);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return (modifiers & Qt::KeypadModifier) ? 0x60 + static_cast<std::uint32_t>(qtKey - Qt::Key_0)
                                                : static_cast<std::uint32_t>(qtKey);
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return static_cast<std::uint32_t>(qtKey);
    // A letter of another layout: the key's place decides.
    if (nativeScanCode >= 10 && nativeScanCode - 10 < KeycodeToVk.size())
        if (const std::uint32_t vk = KeycodeToVk[nativeScanCode - 10])
            return vk;
    return lookUp(PunctuationKeys, qtKey);
}

TMsg keyMessageOf(const QKeyEvent &event, QWidget *target)
{
    const bool press = event.type() == QEvent::KeyPress || event.type() == QEvent::ShortcutOverride;
    const Qt::KeyboardModifiers mods = event.modifiers();
    const bool system = (mods & Qt::AltModifier) && !(mods & Qt::ControlModifier);
    TMsg msg;
    msg.hwnd = target;
    msg.message = press ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    msg.wParam = virtualKeyOf(event.key(), mods, event.nativeScanCode());
    // Repeat count, scan code in bits 16-23, and for a release the previous-state and transition bits.
    const std::uint32_t scan = event.nativeScanCode() >= 8 ? (event.nativeScanCode() - 8) & 0xFF : 0;
    std::uint32_t lParam = 1u | (scan << 16);
    if (!press)
        lParam |= 0xC0000000u;
    msg.lParam = static_cast<std::intptr_t>(static_cast<std::int32_t>(lParam));
    msg.keyState = mods;
    return msg;
}

int dragKeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    int state = 0;
    if (buttons & Qt::LeftButton)
        state |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        state |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        state |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        state |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        state |= MK_CONTROL;
    if (modifiers & Qt::AltModifier)
        state |= MK_ALT;
    return state;
}

} // namespace vocab

// Virtual-key codes and key messages made from Qt key events.

#include "KeyCodes.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

using namespace vocab;

TEST(VirtualKey, NamesTheKeysPlaceWhateverTheLayout)
{
    struct Case {
        const char *what;
        int key;
        Qt::KeyboardModifiers modifiers;
        std::uint32_t scanCode;
        std::uint32_t vk;
    };
    const Case cases[] = {
        {"Latin letter", Qt::Key_N, Qt::NoModifier, 0, 'N'},
        {"Cyrillic letter on the N key", 0x0422, Qt::NoModifier, 57, 'N'},
        {"Cyrillic letter on the Q key", 0x0419, Qt::NoModifier, 24, 'Q'},
        {"Cyrillic letter with no key place", 0x0422, Qt::NoModifier, 0, 0},
        {"digit", Qt::Key_5, Qt::NoModifier, 0, '5'},
        {"keypad digit", Qt::Key_5, Qt::KeypadModifier, 0, 0x65},
        {"F1", Qt::Key_F1, Qt::NoModifier, 0, 0x70},
        {"F12", Qt::Key_F12, Qt::NoModifier, 0, 0x7B},
        {"Enter", Qt::Key_Return, Qt::NoModifier, 0, 0x0D},
        {"left arrow", Qt::Key_Left, Qt::NoModifier, 0, 0x25},
        {"minus", Qt::Key_Minus, Qt::NoModifier, 0, 0xBD},
        {"Cyrillic letter on the comma key", 0x0411, Qt::NoModifier, 59, 0xBC},
    };
    for (const Case &c : cases)
        EXPECT_EQ(virtualKeyOf(c.key, c.modifiers, c.scanCode), c.vk) << c.what;
}

TEST(KeyMessage, CarriesTheMessageKindKeyAndModifiers)
{
    struct Case {
        const char *what;
        QEvent::Type type;
        Qt::KeyboardModifiers modifiers;
        std::uint32_t message;
    };
    const Case cases[] = {
        {"Ctrl+N pressed", QEvent::KeyPress, Qt::ControlModifier, WM_KEYDOWN},
        {"Ctrl+Alt+N pressed", QEvent::KeyPress, Qt::ControlModifier | Qt::AltModifier, WM_KEYDOWN},
        {"Alt+N pressed", QEvent::KeyPress, Qt::AltModifier, WM_SYSKEYDOWN},
        {"key override before a press", QEvent::ShortcutOverride, Qt::ControlModifier, WM_KEYDOWN},
        {"N released", QEvent::KeyRelease, Qt::NoModifier, WM_KEYUP},
    };
    for (const Case &c : cases) {
        const QKeyEvent event(c.type, Qt::Key_N, c.modifiers, 57, 0, 0);
        const TMsg msg = keyMessageOf(event, nullptr);
        EXPECT_EQ(msg.message, c.message) << c.what;
        EXPECT_EQ(msg.wParam, std::uintptr_t{'N'}) << c.what;
        EXPECT_EQ(msg.keyState, c.modifiers) << c.what;
        EXPECT_EQ((static_cast<std::uint32_t>(msg.lParam) >> 16) & 0xFF, 49u) << c.what;
        EXPECT_EQ(static_cast<std::uint32_t>(msg.lParam) >> 31, c.type == QEvent::KeyRelease ? 1u : 0u) << c.what;
    }
}

TEST(DragKeyState, AddsTheButtonsAndModifiersHeld)
{
    EXPECT_EQ(dragKeyState(Qt::NoButton, Qt::NoModifier), 0);
    EXPECT_EQ(dragKeyState(Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier), MK_LBUTTON | MK_SHIFT | MK_CONTROL);
    EXPECT_EQ(dragKeyState(Qt::RightButton | Qt::MiddleButton, Qt::AltModifier), MK_RBUTTON | MK_MBUTTON | MK_ALT);
}

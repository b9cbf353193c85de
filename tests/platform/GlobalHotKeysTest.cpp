#include "GlobalHotKeys.h"

#include "TestSupport.h"
#include "XInput.h"

#include <QProcess>
#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <vector>

using namespace vocab;

namespace {

constexpr int IdC = 0x693F;
constexpr int IdZ = 0x6940;
constexpr unsigned CtrlShift = MOD_CONTROL | MOD_SHIFT;

// A window that keeps the ids of the hot keys it was sent.
class HotKeyWindow : public QObject {
public:
    std::vector<int> ids;
    std::vector<std::uint32_t> times;

protected:
    bool event(QEvent *e) override
    {
        if (e->type() != HotKeyEvent::eventType())
            return QObject::event(e);
        ids.push_back(static_cast<HotKeyEvent *>(e)->id());
        times.push_back(static_cast<HotKeyEvent *>(e)->timestamp());
        return true;
    }
};

// Another program on the same display, with grabs of its own.
class OtherClient {
public:
    OtherClient() : m_c(xcb_connect(nullptr, nullptr))
    {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root;
    }
    ~OtherClient() { xcb_disconnect(m_c); }

    // Whether the server lets this client grab the key of `keysym` with these modifiers.
    bool grab(xcb_keysym_t keysym, std::uint16_t modifiers)
    {
        xcb_generic_error_t *error = xcb_request_check(
            m_c, xcb_grab_key_checked(m_c, 1, m_root, modifiers, keycode(keysym), XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        std::free(error);
        return error == nullptr;
    }
    void ungrab(xcb_keysym_t keysym, std::uint16_t modifiers)
    {
        xcb_request_check(m_c, xcb_ungrab_key_checked(m_c, keycode(keysym), m_root, modifiers));
    }

private:
    xcb_keycode_t keycode(xcb_keysym_t keysym)
    {
        const xcb_setup_t *setup = xcb_get_setup(m_c);
        const int count = setup->max_keycode - setup->min_keycode + 1;
        auto *reply = xcb_get_keyboard_mapping_reply(
            m_c, xcb_get_keyboard_mapping(m_c, setup->min_keycode, std::uint8_t(count)), nullptr);
        const xcb_keysym_t *syms = xcb_get_keyboard_mapping_keysyms(reply);
        xcb_keycode_t found = 0;
        for (int k = 0; k < count && !found; ++k)
            if (syms[k * reply->keysyms_per_keycode] == keysym)
                found = xcb_keycode_t(setup->min_keycode + k);
        std::free(reply);
        return found;
    }

    xcb_connection_t *m_c;
    xcb_window_t m_root;
};

constexpr std::uint16_t XCtrlShift = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT;

void pressKeys(const char *chord)
{
    ASSERT_EQ(QProcess::execute("xdotool", {"key", chord}), 0) << "xdotool " << chord;
}

} // namespace

TEST(GlobalHotKeys, ARegisteredChordIsDeliveredAndHeldAgainstOtherProgramsUntilReleased)
{
    HotKeyWindow window;
    ASSERT_TRUE(RegisterHotKey(&window, IdC, CtrlShift, 'C'));
    ASSERT_TRUE(RegisterHotKey(&window, IdZ, CtrlShift, 'Z'));

    OtherClient other;
    EXPECT_FALSE(other.grab('c', XCtrlShift)) << "the chord is this program's";
    EXPECT_FALSE(other.grab('c', XCtrlShift | XCB_MOD_MASK_LOCK)) << "also with Caps Lock on";
    EXPECT_FALSE(other.grab('c', XCtrlShift | XCB_MOD_MASK_2)) << "also with Num Lock on";

    pressKeys("ctrl+shift+z");
    pressKeys("ctrl+shift+c");
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.ids.size() == 2; }, 5000));
    EXPECT_EQ(window.ids, (std::vector<int>{IdZ, IdC}));

    EXPECT_TRUE(UnregisterHotKey(&window, IdC));
    EXPECT_FALSE(UnregisterHotKey(&window, IdC)) << "released already";
    EXPECT_TRUE(other.grab('c', XCtrlShift)) << "released to other programs";
    other.ungrab('c', XCtrlShift);
    EXPECT_TRUE(UnregisterHotKey(&window, IdZ));
}

TEST(GlobalHotKeys, AChordAnotherProgramHoldsIsRefusedAndLeavesNoPartOfItGrabbed)
{
    OtherClient other;
    // Only the plain variant: this program could grab the lock variants.
    ASSERT_TRUE(other.grab('c', XCtrlShift));
    HotKeyWindow window;
    EXPECT_FALSE(RegisterHotKey(&window, IdC, CtrlShift, 'C'));
    EXPECT_TRUE(other.grab('c', XCtrlShift | XCB_MOD_MASK_LOCK)) << "no variant was kept";
    other.ungrab('c', XCtrlShift | XCB_MOD_MASK_LOCK);
    other.ungrab('c', XCtrlShift);
    EXPECT_TRUE(RegisterHotKey(&window, IdC, CtrlShift, 'C')) << "free again";
    EXPECT_TRUE(UnregisterHotKey(&window, IdC));
}

TEST(GlobalHotKeys, OneChordPerProgramAndAWindowTakesItsKeysWithIt)
{
    OtherClient other;
    {
        HotKeyWindow first;
        HotKeyWindow second;
        ASSERT_TRUE(RegisterHotKey(&first, IdC, CtrlShift, 'C'));
        EXPECT_FALSE(RegisterHotKey(&second, IdZ, CtrlShift, 'C')) << "the chord is taken in this program";
        EXPECT_FALSE(RegisterHotKey(&second, IdZ, CtrlShift, 0x70)) << "a key the stand-in does not offer";
        EXPECT_FALSE(RegisterHotKey(&second, IdZ, 0, 'Z')) << "a chord needs a modifier";
        // Registering the id again moves it to the new chord.
        ASSERT_TRUE(RegisterHotKey(&first, IdC, CtrlShift, 'Z'));
        EXPECT_TRUE(other.grab('c', XCtrlShift)) << "the old chord was released";
        other.ungrab('c', XCtrlShift);
    }
    EXPECT_TRUE(other.grab('z', XCtrlShift)) << "the window went, and its keys with it";
    other.ungrab('z', XCtrlShift);
}

TEST(GlobalHotKeys, TheChordsKeyIsFoundOnWhicheverLayoutHasTheLetter)
{
    constexpr std::uint32_t Cyr_es = 0x6d3, Cyr_ES = 0x6f3, Cyr_ya = 0x6d1, Cyr_YA = 0x6f1;
    // Two keys, four columns each: group 1 levels 1-2, group 2 levels 1-2.
    const std::vector<std::uint32_t> usFirst{'c', 'C', Cyr_es, Cyr_ES, 'z', 'Z', Cyr_ya, Cyr_YA};
    const std::vector<std::uint32_t> ruFirst{Cyr_es, Cyr_ES, 'c', 'C', Cyr_ya, Cyr_YA, 'z', 'Z'};
    // A letter on the first layout of one key and the second of another:
    // the first layout's key wins.
    const std::vector<std::uint32_t> both{Cyr_es, Cyr_ES, 'c', 'C', 'c', 'C', 0, 0};
    struct Case {
        const std::vector<std::uint32_t> &mapping;
        std::uint32_t keysym;
        int expected;
    } cases[] = {
        {usFirst, 'c', 8}, {usFirst, 'z', 9}, {ruFirst, 'c', 8}, {ruFirst, 'z', 9},
        {both, 'c', 9},    {usFirst, 'q', 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(KeycodeInMapping(c.mapping, 4, 8, c.keysym), c.expected) << char(c.keysym);
    EXPECT_EQ(KeycodeInMapping(usFirst, 0, 8, 'c'), 0);
}

// The layouts of the session change (setxkbmap): the letter moves to another
// key, and the chord must follow it. The German layout swaps Y and Z.
TEST(GlobalHotKeys, AChangeOfKeyboardMappingMovesTheChordToTheKeyOfItsLetter)
{
    vocab::test::XInput x;
    ASSERT_TRUE(x.ok());
    HotKeyWindow window;
    ASSERT_TRUE(RegisterHotKey(&window, IdZ, CtrlShift, 'Z'));
    const xcb_keycode_t usZ = x.keycode('z');
    ASSERT_EQ(HotKeyKeycode(&window, IdZ), usZ);

    ASSERT_EQ(QProcess::execute("setxkbmap", {"de"}), 0);
    const xcb_keycode_t deZ = x.keycode('z');
    ASSERT_NE(deZ, usZ) << "the German layout puts Z elsewhere";
    ASSERT_TRUE(QTest::qWaitFor([&] { return HotKeyKeycode(&window, IdZ) == deZ; }, 10000));

    const xcb_keycode_t control = x.keycode(0xffe3), shift = x.keycode(0xffe1);
    const xcb_timestamp_t before = x.serverTime();
    x.chord({control, shift, deZ});
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.ids.size() == 1; }, 10000)) << "the chord on the letter's new key";
    EXPECT_EQ(window.ids[0], IdZ);
    EXPECT_GE(window.times[0], before) << "the press's own time on the server";

    OtherClient other;
    EXPECT_TRUE(other.grab('y', XCtrlShift)) << "the letter's old key, Y now, is free for other programs";
    other.ungrab('y', XCtrlShift);
    EXPECT_FALSE(other.grab('z', XCtrlShift));

    ASSERT_EQ(QProcess::execute("setxkbmap", {"us"}), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return HotKeyKeycode(&window, IdZ) == usZ; }, 10000)) << "and back";
    EXPECT_TRUE(UnregisterHotKey(&window, IdZ));
    EXPECT_EQ(HotKeyKeycode(&window, IdZ), 0);
}

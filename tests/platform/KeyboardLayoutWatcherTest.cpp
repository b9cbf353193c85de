#include "KeyboardLayout.h"
#include "KeyboardLayoutWatcher.h"

#include "TestSupport.h"

#include <QProcess>
#include <QSignalSpy>

using namespace vocab;

TEST(KeyboardLayoutWatcher, ReportsASwitchOfTheSessionsLayout)
{
    ASSERT_EQ(QProcess::execute("setxkbmap", {"-layout", "us,ru"}), 0);
    ASSERT_TRUE(KeyboardLayout::activate("00000409"));
    KeyboardLayoutWatcher watcher;
    QSignalSpy changed(&watcher, &KeyboardLayoutWatcher::layoutChanged);

    ASSERT_TRUE(KeyboardLayout::activate("00000419"));
    ASSERT_TRUE(changed.wait(5000));
    EXPECT_EQ(KeyboardLayout::current(), 0x04190419u);

    changed.clear();
    ASSERT_TRUE(KeyboardLayout::activate("00000409"));
    ASSERT_TRUE(changed.wait(5000));
    EXPECT_EQ(KeyboardLayout::current(), 0x04090409u);
}

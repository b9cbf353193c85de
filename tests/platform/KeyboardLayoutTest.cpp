#include "KeyboardLayout.h"

#include "TestSupport.h"

#include <QProcess>

using namespace vocab;

namespace {

bool setLayouts(const QString &layouts)
{
    return QProcess::execute("setxkbmap", {"-layout", layouts}) == 0;
}

} // namespace

TEST(KeyboardLayout, SwitchesToRussianWhenTheSessionHasIt)
{
    ASSERT_TRUE(setLayouts("us,ru"));
    EXPECT_EQ(KeyboardLayout::groups(), (QStringList{"us", "ru"}));
    EXPECT_TRUE(KeyboardLayout::activate("00000419"));
    EXPECT_EQ(KeyboardLayout::current(), 0x04190419u);
    EXPECT_TRUE(KeyboardLayout::activate("00000409"));
    EXPECT_EQ(KeyboardLayout::current(), 0x04090409u);
}

TEST(KeyboardLayout, NothingToSwitchToWithoutTheLayout)
{
    ASSERT_TRUE(setLayouts("de"));
    EXPECT_FALSE(KeyboardLayout::activate("00000419"));
    EXPECT_EQ(KeyboardLayout::current(), 0u) << "a layout the viewer does not name";
}

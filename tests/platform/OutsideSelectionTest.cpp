#include "OutsideSelection.h"

#include <QClipboard>
#include <QGuiApplication>

#include <gtest/gtest.h>

using namespace vocab;

// The hot key looks up what was copied, even when other text was selected
// since, and finds nothing when only a selection is there.
TEST(OutsideSelection, IsTheCopiedTextNeverThePrimarySelection)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    ASSERT_TRUE(clipboard->supportsSelection()) << "needs an X server";
    clipboard->setText(QStringLiteral("дом"), QClipboard::Clipboard);
    clipboard->setText(QStringLiteral("кот"), QClipboard::Selection);
    EXPECT_EQ(OutsideSelectionText(), QStringLiteral("дом"));

    clipboard->clear(QClipboard::Clipboard);
    EXPECT_EQ(OutsideSelectionText(), QString());
}

// The article view's menu opened by a right click through the X server, as
// the user's mouse opens it: the press and release travel the whole way
// (server, Qt, the right-button hook, the engine's view), and the menu must
// be mapped on the screen every time, whatever has the focus.
#include "X11WindowFixture.h"

#include "WbPopup.h"

#include <QClipboard>
#include <QMenu>
#include <QSignalSpy>

using namespace vocab;
using namespace vocab::test;

namespace {

constexpr std::uint8_t LeftButton = 1;
constexpr std::uint8_t RightButton = 3;

class ArticleMenuX11 : public X11WindowFixture {
protected:
    void startFocused()
    {
        start();
        // No window manager: the window takes the keyboard itself.
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == form.get(); }, 10000));
    }

    // A page whose first word is "Кот." in large type, selected or not.
    void showPage(bool selected)
    {
        form->WriteHtmlToBrowser(
            u"<html><body style='margin:0'><p id=w style='margin:0;font-size:40px'>Кот.</p>"
            "<p>и ещё строка</p></body></html>"_qs);
        ASSERT_TRUE(QTest::qWaitFor([&] {
            if (evaluate("document.getElementById('w') != null").toBool()) {
                evaluate(selected ? "window.getSelection().selectAllChildren(document.getElementById('w'))"
                                  : "window.getSelection().removeAllRanges()");
                return GetBrowserSelectionText(form->Emb) == (selected ? u"Кот."_qs : QString());
            }
            return false;
        }, 20000));
    }

    // Where the right click falls: over the first word.
    QPoint overTheWord() const { return documentWindow()->mapToGlobal(QPoint(30, 20)); }

    void rightClickAt(QPoint at)
    {
        x.movePointer(at.x(), at.y());
        ASSERT_TRUE(QTest::qWaitFor([&] { return QCursor::pos() == at; }, 10000));
        x.click(RightButton);
    }

    // The menu is Qt's active pop-up and the X server shows its window.
    bool menuMapped() const
    {
        return QApplication::activePopupWidget() == form->PopupBrowser && form->PopupBrowser->isVisible()
            && x.viewable(xWindow(form->PopupBrowser));
    }

    void pick(QAction *item)
    {
        const QPoint at = form->PopupBrowser->mapToGlobal(form->PopupBrowser->actionGeometry(item).center());
        x.movePointer(at.x(), at.y());
        ASSERT_TRUE(QTest::qWaitFor([&] { return form->PopupBrowser->activeAction() == item; }, 10000));
        x.click(LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !form->PopupBrowser->isVisible(); }, 10000));
    }

    void focusSearchBox()
    {
        form->ComboBox1->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] {
            return QApplication::focusWidget() == edit() || QApplication::focusWidget() == form->ComboBox1;
        }, 10000));
    }

    void focusArticle()
    {
        form->Emb->SetFocusToDoc();
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == documentWindow(); }, 10000));
    }
};

} // namespace

TEST_F(ArticleMenuX11, EveryRightClickOverTheArticleMapsTheMenuAndEachItemDoesItsWork)
{
    WbPopupScope hook;
    startFocused();
    QSignalSpy opened(form->PopupBrowser, &QMenu::aboutToShow);
    QAction *const items[] = {form->CM_copy, form->CM_CopyInEdit, form->CM_FindAllDic};
    int picked = 0;
    for (int i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        const bool selected = i % 2 == 0;
        const bool boxFocused = i % 4 < 2;
        showPage(selected);
        // The pointer resting over the article would hand the focus to it.
        if (boxFocused)
            form->TimerFocusWB->stop();
        if (boxFocused)
            focusSearchBox();
        else
            focusArticle();
        clearBox();
        QGuiApplication::clipboard()->setText(u"прежнее"_qs);
        const qsizetype openedBefore = opened.size();

        rightClickAt(overTheWord());
        ASSERT_TRUE(QTest::qWaitFor([&] { return opened.size() > openedBefore; }, 10000)) << "the menu was asked for";
        if (!selected) {
            // Nothing to offer: the menu goes at once and takes no grab with it.
            EXPECT_TRUE(QTest::qWaitFor([&] { return !form->PopupBrowser->isVisible(); }, 10000));
            EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
            continue;
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return menuMapped(); }, 10000))
            << "focus in the " << (boxFocused ? "search box" : "article");
        ASSERT_TRUE(form->CM_copy->isVisible() && form->CM_CopyInEdit->isVisible() && form->CM_FindAllDic->isVisible());
        ASSERT_TRUE(form->CM_FindAllDic->isEnabled()) << "КОТ is a headword of the combined list";

        QAction *const item = items[picked++ % 3];
        pick(item);
        if (item == form->CM_copy) {
            EXPECT_EQ(QGuiApplication::clipboard()->text(), u"Кот"_qs) << "the word as it is looked up";
            EXPECT_EQ(edit()->text(), QString());
        } else if (item == form->CM_CopyInEdit) {
            EXPECT_EQ(edit()->text(), u"кот"_qs);
            EXPECT_EQ(selectedHeadword(), u"КОТ"_qs);
            EXPECT_EQ(QGuiApplication::clipboard()->text(), u"прежнее"_qs);
        } else {
            EXPECT_EQ(edit()->text(), u"кот"_qs);
            EXPECT_TRUE(QTest::qWaitFor([&] { return form->ShownPage().contains(articleOf(u"КОТ"_qs).mid(3)); }, 10000))
                << "the word's page from all dictionaries";
        }
    }
    EXPECT_EQ(picked, 10);
    EXPECT_TRUE(boxes.empty());
}

// Words from outside the search box in the real main window: the hot keys'
// handler, the article's menu, the double click, the focus timer and the
// right-button hook over the article view.
#include "CombinedFixtures.h"
#include "DictionaryFixtures.h"
#include "HostedBrowser.h"
#include "KeyboardLayout.h"
#include "ScriptRunner.h"
#include "ShellTexts.h"
#include "WbPopup.h"
#include "WebEngineControl.h"
#include "WebPage.h"
#include "WindowFixture.h"

#include <QClipboard>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

using namespace vocab;
using namespace vocab::test;

namespace {

class OutsideWordsWindow : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        dir.writeTree({texts::RootNodeCaption, u"Мои"_qs, u"\tРусский=rus"_qs});
        dir.writePair("dic/rus/rus", headwords);
        dir.writeList("ConfigFiles/dictionaries/dictionaries.ogl", headwords);
        LetterIndexTable::Build(headwords).WriteFile(path("ConfigFiles/dictionaries/dictionaries.dvc"));
    }

    void startActive()
    {
        start();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    QVariant evaluate(const QString &script)
    {
        auto *control = dynamic_cast<WebEngineControl *>(form->Emb->Control());
        return control ? runScriptAndWait(control->page(), script, 5000) : QVariant();
    }

    // A page of one paragraph, all of it selected.
    void showSelected(const QString &text)
    {
        form->WriteHtmlToBrowser(u"<html><body><p id=w>%1</p></body></html>"_qs.arg(text));
        ASSERT_TRUE(QTest::qWaitFor([&] {
            evaluate("var w = document.getElementById('w'); if (w) window.getSelection().selectAllChildren(w)");
            return GetBrowserSelectionText(form->Emb) == text;
        }, 10000));
    }

    QPoint insideArticle() const
    {
        const ArticleViewArea area = form->ArticleViewRect();
        return {area.Left() + 10, area.Top() + 10};
    }

    QWidget *documentWindow() const { return form->Emb->Control()->DocumentWindow(); }

    const QStringList headwords{u"ДОМ"_qs, u"ЕЖ"_qs, u"КОТ"_qs};
    FixtureFolder dir{work.path()};
};

} // namespace

TEST_F(OutsideWordsWindow, AnOutsideWordIsLookedUpAsTheSelectedNodeAllows)
{
    start();
    // The root: the combined list.
    form->ExternalWord = u"КОТ"_qs;
    form->LookUpExternalWord();
    EXPECT_EQ(edit()->text(), u"кот"_qs);
    EXPECT_EQ(selectedHeadword(), u"КОТ"_qs);

    // A dictionary: the headword read before goes into the history first.
    select(u"Русский"_qs);
    form->PickedHeadword = u"ДОМ"_qs;
    form->ExternalWord = u"ЕЖ"_qs;
    form->LookUpExternalWord();
    EXPECT_EQ(edit()->text(), u"еж"_qs);
    EXPECT_EQ(selectedHeadword(), u"ЕЖ"_qs);
    EXPECT_TRUE(form->ShownPage().contains(articleOf(u"ЕЖ"_qs).mid(2)));
    EXPECT_EQ(form->ComboBox1->itemsText().value(0), u"дом"_qs);

    // A folder: the box only.
    select(u"Мои"_qs);
    const QString page = form->ShownPage();
    form->ExternalWord = u"ДОМ"_qs;
    form->LookUpExternalWord();
    EXPECT_EQ(edit()->text(), u"дом"_qs);
    EXPECT_EQ(form->ShownPage(), page);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(OutsideWordsWindow, TheSelectedWordHotKeyUsesOnlyAWordWithinTheLimit)
{
    start();
    form->showMinimized();
    QGuiApplication::clipboard()->setText(QString(300, u'a'));
    form->WMHotKey(HotKeyCtrlCC);
    EXPECT_TRUE(form->isMinimized()) << "nothing usable: the window stays where it is";
    EXPECT_EQ(edit()->text(), QString());

    QGuiApplication::clipboard()->setText(u"  Кот, "_qs);
    form->WMHotKey(HotKeyCtrlCC);
    EXPECT_FALSE(form->isMinimized());
    EXPECT_EQ(form->ExternalWord, u"Кот"_qs);
    EXPECT_EQ(edit()->text(), u"кот"_qs);
    EXPECT_EQ(selectedHeadword(), u"КОТ"_qs);

    form->WMHotKey(0x1234); // not ours: nothing
    EXPECT_EQ(edit()->text(), u"кот"_qs);
}

TEST_F(OutsideWordsWindow, BringingTheWindowForwardMovesThePointerOffTheArticle)
{
    startActive();
    const QPoint outside = form->ArticleViewRect().PointerParking() + QPoint(-5, 0);
    QCursor::setPos(outside);
    form->WMHotKey(HotKeyCtrlShiftZ);
    EXPECT_EQ(QCursor::pos(), outside);

    QCursor::setPos(insideArticle());
    form->WMHotKey(HotKeyCtrlShiftZ);
    EXPECT_EQ(QCursor::pos(), form->ArticleViewRect().PointerParking());
    EXPECT_EQ(QApplication::focusWidget(), form->ComboBox1);
}

TEST_F(OutsideWordsWindow, TheArticleMenuOffersWhatTheSelectionAllows)
{
    start();
    struct Case {
        QString selected;
        bool copy, copyInEdit, findAll, findAllEnabled;
    };
    const Case cases[] = {
        {u"ёж."_qs, true, true, true, true},   // the small ё is the headword ЕЖ
        {u"кит"_qs, true, true, true, false},  // not a headword of the combined list
        {QString(131, u'д'), true, false, false, false},
    };
    for (const Case &c : cases) {
        showSelected(c.selected);
        form->PopupBrowserPopup();
        EXPECT_EQ(form->CM_copy->isVisible(), c.copy) << c.selected.toStdString();
        EXPECT_EQ(form->CM_CopyInEdit->isVisible(), c.copyInEdit) << c.selected.toStdString();
        EXPECT_EQ(form->CM_FindAllDic->isVisible(), c.findAll) << c.selected.toStdString();
        EXPECT_EQ(form->CM_FindAllDic->isEnabled(), c.findAllEnabled) << c.selected.toStdString();
    }
    EXPECT_EQ(form->PopupBrowser->actions().size(), 3);
    EXPECT_EQ(form->CM_copy->text(), u"Копировать"_qs);
    EXPECT_EQ(form->CM_CopyInEdit->text(), u"Копировать в строку поиска"_qs);
    EXPECT_EQ(form->CM_FindAllDic->text(), u"Искать во всех словарях"_qs);

    form->WriteHtmlToBrowser(u"<html><body>nothing selected</body></html>"_qs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return GetBrowserSelectionText(form->Emb).isEmpty(); }, 10000));
    form->PopupBrowser->popup(insideArticle());
    EXPECT_FALSE(form->CM_copy->isVisible() || form->CM_CopyInEdit->isVisible() || form->CM_FindAllDic->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->PopupBrowser->isVisible(); }, 5000)) << "an empty menu does not stay open";
}

TEST_F(OutsideWordsWindow, TheArticleMenuCopiesTheWordAndSearchesAllDictionaries)
{
    start();
    select(u"Русский"_qs);
    form->PickedHeadword = u"ДОМ"_qs;
    form->PageControl1->setCurrentWidget(form->TabSheet2);
    showSelected(u"Ёж;"_qs);
    form->PopupBrowserPopup();

    form->CM_copyClick();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"Еж"_qs) << "the word as it is looked up";

    form->CM_FindAllDicClick();
    EXPECT_EQ(form->PageControl1->currentWidget(), form->TabSheet1);
    EXPECT_EQ(form->TreeView1->currentItem(), form->TreeView1->topLevelItem(0)) << "the root is opened";
    EXPECT_EQ(selectedHeadword(), u"ЕЖ"_qs);
    EXPECT_EQ(edit()->text(), u"еж"_qs);
    EXPECT_TRUE(form->ComboBox1->itemsText().contains(u"дом"_qs));
}

TEST_F(OutsideWordsWindow, ADoubleClickOverTheArticleLooksUpTheWordSelected)
{
    startActive();
    select(u"Русский"_qs);
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                            Qt::NoModifier);

    QCursor::setPos(form->ArticleViewRect().PointerParking());
    QApplication::sendEvent(documentWindow(), &doubleClick);
    EXPECT_FALSE(form->TimerHookMouse->isActive()) << "the pointer is not over the article";

    showSelected(u"кот."_qs);
    QCursor::setPos(insideArticle());
    QApplication::sendEvent(documentWindow(), &doubleClick);
    ASSERT_TRUE(form->TimerHookMouse->isActive());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->TimerHookMouse->isActive(); }, 5000));
    EXPECT_EQ(edit()->text(), u"кот"_qs);
    EXPECT_EQ(selectedHeadword(), u"КОТ"_qs);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == documentWindow(); }, 5000))
        << "the document has the focus after the lookup";
}

TEST_F(OutsideWordsWindow, TheFocusTimerHandsTheFocusToTheArticleUnderThePointer)
{
    startActive();
    showSelected(u"кот"_qs);
    form->ComboBox1->setFocus();
    QCursor::setPos(form->ArticleViewRect().PointerParking());
    form->TimerFocusWBTimer();
    EXPECT_EQ(QApplication::focusWidget(), form->ComboBox1);

    QCursor::setPos(insideArticle());
    form->TimerFocusWBTimer();
    EXPECT_EQ(QApplication::focusWidget(), documentWindow());
}

TEST_F(OutsideWordsWindow, ARightPressIsKeptFromTheArticleAndItsReleaseOpensTheWindowsMenu)
{
    start();
    WbPopupScope hook;
    showSelected(u"кот"_qs);
    QWidget *document = documentWindow();
    const QPoint at(10, 10);
    QMouseEvent press(QEvent::MouseButtonPress, at, document->mapToGlobal(at), Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QMouseEvent leftPress(QEvent::MouseButtonPress, at, document->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    EXPECT_TRUE(RightButtonHookProc(document, &press));
    EXPECT_FALSE(RightButtonHookProc(document, &leftPress));
    EXPECT_FALSE(RightButtonHookProc(edit(), &press)) << "not over a browser";

    QApplication::sendEvent(document, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, document->mapToGlobal(at), Qt::RightButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(document, &release);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->PopupBrowser->isVisible(); }, 5000));
    EXPECT_TRUE(form->CM_FindAllDic->isEnabled());
    form->PopupBrowser->hide();
    EXPECT_EQ(GetBrowserSelectionText(form->Emb), u"кот"_qs) << "the selection was kept";
}

TEST_F(OutsideWordsWindow, StartUpInstallsTheHooksAndSwitchesTheHotKeysTheOptionsAskFor)
{
    writeOptions("[options]\r\nCtrlCC=1\r\nCtrlShiftZ=0\r\n");
    start();
    EXPECT_TRUE(form->HotKeyOn(HotKeyCtrlCC));
    EXPECT_FALSE(form->HotKeyOn(HotKeyCtrlShiftZ));
    form->SwitchHotKeys(false, true);
    EXPECT_FALSE(form->HotKeyOn(HotKeyCtrlCC));
    EXPECT_TRUE(form->HotKeyOn(HotKeyCtrlShiftZ));

    // The layout letter follows a change of layout.
    form->Labellayout->setText(u"X"_qs);
    QEvent change(QEvent::KeyboardLayoutChange);
    QApplication::sendEvent(qApp, &change);
    EXPECT_EQ(form->Labellayout->text(), LayoutLetter(KeyboardLayout::current()));
}

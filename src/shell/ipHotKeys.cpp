// The main window's hot keys, input hooks and the words that come from
// outside the search box.
#include "ip.h"

#include "DictionaryTree.h"
#include "ErrorHandler.h"
#include "GlobalHotKeys.h"
#include "HostedBrowser.h"
#include "KeyboardLayout.h"
#include "KeyboardLayoutWatcher.h"
#include "OutsideSelection.h"
#include "SearchText.h"
#include "WindowActivation.h"

#include <QAction>
#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QSystemTrayIcon>
#include <QTimer>

#include <functional>

namespace vocab {

namespace {

// An event filter that hands the events it sees to a function; true from it
// keeps the event from its receiver.
class EventHook final : public QObject {
public:
    using Proc = std::function<bool(QObject *, QEvent *)>;
    EventHook(QObject *parent, Proc proc) : QObject(parent), m_proc(std::move(proc)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        return guarded([&] { return m_proc(watched, event); }, false);
    }

private:
    Proc m_proc;
};

} // namespace

QString GetBrowserSelectionText(THostedBrowser *Browser)
{
    IHTMLDocument2 *document = Browser ? Browser->Document() : nullptr;
    if (!document)
        return {};
    const std::unique_ptr<IHTMLSelectionObject> selection = document->selection();
    const std::unique_ptr<IHTMLTxtRange> range = selection ? selection->createRange() : nullptr;
    return range ? range->text() : QString();
}

void TForm1::setUpOutsideWords()
{
    TimerHookMouse = new QTimer(this);
    TimerHookMouse->setInterval(50);
    connect(TimerHookMouse, &QTimer::timeout, this, [this] { guarded([this] { TimerHookMouseTimer(); }); });

    CM_copy = PopupBrowser->addAction(QStringLiteral("Копировать"));
    CM_copy->setObjectName(QStringLiteral("CM_copy"));
    CM_CopyInEdit = PopupBrowser->addAction(QStringLiteral("Копировать в строку поиска"));
    CM_CopyInEdit->setObjectName(QStringLiteral("CM_CopyInEdit"));
    CM_FindAllDic = PopupBrowser->addAction(QStringLiteral("Искать во всех словарях"));
    CM_FindAllDic->setObjectName(QStringLiteral("CM_FindAllDic"));
    connect(PopupBrowser, &QMenu::aboutToShow, this, [this] { guarded([this] { PopupBrowserPopup(); }); });
    connect(CM_copy, &QAction::triggered, this, [this] { guarded([this] { CM_copyClick(); }); });
    connect(CM_CopyInEdit, &QAction::triggered, this, [this] { guarded([this] { CM_CopyInEditClick(); }); });
    connect(CM_FindAllDic, &QAction::triggered, this, [this] { guarded([this] { CM_FindAllDicClick(); }); });

    // The hot keys' messages come to the window itself.
    installEventFilter(new EventHook(this, [this](QObject *watched, QEvent *event) {
        if (watched != this || event->type() != HotKeyEvent::eventType())
            return false;
        const auto *hotKey = static_cast<HotKeyEvent *>(event);
        WMHotKey(hotKey->id(), hotKey->timestamp());
        return true;
    }));
}

// --- the hot keys ---------------------------------------------------------------

bool TForm1::HotKeyOn(int id) const
{
    return id == HotKeyCtrlCC ? m_hotKeyCtrlCC : id == HotKeyCtrlShiftZ && m_hotKeyCtrlShiftZ;
}

void TForm1::SwitchHotKey(int id, bool on)
{
    if (id != HotKeyCtrlCC && id != HotKeyCtrlShiftZ)
        return;
    bool &state = id == HotKeyCtrlCC ? m_hotKeyCtrlCC : m_hotKeyCtrlShiftZ;
    if (state == on)
        return;
    state = on;
    // A chord another program holds stays with it; the option stays as set.
    if (on)
        RegisterHotKey(this, id, HotKeyModifiers, id == HotKeyCtrlCC ? HotKeyCtrlCCKey : HotKeyCtrlShiftZKey);
    else
        UnregisterHotKey(this, id);
}

void TForm1::SwitchHotKeys(bool ctrlCC, bool ctrlShiftZ)
{
    SwitchHotKey(HotKeyCtrlCC, ctrlCC);
    SwitchHotKey(HotKeyCtrlShiftZ, ctrlShiftZ);
}

void TForm1::WMHotKey(int id, std::uint32_t time)
{
    if (id == HotKeyCtrlCC) {
        ExternalWord = CutOutsideText(OutsideSelectionText());
        TrimTrailingPunctuation();
        ExternalWord = NormalizeSearchText(ExternalWord);
        // Nothing usable: the window stays where it is.
        if (!WithinWordLimit(ExternalWord))
            return;
        BringWindowForward(time);
        LookUpExternalWord();
        if (SelectedNodeKind() == tnkRoot && ExternalWordIsHeadword()) {
            repaint();
            Button_All_dic_Content();
        }
    } else if (id == HotKeyCtrlShiftZ) {
        BringWindowForward(time);
        // The pointer left over the article would take the focus from the
        // search box at the focus timer's next turn.
        const ArticleViewArea area = ArticleViewRect();
        if (area.Contains(QCursor::pos()))
            QCursor::setPos(area.PointerParking());
        ComboBox1->setFocus();
        ComboBox1->caretToEnd();
    }
}

void TForm1::BringWindowForward(std::uint32_t userTime)
{
    show();
    RxTrayIcon1->hide();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    // The key grab kept the press from the window, whose own last time is
    // older than the other program's focus: asked for with that time, the
    // focus would stay where it is. The press's time is the user's.
    if (!ActivateWindowForUserInput(this, userTime))
        activateWindow();
}

// --- the outside word -------------------------------------------------------------

void TForm1::TrimTrailingPunctuation()
{
    vocab::TrimTrailingPunctuation(ExternalWord);
}

bool TForm1::ExternalWordIsHeadword() const
{
    // In the search's own form: a selected "ёж" is the headword ЕЖ, as the
    // search finds it.
    return combinedSearch.IsInAllHeadwords(SearchKey(ExternalWord));
}

void TForm1::LookUpExternalWord()
{
    SetSearchBoxText(ExternalWord);
    switch (SelectedNodeKind()) {
    case tnkRoot:
        combinedSearch.SearchAllHeadwords(ExternalWord);
        ComboBox1->caretToEnd();
        break;
    case tnkDictionary:
        // The headword read before the lookup goes into the history, which
        // may change the box's text: the word is put back.
        if (!PickedHeadword.isEmpty())
            AddToHistory(PickedHeadword);
        SetSearchBoxText(ExternalWord);
        Button_One_Dic();
        ComboBox1->caretToEnd();
        break;
    case tnkFolder:
        break;
    }
}

ArticleViewArea TForm1::ArticleViewRect() const
{
    return {frameGeometry().topLeft(), Panel1->width(), Emb->y(), Emb->width(), Emb->height()};
}

// --- the double click, the layout and the focus timer ---------------------------

bool TForm1::InstallDoubleClickHook()
{
    if (DoubleClickHookHandle)
        return true;
    DoubleClickHookHandle = new EventHook(this, [this](QObject *, QEvent *event) {
        if (event->type() == QEvent::MouseButtonDblClick
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton
            && ArticleViewRect().Contains(QCursor::pos()))
            TimerHookMouse->start();
        // The double click goes on to the browser, which selects the word.
        return false;
    });
    QCoreApplication::instance()->installEventFilter(DoubleClickHookHandle);
    return true;
}

void TForm1::TimerHookMouseTimer()
{
    TimerHookMouse->stop();
    ExternalWord = GetBrowserSelectionText(Emb);
    TrimTrailingPunctuation();
    ExternalWord = NormalizeSearchText(ExternalWord);
    if (!WithinWordLimit(ExternalWord))
        return;
    LookUpExternalWord();
    if (SelectedNodeKind() == tnkRoot && ExternalWordIsHeadword())
        Button_All_dic_Content();
    Emb->SetFocusToDoc();
}

bool TForm1::InstallLayoutHook()
{
    if (LayoutHookHandle)
        return true;
    auto *watcher = new KeyboardLayoutWatcher(this);
    connect(watcher, &KeyboardLayoutWatcher::layoutChanged, this, [this] { guarded([this] { UpdateLayoutLetter(); }); });
    LayoutHookHandle = watcher;
    return true;
}

void TForm1::UpdateLayoutLetter()
{
    Labellayout->setText(LayoutLetter(KeyboardLayout::current()));
}

void TForm1::TimerFocusWBTimer()
{
    // The program's window that was active last counts while another
    // program's is, as the search box keeps its focus there.
    const QWidget *form = QApplication::activeWindow() ? QApplication::activeWindow() : this;
    const QWidget *active = form->focusWidget();
    if ((active == ComboBox1 || active == ComboBox1->lineEdit()) && ArticleViewRect().Contains(QCursor::pos()))
        Emb->SetFocusToDoc();
}

// --- the article view's context menu ---------------------------------------------

void TForm1::PopupBrowserPopup()
{
    ExternalWord = GetBrowserSelectionText(Emb);
    TrimTrailingPunctuation();
    ExternalWord = NormalizeSearchText(ExternalWord);
    const PopupBrowserItems items = PopupBrowserItemsFor(ExternalWord, WithinWordLimit(ExternalWord) && ExternalWordIsHeadword());
    CM_copy->setVisible(items.copyVisible);
    CM_CopyInEdit->setVisible(items.copyInEditVisible);
    CM_FindAllDic->setVisible(items.findAllDicVisible);
    CM_FindAllDic->setEnabled(items.findAllDicEnabled);
    // A menu with no item to offer is no menu: it closes as soon as it opens,
    // unless it was opened again with something to offer by then.
    if (!items.copyVisible)
        QTimer::singleShot(0, PopupBrowser, [this] {
            if (!CM_copy->isVisible())
                PopupBrowser->hide();
        });
}

void TForm1::CM_copyClick()
{
    QGuiApplication::clipboard()->setText(ExternalWord);
}

void TForm1::CM_CopyInEditClick()
{
    LookUpExternalWord();
}

void TForm1::CM_FindAllDicClick()
{
    if (PageControl1->currentWidget() == TabSheet2)
        PageControl1->setCurrentWidget(TabSheet1);
    if (SelectedNodeKind() != tnkRoot) {
        // Each selection opens its node; the root is opened last.
        if (QTreeWidgetItem *node = TreeNodes::at(TreeView1, 1))
            TreeView1->setCurrentItem(node);
        if (QTreeWidgetItem *root = TreeNodes::at(TreeView1, 0))
            TreeView1->setCurrentItem(root);
        SetSearchBoxText(ExternalWord);
        if (!PickedHeadword.isEmpty())
            AddToHistory(PickedHeadword);
    }
    SetSearchBoxText(ExternalWord);
    combinedSearch.SearchAllHeadwords(ExternalWord);
    if (lookup.State().SearchFound) {
        Button_All_dic_Content();
        ComboBox1->caretToEnd();
    }
}

} // namespace vocab

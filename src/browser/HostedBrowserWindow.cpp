// THostedBrowser's window procedure, the hooks on its child windows and on
// its parent form, and the focus messages. Each message comes from the Qt
// event that stands in for it:
//   WM_CLOSE              a close event of the component
//   WM_SIZE               a resize of the component
//   WM_SETFOCUS           the component taking the focus
//   CM_VISIBLECHANGED     the component shown or hidden (1 or 0)
//   WM_FOCUSDOCUMENT      the focus fix's FocusDocumentEvent
//   CN_KEYDOWN, CN_KEYUP  a key pressed or released in the document window
//   WM_PARENTNOTIFY       a left or right press in the document window
//   child WM_SETFOCUS     the view or the document window taking the focus
//   child WM_DESTROY      the view or the document window destroyed
//   parent WM_ACTIVATE    the form losing the activation to another window
//   WM_COMMAND            a WindowCommandEvent sent to the component
// WM_WINDOWPOSCHANGING, WM_GETDLGCODE and CM_DOCWINDOWACTIVATE have no
// counterpart; the procedure still answers them as it would.
#include "HostedBrowser.h"

#include "ErrorHandler.h"
#include "HbFocusControl.h"
#include "HbWindowCommand.h"
#include "KeyCodes.h"
#include "WindowHelpers.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <functional>

namespace vocab {

// Hands the input of the component's document window to its window procedure.
class HbWindowEvents final : public QObject {
public:
    explicit HbWindowEvents(THostedBrowser &browser) : m_browser(browser) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        return guarded([&] { return m_browser.DocumentWindowEvent(watched, event); }, false);
    }

private:
    THostedBrowser &m_browser;
};

// Watches the control's view and document window for the focus and their end.
class HbChildWindowHook final : public QObject {
public:
    explicit HbChildWindowHook(THostedBrowser &browser) : m_browser(browser) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn)
            guarded([&] { m_browser.ChildWindowFocused(static_cast<QWidget *>(watched)); });
        return false;
    }

private:
    THostedBrowser &m_browser;
};

namespace {

// Watches the hooked form; true keeps the event from it.
class ParentFormHook final : public QObject {
public:
    explicit ParentFormHook(std::function<bool(QEvent *)> proc) : m_proc(std::move(proc)) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        return guarded([&] { return m_proc(event); }, false);
    }

private:
    std::function<bool(QEvent *)> m_proc;
};

} // namespace

// ---- the window procedure ----------------------------------------------------

void THostedBrowser::SubclassWindowProc()
{
    FWindowEvents = std::make_unique<HbWindowEvents>(*this);
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(FWindowEvents.get());
}

void THostedBrowser::DispatchMessage(TMessage &Message)
{
    FPassedOn = false;
    if (FWndProcSubClassed)
        WndProc(Message);
    else
        DefaultHandler(Message);
}

void THostedBrowser::WndProc(TMessage &Message)
{
    bool passOn = true;
    switch (Message.Msg) {
    case WM_CLOSE:
        if (OnCloseQuery)
            OnCloseQuery(this, passOn);
        break;
    case CN_KEYDOWN:
    case CN_KEYUP: {
        const bool down = Message.Msg == CN_KEYDOWN;
        if (down && MoveListViewSelection(static_cast<std::uint16_t>(Message.WParam), Message.keyState)) {
            passOn = false;
            Message.Result = 1;
        }
        if (const TKeyEventEx &handler = down ? OnKeyDown : OnKeyUp) {
            auto key = static_cast<std::uint16_t>(Message.WParam);
            handler(this, key, static_cast<std::uint16_t>((Message.LParam >> 16) & 0xFF), Message.keyState);
            if (key == 0) {
                passOn = false;
                Message.Result = 1;
            }
        }
        break;
    }
    default:
        break;
    }
    if (passOn && !(Message.Msg == CM_DOCWINDOWACTIVATE && QCoreApplication::closingDown()))
        DefaultHandler(Message);
    // Enter is the document's, not the form's.
    if (FEnableMessageHandler && Message.Msg == CN_KEYDOWN && Message.WParam == VK_RETURN)
        Message.Result = 0;
    if (OnMessage) {
        // A result the handler leaves alone stays whole.
        const bool before = (Message.Result & 0xFF) != 0;
        bool handled = before;
        OnMessage(this, Message, handled);
        if (handled != before)
            Message.Result = handled ? 1 : 0;
    }
    if ((Message.WParam == WM_LBUTTONDOWN || Message.WParam == WM_RBUTTONDOWN) && OnClick)
        OnClick(this, Message.WParam == WM_LBUTTONDOWN ? Qt::LeftButton : Qt::RightButton, Message.keyState,
                static_cast<std::int16_t>(Message.LParam & 0xFFFF), static_cast<std::int16_t>((Message.LParam >> 16) & 0xFFFF));
    switch (Message.Msg) {
    case WM_SIZE:
        FResizing = !FWinXPSP2orLater;
        break;
    case WM_WINDOWPOSCHANGING:
        if (auto *pos = reinterpret_cast<WINDOWPOS *>(Message.LParam); FResizing && pos && (pos->flags & (SWP_NOSIZE | SWP_NOMOVE))) {
            if (!(pos->flags & SWP_NOMOVE)) {
                pos->flags |= SWP_NOMOVE;
                if (OnMove)
                    OnMove(this, pos->x, pos->y);
            }
            if (!(pos->flags & SWP_NOSIZE)) {
                pos->flags |= SWP_NOSIZE;
                if (OnResize)
                    OnResize(this, pos->cx, pos->cy);
            }
        }
        break;
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTCHARS;
        break;
    default:
        break;
    }
}

// The inherited handling: the message methods; the Qt event of the message
// goes on to the widget.
void THostedBrowser::DefaultHandler(TMessage &Message)
{
    FPassedOn = true;
    switch (Message.Msg) {
    case WM_FOCUSDOCUMENT:
        WMFocusDocument(Message);
        break;
    case WM_SETFOCUS:
        WMSetFocus(Message);
        break;
    case CM_VISIBLECHANGED:
        CMVisibleChanged(Message);
        break;
    case WM_COMMAND:
        WMCommand(Message);
        break;
    default:
        break;
    }
}

bool THostedBrowser::event(QEvent *event)
{
    TMessage message;
    message.keyState = QGuiApplication::keyboardModifiers();
    if (event->type() == FocusDocumentEvent::eventType()) {
        message.Msg = WM_FOCUSDOCUMENT;
        guarded([&] { DispatchMessage(message); });
        return true;
    }
    if (event->type() == WindowCommandEvent::eventType()) {
        auto *command = static_cast<WindowCommandEvent *>(event);
        message.Msg = WM_COMMAND;
        message.WParam = command->WParam;
        message.LParam = command->LParam;
        guarded([&] { DispatchMessage(message); });
        command->Result = message.Result;
        return true;
    }
    switch (event->type()) {
    case QEvent::Close:
        message.Msg = WM_CLOSE;
        guarded([&] { DispatchMessage(message); });
        if (!FPassedOn) {
            event->ignore();
            return true;
        }
        return TCustomHostedBrowser::event(event);
    case QEvent::ShowToParent:
    case QEvent::HideToParent: {
        const bool handled = TCustomHostedBrowser::event(event);
        message.Msg = CM_VISIBLECHANGED;
        message.WParam = event->type() == QEvent::ShowToParent ? 1 : 0;
        guarded([&] { DispatchMessage(message); });
        return handled;
    }
    case QEvent::Resize:
    case QEvent::FocusIn: {
        const bool handled = TCustomHostedBrowser::event(event);
        message.Msg = event->type() == QEvent::Resize ? WM_SIZE : WM_SETFOCUS;
        guarded([&] { DispatchMessage(message); });
        return handled;
    }
    default:
        return TCustomHostedBrowser::event(event);
    }
}

bool THostedBrowser::DocumentWindowEvent(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::MouseButtonPress)
        return false;
    // Keys the document leaves go on to its parents; each is looked at on
    // its way to the document only.
    QWidget *document = GetIEWin(QString::fromLatin1(WindowClass::InternetExplorerServer));
    if (!document || watched != document)
        return false;
    TMessage message;
    if (type == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        if (press->button() != Qt::LeftButton && press->button() != Qt::RightButton)
            return false;
        const QPoint at = document->mapTo(this, press->position().toPoint());
        message.Msg = WM_PARENTNOTIFY;
        message.WParam = press->button() == Qt::LeftButton ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
        message.LParam = MakeLParam(at.x(), at.y());
        message.keyState = press->modifiers();
        DispatchMessage(message);
        return false; // a notification: the press is the document's
    }
    const TMsg key = keyMessageOf(*static_cast<QKeyEvent *>(event), document);
    message.Msg = type == QEvent::KeyPress ? CN_KEYDOWN : CN_KEYUP;
    message.WParam = key.wParam;
    message.LParam = key.lParam;
    message.keyState = key.keyState;
    DispatchMessage(message);
    return !FPassedOn || message.Result != 0;
}

// The engine shows a folder as a page: there is never a folder view whose
// selection the arrows could move.
bool THostedBrowser::MoveListViewSelection(std::uint16_t, Qt::KeyboardModifiers)
{
    return false;
}

// ---- focus ----------------------------------------------------------------------

bool THostedBrowser::CanFocus() const
{
    const QWidget *form = window();
    return isVisible() && isEnabled() && form->isVisible() && form->isEnabled();
}

void THostedBrowser::SetFocus()
{
    if (CanFocus())
        setFocus(Qt::OtherFocusReason);
}

void THostedBrowser::WMFocusDocument(TMessage &)
{
    const QWidget *form = window();
    if (form == this || !qobject_cast<THostedBrowser *>(ActiveControlOf(form)) || !CanFocus())
        return;
    SetFocusToDoc();
}

void THostedBrowser::WMSetFocus(TMessage &) {}

// The commands of the browser's own window that have a meaning here; the
// rest (the address box's, the import and export wizard's) find nothing
// that answers them.
void THostedBrowser::WMCommand(TMessage &Message)
{
    switch (static_cast<int>(Message.WParam & 0xFFFF)) {
    case IE_CMD_ABOUT:
        ShowAboutBox();
        break;
    case IE_CMD_DESKTOPSHORTCUT:
        CreateDesktopLink(LocationName(), LocationURL());
        break;
    default:
        break;
    }
}

void THostedBrowser::CMVisibleChanged(TMessage &Message)
{
    FVisible = Message.WParam == 1;
    if (OnVisible)
        OnVisible(this, FVisible);
}

// ---- child windows ---------------------------------------------------------------

void THostedBrowser::ClearChildWindowHandles()
{
    FShellDocObjViewHandle = nullptr;
    FInetExplorerServerHandle = nullptr;
}

void THostedBrowser::HookChildWindows()
{
    // No folder view ever comes: the engine shows a folder as a page.
    if (FShellDocObjViewHandle || FInetExplorerServerHandle)
        return;
    WebBrowserControl *control = Control();
    if (!control)
        return;
    if (!FChildWindowHook)
        FChildWindowHook = std::make_unique<HbChildWindowHook>(*this);
    FShellDocObjViewHandle = control->ViewWindow();
    FInetExplorerServerHandle = control->DocumentWindow();
    for (QWidget *child : {FShellDocObjViewHandle.data(), FInetExplorerServerHandle.data()}) {
        if (!child)
            continue;
        child->installEventFilter(FChildWindowHook.get());
        connect(child, &QObject::destroyed, FChildWindowHook.get(), [this] { UnhookChildWindows(); });
    }
}

void THostedBrowser::UnhookChildWindows()
{
    for (QWidget *child : {FShellDocObjViewHandle.data(), FInetExplorerServerHandle.data()}) {
        if (child && FChildWindowHook) {
            child->removeEventFilter(FChildWindowHook.get());
            child->disconnect(FChildWindowHook.get());
        }
    }
    ClearChildWindowHandles();
}

void THostedBrowser::RehookChildWindows()
{
    if (!FShellDocObjViewHandle || !FInetExplorerServerHandle)
        HookChildWindows();
}

void THostedBrowser::ChildWindowFocused(QWidget *)
{
    if (window() == this || !CanFocus())
        return;
    // The form's active control is the component already: its focus lies in it.
    SetFocusToDoc();
}

// ---- the parent form -------------------------------------------------------------

void THostedBrowser::HookParentForm()
{
    HostedBrowserModuleState &module = hostedBrowserModule();
    if (module.ParentFormHooked)
        return;
    // The window the component lies in; none yet while it has no parent.
    QWidget *form = window();
    if (form == this)
        return;
    FParentForm = form;
    FParentFormHook = std::make_unique<ParentFormHook>([this](QEvent *event) { return ParentFormWndProc(event); });
    form->installEventFilter(FParentFormHook.get());
    module.ParentFormHooked = true;
}

void THostedBrowser::UnhookParentForm()
{
    if (!FParentFormHook)
        return;
    if (FParentForm)
        FParentForm->removeEventFilter(FParentFormHook.get());
    FParentFormHook.reset();
    FParentForm = nullptr;
    hostedBrowserModule().ParentFormHooked = false;
}

// Qt sends no accelerator characters to a form the way the platform's
// CM_DIALOGCHAR does, so there is nothing of that to keep from it.
bool THostedBrowser::ParentFormWndProc(QEvent *event)
{
    if (event->type() == QEvent::WindowDeactivate) {
        // The window taking the activation is already the active one.
        if (QWidget *taker = QApplication::activeWindow(); taker && taker != FParentForm)
            HandleIEDialog(taker);
    }
    return false;
}

} // namespace vocab

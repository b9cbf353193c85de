// The document host UI callbacks of TCustomHostedBrowser: context menus,
// host information, accelerators, option key paths, drop target, URL
// translation, message boxes and help.

#include "HbCore.h"

#include "PlatformLibraries.h"
#include "WindowHelpers.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QPointer>

namespace vocab {

namespace {

bool hasVisibleItem(const QMenu &menu)
{
    for (const QAction *action : menu.actions())
        if (action->isVisible() && !action->isSeparator())
            return true;
    return false;
}

// The host's menu pops up as the platform's pop-up menus do: once the input
// that asked for it has been handled, so that it opens neither inside the
// engine's callback nor while the button's own handling (and the pointer
// grab of a press) is still under way, and it takes the pointer from a
// quiet event loop. One request at a time: a second request for the same
// click finds the menu pending or open. A menu whose opening handler leaves
// nothing to show is closed at once, as an empty menu shows nothing there.
void popUpWhenInputIsHandled(QMenu *menu, QPoint at)
{
    static QPointer<QMenu> pending;
    if (pending == menu || menu->isVisible())
        return;
    pending = menu;
    QMetaObject::invokeMethod(menu, [menu, at] {
        // Still pending while it opens: its opening handler may wait for the
        // page, and a request handled meanwhile must not open it again.
        if (!menu->isVisible()) {
            menu->popup(at);
            if (!hasVisibleItem(*menu))
                menu->hide();
        }
        pending = nullptr;
    }, Qt::QueuedConnection);
}

} // namespace

HRESULT TCustomHostedBrowser::ShowContextMenu(std::uint32_t dwID, const QPoint *ppt, IInterface *pcmdtReserved,
                                              const ContextMenuContext *pdispReserved)
{
    HRESULT Result = E_NOTIMPL;
    if (OnShowContextMenu)
        OnShowContextMenu(this, dwID, ppt, pcmdtReserved, pdispReserved, Result);
    if (Result != E_NOTIMPL)
        return Result;
    if (IsPopupMenuDisabled(dwID)) {
        // The browser shows nothing; the host's own menu, if it has one, at the pointer.
        if (QMenu *menu = PopupMenu())
            popUpWhenInputIsHandled(menu, QCursor::pos());
        return S_OK;
    }
    if (HasPopupMenuFilter())
        return ShowIEContextMenu(dwID, pcmdtReserved, ppt, pdispReserved) ? S_OK : S_FALSE;
    return S_FALSE;
}

bool TCustomHostedBrowser::IsPopupMenuDisabled(std::uint32_t dwID) const
{
    return FDisabledPopupMenus.contains(rcmAll)
        || (dwID < rcmAll && FDisabledPopupMenus.contains(static_cast<TIEPopupMenu>(dwID)));
}

// The browser's own menu, built here so that it can be filtered first. The
// control makes the menu itself, so there is no resource to fail to load;
// its encoding item is left as the control has it. The control has items
// only for what the engine asked a menu for; with no such request (the
// right press kept from the engine, say) there is nothing to show, and no
// empty menu pops up. A menu the filter emptied is not shown either, but
// counts as shown, so that the browser does not show its unfiltered one.
bool TCustomHostedBrowser::ShowIEContextMenu(std::uint32_t dwID, IInterface *, const QPoint *ppt,
                                             const ContextMenuContext *pdispReserved)
{
    std::unique_ptr<QMenu> menu = Control()->CreateContextMenu(dwID);
    if (!menu || menu->isEmpty())
        return false;
    FilterPopupMenu(this, dwID, menu.get(), pdispReserved);
    if (menu->isEmpty())
        return true;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu.release()->popup(ppt ? *ppt : QCursor::pos());
    return true;
}

bool TCustomHostedBrowser::HasPopupMenuFilter() const
{
    return static_cast<bool>(OnFilterPopupMenu);
}

void TCustomHostedBrowser::FilterPopupMenu(QObject *Sender, std::uint32_t ID, QMenu *Menu,
                                           const ContextMenuContext *Context)
{
    if (OnFilterPopupMenu)
        OnFilterPopupMenu(Sender, ID, Menu, Context);
}

HRESULT TCustomHostedBrowser::GetHostInfo(DOCHOSTUIINFO &pInfo)
{
    pInfo = DOCHOSTUIINFO();
    pInfo.cbSize = 20;
    pInfo.dwFlags = FUserInterfaceValue;
    pInfo.dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    if (OnGetHostInfo)
        OnGetHostInfo(this, pInfo);
    return S_OK;
}

HRESULT TCustomHostedBrowser::ShowUI(std::uint32_t dwID, IInterface *pActiveObject, IOleCommandTarget *pCommandTarget,
                                     IInterface *pFrame, IInterface *pDoc)
{
    HRESULT Rezult = S_FALSE;
    if (OnShowUI)
        OnShowUI(this, dwID, pActiveObject, pCommandTarget, pFrame, pDoc, Rezult);
    return Rezult;
}

HRESULT TCustomHostedBrowser::HideUI()
{
    HRESULT Rezult = S_FALSE;
    if (OnHideUI)
        OnHideUI(this, Rezult);
    return Rezult;
}

HRESULT TCustomHostedBrowser::UpdateUI()
{
    HRESULT Rezult = S_FALSE;
    if (OnUpdateUI)
        OnUpdateUI(this, Rezult);
    return Rezult;
}

HRESULT TCustomHostedBrowser::EnableModeless(bool fEnable)
{
    if (OnEnableModeless)
        OnEnableModeless(this, fEnable);
    return S_OK;
}

HRESULT TCustomHostedBrowser::OnDocWindowActivate(bool fActivate)
{
    if (OnOnDocWindowActivate)
        OnOnDocWindowActivate(this, fActivate);
    return S_OK;
}

HRESULT TCustomHostedBrowser::OnFrameWindowActivate(bool fActivate)
{
    if (OnOnFrameWindowActivate)
        OnOnFrameWindowActivate(this, fActivate);
    return S_OK;
}

HRESULT TCustomHostedBrowser::ResizeBorder(const QRect *prcBorder, IInterface *pUIWindow, bool fFrameWindow)
{
    if (OnResizeBorder)
        OnResizeBorder(this, prcBorder, pUIWindow, fFrameWindow);
    return S_OK;
}

HRESULT TCustomHostedBrowser::TranslateAccelerator(const TMsg *lpMsg, const QUuid *pguidCmdGroup, std::uint32_t nCmdID)
{
    bool Done = lpMsg && IsMaskedCtrlShortcut(*lpMsg);
    if (!Done && OnTranslateAccelerator)
        OnTranslateAccelerator(this, lpMsg, pguidCmdGroup, nCmdID, Done);
    return Done ? S_OK : S_FALSE;
}

// The key is matched by its virtual-key code, so a letter matches only as a
// capital; Alt plays no part.
bool TCustomHostedBrowser::IsMaskedCtrlShortcut(const TMsg &Msg)
{
    if (FDisableCtrlShortcuts.isEmpty() || Msg.message != WM_KEYDOWN)
        return false;
    if (!(Msg.keyState & Qt::ControlModifier) || (Msg.keyState & Qt::ShiftModifier))
        return false;
    const QChar key(static_cast<char16_t>(Msg.wParam & 0xFFFF));
    if (PosOfChar(key, FDisableCtrlShortcuts) == 0)
        return false;
    if (OnMaskedCtrlChar)
        OnMaskedCtrlChar(this, key);
    return true;
}

// The engine keeps no options in a registry key of its own, so it never
// asks for either path; the answers are there for callers of the host.
HRESULT TCustomHostedBrowser::GetOptionKeyPath(QString &pchKey, std::uint32_t)
{
    pchKey = (!fOptionKeyPath.isEmpty() && !fOverOptionKeyPath) ? fOptionKeyPath : QString();
    return pchKey.isEmpty() ? S_FALSE : S_OK;
}

HRESULT TCustomHostedBrowser::GetOverrideKeyPath(QString &pchKey, std::uint32_t)
{
    pchKey = (!fOptionKeyPath.isEmpty() && fOverOptionKeyPath) ? fOptionKeyPath : QString();
    return pchKey.isEmpty() ? S_FALSE : S_OK;
}

HRESULT TCustomHostedBrowser::GetDropTarget(IDropTarget *, IDropTarget *&ppDropTarget)
{
    ppDropTarget = nullptr;
    switch (FDropHandlingType) {
    case ddtMS:
        SetRegisterAsDropTarget(true);
        return E_NOTIMPL;
    case ddtMy:
        ppDropTarget = this;
        return S_OK;
    case ddtCustom:
        ppDropTarget = this;
        if (OnGetDropTarget)
            OnGetDropTarget(this, ppDropTarget);
        return S_OK;
    case ddtNo:
        SetRegisterAsDropTarget(false);
        return S_OK;
    }
    return E_NOTIMPL;
}

// The engine never asks: a page's window.external is the engine's own, and
// no host object can be put there.
HRESULT TCustomHostedBrowser::GetExternal(IInterface *&ppDispatch)
{
    ppDispatch = nullptr;
    if (OnGetExternal)
        OnGetExternal(this, ppDispatch);
    return ppDispatch ? S_OK : S_FALSE;
}

HRESULT TCustomHostedBrowser::TranslateUrl(std::uint32_t, const QString &pchURLIn, QString &ppchURLOut)
{
    QString url;
    if (OnTranslateUrl)
        OnTranslateUrl(this, pchURLIn, url);
    if (url.isEmpty())
        return S_FALSE;
    ppchURLOut = url;
    return S_OK;
}

HRESULT TCustomHostedBrowser::FilterDataObject(const QMimeData *pDO, const QMimeData *&ppDORet)
{
    ppDORet = nullptr;
    if (OnFilterDataObject)
        OnFilterDataObject(this, pDO, ppDORet);
    return ppDORet ? S_OK : S_FALSE;
}

HRESULT TCustomHostedBrowser::ShowMessage(QWidget *hwnd, const QString &lpstrText, const QString &lpstrCaption,
                                          std::uint32_t dwType, const QString &lpstrHelpFile,
                                          std::uint32_t dwHelpContext, int &plResult)
{
    if (OnShowMessage)
        return OnShowMessage(this, hwnd, lpstrText, lpstrCaption, dwType, lpstrHelpFile, dwHelpContext, plResult);
    return S_FALSE;
}

HRESULT TCustomHostedBrowser::ShowHelp(QWidget *hwnd, const QString *pszHelpFile, std::uint32_t uCommand,
                                       std::uint32_t dwData, QPoint ptMouse, IInterface *pDispatchObjectHit)
{
    if (OnShowHelpRequest)
        return OnShowHelpRequest(this, hwnd, pszHelpFile, uCommand, dwData, ptMouse, pDispatchObjectHit);
    if (pszHelpFile || FHelpFile.isEmpty())
        return S_FALSE;
    // A help file that cannot be opened leaves the help to the browser, as
    // if there were none: saying it was shown would leave F1 doing nothing.
    return CallHtmlHelp(hwnd, FHelpFile, uCommand, dwData) ? S_OK : S_FALSE;
}

} // namespace vocab

// The command target, the services and the drop target of
// TCustomHostedBrowser: script errors, unloads and refreshes, pop-up
// windows, focus, downloads, zoom, credentials, window moves and drops.

#include "HbCore.h"

#include "AppError.h"
#include "WindowHelpers.h"

namespace vocab {

namespace {

// A property of the event object by name; an unknown name is an error.
QVariant GetDispatchProperty(const IHTMLEventObj &event, const QString &Name)
{
    QVariant value;
    if (!event.getProperty(Name, value))
        throw AppError(QStringLiteral("'%1' is not supported.").arg(Name));
    return value;
}

} // namespace

// The engine asks the host for no command's state, so this is never called
// from there.
HRESULT TCustomHostedBrowser::QueryStatus(const QUuid *, std::span<OLECMD>, OLECMDTEXT *)
{
    return S_OK;
}

HRESULT TCustomHostedBrowser::Exec(const QUuid *pguidCmdGroup, std::uint32_t nCmdID, std::uint32_t nCmdexecopt,
                                   const QVariant &pvaIn, QVariant *pvaOut)
{
    HRESULT Result = OLECMDERR_E_NOTSUPPORTED;
    if (pguidCmdGroup && *pguidCmdGroup == CGID_Explorer) {
        if (nCmdID == OLECMDID_ONUNLOAD && OnUnload) {
            OnUnload(this);
            return S_OK;
        }
        if (nCmdID == OLECMDID_PREREFRESH && FOnPreRefresh
            && (GetIEWin(QString::fromLatin1(WindowClass::InternetExplorerServer))
                || GetIEWin(QString::fromLatin1(WindowClass::SysListView32))))
            FOnPreRefresh(this);
    } else if (pguidCmdGroup && *pguidCmdGroup == CGID_DocHostCommandHandler) {
        if (nCmdID == OLECMDID_SHOWSCRIPTERROR)
            return ShowScriptError(pvaIn, pvaOut);
        // The engine's reloads all come as IDM_REFRESH_TOP; the other two
        // ids come only from callers of the host.
        if (nCmdID == IDM_REFRESH || nCmdID == IDM_REFRESH_TOP || nCmdID == IDM_REFRESH_TOP_FULL) {
            if (OnRefresh) {
                bool Cancel = false;
                OnRefresh(this, static_cast<int>(nCmdID), Cancel);
                if (Cancel)
                    Result = S_OK;
            }
            return Result;
        }
    }
    if (OnCommandExec)
        OnCommandExec(this, pguidCmdGroup, nCmdID, nCmdexecopt, pvaIn, pvaOut, Result);
    return Result;
}

HRESULT TCustomHostedBrowser::ShowScriptError(const QVariant &vaIn, QVariant *vaOut)
{
    // The answer for this error is the action in force now; a handler
    // that changes the action changes it for the errors after this one.
    HRESULT Result = S_FALSE;
    switch (FScriptErrorAction) {
    case eaContinue:
    case eaCancel:
        if (vaOut)
            *vaOut = FScriptErrorAction == eaContinue;
        Result = S_OK;
        break;
    case eaAskUser:
        break;
    }
    if (!OnScriptError)
        return Result;
    auto *document = vaIn.value<IHTMLDocument2 *>();
    IHTMLWindow2 *window = document ? document->parentWindow() : nullptr;
    const IHTMLEventObj *event = window ? window->event() : nullptr;
    if (!event)
        return Result;
    QString line, character, code, message, url;
    try {
        line = GetDispatchProperty(*event, QStringLiteral("errorline")).toString();
        character = GetDispatchProperty(*event, QStringLiteral("errorCharacter")).toString();
        code = GetDispatchProperty(*event, QStringLiteral("errorCode")).toString();
        message = GetDispatchProperty(*event, QStringLiteral("errorMessage")).toString();
        url = GetDispatchProperty(*event, QStringLiteral("errorUrl")).toString();
    } catch (const AppError &) {
        // An error that cannot be described is still answered as decided.
        return Result;
    }
    OnScriptError(this, line, character, code, message, url, FScriptErrorAction);
    return Result;
}

HRESULT TCustomHostedBrowser::QueryService(const QUuid &guidService, const QUuid &riid, IInterface *&ppv)
{
    ppv = nullptr;
    if (!ProvidesService(guidService, riid, ppv) && OnQueryService)
        OnQueryService(this, guidService, riid, ppv);
    return ppv ? S_OK : E_NOINTERFACE;
}

bool TCustomHostedBrowser::ProvidesService(const QUuid &rsid, const QUuid &iid, IInterface *&Obj)
{
    const bool offered = (rsid == INewWindowManager::IID && OnEvaluateNewWindow) || rsid == IProtectFocus::IID
        || (rsid == IDownloadManager::IID && OnFileDownload) || (rsid == IHostBehaviorInit::IID && OnPopulateNSTable)
        || (rsid == IHTMLOMWindowServices::IID && (FFloatingHosting || OnMove || OnMoveBy || OnResize || OnResizeBy))
        || (iid == IAuthenticate::IID && OnAuthenticate);
    if (!offered)
        return false;
    Obj = QueryInterface(iid);
    return Obj != nullptr;
}

HRESULT TCustomHostedBrowser::EvaluateNewWindow(const QString &pszUrl, const QString &pszName,
                                                const QString &pszUrlContext, const QString &pszFeatures,
                                                bool fReplace, std::uint32_t dwFlags, std::uint32_t dwUserActionTime)
{
    HRESULT Rezult = E_FAIL;
    if (OnEvaluateNewWindow)
        OnEvaluateNewWindow(this, pszUrl, pszName, pszUrlContext, pszFeatures, fReplace, dwFlags, dwUserActionTime,
                            Rezult);
    return Rezult;
}

HRESULT TCustomHostedBrowser::AllowFocusChange(bool &pfAllow)
{
    pfAllow = FCanGrabFocus;
    if (OnAllowFocusChange)
        OnAllowFocusChange(this, pfAllow);
    return S_OK;
}

HRESULT TCustomHostedBrowser::Download(const QUrl &pmk, IInterface *pbc, std::uint32_t dwBindVerb,
                                       std::uint32_t grfBINDF, IInterface *pBindInfo, const QString &pszHeaders,
                                       const QString &pszRedir, std::uint32_t uiCP)
{
    HRESULT Rezult = E_NOTIMPL;
    if (OnFileDownload)
        OnFileDownload(this, pmk, pbc, dwBindVerb, grfBINDF, pBindInfo, pszHeaders, pszRedir, uiCP, Rezult);
    return Rezult;
}

HRESULT TCustomHostedBrowser::OnZoomPercentChanged(std::uint32_t ulZoomPercent)
{
    if (OnZoomPercentChange)
        return OnZoomPercentChange(this, ulZoomPercent);
    return S_FALSE;
}

HRESULT TCustomHostedBrowser::Authenticate(QWidget *&phwnd, QString &pszUsername, QString &pszPassword)
{
    phwnd = this;
    QString UserName;
    QString PassWord;
    HRESULT Rezult = S_OK;
    if (OnAuthenticate)
        OnAuthenticate(this, phwnd, UserName, PassWord, Rezult);
    pszUsername = UserName;
    pszPassword = PassWord;
    return Rezult;
}

QWidget *TCustomHostedBrowser::ParentForm() const
{
    QWidget *form = window();
    return form == this ? nullptr : form;
}

void TCustomHostedBrowser::MoveParentForm(int x, int y, bool Relative)
{
    QWidget *form = ParentForm();
    if (!form)
        return;
    if (Relative) {
        x += form->x();
        y += form->y();
    }
    form->move(x, y);
}

void TCustomHostedBrowser::ResizeParentForm(int cx, int cy, bool Relative)
{
    QWidget *form = ParentForm();
    if (!form)
        return;
    if (Relative) {
        cx += form->width();
        cy += form->height();
    }
    form->resize(cx, cy);
}

HRESULT TCustomHostedBrowser::moveTo(int x, int y)
{
    if (FFloatingHosting)
        MoveParentForm(x, y, false);
    if (OnMove)
        OnMove(this, x, y);
    return S_OK;
}

// The engine tells only where a page wants its window, never by how much
// it moves it: a page's moveBy and resizeBy arrive as moveTo and resizeTo,
// and these two are called by nobody but callers of the host.
HRESULT TCustomHostedBrowser::moveBy(int x, int y)
{
    if (FFloatingHosting)
        MoveParentForm(x, y, true);
    if (OnMoveBy)
        OnMoveBy(this, x, y);
    return S_OK;
}

HRESULT TCustomHostedBrowser::resizeTo(int x, int y)
{
    if (FFloatingHosting)
        ResizeParentForm(x, y, false);
    if (OnResize)
        OnResize(this, x, y);
    return S_OK;
}

HRESULT TCustomHostedBrowser::resizeBy(int x, int y)
{
    if (FFloatingHosting)
        ResizeParentForm(x, y, true);
    if (OnResizeBy)
        OnResizeBy(this, x, y);
    return S_OK;
}

// The engine has no behaviours and no namespace table to fill: never called.
HRESULT TCustomHostedBrowser::PopulateNamespaceTable()
{
    if (OnPopulateNSTable)
        OnPopulateNSTable(this);
    return S_OK;
}

HRESULT TCustomHostedBrowser::DragEnter(const QMimeData *pDataObj, int grfKeyState, QPoint pt, int &pdwEffect)
{
    pdwEffect = DROPEFFECT_NONE;
    HRESULT Rezult = S_OK;
    if (OnDragEnter)
        OnDragEnter(this, pDataObj, grfKeyState, pt, pdwEffect, Rezult);
    return Rezult;
}

HRESULT TCustomHostedBrowser::DragOver(int grfKeyState, QPoint pt, int &pdwEffect)
{
    pdwEffect = DROPEFFECT_NONE;
    HRESULT Rezult = S_OK;
    if (OnDragOver2)
        OnDragOver2(this, grfKeyState, pt, pdwEffect, Rezult);
    return Rezult;
}

HRESULT TCustomHostedBrowser::DragLeave()
{
    if (OnDragLeave)
        OnDragLeave(this);
    return S_OK;
}

HRESULT TCustomHostedBrowser::Drop(const QMimeData *pDataObj, int grfKeyState, QPoint pt, int &pdwEffect)
{
    pdwEffect = DROPEFFECT_NONE;
    HRESULT Rezult = S_OK;
    if (OnDropEvent)
        OnDropEvent(this, pDataObj, grfKeyState, pt, pdwEffect, Rezult);
    return Rezult;
}

void TCustomHostedBrowser::DropEffect(int grfKeyState, int &dwEffect)
{
    const bool shift = grfKeyState & MK_SHIFT;
    const bool control = grfKeyState & MK_CONTROL;
    const int allowed = dwEffect;
    if (shift && !control && (allowed & DROPEFFECT_MOVE))
        dwEffect = DROPEFFECT_MOVE;
    else if (shift && control && (allowed & DROPEFFECT_LINK))
        dwEffect = DROPEFFECT_LINK;
    else if (allowed & DROPEFFECT_COPY)
        dwEffect = DROPEFFECT_COPY;
    else if (allowed & DROPEFFECT_MOVE)
        dwEffect = DROPEFFECT_MOVE;
    else if (allowed & DROPEFFECT_LINK)
        dwEffect = DROPEFFECT_LINK;
    else
        dwEffect = DROPEFFECT_NONE;
}

QString TCustomHostedBrowser::dwEffectToStr(HRESULT Command)
{
    switch (Command) {
    case 0: return QStringLiteral("Drop target cannot accept the data.");
    case 1: return QStringLiteral("Drag source should copy the data.");
    case 2: return QStringLiteral("Drag source should remove the data.");
    case 4: return QStringLiteral("Drag source should create a link to the original data.");
    case 7: return QStringLiteral("operation was successful.");
    case DRAGDROP_S_DROP: return QStringLiteral("The drag-and-drop operation was successful.");
    case DRAGDROP_S_CANCEL: return QStringLiteral("The drag-and-drop operation was canceled.");
    case DRAGDROP_S_USEDEFAULTCURSORS: return QStringLiteral("Successful completion. Restoring defaults.");
    case E_FAIL: return QStringLiteral("Unexpected error occurred.");
    case DRAGDROP_E_NOTREGISTERED: return QStringLiteral("Failed to revoke a drop target that has not been registered.");
    case DRAGDROP_E_INVALIDHWND: return QStringLiteral("Invalid handle returned in the hwnd parameter.");
    case E_OUTOFMEMORY: return QStringLiteral("Out of memory.");
    default: return QStringLiteral("Unknown.");
    }
}

} // namespace vocab

#pragma once

// TCustomHostedBrowser: the hosting core of the browser component. It is the
// browser control's site and answers every callback the control makes to
// its host. Each callback first works out its default answer, then hands it
// to the matching On... event, when one is assigned, by reference, and
// answers what the event left there. Several services are offered only
// while their event is assigned, so assigning an event is behaviour.
//
// The host's window is a Qt widget, which survives the re-creation of its
// parent's native window together with the page it shows; the window
// parking such a re-creation needs elsewhere has no work to do here.
//
// The callbacks of the document host UI are in HbCoreUi.cpp, the services
// and the command target in HbCoreServices.cpp, the operations on the
// document in HbCoreCommands.cpp.

#include "HbCoreTypes.h"
#include "HostInterfaces.h"
#include "HtmlDocument.h"
#include "THB.h"

#include <QChar>
#include <QPoint>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

class QMenu;
class QMimeData;

namespace vocab {

class TCustomHostedBrowser : public THB,
                             public IDocHostUIHandler2,
                             public IDocHostShowUI,
                             public IOleCommandTarget,
                             public IDropTarget,
                             public IServiceProvider,
                             public INewWindowManager,
                             public IProtectFocus,
                             public IDownloadManager,
                             public IHTMLOMWindowServices,
                             public IHostBehaviorInit,
                             public IZoomEvents,
                             public IAuthenticate {
    Q_OBJECT
public:
    explicit TCustomHostedBrowser(QWidget *parent = nullptr, const ControlFactory &factory = {});
    ~TCustomHostedBrowser() override;

    // Published options.
    const QString &DisableCtrlShortcuts() const { return FDisableCtrlShortcuts; }
    void SetDisableCtrlShortcuts(const QString &value) { FDisableCtrlShortcuts = value; }
    TDownloadControlOptions DownloadOptions() const { return FDownloadControlOptions; }
    void SetDownloadOptions(TDownloadControlOptions Value);
    TUserInterfaceOptions UserInterfaceOptions() const { return FUserInterfaceOptions; }
    void SetUserInterfaceOptions(TUserInterfaceOptions Value);
    const QString &HelpFile() const { return FHelpFile; }
    void SetHelpFile(const QString &value) { FHelpFile = value; }
    const QString &OptionKeyPath() const { return fOptionKeyPath; }
    void SetOptionKeyPath(const QString &value) { fOptionKeyPath = value; }
    bool OverrideOptionKeyPath() const { return fOverOptionKeyPath; }
    void SetOverrideOptionKeyPath(bool value) { fOverOptionKeyPath = value; }
    TDragDropHandlingType DropHandlingType() const { return FDropHandlingType; }
    void SetDropHandlingType(TDragDropHandlingType Value);
    TIEPopupMenus DisabledPopupMenus() const { return FDisabledPopupMenus; }
    void SetDisabledPopupMenus(TIEPopupMenus value) { FDisabledPopupMenus = value; }
    bool FloatingHosting() const { return FFloatingHosting; }
    void SetFloatingHosting(bool value) { FFloatingHosting = value; }
    TScriptErrorAction ScriptErrorAction() const { return FScriptErrorAction; }
    void SetScriptErrorAction(TScriptErrorAction value) { FScriptErrorAction = value; }

    // Whether the page may take the focus.
    bool CanGrabFocus() const { return FCanGrabFocus; }
    void SetCanGrabFocus(bool value) { FCanGrabFocus = value; }

    // The host flags and download flags the options add up to.
    std::uint32_t UserInterfaceValue() const { return FUserInterfaceValue; }
    std::uint32_t DownloadOptionValue() const { return FDownloadOptionValue; }

    // ---- Operations on the document (HbCoreCommands.cpp) ----
    IHTMLDocument2 *Doc2() const;
    IHTMLDocument3 *Doc3() const;
    IHTMLDocument4 *Doc4() const;
    IHTMLDocument5 *Doc5() const;
    std::unique_ptr<IHTMLElement> Body() const;
    QString Cookie() const;

    HRESULT InvokeCommand(const QUuid *CmdGroup, std::uint32_t Cmd, std::uint32_t nCmdexecopt, const QVariant &vaIn,
                          QVariant &vaOut);
    HRESULT InvokeCommand(const QUuid *CmdGroup, std::uint32_t Cmd);
    HRESULT QueryCommandStatus(const QUuid *CmdGroup, std::span<OLECMD> prgCmds, OLECMDTEXT *CmdText);
    std::uint32_t QueryCMDStatus(const QUuid *CmdGroup, std::uint32_t cmdID);
    bool QueryCMDEnabled(const QUuid *CmdGroup, std::uint32_t cmdID);
    bool QueryCMDLatched(const QUuid *CmdGroup, std::uint32_t cmdID);
    bool QueryCMDArrayStatus(const QUuid *CmdGroup, std::span<OLECMD> Cmds);

    // The text size (0 to 4) and the optical zoom (percent). ZoomPercent
    // reads the last value written.
    int Zoom();
    void SetZoom(int value);
    int ZoomRangeLow();
    int ZoomRangeHigh();
    int ZoomPercent() const { return FZoomPercent; }
    void SetZoomPercent(int value);

    // The window of a class among the control's inner windows (see
    // WindowHelpers.h); null when the control has none of that class.
    QWidget *GetIEWin(const QString &ClassName) const;
    bool ScrollToElement(IHTMLElement *Element);
    QString CharactersSet() const;
    void SetCharactersSet(const QString &value);
    // The ambient user mode is "not DesignMode".
    bool DesignMode() const { return FDesignMode; }
    void SetDesignMode(bool value);
    TDocDesignMode DocDesignMode() const;
    void SetDocDesignMode(TDocDesignMode value);
    void SetFocusToDoc();
    void SetFocusToBody();
    void SetFocusToParent();
    void Client2HostWin(int &CX, int &CY) const;
    bool GetElementNamespaceTable(IElementNamespaceTable *&aTable);

    // ---- Helpers for drop handlers ----
    static void DropEffect(int grfKeyState, int &dwEffect);
    static QString dwEffectToStr(HRESULT Command);

    // ---- Events ----
    std::function<HRESULT(TCustomHostedBrowser *Sender, std::uint32_t ulZoomPercent)> OnZoomPercentChange;
    std::function<void(QObject *Sender, int &Count, HRESULT &Rezult)> OnGetTypeInfoCount;
    std::function<void(QObject *Sender, int Index, int LocaleID, ITypeInfo *&TypeInfo, HRESULT &Rezult)> OnGetTypeInfo;
    std::function<void(QObject *Sender, const QUuid &IID, const QStringList &Names, int NameCount, int LocaleID,
                       QList<int> &DispIDs, HRESULT &Rezult)>
        OnGetIDsOfNames;
    std::function<void(QObject *Sender, int DispID, const QUuid &IID, int LocaleID, std::uint16_t Flags,
                       DISPPARAMS &Params, QVariant *VarResult, EXCEPINFO *ExcepInfo, std::uint32_t *ArgErr,
                       HRESULT &Rezult)>
        OnInvoke;
    std::function<HRESULT(QObject *Sender, QWidget *HWND, const QString &lpstrText, const QString &lpstrCaption,
                          std::uint32_t dwType, const QString &lpstrHelpFile, std::uint32_t dwHelpContext,
                          int &plResult)>
        OnShowMessage;
    std::function<HRESULT(QObject *Sender, QWidget *HWND, const QString *pszHelpFile, std::uint32_t uCommand,
                          std::uint32_t dwData, QPoint ptMouse, IInterface *&pDispatchObjectHit)>
        OnShowHelpRequest;
    std::function<void(TCustomHostedBrowser *Sender, const QMimeData *pDO, const QMimeData *&ppDORet)> OnFilterDataObject;
    std::function<void(TCustomHostedBrowser *Sender, IInterface *&ppDispatch)> OnGetExternal;
    std::function<void(TCustomHostedBrowser *Sender, DOCHOSTUIINFO &pInfo)> OnGetHostInfo;
    std::function<void(TCustomHostedBrowser *Sender, bool fEnable)> OnEnableModeless;
    std::function<void(TCustomHostedBrowser *Sender, IDropTarget *&DropTarget)> OnGetDropTarget;
    std::function<void(QObject *Sender, HRESULT &Rezult)> OnHideUI;
    std::function<void(QObject *Sender, HRESULT &Rezult)> OnUpdateUI;
    std::function<void(TCustomHostedBrowser *Sender, bool fActivate)> OnOnDocWindowActivate;
    std::function<void(TCustomHostedBrowser *Sender, bool fActivate)> OnOnFrameWindowActivate;
    std::function<void(TCustomHostedBrowser *Sender, const QRect *prcBorder, IInterface *pUIWindow, bool fRameWindow)>
        OnResizeBorder;
    std::function<void(TCustomHostedBrowser *Sender, std::uint32_t dwID, const QPoint *ppt, IInterface *CommandTarget,
                       const ContextMenuContext *Context, HRESULT &Result)>
        OnShowContextMenu;
    std::function<void(TCustomHostedBrowser *Sender, std::uint32_t dwID, IInterface *pActiveObject,
                       IOleCommandTarget *pCommandTarget, IInterface *pFrame, IInterface *pDoc, HRESULT &Rezult)>
        OnShowUI;
    std::function<void(TCustomHostedBrowser *Sender, const TMsg *lpMsg, const QUuid *pguidCmdGroup,
                       std::uint32_t nCmdID, bool &Done)>
        OnTranslateAccelerator;
    std::function<void(TCustomHostedBrowser *Sender, const QString &pchURLIn, QString &ppchURLOut)> OnTranslateUrl;
    std::function<void(QObject *Sender, const QMimeData *dataObj, int grfKeyState, QPoint pt, int &dwEffect,
                       HRESULT &Rezult)>
        OnDragEnter;
    std::function<void(QObject *Sender)> OnDragLeave;
    std::function<void(QObject *Sender, int grfKeyState, QPoint pt, int &dwEffect, HRESULT &Rezult)> OnDragOver2;
    std::function<void(QObject *Sender, const QMimeData *dataObj, int grfKeyState, QPoint pt, int &dwEffect,
                       HRESULT &Rezult)>
        OnDropEvent;
    // ScriptErrorAction is the component's own property: what the handler
    // puts there decides the later errors.
    std::function<void(QObject *Sender, const QString &ErrorLine, const QString &ErrorCharacter,
                       const QString &ErrorCode, const QString &ErrorMessage, const QString &ErrorUrl,
                       TScriptErrorAction &ScriptErrorAction)>
        OnScriptError;
    std::function<void(TCustomHostedBrowser *Sender, int CmdID, bool &Cancel)> OnRefresh;
    std::function<void(QObject *Sender)> OnUnload;
    std::function<void(QObject *Sender, const QUuid *CmdGroup, std::uint32_t nCmdID, std::uint32_t nCmdexecopt,
                       const QVariant &vaIn, QVariant *vaOut, HRESULT &Rezult)>
        OnCommandExec;
    std::function<void(QObject *Sender, const QUuid &rsid, const QUuid &iid, IInterface *&Obj)> OnQueryService;
    std::function<void(TCustomHostedBrowser *Sender, const QString &pszUrl, const QString &pszName,
                       const QString &pszUrlContext, const QString &pszFeatures, bool fReplace, std::uint32_t dwFlags,
                       std::uint32_t dwUserActionTime, HRESULT &Rezult)>
        OnEvaluateNewWindow;
    std::function<void(QObject *Sender, bool &Value)> OnAllowFocusChange;
    std::function<void(TCustomHostedBrowser *Sender, const QUrl &pmk, IInterface *pbc, std::uint32_t dwBindVerb,
                       std::uint32_t grfBINDF, IInterface *pBindInfo, const QString &pszHeaders,
                       const QString &pszRedir, std::uint32_t uiCP, HRESULT &Rezult)>
        OnFileDownload;
    std::function<void(QObject *Sender, std::uint32_t ID, QMenu *Menu, const ContextMenuContext *Context)>
        OnFilterPopupMenu;
    std::function<void(TCustomHostedBrowser *Sender, QChar MaskedChar)> OnMaskedCtrlChar;
    std::function<void(TCustomHostedBrowser *Sender, int cx, int cy)> OnMove;
    std::function<void(TCustomHostedBrowser *Sender, int cx, int cy)> OnMoveBy;
    std::function<void(TCustomHostedBrowser *Sender, int cx, int cy)> OnResize;
    std::function<void(TCustomHostedBrowser *Sender, int cx, int cy)> OnResizeBy;
    std::function<void(QObject *Sender)> OnPopulateNSTable;
    std::function<void(TCustomHostedBrowser *Sender, QWidget *&hwnd, QString &szUserName, QString &szPassWord,
                       HRESULT &Rezult)>
        OnAuthenticate;

    // ---- The callbacks the control makes ----
    // IDocHostUIHandler, IDocHostUIHandler2 (HbCoreUi.cpp)
    HRESULT ShowContextMenu(std::uint32_t dwID, const QPoint *ppt, IInterface *pcmdtReserved,
                            const ContextMenuContext *pdispReserved) override;
    HRESULT GetHostInfo(DOCHOSTUIINFO &pInfo) override;
    HRESULT ShowUI(std::uint32_t dwID, IInterface *pActiveObject, IOleCommandTarget *pCommandTarget, IInterface *pFrame,
                   IInterface *pDoc) override;
    HRESULT HideUI() override;
    HRESULT UpdateUI() override;
    HRESULT EnableModeless(bool fEnable) override;
    HRESULT OnDocWindowActivate(bool fActivate) override;
    HRESULT OnFrameWindowActivate(bool fActivate) override;
    HRESULT ResizeBorder(const QRect *prcBorder, IInterface *pUIWindow, bool fFrameWindow) override;
    HRESULT TranslateAccelerator(const TMsg *lpMsg, const QUuid *pguidCmdGroup, std::uint32_t nCmdID) override;
    HRESULT GetOptionKeyPath(QString &pchKey, std::uint32_t dw) override;
    HRESULT GetOverrideKeyPath(QString &pchKey, std::uint32_t dw) override;
    HRESULT GetDropTarget(IDropTarget *pDropTarget, IDropTarget *&ppDropTarget) override;
    HRESULT GetExternal(IInterface *&ppDispatch) override;
    HRESULT TranslateUrl(std::uint32_t dwTranslate, const QString &pchURLIn, QString &ppchURLOut) override;
    HRESULT FilterDataObject(const QMimeData *pDO, const QMimeData *&ppDORet) override;
    // IDocHostShowUI
    HRESULT ShowMessage(QWidget *hwnd, const QString &lpstrText, const QString &lpstrCaption, std::uint32_t dwType,
                        const QString &lpstrHelpFile, std::uint32_t dwHelpContext, int &plResult) override;
    HRESULT ShowHelp(QWidget *hwnd, const QString *pszHelpFile, std::uint32_t uCommand, std::uint32_t dwData,
                     QPoint ptMouse, IInterface *pDispatchObjectHit) override;

    // IOleCommandTarget, IServiceProvider and the services (HbCoreServices.cpp)
    HRESULT QueryStatus(const QUuid *pguidCmdGroup, std::span<OLECMD> prgCmds, OLECMDTEXT *pCmdText) override;
    HRESULT Exec(const QUuid *pguidCmdGroup, std::uint32_t nCmdID, std::uint32_t nCmdexecopt, const QVariant &pvaIn,
                 QVariant *pvaOut) override;
    HRESULT QueryService(const QUuid &guidService, const QUuid &riid, IInterface *&ppv) override;
    HRESULT EvaluateNewWindow(const QString &pszUrl, const QString &pszName, const QString &pszUrlContext,
                              const QString &pszFeatures, bool fReplace, std::uint32_t dwFlags,
                              std::uint32_t dwUserActionTime) override;
    HRESULT AllowFocusChange(bool &pfAllow) override;
    HRESULT Download(const QUrl &pmk, IInterface *pbc, std::uint32_t dwBindVerb, std::uint32_t grfBINDF,
                     IInterface *pBindInfo, const QString &pszHeaders, const QString &pszRedir,
                     std::uint32_t uiCP) override;
    HRESULT OnZoomPercentChanged(std::uint32_t ulZoomPercent) override;
    HRESULT Authenticate(QWidget *&phwnd, QString &pszUsername, QString &pszPassword) override;
    HRESULT moveTo(int x, int y) override;
    HRESULT moveBy(int x, int y) override;
    HRESULT resizeTo(int x, int y) override;
    HRESULT resizeBy(int x, int y) override;
    HRESULT PopulateNamespaceTable() override;
    // IDropTarget
    HRESULT DragEnter(const QMimeData *pDataObj, int grfKeyState, QPoint pt, int &pdwEffect) override;
    HRESULT DragOver(int grfKeyState, QPoint pt, int &pdwEffect) override;
    HRESULT DragLeave() override;
    HRESULT Drop(const QMimeData *pDataObj, int grfKeyState, QPoint pt, int &pdwEffect) override;

    // The ambient dispatch (HbCore.cpp)
    HRESULT GetTypeInfoCount(int &pctinfo) override;
    HRESULT GetTypeInfo(int iTInfo, int lcid, ITypeInfo *&ppTInfo) override;
    HRESULT GetIDsOfNames(const QUuid &riid, const QStringList &rgszNames, int lcid, QList<int> &rgDispId) override;
    HRESULT Invoke(int dispIdMember, const QUuid &riid, int lcid, std::uint16_t wFlags, DISPPARAMS &pDispParams,
                   QVariant *pVarResult, EXCEPINFO *pExcepInfo, std::uint32_t *puArgErr) override;

    // The host's own interface of an identifier; null for one it lacks.
    IInterface *QueryInterface(const QUuid &iid);

protected:
    // Whether a key message is a Ctrl shortcut the host swallows.
    virtual bool IsMaskedCtrlShortcut(const TMsg &Msg);
    // The answer to a script error; vaIn holds the document.
    virtual HRESULT ShowScriptError(const QVariant &vaIn, QVariant *vaOut);
    // Whether the host answers a service request itself.
    virtual bool ProvidesService(const QUuid &rsid, const QUuid &iid, IInterface *&Obj);
    // Whether the browser's own context menu must be built by the host so that it can be filtered.
    virtual bool HasPopupMenuFilter() const;
    // Called on the browser's own menu, built by the host, before it shows.
    virtual void FilterPopupMenu(QObject *Sender, std::uint32_t ID, QMenu *Menu, const ContextMenuContext *Context);

    std::uint32_t FDownloadOptionValue = 0;
    std::uint32_t FUserInterfaceValue = 0;
    // Assigned by the component for its own use; no published event.
    std::function<HRESULT(QString &UserAgent)> FOnSetUserAgent;
    std::function<void(QObject *Sender)> FOnPreRefresh;

private:
    void UpdateDownloadOptionValue();
    void UpdateUserInterfaceValue();
    bool IsPopupMenuDisabled(std::uint32_t dwID) const;
    bool ShowIEContextMenu(std::uint32_t dwID, IInterface *pcmdtReserved, const QPoint *ppt,
                           const ContextMenuContext *pdispReserved);
    void MoveParentForm(int x, int y, bool Relative);
    void ResizeParentForm(int cx, int cy, bool Relative);
    QWidget *ParentForm() const;
    void Announce(int dispID);

    TDownloadControlOptions FDownloadControlOptions;
    QString FHelpFile;
    QString fOptionKeyPath;
    bool fOverOptionKeyPath = false;
    TUserInterfaceOptions FUserInterfaceOptions;
    TScriptErrorAction FScriptErrorAction = eaContinue;
    bool FCanGrabFocus = true;
    TDragDropHandlingType FDropHandlingType = ddtMS;
    int FZoomPercent = 0;
    bool FDesignMode = false;
    TIEPopupMenus FDisabledPopupMenus;
    QString FDisableCtrlShortcuts;
    bool FFloatingHosting = false;
};

// Removes the items of a menu, its submenus included, that carry the command `id`.
void DeleteMenuCommand(QMenu *Menu, int id);

} // namespace vocab

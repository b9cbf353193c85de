#pragma once

// The interfaces through which the browser control asks its host how to
// behave. The host implements them; the control finds them on its client
// site (by type) or through the site's service provider (by identifier), and
// calls them at the moments the engine offers. Every answer is a result code
// the control acts on; out-parameters are references.

#include "ComTypes.h"
#include "HostFlags.h"
#include "OleCommands.h"

#include <QList>
#include <QRect>
#include <QStringList>
#include <QUrl>

#include <cstdint>
#include <span>

class QMimeData;

namespace vocab {

class IDropTarget;
class IOleCommandTarget;

// What the host tells the control about the documents it shows.
struct DOCHOSTUIINFO {
    std::uint32_t cbSize = 0;
    std::uint32_t dwFlags = 0;
    std::uint32_t dwDoubleClick = 0;
    QString pchHostCss; // empty: none
    QString pchHostNS;  // empty: none
};

inline constexpr std::uint32_t DOCHOSTUIDBLCLK_DEFAULT = 0;
inline constexpr std::uint32_t DOCHOSTUITYPE_BROWSE = 0;
inline constexpr std::uint32_t DOCHOSTUITYPE_AUTHOR = 1;

// Kinds of context menu, by what lies under the pointer.
inline constexpr std::uint32_t CONTEXT_MENU_DEFAULT = 0;
inline constexpr std::uint32_t CONTEXT_MENU_IMAGE = 1;
inline constexpr std::uint32_t CONTEXT_MENU_CONTROL = 2;
inline constexpr std::uint32_t CONTEXT_MENU_TABLE = 3;
inline constexpr std::uint32_t CONTEXT_MENU_TEXTSELECT = 4;
inline constexpr std::uint32_t CONTEXT_MENU_ANCHOR = 5;
inline constexpr std::uint32_t CONTEXT_MENU_UNKNOWN = 6;
inline constexpr std::uint32_t CONTEXT_MENU_IMGDYNSRC = 8;

// The element a context menu was asked for, as far as the engine tells it.
struct ContextMenuContext : IInterface {
    QString selectedText;
    QUrl linkUrl;
    QUrl mediaUrl;
    bool editable = false;
};

// Help commands the control passes with a help request.
inline constexpr std::uint32_t HELP_CONTEXT = 0x1;

class IDocHostUIHandler : public virtual IInterface {
public:
    virtual HRESULT ShowContextMenu(std::uint32_t dwID, const QPoint *ppt, IInterface *pcmdtReserved,
                                    const ContextMenuContext *pdispReserved) = 0;
    virtual HRESULT GetHostInfo(DOCHOSTUIINFO &pInfo) = 0;
    virtual HRESULT ShowUI(std::uint32_t dwID, IInterface *pActiveObject, IOleCommandTarget *pCommandTarget,
                           IInterface *pFrame, IInterface *pDoc) = 0;
    virtual HRESULT HideUI() = 0;
    virtual HRESULT UpdateUI() = 0;
    virtual HRESULT EnableModeless(bool fEnable) = 0;
    virtual HRESULT OnDocWindowActivate(bool fActivate) = 0;
    virtual HRESULT OnFrameWindowActivate(bool fActivate) = 0;
    virtual HRESULT ResizeBorder(const QRect *prcBorder, IInterface *pUIWindow, bool fFrameWindow) = 0;
    virtual HRESULT TranslateAccelerator(const TMsg *lpMsg, const QUuid *pguidCmdGroup, std::uint32_t nCmdID) = 0;
    virtual HRESULT GetOptionKeyPath(QString &pchKey, std::uint32_t dw) = 0;
    virtual HRESULT GetDropTarget(IDropTarget *pDropTarget, IDropTarget *&ppDropTarget) = 0;
    virtual HRESULT GetExternal(IInterface *&ppDispatch) = 0;
    virtual HRESULT TranslateUrl(std::uint32_t dwTranslate, const QString &pchURLIn, QString &ppchURLOut) = 0;
    virtual HRESULT FilterDataObject(const QMimeData *pDO, const QMimeData *&ppDORet) = 0;
};

class IDocHostUIHandler2 : public IDocHostUIHandler {
public:
    virtual HRESULT GetOverrideKeyPath(QString &pchKey, std::uint32_t dw) = 0;
};

class IDocHostShowUI : public virtual IInterface {
public:
    virtual HRESULT ShowMessage(QWidget *hwnd, const QString &lpstrText, const QString &lpstrCaption,
                                std::uint32_t dwType, const QString &lpstrHelpFile, std::uint32_t dwHelpContext,
                                int &plResult) = 0;
    // pszHelpFile is null when the control names no help file.
    virtual HRESULT ShowHelp(QWidget *hwnd, const QString *pszHelpFile, std::uint32_t uCommand, std::uint32_t dwData,
                             QPoint ptMouse, IInterface *pDispatchObjectHit) = 0;
};

class IOleCommandTarget : public virtual IInterface {
public:
    virtual HRESULT QueryStatus(const QUuid *pguidCmdGroup, std::span<OLECMD> prgCmds, OLECMDTEXT *pCmdText) = 0;
    virtual HRESULT Exec(const QUuid *pguidCmdGroup, std::uint32_t nCmdID, std::uint32_t nCmdexecopt,
                         const QVariant &pvaIn, QVariant *pvaOut) = 0;
};

class IDropTarget : public virtual IInterface {
public:
    virtual HRESULT DragEnter(const QMimeData *pDataObj, int grfKeyState, QPoint pt, int &pdwEffect) = 0;
    virtual HRESULT DragOver(int grfKeyState, QPoint pt, int &pdwEffect) = 0;
    virtual HRESULT DragLeave() = 0;
    virtual HRESULT Drop(const QMimeData *pDataObj, int grfKeyState, QPoint pt, int &pdwEffect) = 0;
};

class IServiceProvider : public virtual IInterface {
public:
    virtual HRESULT QueryService(const QUuid &guidService, const QUuid &riid, IInterface *&ppv) = 0;
};

class INewWindowManager : public virtual IInterface {
public:
    static constexpr QUuid IID{0xD2BC4C84, 0x3F72, 0x4A52, 0xA6, 0x04, 0x7B, 0xCB, 0xF3, 0x98, 0x2C, 0xBB};
    virtual HRESULT EvaluateNewWindow(const QString &pszUrl, const QString &pszName, const QString &pszUrlContext,
                                      const QString &pszFeatures, bool fReplace, std::uint32_t dwFlags,
                                      std::uint32_t dwUserActionTime) = 0;
};

// Flags of a new-window request.
inline constexpr std::uint32_t NWMF_USERINITIATED = 0x2;
inline constexpr std::uint32_t NWMF_FIRST = 0x4;

class IProtectFocus : public virtual IInterface {
public:
    static constexpr QUuid IID{0xD81F90A3, 0x8156, 0x44F7, 0xAD, 0x28, 0x5A, 0xBB, 0x87, 0x00, 0x32, 0x74};
    virtual HRESULT AllowFocusChange(bool &pfAllow) = 0;
};

// pmk names what is to be downloaded; the bind context and bind information
// of the platform have no counterpart here and arrive null.
class IDownloadManager : public virtual IInterface {
public:
    static constexpr QUuid IID{0x988934A4, 0x064B, 0x11D3, 0xBB, 0x80, 0x00, 0x10, 0x4B, 0x35, 0xE7, 0xF9};
    virtual HRESULT Download(const QUrl &pmk, IInterface *pbc, std::uint32_t dwBindVerb, std::uint32_t grfBINDF,
                             IInterface *pBindInfo, const QString &pszHeaders, const QString &pszRedir,
                             std::uint32_t uiCP) = 0;
};

class IHTMLOMWindowServices : public virtual IInterface {
public:
    static constexpr QUuid IID{0x3050F5FC, 0x98B5, 0x11CF, 0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B};
    virtual HRESULT moveTo(int x, int y) = 0;
    virtual HRESULT moveBy(int x, int y) = 0;
    virtual HRESULT resizeTo(int x, int y) = 0;
    virtual HRESULT resizeBy(int x, int y) = 0;
};

class IHostBehaviorInit : public virtual IInterface {
public:
    static constexpr QUuid IID{0x3050F842, 0x98B5, 0x11CF, 0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B};
    virtual HRESULT PopulateNamespaceTable() = 0;
};

class IZoomEvents : public virtual IInterface {
public:
    virtual HRESULT OnZoomPercentChanged(std::uint32_t ulZoomPercent) = 0;
};

class IAuthenticate : public virtual IInterface {
public:
    static constexpr QUuid IID{0x79EAC9D0, 0xBAF9, 0x11CE, 0x8C, 0x82, 0x00, 0xAA, 0x00, 0x4B, 0xA9, 0x0B};
    // An empty name or password means none was given.
    virtual HRESULT Authenticate(QWidget *&phwnd, QString &pszUsername, QString &pszPassword) = 0;
};

// The table of element behaviours of a document; nothing in this engine offers one.
class IElementNamespaceTable : public virtual IInterface {
public:
    static constexpr QUuid IID{0x3050F670, 0x98B5, 0x11CF, 0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B};
};

// The dispatch through which the control reads its host's ambient properties.
class IDispatch : public virtual IInterface {
public:
    virtual HRESULT GetTypeInfoCount(int &pctinfo) = 0;
    virtual HRESULT GetTypeInfo(int iTInfo, int lcid, ITypeInfo *&ppTInfo) = 0;
    virtual HRESULT GetIDsOfNames(const QUuid &riid, const QStringList &rgszNames, int lcid, QList<int> &rgDispId) = 0;
    virtual HRESULT Invoke(int dispIdMember, const QUuid &riid, int lcid, std::uint16_t wFlags,
                           DISPPARAMS &pDispParams, QVariant *pVarResult, EXCEPINFO *pExcepInfo,
                           std::uint32_t *puArgErr) = 0;
};

// The control's client site: the host object itself. The control looks for
// the interfaces above on it with a plain cast.
class IOleClientSite : public virtual IInterface {
public:
    // The window the control lives in, for dialogs it shows on the host's behalf.
    virtual QWidget *SiteWindow() = 0;
};

} // namespace vocab

#pragma once

// The browser control seen from its wrapper: the navigation interface, the
// control and object interfaces its host drives, and the events it raises.
// WebEngineControl is the control over Qt WebEngine; tests put a control of
// their own in its place.

#include "ComTypes.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <memory>

class QMenu;
class QRect;
class QWidget;

namespace vocab {

class IDropTarget;
class IHTMLDocument2;
class IOleClientSite;

inline constexpr int READYSTATE_UNINITIALIZED = 0;
inline constexpr int READYSTATE_LOADING = 1;
inline constexpr int READYSTATE_LOADED = 2;
inline constexpr int READYSTATE_INTERACTIVE = 3;
inline constexpr int READYSTATE_COMPLETE = 4;

inline constexpr int REFRESH_NORMAL = 0;
inline constexpr int REFRESH_IFEXPIRED = 1;
inline constexpr int REFRESH_COMPLETELY = 3;

inline constexpr int CSC_UPDATECOMMANDS = -1;
inline constexpr int CSC_NAVIGATEFORWARD = 1;
inline constexpr int CSC_NAVIGATEBACK = 2;

inline constexpr int OLEIVERB_UIACTIVATE = -4;

// Navigation flags. Of these the control follows navNoHistory only: the new
// page takes the place of the current one in the history, where the page
// could go there by itself. The engine has no per-navigation switches for
// its cache, for searching a mistyped address or for a browser bar.
inline constexpr int navOpenInNewWindow = 0x1;
inline constexpr int navNoHistory = 0x2;
inline constexpr int navNoReadFromCache = 0x4;
inline constexpr int navNoWriteToCache = 0x8;
inline constexpr int navAllowAutosearch = 0x10;
inline constexpr int navBrowserBar = 0x20;

class IWebBrowser2 : public virtual IInterface {
public:
    // A URL, or an absolute path of a local file; Flags are navigation flags.
    virtual void Navigate(const QString &URL, const QVariant &Flags = {}) = 0;
    // Headers are lines "Name: value" ended by CR LF, as text or as bytes;
    // PostData, bytes, makes it a POST.
    virtual void Navigate2(const QVariant &URL, const QVariant &Flags, const QVariant &TargetFrameName,
                           const QVariant &PostData, const QVariant &Headers) = 0;
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    virtual void Refresh() = 0;
    virtual void Refresh2(int level) = 0;
    virtual void Stop() = 0;

    virtual QString LocationURL() const = 0;
    virtual QString LocationName() const = 0;
    virtual int ReadyState() const = 0;
    virtual bool Busy() const = 0;

    virtual bool Silent() const = 0;
    virtual void SetSilent(bool value) = 0;
    virtual bool Offline() const = 0;
    virtual void SetOffline(bool value) = 0;
    virtual bool RegisterAsDropTarget() const = 0;
    virtual void SetRegisterAsDropTarget(bool value) = 0;
    virtual bool RegisterAsBrowser() const = 0;
    virtual void SetRegisterAsBrowser(bool value) = 0;

    // Null until the first page has been loaded.
    virtual IHTMLDocument2 *Document() = 0;

    virtual HRESULT ExecWB(std::uint32_t cmdID, std::uint32_t cmdexecopt, const QVariant &pvaIn, QVariant *pvaOut) = 0;
    virtual std::uint32_t QueryStatusWB(std::uint32_t cmdID) = 0;
};

// The store of the addresses the control has been to, which its pages show
// as visited links.
class IUrlHistoryStg : public virtual IInterface {
public:
    virtual HRESULT DeleteUrl(const QString &URL, std::uint32_t Flags) = 0;
};

// The control is told that an ambient property of its host has changed and
// reads it again (DISPID_UNKNOWN: all of them).
class IOleControl : public virtual IInterface {
public:
    virtual HRESULT OnAmbientPropertyChange(int dispID) = 0;
};

class IOleObject : public virtual IInterface {
public:
    virtual HRESULT DoVerb(int iVerb, const TMsg *lpmsg, IOleClientSite *pActiveSite, int lindex,
                           QWidget *hwndParent, const QRect *lprcPosRect) = 0;
};

// What the control reports as it works.
class DWebBrowserEvents2 {
public:
    virtual ~DWebBrowserEvents2() = default;
    virtual void BeforeNavigate2(const QString &URL, int Flags, const QString &TargetFrameName,
                                 const QByteArray &PostData, const QString &Headers, bool &Cancel) = 0;
    virtual void NavigateComplete2(const QString &URL) = 0;
    virtual void DocumentComplete(const QString &URL) = 0;
    virtual void TitleChange(const QString &Text) = 0;
    virtual void StatusTextChange(const QString &Text) = 0;
    virtual void ProgressChange(int Progress, int ProgressMax) = 0;
    virtual void CommandStateChange(int Command, bool Enable) = 0;
    // ppDisp may be set to another browser to open the new window in.
    virtual void NewWindow3(IWebBrowser2 *&ppDisp, bool &Cancel, std::uint32_t dwFlags,
                            const QString &bstrUrlContext, const QString &bstrUrl) = 0;
    virtual void DownloadBegin() = 0;
    virtual void DownloadComplete() = 0;
    virtual void WindowClosing(bool IsChildWindow, bool &Cancel) = 0;
};

// The whole control as its wrapper holds it.
class WebBrowserControl : public IWebBrowser2, public IOleControl, public IOleObject {
public:
    // The view that shows the document, and the widget inside it that holds
    // the document and its keyboard focus (null until a page is shown).
    virtual QWidget *ViewWindow() const = 0;
    virtual QWidget *DocumentWindow() const = 0;

    // Drops on the document go to `target` instead of the control's own handling.
    virtual HRESULT RegisterDragDrop(IDropTarget *target) = 0;
    virtual HRESULT RevokeDragDrop() = 0;

    // The control's own context menu for a kind of menu; each item carries
    // its command id in QAction::data().
    virtual std::unique_ptr<QMenu> CreateContextMenu(std::uint32_t kind) = 0;

    // Ends every call into the site and the event sink; the host calls it
    // before any part of itself goes away.
    virtual void Close() = 0;
};

} // namespace vocab

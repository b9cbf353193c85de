#pragma once

// The browser control over Qt WebEngine. It composes a profile of its own,
// the page (whose handlers turn the engine's moments into hosting callbacks),
// the view, the document and the command target; it reads its host's host
// information and ambient properties and applies them to the engine.

#include "HostSite.h"
#include "WebBrowser.h"

#include <QObject>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class QWebEngineProfile;
class QWebEngineUrlRequestInfo;

namespace vocab {

class ClipboardFilter;
class EngineCommands;
class EngineDocument;
class NavigationTracker;
class PageScripts;
class PageWriter;
class RequestInterceptor;
class WebPage;
class WebView;

class WebEngineControl final : public QObject, public WebBrowserControl, public IUrlHistoryStg {
    Q_OBJECT
public:
    // With a profile of its own (makeBrowserProfile).
    WebEngineControl(QWidget *container, IOleClientSite *site, DWebBrowserEvents2 *events);
    // With the profile given, as it is; the control owns it.
    WebEngineControl(QWidget *container, IOleClientSite *site, DWebBrowserEvents2 *events,
                     std::unique_ptr<QWebEngineProfile> profile);
    ~WebEngineControl() override;

    // IWebBrowser2
    void Navigate(const QString &URL, const QVariant &Flags = {}) override;
    void Navigate2(const QVariant &URL, const QVariant &Flags, const QVariant &TargetFrameName,
                   const QVariant &PostData, const QVariant &Headers) override;
    void GoBack() override;
    void GoForward() override;
    void Refresh() override;
    void Refresh2(int level) override;
    void Stop() override;
    QString LocationURL() const override;
    QString LocationName() const override;
    int ReadyState() const override;
    bool Busy() const override;
    bool Silent() const override { return m_silent; }
    void SetSilent(bool value) override { m_silent = value; }
    bool Offline() const override { return m_offline; }
    void SetOffline(bool value) override { m_offline = value; }
    bool RegisterAsDropTarget() const override { return m_acceptDrops; }
    void SetRegisterAsDropTarget(bool value) override;
    bool RegisterAsBrowser() const override { return m_registerAsBrowser; }
    void SetRegisterAsBrowser(bool value) override { m_registerAsBrowser = value; }
    IHTMLDocument2 *Document() override;
    HRESULT ExecWB(std::uint32_t cmdID, std::uint32_t cmdexecopt, const QVariant &pvaIn, QVariant *pvaOut) override;
    std::uint32_t QueryStatusWB(std::uint32_t cmdID) override;

    // IUrlHistoryStg: the visited links of the control's profile. The
    // program's own profiles are off the record and keep no visited links,
    // so there the store is always empty and nothing is taken out; the call
    // is there for a profile that keeps them.
    HRESULT DeleteUrl(const QString &URL, std::uint32_t Flags) override;

    // IOleControl, IOleObject
    HRESULT OnAmbientPropertyChange(int dispID) override;
    HRESULT DoVerb(int iVerb, const TMsg *lpmsg, IOleClientSite *pActiveSite, int lindex, QWidget *hwndParent,
                   const QRect *lprcPosRect) override;

    // WebBrowserControl
    QWidget *ViewWindow() const override;
    QWidget *DocumentWindow() const override;
    HRESULT RegisterDragDrop(IDropTarget *target) override;
    HRESULT RevokeDragDrop() override;
    std::unique_ptr<QMenu> CreateContextMenu(std::uint32_t kind) override;
    void Close() override;

    // The address written pages take; the program's folder unless set.
    void SetDocumentBaseUrl(const QUrl &url);

    // For the page, the view and the input filter.
    bool closed() const { return m_closed; }
    const HostSite &site() const { return m_site; }
    WebPage *page() const { return m_page.get(); }
    WebView *view() const { return m_view.get(); }
    PageWriter &writer() const { return *m_writer; }
    EngineDocument &document() const { return *m_document; }
    EngineCommands &commands() const { return *m_commands; }
    IDropTarget *dropTarget() const { return m_dropTarget; }
    std::uint32_t hostFlags() const { return m_hostFlags; }
    bool silent() const;
    bool designMode() const { return m_designMode; }
    bool hasDocument() const { return m_hasDocument; }

    void documentCommitted() { m_hasDocument = true; }
    // A load has ended: the document is complete.
    void loadEnded() { m_readyState = READYSTATE_COMPLETE; }
    // The navigations asked for and begun, and which of them has ended.
    NavigationTracker &navigations() const { return *m_navigations; }
    // A new document is on its way: the host's information and user agent
    // are read again for it, and scripts stopped after an error run again.
    void prepareDocument();
    // A character set given for the page shown is that page's, for its
    // reloads: the next page is read with the default in force before.
    void setPageCharset(const QString &charset);
    void restorePageCharset();
    // Stops the scripts of this document after an error, as the host asked.
    void stopScripts();
    // The user zoomed by `deltaPercent` (Ctrl and the wheel).
    void zoomByUser(int deltaPercent);
    void enableModeless(bool enable) const;
    void reportScriptError(const QString &message, int line, const QString &url);

private:
    void letWriteLand();
    // `navigates`: whether what is queued will navigate (it counts as on its
    // way from now).
    bool queuedOutOfEngineCallback(std::function<void()> navigate, bool navigates = true);
    void expectNavigation(const QUrl &target = {});
    bool replaceCurrentEntry(const QUrl &url);
    void readHostInfo();
    void resumeScripts();
    void readDownloadFlags();
    void readUserAgent();
    void readUserMode();
    void applyScriptSetting();
    void installHostStyle(const QString &css);
    void reapplyHostStyle();
    void handleRequest(QWebEngineUrlRequestInfo &info);
    void tagMenuCommands();

    // Declared so that the page goes before its profile and interceptor.
    std::unique_ptr<QWebEngineProfile> m_profile;
    std::unique_ptr<RequestInterceptor> m_interceptor;
    std::unique_ptr<WebPage> m_page;
    std::unique_ptr<WebView> m_view;
    PageWriter *m_writer = nullptr; // owned by the page
    NavigationTracker *m_navigations = nullptr; // owned by the page
    std::unique_ptr<PageScripts> m_scripts;
    std::unique_ptr<EngineCommands> m_commands;
    std::unique_ptr<ClipboardFilter> m_clipboard;
    std::unique_ptr<EngineDocument> m_document;
    HostSite m_site;

    QString m_defaultUserAgent;
    QString m_hostCss;
    IDropTarget *m_dropTarget = nullptr;
    std::uint32_t m_hostFlags = 0;
    std::uint32_t m_downloadFlags;
    // Complete once a load has ended; while a navigation is under way the
    // control reads as loading whatever this holds.
    int m_readyState;
    bool m_hasDocument = false;
    std::optional<QString> m_textEncodingBefore;
    bool m_silent = false;
    bool m_offline = false;
    bool m_acceptDrops = true;
    bool m_registerAsBrowser = false;
    bool m_designMode = false;
    bool m_scriptsStopped = false;
    bool m_closed = false;
};

} // namespace vocab

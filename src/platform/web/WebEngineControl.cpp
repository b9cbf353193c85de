#include "WebEngineControl.h"

#include "CertificateTrust.h"
#include "ClipboardFilter.h"
#include "EngineCallback.h"
#include "EngineCommands.h"
#include "EngineDialogs.h"
#include "EngineDocument.h"
#include "EngineSetup.h"
#include "ErrorHandler.h"
#include "HeaderText.h"
#include "NavigationTracker.h"
#include "NetworkState.h"
#include "PageWriter.h"
#include "RequestInterceptor.h"
#include "ScriptRunner.h"
#include "UserAgentTokens.h"
#include "WebPage.h"
#include "WebView.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QWebEngineHistory>
#include <QWebEngineHttpRequest>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>

namespace vocab {

namespace {

constexpr char HostStyleScriptName[] = "vocab-host-style";
constexpr char DesignModeScriptName[] = "vocab-design-mode";

// Adds the host's style sheet to the document; the text goes in as a string
// literal, so nothing in it can reach beyond the style sheet.
QString hostStyleScript(const QString &css)
{
    return QStringLiteral("(function(){var s=document.createElement('style');s.textContent=%1;"
                          "(document.head||document.documentElement).appendChild(s);})();")
        .arg(jsString(css));
}

void replaceScript(QWebEngineScriptCollection &scripts, const char *name, const QString &source)
{
    for (const QWebEngineScript &old : scripts.find(QString::fromLatin1(name)))
        scripts.remove(old);
    if (source.isEmpty())
        return;
    QWebEngineScript script;
    script.setName(QString::fromLatin1(name));
    script.setInjectionPoint(QWebEngineScript::DocumentReady);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setRunsOnSubFrames(true);
    script.setSourceCode(source);
    scripts.insert(script);
}

QUrl urlOf(const QString &text)
{
    if (QDir::isAbsolutePath(text) && !text.startsWith(QLatin1String("//")))
        return QUrl::fromLocalFile(text);
    return QUrl::fromUserInput(text);
}

} // namespace

WebEngineControl::WebEngineControl(QWidget *container, IOleClientSite *site, DWebBrowserEvents2 *events)
    : WebEngineControl(container, site, events, makeBrowserProfile())
{
}

WebEngineControl::WebEngineControl(QWidget *container, IOleClientSite *site, DWebBrowserEvents2 *events,
                                   std::unique_ptr<QWebEngineProfile> profile)
    : m_profile(std::move(profile)),
      m_interceptor(std::make_unique<RequestInterceptor>([this](QWebEngineUrlRequestInfo &info) { handleRequest(info); })),
      m_page(std::make_unique<WebPage>(*this, m_profile.get())),
      m_view(std::make_unique<WebView>(*this, container)),
      m_site(site, events),
      m_downloadFlags(DLCTL_CONTROL_DEFAULT),
      m_readyState(READYSTATE_UNINITIALIZED)
{
    m_defaultUserAgent = m_profile->httpUserAgent();
    m_page->setUrlRequestInterceptor(m_interceptor.get());
    m_view->setPage(m_page.get());
    m_writer = new PageWriter(m_page.get());
    m_writer->setBaseUrl(QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + u'/'));
    m_writer->setAfterScriptWrite([this] { reapplyHostStyle(); });
    m_navigations = new NavigationTracker(m_page.get());
    connect(m_writer, &PageWriter::settled, m_navigations, &NavigationTracker::writeSettled);
    connect(m_writer, &PageWriter::settled, m_page.get(), &WebPage::followDeferredLink, Qt::QueuedConnection);
    connect(m_page.get(), &QWebEnginePage::renderProcessTerminated, m_navigations, &NavigationTracker::endAll);
    connect(m_navigations, &NavigationTracker::endedUnreported, m_page.get(), &WebPage::finishLoad);
    m_scripts = std::make_unique<PageScripts>(m_page.get(), m_writer);
    m_commands = std::make_unique<EngineCommands>(m_page.get(), *m_scripts);
    m_commands->setModelessHook([this](bool enable) { enableModeless(enable); });
    m_clipboard = std::make_unique<ClipboardFilter>(*this);
    m_commands->setClipboardHook([this] { m_clipboard->expectPageData(); });
    m_document = std::make_unique<EngineDocument>(*m_scripts, m_writer, *m_commands);
    m_document->setCharsetHook([this](const QString &charset) { setPageCharset(charset); });
    tagMenuCommands();
    connect(m_profile.get(), &QWebEngineProfile::downloadRequested, m_page.get(), &WebPage::handleDownloadRequested);
    // Roots the user imported count beside the system's.
    connect(m_page.get(), &QWebEnginePage::certificateError, this, &AnswerCertificateError);
    OnAmbientPropertyChange(DISPID_UNKNOWN);
}

WebEngineControl::~WebEngineControl()
{
    Close();
}

void WebEngineControl::Close()
{
    if (m_closed)
        return;
    m_closed = true;
    m_site.close();
    m_interceptor->clear();
    m_writer->setAfterScriptWrite(nullptr);
    m_writer->abandon();
    m_profile->disconnect(m_page.get());
}

// The control's own context menu names its items by command, so that a
// host can take out the ones it does not want.
void WebEngineControl::tagMenuCommands()
{
    static constexpr std::pair<QWebEnginePage::WebAction, int> Commands[] = {
        {QWebEnginePage::Back, IDM_GOBACKWARD},
        {QWebEnginePage::Forward, IDM_GOFORWARD},
        {QWebEnginePage::Reload, IDM_REFRESH},
        {QWebEnginePage::Copy, IDM_COPY},
        {QWebEnginePage::Cut, IDM_CUT},
        {QWebEnginePage::Paste, IDM_PASTE},
        {QWebEnginePage::SelectAll, IDM_SELECTALL},
        {QWebEnginePage::ViewSource, IDM_VIEWSOURCE},
        {QWebEnginePage::OpenLinkInNewWindow, IDM_FOLLOWLINKN},
        {QWebEnginePage::OpenLinkInThisWindow, IDM_FOLLOWLINKC},
    };
    for (const auto &[action, id] : Commands)
        m_page->action(action)->setData(id);
    connect(m_page->action(QWebEnginePage::Back), &QAction::changed, this, [this] {
        guarded([this] {
            if (auto *events = m_closed ? nullptr : m_site.events())
                events->CommandStateChange(CSC_NAVIGATEBACK, m_page->action(QWebEnginePage::Back)->isEnabled());
        });
    });
    connect(m_page->action(QWebEnginePage::Forward), &QAction::changed, this, [this] {
        guarded([this] {
            if (auto *events = m_closed ? nullptr : m_site.events())
                events->CommandStateChange(CSC_NAVIGATEFORWARD, m_page->action(QWebEnginePage::Forward)->isEnabled());
        });
    });
}

void WebEngineControl::SetDocumentBaseUrl(const QUrl &url)
{
    m_writer->setBaseUrl(url);
}

// A page written just before would be dropped by the engine for the
// navigation that follows it; it lands first, as a write is done once the
// program has made it.
void WebEngineControl::letWriteLand()
{
    m_writer->waitUntilWritten();
}

// The engine begins a navigation asked for only a moment later; until it
// does, the navigation counts as on its way, so that a wait for the page
// does not end on the page before, which is still complete.
void WebEngineControl::expectNavigation(const QUrl &target)
{
    m_navigations->ask(target);
}

// A page being written is loading from the moment it is written.
int WebEngineControl::ReadyState() const
{
    return m_navigations->underWay() || m_writer->writing() ? READYSTATE_LOADING : m_readyState;
}

// A navigation asked for from inside the engine's decision about another
// (a handler of the navigation about to begin, of the unload or of a
// request) begins once the engine has its answer; it counts as on its way
// from now. See EngineCallback.h.
bool WebEngineControl::queuedOutOfEngineCallback(std::function<void()> navigate, bool navigates)
{
    if (!EngineCallbackScope::inside())
        return false;
    if (navigates)
        expectNavigation();
    QMetaObject::invokeMethod(
        this, [this, navigate = std::move(navigate)] {
            if (!m_closed)
                navigate();
        },
        Qt::QueuedConnection);
    return true;
}

void WebEngineControl::setPageCharset(const QString &charset)
{
    QWebEngineSettings *settings = m_page->settings();
    if (!m_textEncodingBefore)
        m_textEncodingBefore = settings->defaultTextEncoding();
    settings->setDefaultTextEncoding(charset);
}

void WebEngineControl::restorePageCharset()
{
    if (m_textEncodingBefore)
        m_page->settings()->setDefaultTextEncoding(*std::exchange(m_textEncodingBefore, std::nullopt));
}

void WebEngineControl::Navigate(const QString &URL, const QVariant &Flags)
{
    if (queuedOutOfEngineCallback([this, URL, Flags] { Navigate(URL, Flags); }))
        return;
    letWriteLand();
    const QUrl url = urlOf(URL);
    expectNavigation(url);
    if ((Flags.toInt() & navNoHistory) && replaceCurrentEntry(url))
        return;
    m_page->load(url);
}

void WebEngineControl::Navigate2(const QVariant &URL, const QVariant &Flags, const QVariant &, const QVariant &PostData,
                                 const QVariant &Headers)
{
    if (queuedOutOfEngineCallback([=, this] { Navigate2(URL, Flags, QVariant(), PostData, Headers); }))
        return;
    const QUrl url = URL.metaType() == QMetaType::fromType<QUrl>() ? URL.toUrl() : urlOf(URL.toString());
    QWebEngineHttpRequest request(url);
    // Only bytes are post data; a variant of another kind (the number 0 of
    // a caller with nothing to post) is none.
    const QByteArray post = PostData.metaType() == QMetaType::fromType<QByteArray>() ? PostData.toByteArray() : QByteArray();
    if (!post.isEmpty()) {
        request.setMethod(QWebEngineHttpRequest::Post);
        request.setPostData(post);
    }
    // Headers come as text or as bytes, one byte a character.
    QString headerText;
    if (Headers.metaType() == QMetaType::fromType<QByteArray>())
        headerText = QString::fromLatin1(Headers.toByteArray());
    else if (Headers.metaType() == QMetaType::fromType<QString>())
        headerText = Headers.toString();
    const auto headers = parseHeaderBlock(headerText);
    for (const auto &[name, value] : headers)
        request.setHeader(name, value);
    letWriteLand();
    expectNavigation(url);
    // A page's own replace of itself can neither post nor add headers.
    if ((Flags.toInt() & navNoHistory) && post.isEmpty() && headers.isEmpty() && replaceCurrentEntry(url))
        return;
    m_page->load(request);
}

// The page shown goes to `url` in place of its own entry of the history,
// as its location.replace does; the engine offers no other way to keep a
// navigation out of the history. False, with nothing done, where the page
// cannot go there by itself: before the first page, or to an address of
// another kind than the web's or the page's own (a local file from a page
// of the web). The navigation starts in the page, so it is waited for, at
// most the read time-out: when this returns, the control is on its way as
// after a load.
bool WebEngineControl::replaceCurrentEntry(const QUrl &url)
{
    if (!m_hasDocument || !url.isValid())
        return false;
    const QString scheme = url.scheme();
    const bool web = scheme == QLatin1String("http") || scheme == QLatin1String("https");
    if (!web && scheme != m_page->url().scheme())
        return false;
    LocalWait started(DocumentReadTimeoutMs);
    const auto onStart = connect(m_page.get(), &QWebEnginePage::loadStarted, this, [&started] { started.finish(); });
    const auto onEnd = connect(m_page.get(), &QWebEnginePage::loadFinished, this, [&started] { started.finish(); });
    const auto onDownload = connect(m_profile.get(), &QWebEngineProfile::downloadRequested, this, [&started] { started.finish(); });
    const bool asked = runScriptAndWait(m_page.get(),
                                        QStringLiteral("(function(u){try{location.replace(u);return true;}catch(e){return false;}})(%1)")
                                            .arg(jsString(url.toString(QUrl::FullyEncoded))),
                                        DocumentReadTimeoutMs)
                           .toBool();
    if (asked)
        started.wait();
    disconnect(onStart);
    disconnect(onEnd);
    disconnect(onDownload);
    return asked;
}

HRESULT WebEngineControl::DeleteUrl(const QString &URL, std::uint32_t)
{
    m_profile->clearVisitedLinks({urlOf(URL)});
    return S_OK;
}

void WebEngineControl::GoBack()
{
    if (queuedOutOfEngineCallback([this] { GoBack(); }, m_page->action(QWebEnginePage::Back)->isEnabled()))
        return;
    letWriteLand();
    if (m_page->action(QWebEnginePage::Back)->isEnabled())
        expectNavigation(m_page->history()->backItem().url());
    m_page->triggerAction(QWebEnginePage::Back);
}

void WebEngineControl::GoForward()
{
    if (queuedOutOfEngineCallback([this] { GoForward(); }, m_page->action(QWebEnginePage::Forward)->isEnabled()))
        return;
    letWriteLand();
    if (m_page->action(QWebEnginePage::Forward)->isEnabled())
        expectNavigation(m_page->history()->forwardItem().url());
    m_page->triggerAction(QWebEnginePage::Forward);
}

void WebEngineControl::Refresh()
{
    Refresh2(REFRESH_NORMAL);
}

void WebEngineControl::Refresh2(int level)
{
    if (queuedOutOfEngineCallback([this, level] { Refresh2(level); }, m_hasDocument))
        return;
    letWriteLand();
    if (m_hasDocument)
        expectNavigation();
    m_page->triggerAction(level >= REFRESH_COMPLETELY ? QWebEnginePage::ReloadAndBypassCache : QWebEnginePage::Reload);
}

void WebEngineControl::Stop()
{
    m_navigations->endAll();
    m_page->triggerAction(QWebEnginePage::Stop);
}

QString WebEngineControl::LocationURL() const
{
    return m_hasDocument ? m_writer->shownAddress(m_page->url()) : QString();
}

QString WebEngineControl::LocationName() const
{
    if (!m_hasDocument)
        return {};
    const QString title = m_page->title();
    return title.isEmpty() ? LocationURL() : title;
}

bool WebEngineControl::Busy() const
{
    return ReadyState() == READYSTATE_LOADING || m_writer->writing();
}

bool WebEngineControl::silent() const
{
    return m_silent || (m_downloadFlags & DLCTL_SILENT);
}

void WebEngineControl::SetRegisterAsDropTarget(bool value)
{
    m_acceptDrops = value;
    setSetting(*m_page->settings(), QWebEngineSettings::NavigateOnDropEnabled, value);
}

IHTMLDocument2 *WebEngineControl::Document()
{
    return m_hasDocument ? m_document.get() : nullptr;
}

HRESULT WebEngineControl::ExecWB(std::uint32_t cmdID, std::uint32_t cmdexecopt, const QVariant &pvaIn, QVariant *pvaOut)
{
    if (cmdID == OLECMDID_REFRESH && m_hasDocument)
        expectNavigation();
    else if (cmdID == OLECMDID_STOP)
        m_navigations->endAll();
    return m_commands->Exec(nullptr, cmdID, cmdexecopt, pvaIn, pvaOut);
}

std::uint32_t WebEngineControl::QueryStatusWB(std::uint32_t cmdID)
{
    OLECMD cmd{cmdID, 0};
    m_commands->QueryStatus(nullptr, std::span<OLECMD>(&cmd, 1), nullptr);
    return cmd.cmdf;
}

HRESULT WebEngineControl::OnAmbientPropertyChange(int dispID)
{
    if (dispID == DISPID_UNKNOWN || dispID == DISPID_AMBIENT_DLCONTROL)
        readDownloadFlags();
    if (dispID == DISPID_UNKNOWN || dispID == DISPID_AMBIENT_USERAGENT)
        readUserAgent();
    if (dispID == DISPID_UNKNOWN || dispID == DISPID_AMBIENT_USERMODE)
        readUserMode();
    return S_OK;
}

HRESULT WebEngineControl::DoVerb(int iVerb, const TMsg *, IOleClientSite *, int, QWidget *, const QRect *)
{
    if (iVerb != OLEIVERB_UIACTIVATE)
        return E_NOTIMPL;
    m_view->setFocus(Qt::OtherFocusReason);
    return S_OK;
}

QWidget *WebEngineControl::ViewWindow() const
{
    return m_view.get();
}

QWidget *WebEngineControl::DocumentWindow() const
{
    return m_view->focusProxy();
}

HRESULT WebEngineControl::RegisterDragDrop(IDropTarget *target)
{
    m_dropTarget = target;
    return S_OK;
}

HRESULT WebEngineControl::RevokeDragDrop()
{
    if (!m_dropTarget)
        return DRAGDROP_E_NOTREGISTERED;
    m_dropTarget = nullptr;
    return S_OK;
}

std::unique_ptr<QMenu> WebEngineControl::CreateContextMenu(std::uint32_t)
{
    if (!m_view->lastContextMenuRequest())
        return std::make_unique<QMenu>(m_view.get());
    return std::unique_ptr<QMenu>(m_view->createStandardContextMenu());
}

void WebEngineControl::prepareDocument()
{
    readHostInfo();
    readUserAgent();
    resumeScripts();
}

void WebEngineControl::readHostInfo()
{
    DOCHOSTUIINFO info;
    if (auto *ui = m_site.as<IDocHostUIHandler>())
        if (ui->GetHostInfo(info) != S_OK)
            info = DOCHOSTUIINFO();
    m_hostFlags = info.dwFlags;
    QWebEngineSettings *settings = m_page->settings();
    setSetting(*settings, QWebEngineSettings::ShowScrollBars, !(m_hostFlags & DOCHOSTUIFLAG_SCROLL_NO));
    setSetting(*settings, QWebEngineSettings::LocalContentCanAccessFileUrls,
               !(m_hostFlags & DOCHOSTUIFLAG_LOCAL_MACHINE_ACCESS_CHECK));
    const auto schemes = m_hostFlags & DOCHOSTUIFLAG_DISABLE_UNTRUSTEDPROTOCOL
        ? QWebEngineSettings::DisallowUnknownUrlSchemes
        : QWebEngineSettings::AllowUnknownUrlSchemesFromUserInteraction;
    if (settings->unknownUrlSchemePolicy() != schemes)
        settings->setUnknownUrlSchemePolicy(schemes);
    QString css = info.pchHostCss;
    if (m_hostFlags & DOCHOSTUIFLAG_DIALOG)
        css += QStringLiteral("*{user-select:none;}");
    installHostStyle(css);
}

void WebEngineControl::installHostStyle(const QString &css)
{
    if (css == m_hostCss)
        return;
    m_hostCss = css;
    replaceScript(m_page->scripts(), HostStyleScriptName, css.isEmpty() ? QString() : hostStyleScript(css));
}

void WebEngineControl::reapplyHostStyle()
{
    if (!m_hostCss.isEmpty())
        m_page->runJavaScript(hostStyleScript(m_hostCss), QWebEngineScript::ApplicationWorld);
    if (m_designMode)
        m_page->runJavaScript(QStringLiteral("document.designMode='on';"), QWebEngineScript::ApplicationWorld);
}

void WebEngineControl::readDownloadFlags()
{
    const std::optional<QVariant> answer = m_site.ambient(DISPID_AMBIENT_DLCONTROL);
    m_downloadFlags = answer ? answer->toUInt() : DLCTL_CONTROL_DEFAULT;
    setSetting(*m_page->settings(), QWebEngineSettings::AutoLoadImages, m_downloadFlags & DLCTL_DLIMAGES);
    applyScriptSetting();
}

void WebEngineControl::applyScriptSetting()
{
    setSetting(*m_page->settings(), QWebEngineSettings::JavascriptEnabled,
               !(m_downloadFlags & DLCTL_NO_SCRIPTS) && !m_scriptsStopped);
}

void WebEngineControl::readUserAgent()
{
    // Only the first line of the host's text is taken: a line break would
    // begin another header of every request.
    const std::optional<QVariant> answer = m_site.ambient(DISPID_AMBIENT_USERAGENT);
    const QString agent = answer ? singleHeaderLine(answer->toString()).trimmed() : QString();
    // The host's own text stands alone; the engine's takes the tokens the
    // user's settings add to every browser's.
    const QString wanted = agent.isEmpty() ? AgentWithTokens(m_defaultUserAgent, PostPlatformTokens()) : agent;
    if (m_profile->httpUserAgent() != wanted)
        m_profile->setHttpUserAgent(wanted);
}

void WebEngineControl::readUserMode()
{
    const std::optional<QVariant> answer = m_site.ambient(DISPID_AMBIENT_USERMODE);
    const bool designMode = answer && !answer->toBool();
    if (designMode == m_designMode)
        return;
    m_designMode = designMode;
    // Outside user mode every document the control shows is open to editing.
    replaceScript(m_page->scripts(), DesignModeScriptName, designMode ? QStringLiteral("document.designMode='on';") : QString());
    if (m_hasDocument)
        m_page->runJavaScript(QStringLiteral("document.designMode='%1';").arg(designMode ? "on" : "off"),
                              QWebEngineScript::ApplicationWorld);
}

void WebEngineControl::resumeScripts()
{
    if (!m_scriptsStopped)
        return;
    m_scriptsStopped = false;
    applyScriptSetting();
}

void WebEngineControl::stopScripts()
{
    m_scriptsStopped = true;
    applyScriptSetting();
}

void WebEngineControl::zoomByUser(int deltaPercent)
{
    const int before = m_commands->opticalZoom();
    const int applied = m_commands->setOpticalZoom(before + deltaPercent);
    if (applied == before)
        return;
    if (auto *zoomEvents = m_site.as<IZoomEvents>())
        zoomEvents->OnZoomPercentChanged(static_cast<std::uint32_t>(applied));
}

void WebEngineControl::enableModeless(bool enable) const
{
    guarded([&] {
        if (auto *ui = m_site.as<IDocHostUIHandler>())
            ui->EnableModeless(enable);
    });
}

void WebEngineControl::reportScriptError(const QString &message, int line, const QString &url)
{
    auto *target = m_site.as<IOleCommandTarget>();
    if (!target)
        return;
    ScriptErrorEvent event(line, message, url);
    m_document->window().setEvent(&event);
    QVariant out;
    const HRESULT hr = guarded(
        [&] {
            return target->Exec(&CGID_DocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, OLECMDEXECOPT_DODEFAULT,
                                QVariant::fromValue(static_cast<IHTMLDocument2 *>(m_document.get())), &out);
        },
        E_FAIL);
    m_document->window().setEvent(nullptr);
    if (hr == S_OK) {
        if (!out.toBool())
            stopScripts();
    } else if (hr == S_FALSE && !silent()) {
        enableModeless(false);
        const bool goOn = askContinueScripts(m_view.get(), message, line, url);
        enableModeless(true);
        if (!goOn)
            stopScripts();
    }
}

void WebEngineControl::handleRequest(QWebEngineUrlRequestInfo &info)
{
    const EngineCallbackScope insideEngine;
    guarded([&] {
        const QUrl url = info.requestUrl();
        // Offline, by this control's setting or the whole program's, nothing comes from the network.
        if (isNetworkScheme(url.scheme())
            && (m_offline || globalOffline() || (m_downloadFlags & (DLCTL_FORCEOFFLINE | DLCTL_OFFLINE)))) {
            info.block(true);
            return;
        }
        const auto type = info.resourceType();
        if (type == QWebEngineUrlRequestInfo::ResourceTypeMedia && !(m_downloadFlags & (DLCTL_VIDEOS | DLCTL_BGSOUNDS))) {
            info.block(true);
            return;
        }
        if (type == QWebEngineUrlRequestInfo::ResourceTypeSubFrame && (m_downloadFlags & DLCTL_NO_FRAMEDOWNLOAD)) {
            info.block(true);
            return;
        }
        if (m_downloadFlags & DLCTL_PRAGMA_NO_CACHE) {
            info.setHttpHeader("Cache-Control", "no-cache");
            info.setHttpHeader("Pragma", "no-cache");
        } else if (m_downloadFlags & DLCTL_RESYNCHRONIZE) {
            info.setHttpHeader("Cache-Control", "max-age=0");
        }
        if (type == QWebEngineUrlRequestInfo::ResourceTypeMainFrame || type == QWebEngineUrlRequestInfo::ResourceTypeSubFrame) {
            if (auto *ui = m_site.as<IDocHostUIHandler>()) {
                QString translated;
                if (ui->TranslateUrl(0, url.toString(), translated) == S_OK && !translated.isEmpty()) {
                    const QUrl target(translated);
                    if (target.isValid() && target != url) {
                        info.redirect(target);
                        if (type == QWebEngineUrlRequestInfo::ResourceTypeMainFrame)
                            m_navigations->redirected(target);
                    }
                }
            }
        }
    });
}

} // namespace vocab

#include "WebPage.h"

#include "EngineCallback.h"
#include "EngineDialogs.h"
#include "EngineDocument.h"
#include "EngineSetup.h"
#include "EngineCommands.h"
#include "ErrorHandler.h"
#include "MessageBoxes.h"
#include "NavigationTracker.h"
#include "NetworkState.h"
#include "PageWriter.h"
#include "ScriptRunner.h"
#include "WebEngineControl.h"
#include "WebView.h"

#include <QAuthenticator>
#include <QDesktopServices>
#include <QDir>
#include <QNetworkProxy>
#include <QWebEngineDownloadRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineSettings>

namespace vocab {

namespace {

const QString MessageCaption = QStringLiteral("Сообщение веб-страницы");

QString featuresOf(const QWebEngineNewWindowRequest &request)
{
    const QRect g = request.requestedGeometry();
    if (!g.isValid())
        return {};
    return QStringLiteral("left=%1,top=%2,width=%3,height=%4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
}

} // namespace

WebPage::WebPage(WebEngineControl &control, QWebEngineProfile *profile) : QWebEnginePage(profile), m_control(control)
{
    connect(this, &QWebEnginePage::loadingChanged, this, &WebPage::handleLoadingChanged);
    connect(this, &QWebEnginePage::loadProgress, this, &WebPage::handleLoadProgress);
    connect(this, &QWebEnginePage::urlChanged, this, &WebPage::handleUrlChanged);
    connect(this, &QWebEnginePage::titleChanged, this, &WebPage::handleTitleChanged);
    connect(this, &QWebEnginePage::linkHovered, this, &WebPage::handleLinkHovered);
    connect(this, &QWebEnginePage::selectionChanged, this, &WebPage::handleSelectionChanged);
    connect(this, &QWebEnginePage::newWindowRequested, this, &WebPage::handleNewWindowRequested);
    connect(this, &QWebEnginePage::authenticationRequired, this, &WebPage::handleAuthenticationRequired);
    connect(this, &QWebEnginePage::proxyAuthenticationRequired, this, &WebPage::handleProxyAuthenticationRequired);
    connect(this, &QWebEnginePage::geometryChangeRequested, this, &WebPage::handleGeometryChangeRequested);
    connect(this, &QWebEnginePage::windowCloseRequested, this, &WebPage::handleWindowCloseRequested);
}

bool WebPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    const EngineCallbackScope insideEngine;
    return guarded([&] {
        if (m_control.closed())
            return true;
        if (isMainFrame && m_control.writer().isOwnNavigation(url, type)) {
            // A page written by the program: no navigation of the user's, no
            // events. It takes the place of any navigation asked for before.
            m_ownLoad = true;
            m_control.restorePageCharset();
            m_control.navigations().begin(url, true);
            expectAnswersAgain(this);
            m_control.prepareDocument();
            return true;
        }
        // A click on a link of the page shown, while a page written is on
        // its way: the engine lets one of the two navigations cancel the
        // other, and which one it is depends on how far the page has come.
        // So the click waits for the page, which goes again in case the
        // click's navigation had already cancelled it, and is followed once
        // the page has landed.
        if (isMainFrame && type == NavigationTypeLinkClicked && m_control.writer().writing()) {
            m_linkAfterWrite = url;
            m_control.navigations().ask(url);
            QMetaObject::invokeMethod(&m_control.writer(), &PageWriter::writeAgain, Qt::QueuedConnection);
            return false;
        }
        const bool refresh = isMainFrame && type == NavigationTypeReload;
        if (refresh ? !askRefresh() : !askBeforeNavigate(url)) {
            if (isMainFrame)
                m_control.navigations().settleAsked();
            return false;
        }
        if (isMainFrame) {
            if (!refresh)
                m_control.restorePageCharset();
            if (m_control.hasDocument())
                if (auto *target = m_control.site().as<IOleCommandTarget>())
                    target->Exec(&CGID_Explorer, OLECMDID_ONUNLOAD, OLECMDEXECOPT_DODEFAULT, {}, nullptr);
            m_control.writer().abandon();
            m_ownLoad = false;
            // Back, Forward or a reload may come to a page the writer wrote
            // by script, which it writes again.
            m_maybeWrittenBefore = type == NavigationTypeBackForward || type == NavigationTypeReload;
            m_control.prepareDocument();
            if (type == NavigationTypeRedirect)
                m_control.navigations().redirected(url);
            else
                m_control.navigations().begin(url, false);
            expectAnswersAgain(this);
        }
        return true;
    }, true);
}

void WebPage::followDeferredLink()
{
    const QUrl url = std::exchange(m_linkAfterWrite, QUrl());
    if (url.isValid() && !m_control.closed())
        m_control.Navigate2(url, {}, {}, {}, {});
}

// The host hears of a refresh first and may cancel it.
bool WebPage::askRefresh()
{
    auto *target = m_control.site().as<IOleCommandTarget>();
    if (!target)
        return true;
    target->Exec(&CGID_Explorer, OLECMDID_PREREFRESH, OLECMDEXECOPT_DODEFAULT, {}, nullptr);
    return target->Exec(&CGID_DocHostCommandHandler, IDM_REFRESH_TOP, OLECMDEXECOPT_DODEFAULT, {}, nullptr) != S_OK;
}

bool WebPage::askBeforeNavigate(const QUrl &url)
{
    bool cancel = false;
    if (auto *events = m_control.site().events())
        events->BeforeNavigate2(m_control.writer().shownAddress(url), 0, QString(), QByteArray(), QString(), cancel);
    return !cancel;
}

void WebPage::handleLoadingChanged(const QWebEngineLoadingInfo &info)
{
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus)
        handleLoadStarted(info.url());
    else
        handleLoadFinished(info.url());
}

void WebPage::handleLoadStarted(const QUrl &url)
{
    m_proxyCredentialsGiven.clear();
    guarded([&] {
        if (m_control.closed())
            return;
        m_control.navigations().engineStarted(url);
        m_control.view()->watchDocumentWindow();
        if (auto *events = m_control.site().events(); events && !m_ownLoad)
            events->DownloadBegin();
    });
}

void WebPage::handleLoadProgress(int progress)
{
    guarded([&] {
        if (auto *events = m_control.closed() || m_ownLoad ? nullptr : m_control.site().events())
            events->ProgressChange(progress, 100);
    });
}

void WebPage::handleLoadFinished(const QUrl &url)
{
    guarded([&] {
        // The end of a load before the navigation under way changes nothing.
        if (m_control.closed() || m_control.navigations().engineFinished(url) != NavigationTracker::End::Current)
            return;
        if (!m_ownLoad && std::exchange(m_maybeWrittenBefore, false))
            m_control.writer().documentReturned(url, [guard = QPointer(this)] {
                if (guard)
                    guard->finishLoad();
            });
        else
            finishLoad();
    });
}

void WebPage::finishLoad()
{
    guarded([&] {
        if (m_control.closed())
            return;
        m_control.documentCommitted();
        m_control.loadEnded();
        m_control.view()->watchDocumentWindow();
        // The page's scripts may take the focus as far as the host allows.
        if (auto *protect = m_control.site().service<IProtectFocus>()) {
            bool allow = true;
            if (protect->AllowFocusChange(allow) == S_OK)
                setSetting(*settings(), QWebEngineSettings::AllowWindowActivationFromJavaScript, allow);
        }
        if (auto *events = m_control.site().events(); events && !m_ownLoad) {
            events->DownloadComplete();
            events->DocumentComplete(m_control.LocationURL());
        }
        if (auto *ui = m_control.site().as<IDocHostUIHandler>()) {
            // The host may put a drop target of its own on the new document.
            IDropTarget *replacement = nullptr;
            if (ui->GetDropTarget(nullptr, replacement) == S_OK && replacement)
                m_control.RegisterDragDrop(replacement);
            ui->UpdateUI();
        }
    });
}

void WebPage::handleUrlChanged(const QUrl &url)
{
    guarded([&] {
        if (m_control.closed() || url.isEmpty())
            return;
        m_control.navigations().urlChanged(url);
        m_control.documentCommitted();
        if (auto *events = m_control.site().events(); events && !m_ownLoad)
            events->NavigateComplete2(m_control.writer().shownAddress(url));
    });
}

void WebPage::handleTitleChanged(const QString &title)
{
    guarded([&] {
        if (auto *events = m_control.closed() ? nullptr : m_control.site().events())
            events->TitleChange(title);
    });
}

void WebPage::handleLinkHovered(const QString &url)
{
    guarded([&] {
        if (auto *events = m_control.closed() ? nullptr : m_control.site().events())
            events->StatusTextChange(url);
    });
}

void WebPage::handleSelectionChanged()
{
    guarded([&] {
        if (auto *ui = m_control.closed() ? nullptr : m_control.site().as<IDocHostUIHandler>())
            ui->UpdateUI();
    });
}

void WebPage::handleNewWindowRequested(QWebEngineNewWindowRequest &request)
{
    guarded([&] {
        if (m_control.closed())
            return;
        const QString target = request.requestedUrl().toString();
        const QString context = m_control.LocationURL();
        const std::uint32_t flags = request.isUserInitiated() ? NWMF_USERINITIATED : 0;
        // The host's pop-up manager: S_FALSE blocks, a failure leaves it to us.
        if (auto *manager = m_control.site().service<INewWindowManager>())
            if (manager->EvaluateNewWindow(target, QString(), context, featuresOf(request), false, flags, 0) == S_FALSE)
                return;
        if (m_control.hostFlags() & DOCHOSTUIFLAG_ENABLE_INPLACE_NAVIGATION) {
            request.openIn(this);
            return;
        }
        IWebBrowser2 *other = nullptr;
        bool cancel = false;
        if (auto *events = m_control.site().events())
            events->NewWindow3(other, cancel, flags, context, target);
        if (cancel)
            return;
        if (auto *control = dynamic_cast<WebEngineControl *>(other)) {
            request.openIn(control->page());
            return;
        }
        // The browser's own new window: the user's web browser.
        QDesktopServices::openUrl(request.requestedUrl());
    });
}

void WebPage::handleDownloadRequested(QWebEngineDownloadRequest *download)
{
    guarded([&] {
        if (download->page() != this)
            return;
        // The navigation became a download: no page comes of it.
        m_control.navigations().endAll();
        if (m_control.closed())
            return;
        if (auto *manager = m_control.site().service<IDownloadManager>()) {
            if (manager->Download(download->url(), nullptr, 0, 0, nullptr, QString(), QString(), 0) == S_OK) {
                download->cancel();
                return;
            }
        }
        if (m_control.silent()) {
            download->cancel();
            return;
        }
        m_control.enableModeless(false);
        const QString path =
            askDownloadPath(m_control.view(), QDir(download->downloadDirectory()).filePath(download->downloadFileName()));
        m_control.enableModeless(true);
        if (path.isEmpty()) {
            download->cancel();
            return;
        }
        download->setDownloadDirectory(QFileInfo(path).absolutePath());
        download->setDownloadFileName(QFileInfo(path).fileName());
        download->accept();
    });
}

void WebPage::handleAuthenticationRequired(const QUrl &url, QAuthenticator *authenticator)
{
    guarded([&] { authenticate(url, authenticator); });
}

void WebPage::handleProxyAuthenticationRequired(const QUrl &url, QAuthenticator *authenticator, const QString &proxyHost)
{
    guarded([&] {
        if (answerWithProxyCredentials(authenticator, proxyHost))
            return;
        authenticate(url, authenticator);
    });
}

// The program's proxy, set with a user name, is answered with its own
// credentials. Asked again during the same load, the proxy refused them:
// then the host or the user answers, so that a wrong password cannot make
// the proxy ask for ever.
bool WebPage::answerWithProxyCredentials(QAuthenticator *authenticator, const QString &proxyHost)
{
    const QNetworkProxy proxy = programProxy();
    if (proxy.type() != QNetworkProxy::HttpProxy || proxy.user().isEmpty()
        || proxy.hostName().compare(proxyHost, Qt::CaseInsensitive) != 0)
        return false;
    const QString given = proxy.hostName() + u'\n' + proxy.user() + u'\n' + proxy.password();
    if (m_proxyCredentialsGiven.contains(given))
        return false;
    m_proxyCredentialsGiven.append(given);
    authenticator->setUser(proxy.user());
    authenticator->setPassword(proxy.password());
    return true;
}

void WebPage::authenticate(const QUrl &url, QAuthenticator *authenticator)
{
    QString user;
    QString password;
    if (auto *host = m_control.closed() ? nullptr : m_control.site().service<IAuthenticate>()) {
        QWidget *window = m_control.view();
        if (host->Authenticate(window, user, password) == S_OK && !user.isEmpty()) {
            authenticator->setUser(user);
            authenticator->setPassword(password);
            return;
        }
    }
    if (!m_control.closed() && !m_control.silent()) {
        m_control.enableModeless(false);
        const bool given = askCredentials(m_control.view(), url, authenticator->realm(), user, password);
        m_control.enableModeless(true);
        if (given) {
            authenticator->setUser(user);
            authenticator->setPassword(password);
            return;
        }
    }
    // No credentials: the request fails.
    *authenticator = QAuthenticator();
}

void WebPage::handleGeometryChangeRequested(const QRect &geometry)
{
    guarded([&] {
        auto *services = m_control.closed() ? nullptr : m_control.site().service<IHTMLOMWindowServices>();
        const QRect last = m_lastGeometry;
        m_lastGeometry = geometry;
        if (!services)
            return;
        // The engine gives the new geometry only; a change of place is a
        // move and a change of size a resize.
        if (!last.isValid() || geometry.topLeft() != last.topLeft())
            services->moveTo(geometry.x(), geometry.y());
        if (!last.isValid() || geometry.size() != last.size())
            services->resizeTo(geometry.width(), geometry.height());
    });
}

void WebPage::handleWindowCloseRequested()
{
    guarded([&] {
        bool cancel = false;
        if (auto *events = m_control.closed() ? nullptr : m_control.site().events())
            events->WindowClosing(false, cancel);
    });
}

int WebPage::showMessage(const QString &text, unsigned type)
{
    int result = 0;
    if (auto *ui = m_control.site().as<IDocHostShowUI>())
        if (ui->ShowMessage(m_control.view(), text, MessageCaption, type, QString(), 0, result) == S_OK)
            return result;
    if (m_control.silent())
        return IDCANCEL;
    m_control.enableModeless(false);
    // The page's own words, shown as they stand.
    result = MessageBox(text, MessageCaption, type, m_control.view(), Qt::PlainText);
    m_control.enableModeless(true);
    return result;
}

void WebPage::javaScriptAlert(const QUrl &, const QString &msg)
{
    guarded([&] {
        if (!m_control.closed())
            showMessage(msg, MB_OK | MB_ICONWARNING);
    });
}

bool WebPage::javaScriptConfirm(const QUrl &, const QString &msg)
{
    return guarded([&] { return !m_control.closed() && showMessage(msg, MB_OKCANCEL | MB_ICONQUESTION) == IDOK; }, false);
}

void WebPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message, int lineNumber,
                                       const QString &sourceID)
{
    // An uncaught error is a script error; what a page logs itself is not.
    if (level != ErrorMessageLevel || !message.startsWith(QLatin1String("Uncaught")))
        return;
    guarded([&] {
        if (!m_control.closed())
            m_control.reportScriptError(message, lineNumber, sourceID);
    });
}

} // namespace vocab

#pragma once

// The page of the engine control. Each moment of the engine that the host
// has a say in is one handler here, which asks the host and acts on its
// answer, falling back on the control's own behaviour.

#include <QRect>
#include <QUrl>
#include <QStringList>
#include <QWebEnginePage>

class QAuthenticator;
class QWebEngineDownloadRequest;
class QWebEngineLoadingInfo;
class QWebEngineNewWindowRequest;

namespace vocab {

class WebEngineControl;

class WebPage : public QWebEnginePage {
    Q_OBJECT
public:
    WebPage(WebEngineControl &control, QWebEngineProfile *profile);

    void handleDownloadRequested(QWebEngineDownloadRequest *download);
    // The navigation under way has ended, whether the engine reported it or not.
    void finishLoad();
    // A page written has settled: a link the user clicked meanwhile is followed.
    void followDeferredLink();

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    void javaScriptAlert(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptConfirm(const QUrl &securityOrigin, const QString &msg) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message, int lineNumber,
                                  const QString &sourceID) override;

private:
    void handleLoadingChanged(const QWebEngineLoadingInfo &info);
    void handleLoadStarted(const QUrl &url);
    void handleLoadProgress(int progress);
    void handleLoadFinished(const QUrl &url);

    void handleUrlChanged(const QUrl &url);
    void handleTitleChanged(const QString &title);
    void handleLinkHovered(const QString &url);
    void handleSelectionChanged();
    void handleNewWindowRequested(QWebEngineNewWindowRequest &request);
    void handleAuthenticationRequired(const QUrl &url, QAuthenticator *authenticator);
    void handleProxyAuthenticationRequired(const QUrl &url, QAuthenticator *authenticator, const QString &proxyHost);
    void handleGeometryChangeRequested(const QRect &geometry);
    void handleWindowCloseRequested();

    bool askRefresh();
    bool askBeforeNavigate(const QUrl &url);
    int showMessage(const QString &text, unsigned type);
    void authenticate(const QUrl &url, QAuthenticator *authenticator);
    bool answerWithProxyCredentials(QAuthenticator *authenticator, const QString &proxyHost);

    WebEngineControl &m_control;
    bool m_ownLoad = false;
    bool m_maybeWrittenBefore = false;
    QUrl m_linkAfterWrite;
    // The program's proxy credentials given during this load.
    QStringList m_proxyCredentialsGiven;
    QRect m_lastGeometry;
};

} // namespace vocab

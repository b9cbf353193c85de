#pragma once

// Which load of the page's main frame is under way, and whether it has
// ended, told apart from the loads before it.
//
// The engine's load signals carry no identity. A navigation that begins
// while another load is still under way gets no start of its own; when the
// earlier load then ends first, its end is the only one reported, and the
// new navigation ends without any signal at all. Taking that end for the new
// page's makes a wait end on the page before. So each navigation the engine
// begins is followed here with its addresses (the one it began with and
// those it was sent on to): an end that names the page of the earlier load
// and not this one is that earlier load's, and changes nothing; after it the
// page's document is asked, again and again, until the navigation's document
// has come and is complete, which is the end the engine no longer reports.
//
// A navigation the program asks for counts as under way from the moment it
// is asked for, before the engine begins it, so that a wait begun at once
// does not end on the page before, which is still complete. Only a
// navigation the engine never begins takes the start limit to end so.

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <optional>

class QWebEnginePage;

namespace vocab {

class NavigationTracker : public QObject {
    Q_OBJECT
public:
    explicit NavigationTracker(QWebEnginePage *page);

    // The program asks for a navigation to `target` (empty when the target
    // is not known beforehand, as for a reload). A move within the page
    // shown makes no load: it ends when the page's address has changed.
    void ask(const QUrl &target);
    // The navigation asked for will not begin: refused, or given up.
    void settleAsked();
    // The engine begins a navigation of the main frame to `url`; a page the
    // program writes ends when the writer says so, not by the engine.
    void begin(const QUrl &url, bool written);
    // The navigation under way is sent on to `url` (a redirect).
    void redirected(const QUrl &url);
    // The page's address changed.
    void urlChanged(const QUrl &url);
    // The page being written has landed or failed.
    void writeSettled();
    // Nothing is under way any longer: stopped, turned into a download, or
    // the page's render process ended.
    void endAll();

    // What an end the engine reports is.
    enum class End {
        Current, // the end of the navigation under way, or of a load not followed
        Stale,   // the end of a load before the navigation under way
    };
    void engineStarted(const QUrl &url);
    End engineFinished(const QUrl &url);

    // A navigation asked for or begun has not ended.
    bool underWay() const { return m_asked || m_current.has_value(); }
    // The engine has begun a navigation that has not ended.
    bool begun() const { return m_current.has_value(); }

    // How long a navigation asked for counts as on its way before the
    // engine has begun it.
    static constexpr int StartLimitMs = 5000;

signals:
    // The navigation under way has ended, and the engine reported no end
    // of its own for it.
    void endedUnreported();

private:
    struct Navigation {
        QList<QUrl> urls;      // began with, then sent on to
        bool written = false;  // a page the program writes
        bool staleAhead = false; // an earlier load's end may still come first
        QList<QUrl> staleUrls; // the addresses of that earlier load
        bool unreported = false; // its end will not be reported
    };

    bool isOwnUrl(const QString &href) const;
    void lookAtDocument();
    void handleDocument(quint64 serial, const QString &href, const QString &readyState);

    QPointer<QWebEnginePage> m_page;
    bool m_asked = false;
    bool m_askedWithinPage = false;
    QUrl m_askedTarget;
    QTimer m_startLimit;
    std::optional<Navigation> m_current;
    quint64 m_serial = 0;
    // The engine's own idea of a load under way, from its start to its end.
    bool m_engineLoading = false;
    QUrl m_engineUrl;
    QTimer m_lookAgain;
    QElapsedTimer m_sinceAsked;
    bool m_answerPending = false;
};

} // namespace vocab

#include "NavigationTracker.h"

#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineScript>

namespace vocab {

namespace {

constexpr int DocumentLookIntervalMs = 10;
// A page that does not answer is asked again after this long, as the
// navigation's document may be in another render process.
constexpr int UnansweredLookMs = 500;

// Addresses the same but for a trailing slash or a fragment.
QUrl comparable(const QUrl &url)
{
    return url.adjusted(QUrl::RemoveFragment | QUrl::StripTrailingSlash | QUrl::NormalizePathSegments);
}

bool among(const QUrl &url, const QList<QUrl> &urls)
{
    const QUrl wanted = comparable(url);
    for (const QUrl &candidate : urls)
        if (comparable(candidate) == wanted)
            return true;
    return false;
}

} // namespace

NavigationTracker::NavigationTracker(QWebEnginePage *page) : QObject(page), m_page(page)
{
    m_startLimit.setSingleShot(true);
    m_startLimit.setInterval(StartLimitMs);
    connect(&m_startLimit, &QTimer::timeout, this, [this] { m_asked = false; });
    m_lookAgain.setInterval(DocumentLookIntervalMs);
    connect(&m_lookAgain, &QTimer::timeout, this, &NavigationTracker::lookAtDocument);
}

void NavigationTracker::ask(const QUrl &target)
{
    m_asked = true;
    m_askedTarget = target;
    const QUrl shown = m_page ? m_page->url() : QUrl();
    m_askedWithinPage = target.hasFragment() && shown.isValid()
        && target.adjusted(QUrl::RemoveFragment) == shown.adjusted(QUrl::RemoveFragment);
    m_startLimit.start();
}

void NavigationTracker::settleAsked()
{
    m_asked = false;
    m_startLimit.stop();
}

void NavigationTracker::begin(const QUrl &url, bool written)
{
    settleAsked();
    Navigation next;
    next.urls = {url};
    next.written = written;
    // The engine is still in a load of its own: its end may come before
    // this navigation's, or be the only one reported.
    if (m_engineLoading) {
        next.staleAhead = true;
        if (m_current)
            next.staleUrls = m_current->urls;
        next.staleUrls.append(m_engineUrl);
    }
    m_current = next;
    ++m_serial;
    m_lookAgain.stop();
    m_answerPending = false;
}

void NavigationTracker::redirected(const QUrl &url)
{
    if (m_current && !m_current->written && !among(url, m_current->urls))
        m_current->urls.append(url);
}

void NavigationTracker::urlChanged(const QUrl &url)
{
    // The address shown changes at once for a navigation asked for, before
    // the engine begins it: only a move within the page ends so.
    if (m_asked && m_askedWithinPage && comparable(url) == comparable(m_askedTarget)
        && url.fragment() == m_askedTarget.fragment())
        settleAsked();
}

void NavigationTracker::writeSettled()
{
    if (m_current && m_current->written) {
        m_current.reset();
        m_lookAgain.stop();
    }
}

void NavigationTracker::endAll()
{
    settleAsked();
    m_current.reset();
    m_lookAgain.stop();
}

void NavigationTracker::engineStarted(const QUrl &url)
{
    if (!m_engineLoading) {
        m_engineLoading = true;
        m_engineUrl = url;
    }
    if (!m_current) {
        // A load the engine began without asking (the empty page among
        // them): the navigation asked for when it goes there, or another.
        // It is under way until its end all the same.
        if (m_asked && comparable(url) == comparable(m_askedTarget))
            settleAsked();
        Navigation untracked;
        untracked.urls = {url};
        m_current = untracked;
        ++m_serial;
    } else if (m_current->unreported) {
        // The engine follows a load again (the error page of a navigation
        // it had lost): its end will be reported.
        m_current->unreported = false;
        m_current->staleAhead = false;
        m_lookAgain.stop();
    }
}

NavigationTracker::End NavigationTracker::engineFinished(const QUrl &url)
{
    m_engineLoading = false;
    // A navigation asked for that the engine went on into without
    // beginning it anew has come with this end.
    if (m_asked && !m_askedTarget.isEmpty() && comparable(url) == comparable(m_askedTarget)
        && !(m_current && m_current->staleAhead))
        settleAsked();
    if (!m_current)
        return End::Current;
    if (m_current->staleAhead) {
        m_current->staleAhead = false;
        if (among(url, m_current->staleUrls) && !among(url, m_current->urls)) {
            // The earlier load's end. The engine now follows no load, and
            // will report none for this navigation: its document tells.
            if (!m_current->written) {
                m_current->unreported = true;
                m_sinceAsked.invalidate();
                m_lookAgain.start();
                lookAtDocument();
            }
            return End::Stale;
        }
    }
    // A written page has ended when it has landed; the engine's end of it
    // may come before.
    if (!m_current->written)
        m_current.reset();
    m_lookAgain.stop();
    return End::Current;
}

bool NavigationTracker::isOwnUrl(const QString &href) const
{
    // A navigation that failed shows the engine's error page in its place.
    return among(QUrl(href), m_current->urls) || href.startsWith(QLatin1String("chrome-error:"));
}

void NavigationTracker::lookAtDocument()
{
    if (!m_page || !m_current || !m_current->unreported) {
        m_lookAgain.stop();
        return;
    }
    if (m_answerPending && m_sinceAsked.isValid() && m_sinceAsked.elapsed() < UnansweredLookMs)
        return;
    m_answerPending = true;
    m_sinceAsked.start();
    const quint64 serial = m_serial;
    m_page->runJavaScript(QStringLiteral("[location.href, document.readyState]"), QWebEngineScript::ApplicationWorld,
                          [guard = QPointer(this), serial](const QVariant &answer) {
                              const QVariantList values = answer.toList();
                              if (guard && values.size() == 2)
                                  guard->handleDocument(serial, values.at(0).toString(), values.at(1).toString());
                          });
}

void NavigationTracker::handleDocument(quint64 serial, const QString &href, const QString &readyState)
{
    if (serial != m_serial || !m_current || !m_current->unreported)
        return;
    m_answerPending = false;
    if (readyState != QLatin1String("complete") || !isOwnUrl(href))
        return;
    m_current.reset();
    m_lookAgain.stop();
    emit endedUnreported();
}

} // namespace vocab

#include "PageWriter.h"

#include "EngineCallback.h"
#include "ScriptRunner.h"

#include <QWebEngineLoadingInfo>
#include <QWebEngineScript>

namespace vocab {

namespace {

// The document is asked this often whether the page has come, for the
// case that the engine tells of no end of its load; a look costs the
// engine work of its own while it loads the page.
constexpr int DocumentLookIntervalMs = 50;

// How the engine begins the address of a page given inline.
constexpr char InlineMimeType[] = "text/html;charset=UTF-8;base64";
constexpr char InlineAddressStart[] = "data:text/html;charset=UTF-8;base64,";
const QString PageNamePrefix = QStringLiteral("vocab-page-");

// The engine percent-encodes the base64 text: these three go in as %XX.
bool escapedInAddress(char c)
{
    return c == '+' || c == '/' || c == '=';
}

qsizetype addressLengthOf(const QByteArray &coded)
{
    qsizetype length = sizeof(InlineAddressStart) - 1;
    for (const char c : coded)
        length += escapedInAddress(c) ? 3 : 1;
    return length;
}

// The page a fragment names, or 0.
quint64 pageNamed(const QUrl &url)
{
    const QString fragment = url.fragment();
    if (!fragment.startsWith(PageNamePrefix))
        return 0;
    bool ok = false;
    const quint64 generation = QStringView(fragment).mid(PageNamePrefix.size()).toULongLong(&ok);
    return ok ? generation : 0;
}

} // namespace

PageWriter::PageWriter(QWebEnginePage *page) : QObject(page), m_page(page)
{
    connect(page, &QWebEnginePage::loadingChanged, this, &PageWriter::handleLoadingChanged);
    connect(page, &QWebEnginePage::renderProcessTerminated, this, &PageWriter::handleRenderProcessEnded);
    m_lookAgain.setInterval(DocumentLookIntervalMs);
    connect(&m_lookAgain, &QTimer::timeout, this, &PageWriter::lookAtDocument);
}

QUrl PageWriter::pageUrl(quint64 generation) const
{
    QUrl url = m_baseUrl;
    url.setFragment(PageNamePrefix + QString::number(generation));
    return url;
}

QString PageWriter::shownAddress(const QUrl &url) const
{
    if (url.scheme() == QLatin1String("data") && url.toString(QUrl::FullyEncoded).startsWith(QLatin1String(InlineAddressStart)))
        return m_baseUrl.toString();
    return pageNamed(url) ? url.adjusted(QUrl::RemoveFragment).toString() : url.toString();
}

QString PageWriter::withoutPageName(const QString &url)
{
    const qsizetype hash = url.lastIndexOf(u'#');
    if (hash < 0 || !QStringView(url).mid(hash + 1).startsWith(PageNamePrefix))
        return url;
    return url.left(hash);
}

qsizetype PageWriter::inlineAddressLength(const QByteArray &utf8)
{
    return addressLengthOf(utf8.toBase64());
}

void PageWriter::writePage(const QString &html)
{
    if (writing()) {
        m_queued = html;
        return;
    }
    // A navigation cannot begin inside the engine's decision about another:
    // the page begins as soon as that callback has returned.
    if (EngineCallbackScope::inside()) {
        m_stage = Stage::Deferred;
        m_queued = html;
        m_landed = false;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_stage != Stage::Deferred || !m_queued)
                    return;
                m_stage = Stage::Idle;
                start(*std::exchange(m_queued, std::nullopt));
            },
            Qt::QueuedConnection);
        return;
    }
    start(html);
}

// A page of `characters` is on its way from now: its limit, and the looks
// at the document that also watch the limit.
void PageWriter::beginLanding(qsizetype characters)
{
    m_since.start();
    m_landingLimitMs = LandingLimitMs + int(qMin<qsizetype>(characters / (512 * 1024), 50)) * LandingLimitMs;
    m_lookAgain.start();
}

void PageWriter::start(const QString &html)
{
    if (!m_page) {
        m_stage = Stage::Idle;
        m_landed = false;
        return;
    }
    m_html = html;
    m_landed = false;
    beginLanding(html.size());
    loadInline();
}

void PageWriter::loadInline()
{
    const QByteArray coded = m_html.toUtf8().toBase64();
    if (addressLengthOf(coded) > m_inlineLimit) {
        loadEmptyDocument();
        return;
    }
    ++m_generation;
    m_stage = Stage::Inline;
    m_page->setContent(coded, QLatin1String(InlineMimeType), pageUrl(m_generation));
}

void PageWriter::loadEmptyDocument()
{
    ++m_generation;
    m_stage = Stage::EmptyDocument;
    keepLongPage();
    m_page->setContent(QByteArray(), QLatin1String(InlineMimeType), pageUrl(m_generation));
}

// Only pages still within reach of the history are kept.
void PageWriter::keepLongPage()
{
    for (auto it = m_longPages.begin(); it != m_longPages.end();) {
        if (it.key() + HistoryEntries < m_generation)
            it = m_longPages.erase(it);
        else
            ++it;
    }
    m_longPages.insert(m_generation, m_html);
}

bool PageWriter::isOwnNavigation(const QUrl &url, QWebEnginePage::NavigationType type) const
{
    return (m_stage == Stage::Inline || m_stage == Stage::EmptyDocument) && url.scheme() == QLatin1String("data")
        && type == QWebEnginePage::NavigationTypeTyped;
}

void PageWriter::abandon()
{
    if (!writing() && !m_queued)
        return;
    m_queued.reset();
    m_returnDone = nullptr;
    settle(false);
}

void PageWriter::writeAgain()
{
    if (m_stage == Stage::Inline || m_stage == Stage::EmptyDocument)
        start(QString(m_html));
}

void PageWriter::handleLoadingChanged(const QWebEngineLoadingInfo &info)
{
    if (info.status() != QWebEngineLoadingInfo::LoadStartedStatus)
        loaded(info.url(), info.status() == QWebEngineLoadingInfo::LoadSucceededStatus);
}

// The end of a load at the page's own address. A page the engine refuses
// inline (its address too long after all) goes again the other way.
void PageWriter::loaded(const QUrl &url, bool ok)
{
    if ((m_stage != Stage::Inline && m_stage != Stage::EmptyDocument) || url != pageUrl(m_generation))
        return;
    if (!ok) {
        if (m_stage == Stage::Inline)
            loadEmptyDocument();
        else
            settle(false);
        return;
    }
    if (m_stage == Stage::Inline)
        settle(true);
    else
        writeLongText();
}

// The page went with its render process; the next one comes in a new one.
void PageWriter::handleRenderProcessEnded()
{
    if (m_stage == Stage::Idle || m_stage == Stage::Deferred)
        return;
    m_returnDone = nullptr;
    settle(false);
}

// Where the engine tells of no end of the page's load, the document's own
// address and state tell it. The page's own world is asked, as that costs
// the engine no world of the program's to make for the page.
void PageWriter::lookAtDocument()
{
    if (!m_page || m_stage == Stage::Idle || m_stage == Stage::Deferred) {
        m_lookAgain.stop();
        return;
    }
    if (m_since.elapsed() >= m_landingLimitMs) {
        settle(false);
        return;
    }
    if (m_stage != Stage::Inline && m_stage != Stage::EmptyDocument)
        return; // the write answers for itself
    const quint64 generation = m_generation;
    m_page->runJavaScript(QStringLiteral("[document.URL,document.readyState]"), QWebEngineScript::MainWorld,
                          [guard = QPointer(this), generation](const QVariant &answer) {
                              const QVariantList values = answer.toList();
                              if (!guard || generation != guard->m_generation || values.size() != 2
                                  || values.at(1).toString() != QLatin1String("complete"))
                                  return;
                              guard->loaded(QUrl(values.at(0).toString()), true);
                          });
}

// The long page on its way goes into its empty document, now shown.
void PageWriter::writeLongText()
{
    m_stage = Stage::Script;
    const quint64 generation = m_generation;
    const QString script = QStringLiteral("document.open();document.write(%1);document.close();true;").arg(jsString(m_html));
    // The page's own world, so that the scripts of the text run as the
    // page's scripts do.
    m_page->runJavaScript(script, QWebEngineScript::MainWorld,
                          [guard = QPointer(this), generation](const QVariant &done) {
                              if (guard)
                                  guard->handleScriptWrite(generation, done);
                          });
}

void PageWriter::handleScriptWrite(quint64 generation, const QVariant &done)
{
    if (generation != m_generation || m_stage != Stage::Script)
        return;
    if (!done.toBool()) {
        settle(false);
        return;
    }
    // What the engine adds to every document it loads is not added to one
    // written by script: the hook adds it again before the page counts as landed.
    if (m_afterScriptWrite)
        m_afterScriptWrite();
    settle(true);
}

void PageWriter::documentReturned(const QUrl &url, std::function<void()> done)
{
    const auto it = m_longPages.constFind(pageNamed(url));
    if (it == m_longPages.constEnd() || writing() || !m_page || url.adjusted(QUrl::RemoveFragment) != m_baseUrl) {
        done();
        return;
    }
    m_html = *it;
    m_returnDone = std::move(done);
    beginLanding(m_html.size());
    ++m_generation;
    writeLongText();
}

void PageWriter::settle(bool landed)
{
    m_stage = Stage::Idle;
    m_landingLimitMs = LandingLimitMs;
    m_lookAgain.stop();
    m_html.clear();
    m_landed = landed;
    // The page the user came back to is complete before the next begins.
    if (auto done = std::exchange(m_returnDone, nullptr))
        done();
    if (m_queued) {
        start(*std::exchange(m_queued, std::nullopt));
        return;
    }
    emit settled();
}

bool PageWriter::waitUntilWritten(int timeoutMs)
{
    if (!writing())
        return m_landed;
    if (EngineCallbackScope::inside())
        return false;
    LocalWait wait(timeoutMs);
    const auto done = connect(this, &PageWriter::settled, this, [&wait] { wait.finish(); });
    wait.wait();
    disconnect(done);
    return !writing() && m_landed;
}

} // namespace vocab

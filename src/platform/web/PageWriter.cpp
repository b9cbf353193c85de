#include "PageWriter.h"

#include "EngineCallback.h"
#include "ScriptRunner.h"

#include <QWebEngineLoadingInfo>
#include <QWebEngineScript>

namespace vocab {

namespace {

// The document is asked at each step of the engine's load; this often
// only in case the engine tells of none (a look costs the engine work of
// its own while it loads the page).
constexpr int MarkCheckIntervalMs = 50;

// How the engine begins the address of a page given inline.
constexpr char InlineMimeType[] = "text/html;charset=UTF-8;base64";
constexpr char InlineAddressStart[] = "data:text/html;charset=UTF-8;base64,";
const QString MarkPrefix = QStringLiteral("vocab-page-");

// The engine percent-encodes the base64 text: these three go in as %XX.
bool escapedInAddress(char c)
{
    return c == '+' || c == '/' || c == '=';
}

} // namespace

PageWriter::PageWriter(QWebEnginePage *page) : QObject(page), m_page(page)
{
    connect(page, &QWebEnginePage::loadingChanged, this, &PageWriter::handleLoadingChanged);
    connect(page, &QWebEnginePage::loadProgress, this, &PageWriter::lookForMark);
    connect(page, &QWebEnginePage::renderProcessTerminated, this, &PageWriter::handleRenderProcessEnded);
    m_lookAgain.setInterval(MarkCheckIntervalMs);
    connect(&m_lookAgain, &QTimer::timeout, this, &PageWriter::lookForMark);
}

QString PageWriter::markOf(quint64 generation)
{
    return MarkPrefix + QString::number(generation);
}

// A comment ahead of the page is no part of its elements, its text or its title.
QString PageWriter::markComment(quint64 generation)
{
    return QStringLiteral("<!--%1-->").arg(markOf(generation));
}

qsizetype PageWriter::inlineAddressLength(const QByteArray &utf8)
{
    const QByteArray coded = utf8.toBase64();
    qsizetype length = sizeof(InlineAddressStart) - 1;
    for (const char c : coded)
        length += escapedInAddress(c) ? 3 : 1;
    return length;
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

void PageWriter::setLandingLimit(qsizetype characters)
{
    m_landingLimitMs = LandingLimitMs + int(qMin<qsizetype>(characters / (512 * 1024), 50)) * LandingLimitMs;
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
    m_since.start();
    setLandingLimit(html.size());
    // The mark ahead of the page is well within the margin under the limit.
    if (inlineAddressLength(m_html.toUtf8()) <= m_inlineLimit)
        loadInline();
    else
        loadEmptyDocument();
}

void PageWriter::loadInline()
{
    ++m_generation;
    m_stage = Stage::Inline;
    m_page->setContent((markComment(m_generation) + m_html).toUtf8().toBase64(), QLatin1String(InlineMimeType), m_baseUrl);
    m_lookAgain.start();
    lookForMark();
}

void PageWriter::loadEmptyDocument()
{
    ++m_generation;
    m_stage = Stage::EmptyDocument;
    keepLongPage();
    m_page->setContent(markComment(m_generation).toUtf8().toBase64(), QLatin1String(InlineMimeType), m_baseUrl);
    m_lookAgain.start();
    lookForMark();
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

// The end of a load is the likeliest moment for the mark to be there. A
// page the engine refuses inline (its address too long after all) goes
// again the other way; the end of another load it cut short does not count.
void PageWriter::handleLoadingChanged(const QWebEngineLoadingInfo &info)
{
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus)
        return;
    if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus && m_stage == Stage::Inline && m_page
        && info.url() == m_baseUrl) {
        loadEmptyDocument();
        return;
    }
    lookForMark();
}

// The page being written went with its render process; the next one comes
// in a new one.
void PageWriter::handleRenderProcessEnded()
{
    if (m_stage == Stage::Idle || m_stage == Stage::Deferred)
        return;
    m_returnDone = nullptr;
    settle(false);
}

// Asks the document in the browser whether it carries the mark of the page
// being written, and how far it is parsed.
void PageWriter::lookForMark()
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
    const QString probe = QStringLiteral("(function(){for(var n=document.firstChild;n;n=n.nextSibling)"
                                         "if(n.nodeType===8&&n.data===%1)return document.readyState;return '';})()")
                              .arg(jsString(markOf(generation)));
    m_page->runJavaScript(probe, QWebEngineScript::ApplicationWorld,
                          [guard = QPointer(this), generation](const QVariant &state) {
                              if (guard)
                                  guard->handleMark(generation, state.toString());
                          });
}

void PageWriter::handleMark(quint64 generation, const QString &readyState)
{
    if (generation != m_generation || (m_stage != Stage::Inline && m_stage != Stage::EmptyDocument))
        return;
    if (readyState != QLatin1String("interactive") && readyState != QLatin1String("complete"))
        return;
    if (m_stage == Stage::Inline)
        land();
    else
        writeLongText(generation);
}

// The long page whose mark is `mark` goes into the empty document shown.
void PageWriter::writeLongText(quint64 mark)
{
    m_stage = Stage::Script;
    const quint64 generation = m_generation;
    const QString script = QStringLiteral("document.open();document.write(%1);document.close();true;")
                               .arg(jsString(markComment(mark) + m_html));
    // The page's own world, so that the scripts of the text run as the
    // page's scripts do.
    m_page->runJavaScript(script, QWebEngineScript::MainWorld,
                          [guard = QPointer(this), generation](const QVariant &done) {
                              if (guard)
                                  guard->handleScriptWrite(generation, done);
                          });
    m_lookAgain.start(); // for the landing limit
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
    land();
}

void PageWriter::documentReturned(std::function<void()> done)
{
    if (m_longPages.isEmpty() || writing() || !m_page) {
        done();
        return;
    }
    m_stage = Stage::Returned;
    m_returnDone = std::move(done);
    m_since.start();
    m_landingLimitMs = LandingLimitMs;
    ++m_generation;
    const quint64 generation = m_generation;
    // The empty document of a long page holds its mark and nothing else
    // (the host's style sheet aside).
    const QString probe = QStringLiteral("(function(){var n=document.firstChild;"
                                         "if(!n||n.nodeType!==8||n.data.indexOf(%1)!==0)return '';"
                                         "var b=document.body;return b&&!b.firstChild?n.data:'';})()")
                              .arg(jsString(MarkPrefix));
    m_page->runJavaScript(probe, QWebEngineScript::ApplicationWorld,
                          [guard = QPointer(this), generation](const QVariant &mark) {
                              if (guard && generation == guard->m_generation && guard->m_stage == Stage::Returned)
                                  guard->handleReturnedDocument(mark);
                          });
    m_lookAgain.start(); // for the limit
}

void PageWriter::handleReturnedDocument(const QVariant &mark)
{
    bool isNumber = false;
    const quint64 longPage = mark.toString().mid(MarkPrefix.size()).toULongLong(&isNumber);
    const auto it = isNumber ? m_longPages.constFind(longPage) : m_longPages.constEnd();
    if (it == m_longPages.constEnd()) {
        // An ordinary page: it is there as it came.
        m_stage = Stage::Idle;
        m_lookAgain.stop();
        if (auto done = std::exchange(m_returnDone, nullptr))
            done();
        if (m_queued)
            start(*std::exchange(m_queued, std::nullopt));
        else
            emit settled();
        return;
    }
    m_html = *it;
    setLandingLimit(m_html.size());
    writeLongText(longPage);
}

void PageWriter::land()
{
    settle(true);
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

#include "PageWriter.h"

#include "ScriptRunner.h"

#include <QWebEngineScript>

namespace vocab {

namespace {

constexpr int MarkCheckIntervalMs = 10;

// How the engine begins the address of a page given inline.
constexpr char InlineAddressStart[] = "data:text/html;charset=UTF-8,";

bool keptAsItIs(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.'
        || c == '_' || c == '~';
}

} // namespace

PageWriter::PageWriter(QWebEnginePage *page) : QObject(page), m_page(page)
{
    connect(page, &QWebEnginePage::loadFinished, this, &PageWriter::handleLoadFinished);
    // A document whose renderer has gone is no longer there to write into.
    connect(page, &QWebEnginePage::renderProcessTerminated, this, [this] { m_shownGeneration = 0; });
    m_lookAgain.setInterval(MarkCheckIntervalMs);
    connect(&m_lookAgain, &QTimer::timeout, this, &PageWriter::lookForMark);
}

QString PageWriter::markOf(quint64 generation)
{
    return QStringLiteral("vocab-page-%1").arg(generation);
}

qsizetype PageWriter::inlineAddressLength(const QByteArray &utf8)
{
    // Every byte but the few kept as they are goes in as %XX.
    qsizetype length = sizeof(InlineAddressStart) - 1;
    for (const char c : utf8)
        length += keptAsItIs(c) ? 1 : 3;
    return length;
}

void PageWriter::writePage(const QString &html)
{
    if (writing())
        m_queued = html;
    else
        start(html);
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
    m_landingLimitMs = LandingLimitMs + int(qMin<qsizetype>(html.size() / (512 * 1024), 50)) * LandingLimitMs;
    if (m_shownGeneration != 0 && m_shownBaseUrl == m_baseUrl && (!m_inPlaceAllowed || m_inPlaceAllowed()))
        writeInPlace();
    else
        navigate();
}

void PageWriter::navigate()
{
    // The mark ahead of the page is well within the margin under the limit.
    if (inlineAddressLength(m_html.toUtf8()) <= m_inlineLimit)
        loadInline();
    else
        loadEmptyDocument();
}

// A comment ahead of the page is no part of its elements, its text or its title.
QString PageWriter::markComment() const
{
    return QStringLiteral("<!--%1-->").arg(mark());
}

void PageWriter::loadInline()
{
    m_shownGeneration = 0;
    ++m_generation;
    m_stage = Stage::Inline;
    m_page->setHtml(markComment() + m_html, m_baseUrl);
    m_lookAgain.start();
    lookForMark();
}

void PageWriter::loadEmptyDocument()
{
    m_shownGeneration = 0;
    ++m_generation;
    m_stage = Stage::EmptyDocument;
    m_page->setHtml(markComment(), m_baseUrl);
    m_lookAgain.start();
    lookForMark();
}

bool PageWriter::isOwnNavigation(const QUrl &url, QWebEnginePage::NavigationType type) const
{
    return (m_stage == Stage::Inline || m_stage == Stage::EmptyDocument) && url.scheme() == QLatin1String("data")
        && type == QWebEnginePage::NavigationTypeTyped;
}

void PageWriter::abandon()
{
    m_shownGeneration = 0;
    if (!writing() && !m_queued)
        return;
    m_queued.reset();
    settle(false);
}

// The end of a load is the likeliest moment for the mark to be there. A
// page the engine refuses inline (its address too long after all) goes
// again the other way.
void PageWriter::handleLoadFinished(bool ok)
{
    if (!ok && m_stage == Stage::Inline && m_page) {
        loadEmptyDocument();
        return;
    }
    lookForMark();
}

// Asks the document in the browser whether it carries the mark of the page
// being written, and how far it is parsed.
void PageWriter::lookForMark()
{
    if (!m_page || m_stage == Stage::Idle) {
        m_lookAgain.stop();
        return;
    }
    if (m_since.elapsed() >= m_landingLimitMs) {
        fail();
        return;
    }
    if (m_stage == Stage::Script || m_stage == Stage::InPlace)
        return; // the write answers for itself
    const quint64 generation = m_generation;
    const QString probe = QStringLiteral("(function(){for(var n=document.firstChild;n;n=n.nextSibling)"
                                         "if(n.nodeType===8&&n.data===%1)return document.readyState;return '';})()")
                              .arg(jsString(mark()));
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
        writeLongText();
}

// The document shown is the page written last, if it still carries that
// page's mark: the new page replaces it in place. Otherwise the write
// answers false and the page goes by a navigation.
void PageWriter::writeInPlace()
{
    const quint64 shown = m_shownGeneration;
    ++m_generation;
    m_stage = Stage::InPlace;
    if (m_beforeWriteInPlace)
        m_beforeWriteInPlace();
    const quint64 generation = m_generation;
    // The scroll position is the window's, which the new page keeps
    // otherwise; it goes back to the top before the page's own scripts run.
    const QString script = QStringLiteral("(function(){var n=document.firstChild;"
                                          "if(!n||n.nodeType!==8||n.data!==%1)return false;"
                                          "document.open();window.scrollTo(0,0);document.write(%2);document.close();"
                                          "return true;})()")
                               .arg(jsString(markOf(shown)), jsString(markComment() + m_html));
    m_page->runJavaScript(script, QWebEngineScript::MainWorld,
                          [guard = QPointer(this), generation](const QVariant &done) {
                              if (guard)
                                  guard->handleWriteInPlace(generation, done);
                          });
    m_lookAgain.start(); // for the landing limit
}

void PageWriter::handleWriteInPlace(quint64 generation, const QVariant &done)
{
    if (generation != m_generation || m_stage != Stage::InPlace || !m_page)
        return;
    if (done.toBool()) {
        landScriptWrite();
        return;
    }
    // Another document is shown (or the page's scripts put something ahead
    // of the mark): the page goes the way of a first one.
    navigate();
}

void PageWriter::writeLongText()
{
    m_stage = Stage::Script;
    const quint64 generation = m_generation;
    const QString script = QStringLiteral("document.open();document.write(%1);document.close();true;")
                               .arg(jsString(markComment() + m_html));
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
        fail();
        return;
    }
    landScriptWrite();
}

// What the engine adds to every document it loads is not added to one
// written by script: the hook adds it again before the page counts as landed.
void PageWriter::landScriptWrite()
{
    if (m_afterScriptWrite)
        m_afterScriptWrite();
    land();
}

void PageWriter::land()
{
    m_shownGeneration = m_generation;
    m_shownBaseUrl = m_baseUrl;
    settle(true);
}

void PageWriter::fail()
{
    m_shownGeneration = 0;
    settle(false);
}

void PageWriter::settle(bool landed)
{
    m_stage = Stage::Idle;
    m_landingLimitMs = LandingLimitMs;
    m_lookAgain.stop();
    m_html.clear();
    if (m_queued) {
        const QString next = *m_queued;
        m_queued.reset();
        start(next);
        return;
    }
    m_landed = landed;
    emit settled();
}

bool PageWriter::waitUntilWritten(int timeoutMs)
{
    if (!writing())
        return m_landed;
    LocalWait wait(timeoutMs);
    const auto done = connect(this, &PageWriter::settled, this, [&wait] { wait.finish(); });
    wait.wait();
    disconnect(done);
    return !writing() && m_landed;
}

} // namespace vocab

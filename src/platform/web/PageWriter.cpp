#include "PageWriter.h"

#include "ScriptRunner.h"

#include <QWebEngineScript>

namespace vocab {

namespace {

constexpr int MarkCheckIntervalMs = 10;

} // namespace

PageWriter::PageWriter(QWebEnginePage *page) : QObject(page), m_page(page)
{
    // The end of a load is the likeliest moment for the mark to be there.
    connect(page, &QWebEnginePage::loadFinished, this, [this] { lookForMark(); });
    m_lookAgain.setInterval(MarkCheckIntervalMs);
    connect(&m_lookAgain, &QTimer::timeout, this, &PageWriter::lookForMark);
}

QString PageWriter::mark() const
{
    return QStringLiteral("vocab-page-%1").arg(m_generation);
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
        return;
    }
    ++m_generation;
    m_since.start();
    // A comment ahead of the page is no part of its elements, its text or its title.
    const QString marked = QStringLiteral("<!--%1-->").arg(mark());
    if (html.toUtf8().size() <= InlineLimitBytes) {
        m_stage = Stage::Inline;
        m_longText.clear();
        m_page->setHtml(marked + html, m_baseUrl);
    } else {
        m_stage = Stage::EmptyDocument;
        m_longText = marked + html;
        m_page->setHtml(marked, m_baseUrl);
    }
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
    if (!writing() && !m_queued)
        return;
    m_longText.clear();
    m_queued.reset();
    m_stage = Stage::Idle;
    m_lookAgain.stop();
    emit written();
}

// Asks the document in the browser whether it carries the mark of the page
// being written, and how far it is parsed.
void PageWriter::lookForMark()
{
    if (!m_page || (m_stage != Stage::Inline && m_stage != Stage::EmptyDocument)) {
        m_lookAgain.stop();
        return;
    }
    if (m_since.elapsed() >= LandingLimitMs) {
        handleMark(m_generation, QStringLiteral("complete"));
        return;
    }
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
    m_lookAgain.stop();
    if (m_stage == Stage::Inline)
        land();
    else
        writeLongText();
}

void PageWriter::writeLongText()
{
    m_stage = Stage::Script;
    m_lookAgain.stop();
    const quint64 generation = m_generation;
    const QString script =
        QStringLiteral("document.open();document.write(%1);document.close();true;").arg(jsString(m_longText));
    m_longText.clear();
    // The page's own world, so that the scripts of the text run as the
    // page's scripts do.
    m_page->runJavaScript(script, QWebEngineScript::MainWorld,
                          [this, guard = QPointer(this), generation](const QVariant &) {
                              if (!guard || generation != m_generation || m_stage != Stage::Script)
                                  return;
                              if (m_afterLongWrite)
                                  m_afterLongWrite();
                              land();
                          });
}

void PageWriter::land()
{
    m_stage = Stage::Idle;
    if (m_queued) {
        const QString next = *m_queued;
        m_queued.reset();
        start(next);
        return;
    }
    emit written();
}

bool PageWriter::waitUntilWritten(int timeoutMs)
{
    if (!writing())
        return true;
    LocalWait wait(timeoutMs);
    const auto done = connect(this, &PageWriter::written, this, [&wait] { wait.finish(); });
    wait.wait();
    disconnect(done);
    return !writing();
}

} // namespace vocab

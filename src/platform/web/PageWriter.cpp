#include "PageWriter.h"

#include "ScriptRunner.h"

#include <QWebEngineScript>

namespace vocab {

PageWriter::PageWriter(QWebEnginePage *page) : QObject(page), m_page(page)
{
    connect(page, &QWebEnginePage::loadFinished, this, &PageWriter::handleLoadFinished);
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
    if (!m_page)
        return;
    ++m_generation;
    m_navigationTaken = false;
    if (html.toUtf8().size() <= InlineLimitBytes) {
        m_stage = Stage::Inline;
        m_longText.clear();
        m_page->setHtml(html, m_baseUrl);
    } else {
        m_stage = Stage::EmptyDocument;
        m_longText = html;
        m_page->setHtml(QString(), m_baseUrl);
    }
}

bool PageWriter::isOwnNavigation(const QUrl &url, QWebEnginePage::NavigationType type)
{
    const bool own = (m_stage == Stage::Inline || m_stage == Stage::EmptyDocument)
        && url.scheme() == QLatin1String("data") && type == QWebEnginePage::NavigationTypeTyped;
    if (own)
        m_navigationTaken = true;
    return own;
}

void PageWriter::abandon()
{
    if (!writing() && !m_queued)
        return;
    m_longText.clear();
    m_queued.reset();
    m_stage = Stage::Idle;
    emit written();
}

void PageWriter::handleLoadFinished(bool)
{
    if (!m_navigationTaken)
        return;
    switch (m_stage) {
    case Stage::Inline:
        land();
        break;
    case Stage::EmptyDocument:
        writeLongText();
        break;
    case Stage::Idle:
    case Stage::Script:
        break;
    }
}

void PageWriter::writeLongText()
{
    m_stage = Stage::Script;
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

#include "ScriptRunner.h"

#include "EngineCallback.h"
#include "PageWriter.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>

namespace vocab {

LocalWait::LocalWait(int timeoutMs) : m_loop(std::make_unique<QEventLoop>()), m_timeoutMs(timeoutMs) {}

LocalWait::~LocalWait() = default;

void LocalWait::finish()
{
    m_finished = true;
    m_loop->quit();
}

bool LocalWait::wait()
{
    if (m_finished)
        return true;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, m_loop.get(), &QEventLoop::quit);
    timer.start(m_timeoutMs);
    // Events posted before the wait began may stand in the queue behind the
    // one being handled when this wait runs inside it (a queued call, say),
    // and a nested loop only looks at the queue again once something new is
    // posted. The engine's own work is among them, and with it every answer
    // the wait is for: they are delivered first.
    // An answer among them has finished the wait before its loop runs.
    QCoreApplication::sendPostedEvents();
    if (!m_finished)
        m_loop->exec(QEventLoop::ExcludeUserInputEvents);
    return m_finished;
}

namespace {

// Whether a page has left a read unanswered. Until it answers again or
// another load begins, a read of it fails at once: a routine that reads a
// hung page several times holds the user's input back for one time-out, not
// for one each.
class PageAnswers : public QObject {
public:
    static PageAnswers &of(QWebEnginePage *page)
    {
        for (QObject *child : page->children())
            if (auto *answers = dynamic_cast<PageAnswers *>(child))
                return *answers;
        return *new PageAnswers(page);
    }

    bool stalled() const { return m_stalled; }
    void timedOut() { m_stalled = true; }
    void answered()
    {
        m_stalled = false;
        m_probing = false;
    }
    // A read while stalled asks the page, without waiting, whether it
    // answers again: an answer owed from before may never come when the
    // document it was asked of has gone.
    void probe(QWebEnginePage *page)
    {
        if (m_probing)
            return;
        m_probing = true;
        page->runJavaScript(QStringLiteral("0"), QWebEngineScript::ApplicationWorld,
                            [guard = QPointer(this)](const QVariant &) {
                                if (guard)
                                    guard->answered();
                            });
    }

private:
    explicit PageAnswers(QWebEnginePage *page) : QObject(page)
    {
        connect(page, &QWebEnginePage::loadStarted, this, &PageAnswers::answered);
        connect(page, &QWebEnginePage::renderProcessTerminated, this, &PageAnswers::answered);
    }

    bool m_stalled = false;
    bool m_probing = false;
};

} // namespace

void expectAnswersAgain(QWebEnginePage *page)
{
    if (page)
        PageAnswers::of(page).answered();
}

QVariant runScriptAndWait(QWebEnginePage *page, const QString &script, int timeoutMs, bool *ok)
{
    return runScriptAndWait(page, QWebEngineScript::ApplicationWorld, script, timeoutMs, ok);
}

QVariant runScriptAndWait(QWebEnginePage *page, quint32 worldId, const QString &script, int timeoutMs, bool *ok)
{
    if (ok)
        *ok = false;
    // No answer can come before the engine's callback has returned.
    if (!page || EngineCallbackScope::inside())
        return {};
    PageAnswers &answers = PageAnswers::of(page);
    if (answers.stalled()) {
        answers.probe(page);
        return {};
    }
    // The answer may come after the wait has given up; it then lands in
    // this shared state, never in the frame that has returned.
    struct Answer {
        QVariant value;
        LocalWait *wait = nullptr;
        bool arrived = false;
        QPointer<PageAnswers> answers;
    };
    auto answer = std::make_shared<Answer>();
    answer->answers = &answers;
    LocalWait wait(timeoutMs);
    answer->wait = &wait;
    const QPointer<QWebEnginePage> guard(page);
    const auto gone = QObject::connect(page, &QObject::destroyed, [&wait] { wait.finish(); });
    const auto ended = QObject::connect(page, &QWebEnginePage::renderProcessTerminated, [&wait] { wait.finish(); });
    page->runJavaScript(script, worldId, [answer](const QVariant &value) {
        answer->value = value;
        answer->arrived = true;
        if (answer->wait)
            answer->wait->finish();
        else if (answer->answers)
            answer->answers->answered(); // late, but the page answers again
    });
    const bool finished = wait.wait();
    answer->wait = nullptr;
    if (guard) {
        QObject::disconnect(gone);
        QObject::disconnect(ended);
        if (!finished && answer->answers)
            answer->answers->timedOut();
    }
    if (ok)
        *ok = answer->arrived;
    return answer->arrived ? answer->value : QVariant();
}

namespace {

// JSON as a script literal: U+2028 and U+2029 are escaped as well, since
// older script parsers end a literal there.
QString jsonLiteral(const QJsonArray &array)
{
    QString literal = QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
    literal.replace(QChar(0x2028), QStringLiteral("\\u2028"));
    literal.replace(QChar(0x2029), QStringLiteral("\\u2029"));
    return literal;
}

} // namespace

QString jsString(const QString &text)
{
    // "[...]" around the one string.
    const QString array = jsonLiteral(QJsonArray{text});
    return array.mid(1, array.size() - 2);
}

QString jsArray(const QVariantList &values)
{
    return jsonLiteral(QJsonArray::fromVariantList(values));
}

void PageScripts::letWriteLand() const
{
    if (m_writer)
        m_writer->waitUntilWritten();
}

QVariant PageScripts::read(const QString &expression) const
{
    letWriteLand();
    const QString script =
        QStringLiteral("(function(){try{return (%1);}catch(e){return null;}})()").arg(expression);
    return runScriptAndWait(m_page, script, DocumentReadTimeoutMs);
}

QString PageScripts::readString(const QString &expression) const
{
    const QVariant value = read(QStringLiteral("(function(v){return v==null?'':String(v);})(%1)").arg(expression));
    return value.toString();
}

bool PageScripts::readBool(const QString &expression) const
{
    return read(QStringLiteral("!!(%1)").arg(expression)).toBool();
}

QVariant PageScripts::evaluate(const QString &script, bool *answered) const
{
    letWriteLand();
    return runScriptAndWait(m_page, script, DocumentReadTimeoutMs, answered);
}

QVariant PageScripts::evaluateInPage(const QString &script, bool *answered) const
{
    letWriteLand();
    return runScriptAndWait(m_page, QWebEngineScript::MainWorld, script, DocumentReadTimeoutMs, answered);
}

void PageScripts::run(const QString &statements) const
{
    letWriteLand();
    if (m_page)
        m_page->runJavaScript(QStringLiteral("try{%1}catch(e){}").arg(statements), QWebEngineScript::ApplicationWorld);
}

} // namespace vocab

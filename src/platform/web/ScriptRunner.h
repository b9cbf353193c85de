#pragma once

// Synchronous reads of a page. The engine answers scripts asynchronously;
// the document interface answers at once, so a read runs its script and then
// waits for the answer in a local event loop, for a bounded time.
//
// While a read waits, the event loop goes on handling timers, posted events,
// window-system events other than input (paint, resize, expose) and the
// engine's own messages, so a timer handler of the program may run in the
// middle of a read and may even read or write the document itself. User input
// (keys, mouse, wheel, touch) is held back and delivered once the wait ends.
// The wait ends early, answering nothing, when the page goes away or its
// render process ends. A page that never answers costs the time-out once:
// after a read has timed out, the page's reads fail at once until it
// answers again or another load begins. A page still being written is
// waited for first, as long as its writing may take, so that a read never
// sees the empty document a long page is written into.
//
// What runs during a wait must not destroy the browser whose document is
// being read: the read returns into it. The program destroys its article
// view only with the main window, after the event loop has ended.

#include <QPointer>
#include <QString>
#include <QVariant>

#include <memory>

class QEventLoop;
class QWebEnginePage;

namespace vocab {

class PageWriter;

inline constexpr int DocumentReadTimeoutMs = 5000;

// A wait in a local event loop that ends on finish() or at the time-out.
class LocalWait {
public:
    explicit LocalWait(int timeoutMs);
    ~LocalWait();
    LocalWait(const LocalWait &) = delete;
    LocalWait &operator=(const LocalWait &) = delete;

    void finish();
    // True when finish() came before the time-out.
    bool wait();

private:
    std::unique_ptr<QEventLoop> m_loop;
    int m_timeoutMs;
    bool m_finished = false;
};

// Runs `script` in the page's isolated world of the program and waits for
// its result; `ok` tells whether an answer came.
QVariant runScriptAndWait(QWebEnginePage *page, const QString &script, int timeoutMs, bool *ok = nullptr);
// The same in the script world `worldId` (a QWebEngineScript::ScriptWorldId):
// the page's own world sees the page's functions and variables.
QVariant runScriptAndWait(QWebEnginePage *page, quint32 worldId, const QString &script, int timeoutMs, bool *ok = nullptr);

// Another load of the page begins: its reads wait for answers again.
void expectAnswersAgain(QWebEnginePage *page);

// A script string literal holding `text`; nothing in the text can end it early.
QString jsString(const QString &text);
// A script array literal holding `values` as data (JSON).
QString jsArray(const QVariantList &values);

// The scripts the document and the commands run on one page: each first
// lets a page being written land, so that it reads the page just written.
class PageScripts {
public:
    PageScripts(QWebEnginePage *page, PageWriter *writer) : m_page(page), m_writer(writer) {}

    // The value of a script expression, or an invalid value when no answer came.
    QVariant read(const QString &expression) const;
    QString readString(const QString &expression) const;
    bool readBool(const QString &expression) const;
    // Runs statements without waiting for them.
    void run(const QString &statements) const;
    // The value of a whole script, as it stands (no error is caught for
    // it); `answered` tells whether an answer came.
    QVariant evaluate(const QString &script, bool *answered) const;
    // The same in the page's own script world, where the page's functions
    // and variables are; what the page has done to its world (its own
    // versions of built-in functions among it) holds for the script too.
    QVariant evaluateInPage(const QString &script, bool *answered) const;

    QWebEnginePage *page() const { return m_page; }

private:
    void letWriteLand() const;

    QPointer<QWebEnginePage> m_page;
    PageWriter *m_writer;
};

} // namespace vocab

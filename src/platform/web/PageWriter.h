#pragma once

// Puts a page given as text into the browser, replacing the page shown whole.
//
// The document takes the base URL given (the program's folder), so that the
// picture paths of the page resolve, and keeps it as its own address, so that
// links within the page stay within it. Text that fits the engine's limit
// for inline content (about 2 MB once encoded) is loaded as it is; longer
// text is written into a fresh empty document of that address by the page's
// own document.write, which has no such limit.
//
// The engine's load signals cannot tell which load has ended when another
// was under way, so each written page carries a mark of its own, a comment
// ahead of the text, and the page counts as written once the document in
// the browser shows that mark and has been parsed.
//
// One page is on its way at a time: a page written while another is still
// loading waits for it, and of several such pages only the last is loaded.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWebEnginePage>

#include <functional>
#include <optional>

namespace vocab {

class PageWriter : public QObject {
    Q_OBJECT
public:
    explicit PageWriter(QWebEnginePage *page);

    void setBaseUrl(const QUrl &url) { m_baseUrl = url; }
    const QUrl &baseUrl() const { return m_baseUrl; }

    // Called once each long page has been written, so that what the engine
    // adds to every loaded document (the host's style sheet) is added again.
    void setAfterLongWrite(std::function<void()> hook) { m_afterLongWrite = std::move(hook); }

    void writePage(const QString &html);

    // A page is being written and has not landed yet.
    bool writing() const { return m_stage != Stage::Idle; }
    // Whether a navigation the page is about to make is this writer's own.
    bool isOwnNavigation(const QUrl &url, QWebEnginePage::NavigationType type) const;
    // Another navigation replaced the page being written.
    void abandon();

    // Waits until the page being written has landed, at most `timeoutMs`.
    bool waitUntilWritten(int timeoutMs);

    // Longest UTF-8 text loaded inline; longer text is written by script.
    static constexpr qsizetype InlineLimitBytes = 1500 * 1000;
    // How long a page may take to show its mark before it counts as landed anyway.
    static constexpr int LandingLimitMs = 10000;

signals:
    void written();

private:
    void start(const QString &html);
    void lookForMark();
    void handleMark(quint64 generation, const QString &readyState);
    void writeLongText();
    void land();
    QString mark() const;

    enum class Stage { Idle, Inline, EmptyDocument, Script };

    QPointer<QWebEnginePage> m_page;
    QUrl m_baseUrl;
    Stage m_stage = Stage::Idle;
    QString m_longText; // the long page, once its empty document is there
    std::optional<QString> m_queued;
    quint64 m_generation = 0;
    // Asks again and again while a page is on its way: an answer may never
    // come from a document that goes meanwhile.
    QTimer m_lookAgain;
    QElapsedTimer m_since;
    std::function<void()> m_afterLongWrite;
};

} // namespace vocab

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
// One page is on its way at a time: a page written while another is still
// loading waits for it, and of several such pages only the last is loaded.

#include <QObject>
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
    // Whether a navigation the page is about to make is this writer's own;
    // the load that ends after it is the written page's.
    bool isOwnNavigation(const QUrl &url, QWebEnginePage::NavigationType type);
    // Another navigation replaced the page being written.
    void abandon();

    // Waits until the page being written has landed, at most `timeoutMs`.
    bool waitUntilWritten(int timeoutMs);

    // Longest UTF-8 text loaded inline; longer text is written by script.
    static constexpr qsizetype InlineLimitBytes = 1500 * 1000;

signals:
    void written();

private:
    void start(const QString &html);
    void handleLoadFinished(bool ok);
    void writeLongText();
    void land();

    enum class Stage { Idle, Inline, EmptyDocument, Script };

    QPointer<QWebEnginePage> m_page;
    QUrl m_baseUrl;
    Stage m_stage = Stage::Idle;
    // The engine has taken up the page being loaded; until then the end of
    // a load is that of the page before.
    bool m_navigationTaken = false;
    QString m_longText;
    std::optional<QString> m_queued;
    quint64 m_generation = 0;
    std::function<void()> m_afterLongWrite;
};

} // namespace vocab

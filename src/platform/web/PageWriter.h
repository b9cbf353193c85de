#pragma once

// Puts a page given as text into the browser, replacing the page shown whole.
//
// Every page comes by a navigation of its own, so that it starts in a window
// of its own: nothing of the page before (its variables, timers, listeners
// or title) can act in it, and it is an entry of the history of its own,
// which Back and Forward step through.
//
// The document takes the base URL given (the program's folder), so that the
// picture paths of the page resolve, and keeps it as its own address, so that
// links within the page stay within it. The address carries a fragment of
// the writer's own that names the page (pageUrl()): the engine's load
// signals tell the page's load from any other by it, and the program shows
// the address without it (withoutPageName()).
//
// The engine takes a page inline as a data: address, base64-coded and then
// percent-encoded, of at most 2 MiB characters: a page of up to about 1.4 MB
// of UTF-8. Such a page is loaded inline, its text carried in its history
// entry. Any other is written into a fresh empty document of its address by
// the page's own document.write, which has no such limit; the writer keeps
// its text for as long as its entry may be in the history, and writes it
// again when the user comes back to it. A page the engine refuses inline all
// the same is written that other way.
//
// A page counts as written once the engine has ended the load of its
// address (and, for a long page, its text is written); should the engine
// report no end (it loses one begun while another load is under way), the
// document is asked now and then. A page that has not landed in time has
// failed: the wait for it ends, and it is not taken for written. So has one
// whose render process ended on the way.
//
// One page is on its way at a time: a page written while another is still
// loading waits for it, and of several such pages only the last is loaded.
// A page written while the engine waits on one of the program's callbacks
// begins once the callback has returned; nothing waits for it meanwhile.

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>

#include <functional>
#include <optional>

class QWebEngineLoadingInfo;

namespace vocab {

class PageWriter : public QObject {
    Q_OBJECT
public:
    explicit PageWriter(QWebEnginePage *page);

    void setBaseUrl(const QUrl &url) { m_baseUrl = url; }
    const QUrl &baseUrl() const { return m_baseUrl; }

    // Called once each page has been written by script, so that what the
    // engine adds to every loaded document (the host's style sheet) is
    // added again.
    void setAfterScriptWrite(std::function<void()> hook) { m_afterScriptWrite = std::move(hook); }

    void writePage(const QString &html);

    // A page is being written and has neither landed nor failed yet.
    bool writing() const { return m_stage != Stage::Idle; }
    // The last page written, if any, has landed (false while one is on its
    // way, and after one that failed or was replaced by another navigation).
    bool landed() const { return m_landed; }
    // Whether a navigation the page is about to make is this writer's own.
    bool isOwnNavigation(const QUrl &url, QWebEnginePage::NavigationType type) const;
    // Another navigation replaced the page being written.
    void abandon();
    // Another navigation may have cancelled the page on its way: it goes
    // again, unless it is already in its document.
    void writeAgain();

    // Waits until the page being written has landed or failed, at most
    // `timeoutMs`; whether it landed. Inside one of the engine's callbacks
    // it does not wait: the page cannot land before the callback returns.
    bool waitUntilWritten(int timeoutMs);
    // The same, for as long as the page on its way may take.
    bool waitUntilWritten() { return waitUntilWritten(m_landingLimitMs); }

    // The user came back to the document at `url`. When it is the empty
    // document of a long page written before, the page's text is written
    // into it again and `done` runs once it has landed; otherwise `done`
    // runs at once.
    void documentReturned(const QUrl &url, std::function<void()> done);

    // The address of the page of `generation`: the base address with a
    // fragment naming the page.
    QUrl pageUrl(quint64 generation) const;
    // The address as the program shows it: a page's name taken off, and a
    // written page's own data: address (in a navigation back to it) given as
    // the base address.
    QString shownAddress(const QUrl &url) const;
    static QString withoutPageName(const QString &url);

    // The length of the data: address the engine loads `utf8` inline by.
    static qsizetype inlineAddressLength(const QByteArray &utf8);
    // The longest inline address taken, a little under the engine's own
    // limit (2 MiB characters). Tests raise it to see the engine refuse a page.
    static constexpr qsizetype EngineInlineLimit = 2 * 1024 * 1024 - 1024;
    void setInlineLimit(qsizetype characters) { m_inlineLimit = characters; }

    // How long a page may take to land, whichever way it goes, before it
    // counts as failed: this, and as much again for each 512 KiB characters
    // of the page, which a busy machine needs for a long one. Whatever waits
    // for a page to land waits as long (landingLimitMs()).
    static constexpr int LandingLimitMs = 10000;
    // The limit of the page on its way, or LandingLimitMs when none is.
    int landingLimitMs() const { return m_landingLimitMs; }

signals:
    // The page on its way has landed or failed, or was abandoned.
    void settled();

private:
    // Deferred: to begin once the engine's callback has returned.
    // Inline: loaded as its own address; EmptyDocument: the empty document
    // of a long page is on its way; Script: the long page is being written
    // into it.
    enum class Stage { Idle, Deferred, Inline, EmptyDocument, Script };

    void start(const QString &html);
    void loadInline();
    void loadEmptyDocument();
    void handleLoadingChanged(const QWebEngineLoadingInfo &info);
    void handleRenderProcessEnded();
    void loaded(const QUrl &url, bool ok);
    void lookAtDocument();
    void writeLongText();
    void handleScriptWrite(quint64 generation, const QVariant &done);
    void keepLongPage();
    void settle(bool landed);
    void beginLanding(qsizetype characters);

    QPointer<QWebEnginePage> m_page;
    QUrl m_baseUrl;
    Stage m_stage = Stage::Idle;
    QString m_html; // the page on its way
    std::optional<QString> m_queued;
    quint64 m_generation = 0;
    qsizetype m_inlineLimit = EngineInlineLimit;
    bool m_landed = true;
    int m_landingLimitMs = LandingLimitMs;
    // The long pages whose empty documents may still be in the history, by
    // generation; the engine keeps no more entries than this many pages.
    QHash<quint64, QString> m_longPages;
    static constexpr quint64 HistoryEntries = 50;
    std::function<void()> m_returnDone;
    // Asks the document now and then while a page is on its way, in case
    // the engine reports no end of its load.
    QTimer m_lookAgain;
    QElapsedTimer m_since;
    std::function<void()> m_afterScriptWrite;
};

} // namespace vocab

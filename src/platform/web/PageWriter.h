#pragma once

// Puts a page given as text into the browser, replacing the page shown whole.
//
// The document takes the base URL given (the program's folder), so that the
// picture paths of the page resolve, and keeps it as its own address, so that
// links within the page stay within it. The engine takes a page inline as a
// data: address, percent-encoded, of at most 2 MiB characters; every
// Cyrillic letter and most of the markup take three characters there, so a
// page of well under 1 MB of UTF-8 can be over it. A page whose address
// fits is loaded inline; any other is written into a fresh empty document of
// that address by the page's own document.write, which has no such limit.
// A page the engine refuses inline all the same is written that other way.
//
// Once a page has landed, the next one is written into that same document,
// by document.open, write and close, as long as the document shown is still
// the one written: a navigation costs the engine several times what the
// write does, and the more the longer the page. A document the user or a
// script has navigated away from, or whose mark is gone, is not written
// into: the page then comes by a navigation again, as above.
//
// The engine's load signals cannot tell which load has ended when another
// was under way, so each written page carries a mark of its own, a comment
// ahead of the text, and the page counts as written once the document in
// the browser shows that mark and has been parsed. A page that has not
// landed in time has failed: the wait for it ends, and it is not taken for
// written.
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

    // Called once each page has been written by script, so that what the
    // engine adds to every loaded document (the host's style sheet) is
    // added again.
    void setAfterScriptWrite(std::function<void()> hook) { m_afterScriptWrite = std::move(hook); }
    // Called before a page is written into the document shown, where no
    // navigation prepares the document for it.
    void setBeforeWriteInPlace(std::function<void()> hook) { m_beforeWriteInPlace = std::move(hook); }
    // Whether the document shown will stay: false while a navigation is on
    // its way, which would replace a page written into it. The page then
    // goes by a navigation of its own, which takes that one's place.
    void setInPlaceAllowed(std::function<bool()> allowed) { m_inPlaceAllowed = std::move(allowed); }

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

    // Waits until the page being written has landed or failed, at most
    // `timeoutMs`; whether it landed.
    bool waitUntilWritten(int timeoutMs);
    // The same, for as long as the page on its way may take.
    bool waitUntilWritten() { return waitUntilWritten(m_landingLimitMs); }

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
    void start(const QString &html);
    void navigate();
    void loadInline();
    void loadEmptyDocument();
    void handleLoadFinished(bool ok);
    void lookForMark();
    void handleMark(quint64 generation, const QString &readyState);
    void writeInPlace();
    void handleWriteInPlace(quint64 generation, const QVariant &done);
    void writeLongText();
    void handleScriptWrite(quint64 generation, const QVariant &done);
    void landScriptWrite();
    void land();
    void fail();
    void settle(bool landed);
    QString mark() const { return markOf(m_generation); }
    static QString markOf(quint64 generation);
    QString markComment() const;

    // InPlace: written into the document shown; Script: written into the
    // empty document loaded for it.
    enum class Stage { Idle, Inline, EmptyDocument, Script, InPlace };

    QPointer<QWebEnginePage> m_page;
    QUrl m_baseUrl;
    Stage m_stage = Stage::Idle;
    QString m_html; // the page on its way
    std::optional<QString> m_queued;
    quint64 m_generation = 0;
    qsizetype m_inlineLimit = EngineInlineLimit;
    bool m_landed = true;
    // The generation of the page that landed last, while no navigation has
    // taken its document away; 0 for none. Its base address with it.
    quint64 m_shownGeneration = 0;
    QUrl m_shownBaseUrl;
    int m_landingLimitMs = LandingLimitMs;
    // Asks again and again while a page is on its way: an answer may never
    // come from a document that goes meanwhile.
    QTimer m_lookAgain;
    QElapsedTimer m_since;
    std::function<void()> m_afterScriptWrite;
    std::function<void()> m_beforeWriteInPlace;
    std::function<bool()> m_inPlaceAllowed;
};

} // namespace vocab

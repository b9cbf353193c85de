#pragma once

// Helpers for tests that run the real web engine.

#include "HtmlDocument.h"
#include "THB.h"
#include "WebEngineControl.h"

#include <QDir>
#include <QEventLoop>
#include <QTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace vocab::test {

// Waits for `done`, at most `timeoutMs`; true when it came.
inline bool waitUntil(const std::function<bool()> &done, int timeoutMs = 10000)
{
    return QTest::qWaitFor(done, timeoutMs);
}

// The same in an event loop of its own, which hands the engine each of its
// tasks as it comes: a wait that sleeps between its looks (waitUntil) costs
// the engine a sleep for each step of a navigation, which makes a move in
// the history take the better part of a second.
inline bool waitInLoop(const std::function<bool()> &done, int timeoutMs = 10000)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    look.start(2);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

// Removes a folder that profiles kept their storage in. The engine goes on
// writing there for a moment after the profiles are gone, and a removal
// that meets such a write leaves the folder behind; so it is tried again
// until it succeeds, at most `timeoutMs`.
inline bool removeProfileFolder(const QString &path, int timeoutMs = 20000)
{
    return waitUntil([&] { return QDir(path).removeRecursively(); }, timeoutMs);
}

// Writes a whole page, as the program writes its article pages.
inline void writePage(THB &browser, const QString &html)
{
    IHTMLDocument2 *doc = browser.Document();
    ASSERT_NE(doc, nullptr);
    doc->write(html);
    doc->close();
}

// Navigates to about:blank and waits for the document it makes, as the
// program does before its first page.
inline void loadBlank(THB &browser)
{
    browser.Navigate(QStringLiteral("about:blank"));
    ASSERT_TRUE(browser.WaitForDocument());
}

inline WebEngineControl &engineOf(THB &browser)
{
    return *dynamic_cast<WebEngineControl *>(browser.Control());
}

} // namespace vocab::test

// Over the real engine: a wait ends on the page it waits for, whichever of
// two loads the engine ends first, and a page that stops answering costs a
// routine of several reads one time-out.

#include "EngineTestSupport.h"
#include "HeldHttpServer.h"
#include "ScriptRunner.h"
#include "WebPage.h"
#include "TestSupport.h"

#include <QElapsedTimer>
#include <QWebEnginePage>

using namespace vocab;
using namespace vocab::test;

namespace {

class NavigationEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        browser.resize(600, 400);
        browser.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&browser));
    }

    static QByteArray page(const QByteArray &title, const QByteArray &body = {})
    {
        return "<html><head><title>" + title + "</title></head><body>" + body + "</body></html>";
    }

    THB browser;
};

} // namespace

// The next navigation is asked for as soon as the empty page is there,
// while its load has not ended yet. The engine then often reports the end
// of the empty page's load after it has begun the next navigation, and no
// end of the next page at all: that end must not pass for the next page's,
// and the next page's end must be seen all the same. Each round begins
// with a control of its own, as the moment falls differently each time;
// the next page comes at once in some rounds and is held back in others.
TEST_F(NavigationEnd, TheEndOfTheLoadBeforeDoesNotPassForTheEndOfThePageAskedFor)
{
    HeldHttpServer server;
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE(round);
        THB control;
        control.resize(400, 300);
        control.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&control));
        QStringList completed;
        control.OnDocumentComplete = [&](THB *, const QString &url) { completed << url; };
        int engineEnds = 0;
        QObject::connect(engineOf(control).page(), &QWebEnginePage::loadFinished, [&] { ++engineEnds; });

        const QByteArray path = "/next" + QByteArray::number(round);
        const QString next = server.url(QString::fromLatin1(path)).toString();
        bool asked = false;
        control.OnNavigateComplete2 = [&](THB *, const QString &url) {
            if (url == QLatin1String("about:blank") && !asked) {
                asked = true;
                control.Navigate(next);
            }
        };
        control.Navigate(QStringLiteral("about:blank"));
        ASSERT_TRUE(waitUntil([&] { return server.asked(path); }));
        // Every other round the next page is answered at once; in the others
        // it is held back while the empty page's end has its moment to come.
        if (round % 2 == 1) {
            // The end of the empty page's load comes a moment later if at all;
            // it is given that moment, whether it comes or not.
            (void)waitUntil([&] { return engineEnds > 0; }, 1000);
            // Whatever the engine has ended meanwhile, the next page has not come.
            EXPECT_EQ(control.ReadyState(), READYSTATE_LOADING) << engineEnds << " ends of the empty page passed for the next one's";
            EXPECT_TRUE(control.Busy());
            EXPECT_FALSE(control.WaitForDocument(200)) << "the wait for the document ended on the empty page";
        }
        server.release(path, page("next", "<p id=here>here</p>"));
        ASSERT_TRUE(waitUntil([&] { return !control.Busy(); }));
        EXPECT_EQ(control.ReadyState(), READYSTATE_COMPLETE);
        EXPECT_EQ(control.LocationURL(), next);
        ASSERT_NE(control.Document(), nullptr);
        EXPECT_EQ(control.Document()->title(), QStringLiteral("next"));
        EXPECT_EQ(completed.value(completed.size() - 1), next);
        EXPECT_EQ(completed.count(next), 1);
    }
}

// A page whose script runs on and on answers no read. The first read waits
// its time-out; the next ones fail at once, until the page answers again.
TEST_F(NavigationEnd, APageThatStopsAnsweringCostsSeveralReadsOneTimeOut)
{
    loadBlank(browser);
    writePage(browser, QString::fromUtf8(page("Занята")));
    ASSERT_EQ(browser.Document()->title(), QStringLiteral("Занята"));
    // The page's script runs for longer than two reads would wait one after
    // the other; the reads are asked after it.
    constexpr int BusyMs = 2 * DocumentReadTimeoutMs + 2000;
    engineOf(browser).page()->runJavaScript(QStringLiteral("var end=Date.now()+%1;while(Date.now()<end){}").arg(BusyMs));

    QElapsedTimer clock;
    clock.start();
    QStringList titles;
    for (int read = 0; read < 3; ++read)
        titles << browser.Document()->title();
    const qint64 took = clock.elapsed();
    EXPECT_EQ(titles, QStringList(3, QString()));
    EXPECT_LT(took, 2 * DocumentReadTimeoutMs) << "each read waited its own time-out";

    // Once its script has ended the page answers again.
    EXPECT_TRUE(waitUntil([&] { return browser.Document()->title() == QStringLiteral("Занята"); }, BusyMs + 20000));
    clock.restart();
    EXPECT_EQ(browser.Document()->title(), QStringLiteral("Занята"));
    EXPECT_LT(clock.elapsed(), DocumentReadTimeoutMs);
}

// A read of the document over the real engine on an X server: the read
// waits for the page's answer in a local event loop, for a bounded time,
// and the user's keys typed meanwhile wait for the read to end.

#include "EngineTestSupport.h"
#include "TestSupport.h"
#include "ScriptRunner.h"
#include "WebPage.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QTimer>
#include <QVBoxLayout>

using namespace vocab;
using namespace vocab::test;

namespace {

bool xdotool(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

} // namespace

// A page stuck in a script costs a read its time-out and no more, and the
// read answers as for a page that has no such value; the program's timers
// go on meanwhile, and what the user types reaches the window only after.
TEST(DocumentRead, APageStuckInAScriptCostsTheTimeOutWhileTimersRunAndKeysWait)
{
    QWidget window;
    window.setWindowTitle(QStringLiteral("read-wait-test"));
    auto *layout = new QVBoxLayout(&window);
    auto *box = new QLineEdit(&window);
    layout->addWidget(box);
    auto *browser = new THB(&window);
    layout->addWidget(browser, 1);
    window.resize(600, 400);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // No window manager runs here: the window is given the keyboard focus directly.
    ASSERT_TRUE(xdotool({"search", "--sync", "--name", "^read-wait-test$", "windowfocus", "--sync"}));
    box->setFocus();
    ASSERT_TRUE(waitUntil([&] { return box->hasFocus(); }));

    loadBlank(*browser);
    writePage(*browser, QStringLiteral("<html><head><title>Занята</title></head><body></body></html>"));
    ASSERT_EQ(browser->Document()->title(), QStringLiteral("Занята"));
    // The page's own thread is busy for longer than a read waits.
    constexpr int BusyMs = DocumentReadTimeoutMs + 5000;
    engineOf(*browser).page()->runJavaScript(
        QStringLiteral("var end=Date.now()+%1;while(Date.now()<end){}").arg(BusyMs));

    int ticks = 0;
    bool typed = false;
    QTimer timer;
    timer.setInterval(100);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (++ticks == 3)
            typed = xdotool({"type", "x"});
    });
    timer.start();
    QElapsedTimer clock;
    clock.start();
    const QString title = browser->Document()->title();
    const qint64 took = clock.elapsed();
    const int ticksDuringRead = ticks;
    timer.stop();

    EXPECT_EQ(title, QString());
    // The time-out's timer is a coarse one, which may end it a little early.
    EXPECT_GE(took, DocumentReadTimeoutMs * 9 / 10);
    EXPECT_LT(took, BusyMs - 1000) << "the read waited for the page";
    EXPECT_GE(ticksDuringRead, 10) << "the program's timer stood still during the read";
    ASSERT_TRUE(typed);
    EXPECT_EQ(box->text(), QString()) << "a key reached the window in the middle of the read";
    EXPECT_TRUE(waitUntil([&] { return box->text() == QLatin1String("x"); })) << box->text().toStdString();
}

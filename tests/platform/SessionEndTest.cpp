#include "SessionEnd.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <csignal>
#include <memory>

using namespace vocab;

namespace {

// Runs the event loop until `done` or `ms` have passed.
template <typename Done>
void spinUntil(Done &&done, int ms = 2000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

struct Counted {
    std::unique_ptr<SessionEndWatcher> watcher = std::make_unique<SessionEndWatcher>();
    int told = 0;
    Counted() { QObject::connect(watcher.get(), &SessionEndWatcher::sessionEnding, [this] { ++told; }); }
};

sighandler_t currentTermAction()
{
    struct sigaction sa = {};
    sigaction(SIGTERM, nullptr, &sa);
    return sa.sa_handler;
}

} // namespace

TEST(SessionEnd, EveryLiveWatcherIsToldOnceWhicheverCameFirst)
{
    // Stands for what the process did with SIGTERM before any watcher: it must
    // come back after the last, and SIGTERM must never kill the process while
    // a watcher lives.
    const sighandler_t before = signal(SIGTERM, SIG_IGN);
    {
        Counted first;
        Counted second;
        ASSERT_NE(currentTermAction(), SIG_IGN);
        std::raise(SIGTERM);
        spinUntil([&] { return first.told && second.told; });
        EXPECT_EQ(first.told, 1);
        EXPECT_EQ(second.told, 1);

        // The first window goes; the second still hears the session end.
        first.watcher.reset();
        Counted third;
        second.watcher.reset();
        ASSERT_NE(currentTermAction(), SIG_IGN) << "a watcher lives, so does the handler";
        std::raise(SIGTERM);
        spinUntil([&] { return third.told > 0; });
        EXPECT_EQ(third.told, 1);
        std::raise(SIGHUP);
        spinUntil([] { return false; }, 100);
        EXPECT_EQ(third.told, 1) << "told once";
    }
    EXPECT_EQ(currentTermAction(), SIG_IGN);
    signal(SIGTERM, before);
}

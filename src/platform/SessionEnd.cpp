#include "SessionEnd.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <vector>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vocab {

namespace {

// The self-pipe: the signal handler may only write a byte to [0]; the event
// loop reads it from [1]. Both ends never block: the handler must not hang on
// a full pipe, and a watcher woken after another drained it must not wait.
int g_signalFds[2] = {-1, -1};

// Every watcher alive, oldest first. The signal handlers stay in place while
// any of them lives, and the actions found before the first are put back
// after the last.
std::vector<SessionEndWatcher *> g_watchers;
struct sigaction g_previousTerm = {};
struct sigaction g_previousHup = {};

void onSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(g_signalFds[0], &byte, 1);
    errno = saved;
}

bool openSelfPipe()
{
    if (g_signalFds[0] >= 0)
        return true;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_signalFds) != 0) {
        g_signalFds[0] = g_signalFds[1] = -1;
        return false;
    }
    return true;
}

void installHandlers()
{
    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, &g_previousTerm);
    sigaction(SIGHUP, &sa, &g_previousHup);
}

void restoreHandlers()
{
    sigaction(SIGTERM, &g_previousTerm, nullptr);
    sigaction(SIGHUP, &g_previousHup, nullptr);
}

} // namespace

SessionEndWatcher::SessionEndWatcher(QObject *parent) : QObject(parent)
{
    if (openSelfPipe()) {
        if (g_watchers.empty())
            installHandlers();
        g_watchers.push_back(this);
        m_notifier = new QSocketNotifier(g_signalFds[1], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &SessionEndWatcher::readSignal);
    }
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &) { announce(); });
    }
}

SessionEndWatcher::~SessionEndWatcher()
{
    const auto it = std::find(g_watchers.begin(), g_watchers.end(), this);
    if (it == g_watchers.end())
        return;
    g_watchers.erase(it);
    if (g_watchers.empty())
        restoreHandlers();
}

void SessionEndWatcher::announce()
{
    if (m_emitted)
        return;
    m_emitted = true;
    Q_EMIT sessionEnding();
}

void SessionEndWatcher::readSignal()
{
    // Every watcher's notifier wakes on the same byte; the first to drain it
    // tells them all, the others find nothing left.
    char bytes[64];
    bool any = false;
    while (::read(g_signalFds[1], bytes, sizeof bytes) > 0)
        any = true;
    if (!any)
        return;
    // A handler may destroy watchers (the window closes): tell a copy.
    const std::vector<SessionEndWatcher *> watchers = g_watchers;
    for (SessionEndWatcher *w : watchers) {
        if (std::find(g_watchers.begin(), g_watchers.end(), w) != g_watchers.end())
            w->announce();
    }
}

} // namespace vocab

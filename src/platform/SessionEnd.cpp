#include "SessionEnd.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vocab {

namespace {

// The write end of the self-pipe; the signal handler may only write a byte.
int g_signalFds[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(g_signalFds[0], &byte, 1);
}

} // namespace

SessionEndWatcher::SessionEndWatcher(QObject *parent) : QObject(parent)
{
    if (g_signalFds[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalFds) == 0) {
        struct sigaction sa = {};
        sa.sa_handler = onSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        sigaction(SIGTERM, &sa, nullptr);
        sigaction(SIGHUP, &sa, nullptr);
    }
    if (g_signalFds[1] >= 0) {
        m_notifier = new QSocketNotifier(g_signalFds[1], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &SessionEndWatcher::readSignal);
    }
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &) {
            if (!m_emitted) {
                m_emitted = true;
                Q_EMIT sessionEnding();
            }
        });
    }
}

SessionEndWatcher::~SessionEndWatcher()
{
    signal(SIGTERM, SIG_DFL);
    signal(SIGHUP, SIG_DFL);
}

void SessionEndWatcher::readSignal()
{
    char byte;
    [[maybe_unused]] const auto n = ::read(g_signalFds[1], &byte, 1);
    if (m_emitted)
        return;
    m_emitted = true;
    Q_EMIT sessionEnding();
}

} // namespace vocab

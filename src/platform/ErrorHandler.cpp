#include "ErrorHandler.h"

#include "AppError.h"
#include "MessageBoxes.h"

#include <deque>

namespace vocab {

namespace {

// One box at a time: an error raised while a box is open (a timer firing
// inside the box's own event loop, say) waits here and gets its box when the
// open one closes, in the order the errors came.
std::deque<QString> g_pending;
bool g_showing = false;

void show(const QString &message)
{
    g_pending.push_back(message);
    if (g_showing)
        return;
    g_showing = true;
    while (!g_pending.empty()) {
        const QString next = std::move(g_pending.front());
        g_pending.pop_front();
        try {
            ShowMessage(next);
        } catch (...) {
            // The box itself failed; there is nowhere left to show that.
            qWarning("%s", qUtf8Printable(next));
        }
    }
    g_showing = false;
}

} // namespace

void HandleException(const std::exception &error)
{
    if (const auto *app = dynamic_cast<const AppError *>(&error))
        show(app->message());
    else
        show(QString::fromLocal8Bit(error.what()));
}

void HandleUnknownException()
{
    show(QStringLiteral("Неизвестная ошибка"));
}

Application::Application(int &argc, char **argv) : QApplication(argc, argv) {}

bool Application::notify(QObject *receiver, QEvent *event)
{
    return guarded([&] { return QApplication::notify(receiver, event); }, false);
}

} // namespace vocab

#include "ErrorHandler.h"

#include "AppError.h"
#include "MessageBoxes.h"

namespace vocab {

namespace {

// A second error while the box of the first is open is shown after it, not
// inside it: one box at a time.
bool g_showing = false;

void show(const QString &message)
{
    if (g_showing)
        return;
    g_showing = true;
    guarded([&] { ShowMessage(message); });
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

#pragma once

#include <QApplication>

#include <exception>
#include <utility>

namespace vocab {

// The application's default error handler: shows the error's message in a box.
void HandleException(const std::exception &error);
void HandleUnknownException();

// Runs one event handler, timer or hook body. An error raised inside it ends
// that body and is shown by the default handler; it never reaches Qt's event
// loop, which is not built to carry exceptions.
template <typename F>
void guarded(F &&body) noexcept
{
    try {
        std::forward<F>(body)();
    } catch (const std::exception &error) {
        HandleException(error);
    } catch (...) {
        HandleUnknownException();
    }
}

// Same, for bodies that answer something; `fallback` is the answer after an error.
template <typename R, typename F>
R guarded(F &&body, R fallback) noexcept
{
    try {
        return std::forward<F>(body)();
    } catch (const std::exception &error) {
        HandleException(error);
    } catch (...) {
        HandleUnknownException();
    }
    return fallback;
}

// The viewer's application object. Its notify() is the last line of defence:
// an exception that escaped a handler of ours is shown and the event dropped.
class Application : public QApplication {
public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace vocab

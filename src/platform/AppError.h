#pragma once

#include <QString>
#include <stdexcept>

namespace vocab {

// An error that reaches the application's default handler: thrown where a failure
// arises, caught once at the boundary of the event handler that was running.
class AppError : public std::runtime_error {
public:
    explicit AppError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}

    const QString &message() const noexcept { return m_message; }

private:
    QString m_message;
};

// A file could not be opened, read or written.
class FileError : public AppError {
public:
    using AppError::AppError;
};

} // namespace vocab

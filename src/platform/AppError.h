#pragma once

#include <QString>
#include <stdexcept>
#include <utility>

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

// A file could not be opened, read or written. It names the file it is
// about where it is about one, so that a fault met again in the same file
// can be told apart from a new one.
class FileError : public AppError {
public:
    explicit FileError(const QString &message, QString file = {}) : AppError(message), m_file(std::move(file)) {}

    // The file's path as the failing call was given it; empty when the
    // error is about no one file.
    const QString &file() const noexcept { return m_file; }

private:
    QString m_file;
};

} // namespace vocab

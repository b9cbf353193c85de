#pragma once

#include "AppError.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

#include <sys/resource.h>

namespace vocab::test {

inline QByteArray readBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

// "0", "1", ... "n-1": lines whose text tells their index.
inline QStringList numberedLines(int n)
{
    QStringList lines;
    for (int i = 0; i < n; ++i)
        lines.append(QString::number(i));
    return lines;
}

// The message of the program's error that `call` throws; "(no error)" when
// it throws none.
inline QString errorOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const AppError &error) {
        return error.message();
    }
    return QStringLiteral("(no error)");
}

// Lets no file of this process grow past `bytes` while the object lives: a
// full disk in small. Writes past the limit fail with EFBIG instead of
// raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldSignal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_set = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldSignal);
    }
    bool set() const { return m_set; }

private:
    rlimit m_old = {};
    sighandler_t m_oldSignal = SIG_DFL;
    bool m_set = false;
};

// Makes files unchangeable, even for root, while the object lives: neither
// written nor replaced nor removed. made() is false where the file system or
// the process cannot (then nothing is changed).
class ImmutableFiles {
public:
    explicit ImmutableFiles(QStringList paths) : m_paths(std::move(paths))
    {
        m_made = QProcess::execute(QStringLiteral("chattr"), QStringList{QStringLiteral("+i")} + m_paths) == 0;
        if (!m_made)
            release();
    }
    ~ImmutableFiles()
    {
        if (m_made)
            release();
    }
    ImmutableFiles(const ImmutableFiles &) = delete;
    ImmutableFiles &operator=(const ImmutableFiles &) = delete;
    bool made() const { return m_made; }

private:
    void release() { QProcess::execute(QStringLiteral("chattr"), QStringList{QStringLiteral("-i")} + m_paths); }

    QStringList m_paths;
    bool m_made = false;
};

// Hex dump used in failure messages so that byte-level differences are readable.
inline std::string hex(const QByteArray &bytes) { return bytes.toHex(' ').toStdString(); }

} // namespace vocab::test

// Lets gtest print QString values in assertion failures.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList &l, std::ostream *os)
{
    *os << '[';
    for (qsizetype i = 0; i < l.size(); ++i)
        *os << (i ? ", " : "") << '"' << l[i].toStdString() << '"';
    *os << ']';
}
QT_END_NAMESPACE

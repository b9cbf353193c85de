#pragma once

#include "AppError.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

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

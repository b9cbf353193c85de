#pragma once

// Word lists and dictionary files that the benchmarks make for themselves.

#include "ListFile.h"

#include <QChar>
#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QStringList>

namespace vocab::bench {

// Word number i of the words that begin with `first`: the letter, then the
// `digits` digits of i in base 32 written as the letters А..Я, so that the
// words of one letter stand in order.
inline QString NumberedWord(QChar first, int i, int digits)
{
    QString word(digits + 1, Qt::Uninitialized);
    word[0] = first;
    for (int d = digits; d >= 1; --d) {
        word[d] = QChar(char16_t(0x0410 + i % 32));
        i /= 32;
    }
    return word;
}

// Writes `<stem>.ogl` and `<stem>.uvs`, making the folder they go in, and
// returns their size together in bytes.
inline qint64 WriteListPair(const QString &stem, const QStringList &headwords, const QStringList &articles)
{
    QDir().mkpath(QFileInfo(stem).absolutePath());
    ListFile::write(stem + QStringLiteral(".ogl"), headwords);
    ListFile::write(stem + QStringLiteral(".uvs"), articles);
    return QFileInfo(stem + QStringLiteral(".ogl")).size() + QFileInfo(stem + QStringLiteral(".uvs")).size();
}

} // namespace vocab::bench

#include "HeaderText.h"

#include <QRegularExpression>

namespace vocab {

namespace {

bool isTokenChar(char c)
{
    static constexpr char Specials[] = "!#$%&'*+-.^_`|~";
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')
        || (c != 0 && QByteArray(Specials).contains(c));
}

bool isHeaderName(const QByteArray &name)
{
    if (name.isEmpty())
        return false;
    for (char c : name)
        if (!isTokenChar(c))
            return false;
    return true;
}

} // namespace

QString singleHeaderLine(const QString &text)
{
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\\r\\n]")));
    return end < 0 ? text : text.left(end);
}

QList<QPair<QByteArray, QByteArray>> parseHeaderBlock(const QString &block)
{
    QList<QPair<QByteArray, QByteArray>> headers;
    const QStringList lines = block.split(QRegularExpression(QStringLiteral("\\r\\n|\\r|\\n")), Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const qsizetype colon = line.indexOf(u':');
        if (colon <= 0)
            continue;
        const QByteArray name = line.left(colon).trimmed().toLatin1();
        if (!isHeaderName(name))
            continue;
        QByteArray value = line.mid(colon + 1).trimmed().toUtf8();
        value.replace('\0', "");
        headers.append({name, value});
    }
    return headers;
}

} // namespace vocab

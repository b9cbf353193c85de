#include "HeaderText.h"

#include <QRegularExpression>

#include <algorithm>

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

bool isControl(QChar c)
{
    return (c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0x7F;
}

} // namespace

QString singleHeaderLine(const QString &text)
{
    const auto end = std::find_if(text.begin(), text.end(), isControl);
    return text.left(end - text.begin());
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
        QString value = line.mid(colon + 1).trimmed();
        value.removeIf(isControl);
        headers.append({name, value.toUtf8()});
    }
    return headers;
}

} // namespace vocab

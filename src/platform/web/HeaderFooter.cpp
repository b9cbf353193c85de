#include "HeaderFooter.h"

#include <QLocale>
#include <QStringList>

namespace vocab {

namespace {

QString expandCodes(const QString &text, const HeaderFooterFields &f)
{
    const QLocale locale = QLocale::system();
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'&' || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const QChar code = text.at(i + 1);
        switch (code.unicode()) {
        case u'w': out += f.title; break;
        case u'u': out += f.url; break;
        case u'd': out += locale.toString(f.printed.date(), QLocale::ShortFormat); break;
        case u'D': out += locale.toString(f.printed.date(), QLocale::LongFormat); break;
        case u't': out += locale.toString(f.printed.time(), QLocale::ShortFormat); break;
        case u'T': out += f.printed.time().toString(QStringLiteral("HH:mm")); break;
        case u'p': out += QString::number(f.page); break;
        case u'P': out += QString::number(f.pages); break;
        case u'&': out += u'&'; break;
        default:
            out += c;
            continue; // the next character is read as itself
        }
        ++i;
    }
    return out;
}

// The text cut at each "&b" that is not the second half of "&&".
QStringList alignmentParts(const QString &text)
{
    QStringList parts{QString()};
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'&' && i + 1 < text.size()) {
            if (text.at(i + 1) == u'b') {
                parts.append(QString());
                ++i;
                continue;
            }
            parts.last() += text.mid(i, 2);
            ++i;
            continue;
        }
        parts.last() += text.at(i);
    }
    return parts;
}

} // namespace

HeaderFooterParts ExpandHeaderFooter(const QString &text, const HeaderFooterFields &fields)
{
    const QStringList parts = alignmentParts(text);
    HeaderFooterParts out;
    out[0] = expandCodes(parts.at(0), fields);
    if (parts.size() == 2) {
        out[2] = expandCodes(parts.at(1), fields);
    } else if (parts.size() > 2) {
        out[1] = expandCodes(parts.at(1), fields);
        // Further "&b"s add nothing more: the rest goes to the right.
        out[2] = expandCodes(parts.mid(2).join(QString()), fields);
    }
    return out;
}

} // namespace vocab

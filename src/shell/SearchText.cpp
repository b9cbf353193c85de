#include "SearchText.h"

#include <QChar>

namespace vocab {

QString UpperCaseText(QStringView text)
{
    QString out(text.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    for (const QChar unit : text) {
        // A unit whose capital lies outside the basic plane keeps its form,
        // so one unit always gives one unit.
        const char32_t upper = QChar::toUpper(char32_t(unit.unicode()));
        *dst++ = upper > 0xFFFF ? unit : QChar(char16_t(upper));
    }
    return out;
}

QString NormalizeSearchText(const QString &text)
{
    QString key = text;
    key.replace(QChar(0x0401), QChar(0x0415));
    qsizetype begin = 0;
    qsizetype end = key.size();
    while (begin < end && key.at(begin) == u' ')
        ++begin;
    while (end > begin && key.at(end - 1) == u' ')
        --end;
    return key.mid(begin, end - begin);
}

} // namespace vocab

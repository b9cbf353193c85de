#include "SearchText.h"

#include <QChar>

namespace vocab {

namespace {

template <char32_t (*Map)(char32_t)>
QString mapUnits(QStringView text)
{
    QString out(text.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    for (const QChar unit : text) {
        // A unit whose other case lies outside the basic plane keeps its
        // form, so one unit always gives one unit.
        const char32_t mapped = Map(char32_t(unit.unicode()));
        *dst++ = mapped > 0xFFFF ? unit : QChar(char16_t(mapped));
    }
    return out;
}

char32_t upperUnit(char32_t c) { return QChar::toUpper(c); }
char32_t lowerUnit(char32_t c) { return QChar::toLower(c); }

} // namespace

QString UpperCaseText(QStringView text)
{
    return mapUnits<upperUnit>(text);
}

QString LowerCaseText(QStringView text)
{
    return mapUnits<lowerUnit>(text);
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

#include "HbToolsPageSetup.h"

#include "HbToolsUrl.h"

#include <QLocale>

namespace vocab::HbTools {

namespace {

constexpr double MillimetresPerInch = 25.4;

} // namespace

double PageSetupMargin(const QString &StoredText, TMeasure Measure)
{
    QString text = StoredText.isEmpty() ? QStringLiteral("0.750000") : StoredText;
    text.remove(u' ');
    const QLocale locale;
    const QString separator = locale.decimalPoint();
    if (separator != QLatin1String(".")) {
        const qsizetype dot = text.indexOf(u'.');
        if (dot >= 0)
            text.replace(dot, 1, separator);
    }
    bool ok = false;
    const double inches = locale.toDouble(text, &ok);
    if (!ok)
        throw EConvertError(QStringLiteral("«%1» — не число").arg(StoredText));
    return Measure == mMetric ? inches * MillimetresPerInch : inches;
}

QString MarginText(double Value, TMeasure Measure, TMeasure RuntimeMeasure)
{
    double shown = Value;
    if (Measure != RuntimeMeasure)
        shown = RuntimeMeasure == mMetric ? Value * MillimetresPerInch : Value / MillimetresPerInch;
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(shown, 'g', 15);
}

} // namespace vocab::HbTools

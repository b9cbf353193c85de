#include "PageSetupStore.h"

#include "Registry.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace vocab {

namespace {

constexpr int DMORIENT_PORTRAIT = 1;
constexpr int DMORIENT_LANDSCAPE = 2;

const QString HeaderName = QStringLiteral("header");
const QString FooterName = QStringLiteral("footer");
const QString OrientationName = QStringLiteral("orientation");
constexpr const char *MarginNames[] = {"margin_left", "margin_top", "margin_right", "margin_bottom"};

double readMargin(const TRegistry &registry, const char *name, double fallback)
{
    const QString name16 = QString::fromLatin1(name);
    if (registry.GetDataType(name16) != RegDataType::rdString)
        return fallback;
    const double inches = PageSetupMarginInches(registry.ReadString(name16));
    return std::isnan(inches) ? fallback : inches;
}

} // namespace

QString PageSetupMarginText(double inches)
{
    return QString::number(inches, 'f', 6);
}

double PageSetupMarginInches(const QString &text)
{
    bool ok = false;
    const double inches = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok && inches >= 0 ? inches : std::numeric_limits<double>::quiet_NaN();
}

PageSetupValues ReadPageSetupValues()
{
    PageSetupValues values;
    TRegistry registry(RegRoot::HKEY_CURRENT_USER);
    if (!registry.OpenKeyReadOnly(QString::fromLatin1(PageSetupKey)))
        return values;
    const auto text = [&](const QString &name, QString &into) {
        if (registry.GetDataType(name) == RegDataType::rdString || registry.GetDataType(name) == RegDataType::rdExpandString)
            into = registry.ReadString(name);
    };
    text(HeaderName, values.header);
    text(FooterName, values.footer);
    QMarginsF &m = values.marginsInches;
    m.setLeft(readMargin(registry, MarginNames[0], m.left()));
    m.setTop(readMargin(registry, MarginNames[1], m.top()));
    m.setRight(readMargin(registry, MarginNames[2], m.right()));
    m.setBottom(readMargin(registry, MarginNames[3], m.bottom()));
    if (registry.GetDataType(OrientationName) == RegDataType::rdInteger)
        values.landscape = registry.ReadInteger(OrientationName) == DMORIENT_LANDSCAPE;
    return values;
}

void WritePageSetupValues(const PageSetupValues &values)
{
    TRegistry registry(RegRoot::HKEY_CURRENT_USER);
    if (!registry.OpenKey(QString::fromLatin1(PageSetupKey), true))
        return;
    registry.WriteString(HeaderName, values.header);
    registry.WriteString(FooterName, values.footer);
    const QMarginsF &m = values.marginsInches;
    const double margins[] = {m.left(), m.top(), m.right(), m.bottom()};
    for (std::size_t i = 0; i < std::size(MarginNames); ++i)
        registry.WriteString(QString::fromLatin1(MarginNames[i]), PageSetupMarginText(margins[i]));
    registry.WriteInteger(OrientationName, values.landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT);
}

} // namespace vocab

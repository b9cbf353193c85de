// The page setup of THostedBrowser: the platform's own page-setup values
// read into the print options, and margins as the page-setup dialog shows them.

#include "HostedBrowser.h"

#include "AppError.h"
#include "HbToolsPageSetup.h"
#include "Registry.h"

namespace vocab {

// What was read before a failure stays: the values are taken one by one.
bool THostedBrowser::ReadPageSetup()
{
    TRegistry registry(RegRoot::HKEY_CURRENT_USER);
    if (!registry.OpenKey(QString::fromLatin1(HbTools::PageSetupKey), false))
        return false;
    try {
        TPrintOptions &options = *FPrintOptions;
        options.Header = registry.ReadString(QStringLiteral("header"));
        options.Footer = registry.ReadString(QStringLiteral("footer"));
        const auto margin = [&](const char *name) {
            return HbTools::PageSetupMargin(registry.ReadString(QLatin1String(name)), options.Measure());
        };
        options.Margins.Left = margin("margin_left");
        options.Margins.Right = margin("margin_right");
        options.Margins.Top = margin("margin_top");
        options.Margins.Bottom = margin("margin_bottom");
    } catch (const AppError &) {
        return false;
    }
    return true;
}

QString THostedBrowser::MarginToText(double Value) const
{
    return HbTools::MarginText(Value, FPrintOptions->Measure(), FRuntimeMeasure);
}

} // namespace vocab

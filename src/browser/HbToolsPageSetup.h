#pragma once

// The page-setup values of the browser: margins as the platform keeps them
// (inches, as text with "." before the fraction) turned into the unit of the
// print options, and margins of the print options turned into the text the
// page-setup dialog shows in the unit of the user's locale.

#include "HostedBrowser.h"
#include "PageSetupStore.h"

#include <QString>

namespace vocab::HbTools {

// The registry key of the platform's page setup, under the current user.
inline constexpr const char *PageSetupKey = vocab::PageSetupKey;

// A stored margin in the unit `Measure` (millimetres for mMetric, else
// inches); an empty text is 0.75 inch. Throws EConvertError for a text that
// is no number.
double PageSetupMargin(const QString &StoredText, TMeasure Measure);

// A margin in the unit `Measure` as text in the unit `RuntimeMeasure`, with
// the locale's decimal separator.
QString MarginText(double Value, TMeasure Measure, TMeasure RuntimeMeasure);

} // namespace vocab::HbTools

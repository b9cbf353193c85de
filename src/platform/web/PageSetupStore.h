#pragma once

// The browser's page setup as it keeps it between runs: in the registry under
// the current user, key PageSetupKey. Margins are inches, written as text with
// "." before the fraction ("0.750000"); the header and footer keep their
// codes (HeaderFooter.h); the orientation is 1 (portrait) or 2 (landscape).

#include <QMarginsF>
#include <QString>

namespace vocab {

inline constexpr char PageSetupKey[] = "Software\\Microsoft\\Internet Explorer\\PageSetup";

struct PageSetupValues {
    // What the browser prints before its page setup has ever been changed:
    // the title and the page count at the top, the address and the date at the bottom.
    QString header = QStringLiteral("&w&bСтраница &p из &P");
    QString footer = QStringLiteral("&u&b&d");
    QMarginsF marginsInches{0.75, 0.75, 0.75, 0.75}; // left, top, right, bottom
    bool landscape = false;

    bool operator==(const PageSetupValues &) const = default;
};

// The stored page setup; what is missing (or a margin that is no number) is
// the default.
PageSetupValues ReadPageSetupValues();
void WritePageSetupValues(const PageSetupValues &values);

// A margin in inches as the page setup keeps it; and back, NaN for a text
// that is no number or a negative one.
QString PageSetupMarginText(double inches);
double PageSetupMarginInches(const QString &text);

} // namespace vocab

#pragma once

// The header and footer of a printed page, in the codes the browser's page
// setup keeps them in:
//   &w the page's title      &u its address
//   &d the date, short       &D the date, long (the user's locale)
//   &t the time              &T the time, 24-hour
//   &p the page's number     &P the number of pages
//   &b the text after it goes to the right; after a second &b the middle
//      part is centred and the last one goes to the right
//   && one "&"
// Any other "&" stays as it is written.

#include <QDateTime>
#include <QString>

#include <array>

namespace vocab {

struct HeaderFooterFields {
    QString title;
    QString url;
    QDateTime printed;
    int page = 1;
    int pages = 1;
};

// The parts of a header or footer: left, centre, right.
using HeaderFooterParts = std::array<QString, 3>;

HeaderFooterParts ExpandHeaderFooter(const QString &text, const HeaderFooterFields &fields);

} // namespace vocab

#pragma once

// Text that ends up in HTTP headers. A line break in it would end the
// header and begin another, and a NUL or another control character (a tab
// aside) has no place in a header: the engine given one in its user agent
// starts no page at all. So only what comes before the first one counts.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace vocab {

// The text up to its first control character other than a tab (CR, LF, NUL...).
QString singleHeaderLine(const QString &text);

// The headers of a block of lines "Name: value", each ended by CR LF (a lone
// CR or LF ends a line too). Lines without a colon or whose name is not a
// valid header name are left out; control characters other than a tab are
// dropped from the values.
QList<QPair<QByteArray, QByteArray>> parseHeaderBlock(const QString &block);

} // namespace vocab

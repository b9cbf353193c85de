#pragma once

// Text that ends up in HTTP headers. A line break in it would end the
// header and begin another, so only what comes before the first one counts.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace vocab {

// The text up to its first CR or LF.
QString singleHeaderLine(const QString &text);

// The headers of a block of lines "Name: value", each ended by CR LF (a lone
// CR or LF ends a line too). Lines without a colon or whose name is not a
// valid header name are left out.
QList<QPair<QByteArray, QByteArray>> parseHeaderBlock(const QString &block);

} // namespace vocab

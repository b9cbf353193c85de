#pragma once

// The document as a file holds it: its HTML as the browser has it now (the
// doctype and the root element), in bytes of the document's own encoding.
// Saving the page, from the component and from the browser's Save As,
// writes these bytes.

#include <QByteArray>
#include <QString>

namespace vocab {

class IDocumentAutomation;

// Throw EOleException (OleError.h) when the document gives no answer.
QString DocumentHtml(const IDocumentAutomation &automation);
// In UTF-8 where the document's encoding is one this program cannot write.
QByteArray DocumentBytes(const IDocumentAutomation &automation);

} // namespace vocab

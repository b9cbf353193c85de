#pragma once

// Printing the page of the engine control: the print, print-preview and
// page-setup commands of its command target.
//
// The engine lays the page out into PDF pages with the page setup's
// margins and orientation. A print to a PDF file takes that document as it
// is, text and all, when there is no header or footer to add. Otherwise the
// pages are drawn onto the printer as pictures, as the engine's own printing
// does, and the header and footer (HeaderFooter.h) are written as text in
// the top and bottom margins.
//
// The print preview is the browser's own dialog window to the dialog watch
// ("Internet Explorer_TridentDlgFrame"); the command that opens it returns
// while it is open, as the browser's does.

#include "ComTypes.h"
#include "HeaderFooter.h"
#include "PageDialogOwner.h"

#include <QMarginsF>

#include <cstdint>
#include <functional>

class QPrinter;
class QWebEnginePage;
class QWidget;

namespace vocab {

// Chooses the printer a print goes to: with `prompt` the user picks it in
// the print dialog, without it the system's default printer is taken. S_OK
// when the printer is set; OLECMDERR_E_CANCELED when the user cancels;
// E_FAIL when there is no default printer.
using PrinterChooser = std::function<HRESULT(QPrinter &printer, bool prompt, QWidget *parent)>;

// Installs a chooser (tests put one in that prints to a file) and returns
// the previous one; an empty one restores the dialog and the default printer.
PrinterChooser setPrinterChooser(PrinterChooser chooser);

// The header and footer of one print, in their codes.
struct PrintTexts {
    QString header;
    QString footer;
};

class EnginePrinting : public PageDialogOwner {
public:
    explicit EnginePrinting(QWebEnginePage *page);

    // OLECMDID_PRINT: `in` may hold the header and footer (a list of two
    // texts); without, the page setup's are printed.
    HRESULT print(std::uint32_t option, const QVariant &in);
    // OLECMDID_PRINTPREVIEW. A preview through a print template (a file
    // name in `in`) is not supported: the engine has no print templates.
    HRESULT preview(const QVariant &in);
    // OLECMDID_PAGESETUP: the page-setup dialog unless told not to prompt;
    // what the user accepts is stored. OLECMDERR_E_CANCELED when cancelled.
    HRESULT pageSetup(std::uint32_t option);

    // Prints the page onto `printer`: its page size and orientation, the
    // given margins, and the header and footer. Pictures of the pages are
    // drawn at no more than `maxDpi`.
    static HRESULT printOnto(QWebEnginePage *page, QPrinter &printer, const PrintTexts &texts, const QMarginsF &marginsInches,
                             int maxDpi);
};

} // namespace vocab

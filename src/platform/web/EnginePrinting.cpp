#include "EnginePrinting.h"

#include "AppError.h"
#include "ListFile.h"
#include "OleCommands.h"
#include "PageSetupDialog.h"
#include "PageSetupStore.h"
#include "PageWriter.h"
#include "WindowHelpers.h"

#include <QBuffer>
#include <QEvent>
#include <QEventLoop>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfDocument>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>
#include <QWebEnginePage>

#include <algorithm>
#include <memory>
#include <optional>

namespace vocab {

namespace {

// How long the engine may take to lay out a page for printing.
constexpr int LayoutTimeoutMs = 60000;
constexpr int PrintDpi = 300;
constexpr int PreviewDpi = 150;
// The margins never take more of the page than this share.
constexpr double MarginShareMax = 0.8;
constexpr double HeaderFooterPointSize = 9;

HRESULT chooseWithDialogOrDefault(QPrinter &printer, bool prompt, QWidget *parent)
{
    if (!prompt) {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            return E_FAIL;
        printer.setPrinterName(info.printerName());
        return S_OK;
    }
    // The browser's print dialog is a standard dialog to the dialog watch.
    QPointer<QPrintDialog> dialog = new QPrintDialog(&printer, parent);
    setWindowClassName(dialog, WindowClass::StandardDialog);
    const int answer = dialog->exec();
    delete dialog; // null already when its parent went while it was open
    return answer == QDialog::Accepted ? S_OK : OLECMDERR_E_CANCELED;
}

PrinterChooser &chooser()
{
    static PrinterChooser c;
    return c;
}

// The margins, made smaller where they would leave too little of the page.
QMarginsF fitted(QMarginsF m, const QSizeF &pageInches)
{
    const double across = m.left() + m.right();
    if (across > pageInches.width() * MarginShareMax) {
        const double f = pageInches.width() * MarginShareMax / across;
        m.setLeft(m.left() * f);
        m.setRight(m.right() * f);
    }
    const double down = m.top() + m.bottom();
    if (down > pageInches.height() * MarginShareMax) {
        const double f = pageInches.height() * MarginShareMax / down;
        m.setTop(m.top() * f);
        m.setBottom(m.bottom() * f);
    }
    return m;
}

// The engine's PDF of the page, waited for with the user's input held back;
// empty when the engine gives none in time or the page goes.
QByteArray layoutAsPdf(QWebEnginePage *page, const QPageLayout &layout)
{
    auto result = std::make_shared<std::optional<QByteArray>>();
    QEventLoop loop;
    QPointer<QEventLoop> waiting(&loop);
    page->printToPdf(
        [result, waiting](const QByteArray &bytes) {
            *result = bytes;
            if (waiting)
                waiting->quit();
        },
        layout);
    if (!result->has_value()) {
        QTimer::singleShot(LayoutTimeoutMs, &loop, &QEventLoop::quit);
        QObject::connect(page, &QObject::destroyed, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return result->value_or(QByteArray());
}

bool loaded(QPdfDocument &pdf, QIODevice &bytes)
{
    pdf.load(&bytes);
    if (pdf.status() == QPdfDocument::Status::Loading) {
        QEventLoop loop;
        QObject::connect(&pdf, &QPdfDocument::statusChanged, &loop, [&] {
            if (pdf.status() != QPdfDocument::Status::Loading)
                loop.quit();
        });
        QTimer::singleShot(LayoutTimeoutMs, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return pdf.status() == QPdfDocument::Status::Ready && pdf.pageCount() > 0;
}

// One line of header or footer in its band: the right and centre parts as
// they are, the left one shortened to the room they leave.
void drawParts(QPainter &painter, const QRectF &band, const HeaderFooterParts &parts)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    constexpr int Flags = Qt::AlignVCenter | Qt::TextSingleLine;
    const double gap = metrics.averageCharWidth() * 2;
    const double rightWidth = metrics.horizontalAdvance(parts[2]);
    const double centreWidth = metrics.horizontalAdvance(parts[1]);
    double leftRoom = band.width() - (parts[2].isEmpty() ? 0 : rightWidth + gap);
    if (!parts[1].isEmpty())
        leftRoom = std::min(leftRoom, (band.width() - centreWidth) / 2 - gap);
    painter.drawText(band, Flags | Qt::AlignLeft, metrics.elidedText(parts[0], Qt::ElideRight, std::max(0.0, leftRoom)));
    painter.drawText(band, Flags | Qt::AlignHCenter, parts[1]);
    painter.drawText(band, Flags | Qt::AlignRight, parts[2]);
}

// A page as a picture. The engine leaves the margins of its pages
// transparent; they are made white, so that no edge shows where they meet
// the page's own white.
QImage pagePicture(QPdfDocument &pdf, int page, double dpi)
{
    const QSize pixels = (pdf.pagePointSize(page) * dpi / 72.0).toSize();
    QImage picture(pixels, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.drawImage(0, 0, pdf.render(page, pixels));
    return picture;
}

// Keeps the preview open while it paints: the printer it paints on is the
// preview's own, and the engine is waited for with events still running.
class PaintingGuard : public QObject {
public:
    using QObject::QObject;
    int painting = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (painting > 0 && event->type() == QEvent::Close) {
            event->ignore();
            return true;
        }
        return false;
    }
};

} // namespace

PrinterChooser setPrinterChooser(PrinterChooser c)
{
    std::swap(chooser(), c);
    return c;
}

EnginePrinting::EnginePrinting(QWebEnginePage *page) : PageDialogOwner(page) {}

HRESULT EnginePrinting::print(std::uint32_t option, const QVariant &in)
{
    if (!m_page)
        return E_UNEXPECTED;
    const PageSetupValues setup = ReadPageSetupValues();
    PrintTexts texts{setup.header, setup.footer};
    if (const QVariantList given = in.toList(); given.size() >= 2)
        texts = {given.at(0).toString(), given.at(1).toString()};
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setDocName(m_page->title());
    const bool prompt = option != OLECMDEXECOPT_DONTPROMPTUSER;
    HRESULT chosen;
    {
        const ModalSpan modal(*this);
        chosen = chooser() ? chooser()(printer, prompt, dialogParent()) : chooseWithDialogOrDefault(printer, prompt, dialogParent());
    }
    if (chosen != S_OK)
        return chosen;
    if (!m_page)
        return E_UNEXPECTED;
    return printOnto(m_page, printer, texts, setup.marginsInches, PrintDpi);
}

HRESULT EnginePrinting::preview(const QVariant &in)
{
    if (in.typeId() == QMetaType::QString && !in.toString().isEmpty())
        return OLECMDERR_E_NOTSUPPORTED;
    if (!m_page)
        return E_UNEXPECTED;
    const PageSetupValues setup = ReadPageSetupValues();
    auto *dialog = new QPrintPreviewDialog(dialogParent());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    setWindowClassName(dialog, WindowClass::EngineDialog);
    dialog->setWindowTitle(QStringLiteral("Предварительный просмотр"));
    dialog->printer()->setPageOrientation(setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    dialog->printer()->setDocName(m_page->title());
    auto *guard = new PaintingGuard(dialog);
    dialog->installEventFilter(guard);
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
                     [page = m_page, guard, texts = PrintTexts{setup.header, setup.footer},
                      margins = setup.marginsInches](QPrinter *printer) {
                         if (!page)
                             return;
                         ++guard->painting;
                         printOnto(page, *printer, texts, margins, PreviewDpi);
                         --guard->painting;
                     });
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return S_OK;
}

HRESULT EnginePrinting::pageSetup(std::uint32_t option)
{
    if (option == OLECMDEXECOPT_DONTPROMPTUSER)
        return S_OK;
    QPointer<PageSetupDialog> dialog = new PageSetupDialog(ReadPageSetupValues(), dialogParent());
    int answer;
    {
        const ModalSpan modal(*this);
        answer = dialog->exec();
    }
    if (!dialog)
        return OLECMDERR_E_CANCELED;
    const PageSetupValues values = dialog->values();
    delete dialog;
    if (answer != QDialog::Accepted)
        return OLECMDERR_E_CANCELED;
    WritePageSetupValues(values);
    return S_OK;
}

HRESULT EnginePrinting::printOnto(QWebEnginePage *page, QPrinter &printer, const PrintTexts &texts,
                                  const QMarginsF &marginsInches, int maxDpi)
{
    const QPageLayout printerLayout = printer.pageLayout();
    const QMarginsF margins = fitted(marginsInches, printerLayout.fullRect(QPageLayout::Inch).size());
    const QPageLayout layout(printerLayout.pageSize(), printerLayout.orientation(), margins, QPageLayout::Inch);
    const QString title = page->title();
    const QString url = PageWriter::withoutPageName(page->url().toString());
    QByteArray bytes = layoutAsPdf(page, layout);
    if (bytes.isEmpty())
        return E_FAIL;

    const bool plain = texts.header.isEmpty() && texts.footer.isEmpty();
    if (plain && printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        try {
            ListFile::writeBytes(printer.outputFileName(), bytes);
            return S_OK;
        } catch (const FileError &) {
            return E_FAIL;
        }
    }

    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QPdfDocument pdf;
    if (!loaded(pdf, buffer))
        return E_FAIL;
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer))
        return E_FAIL;
    QFont font = painter.font();
    font.setPointSizeF(HeaderFooterPointSize);
    painter.setFont(font);
    const QRectF paper(QPointF(0, 0), printer.paperRect(QPrinter::DevicePixel).size());
    const double perInch = printer.resolution();
    const double dpi = std::min(printer.resolution(), maxDpi);
    const QRectF headerBand(margins.left() * perInch, 0, paper.width() - (margins.left() + margins.right()) * perInch,
                            margins.top() * perInch);
    const QRectF footerBand(headerBand.left(), paper.height() - margins.bottom() * perInch, headerBand.width(),
                            margins.bottom() * perInch);
    HeaderFooterFields fields{title, url, QDateTime::currentDateTime(), 1, pdf.pageCount()};
    for (int i = 0; i < pdf.pageCount(); ++i) {
        if (i > 0 && !printer.newPage())
            return E_FAIL;
        painter.drawImage(paper, pagePicture(pdf, i, dpi));
        fields.page = i + 1;
        drawParts(painter, headerBand, ExpandHeaderFooter(texts.header, fields));
        drawParts(painter, footerBand, ExpandHeaderFooter(texts.footer, fields));
    }
    return painter.end() ? S_OK : E_FAIL;
}

} // namespace vocab

// Printing over the real engine: the page printed to a PDF file, with and
// without a header and footer and in the page setup's orientation; the
// page-setup dialog filled from the print options and its values kept; the
// print preview seen by the dialog watch as the browser's own window.

#include "BrowserEngineFixture.h"
#include "HbToolsPrinting.h"

#include "EnginePrinting.h"
#include "PageSetupDialog.h"
#include "PageSetupStore.h"
#include "WindowHelpers.h"

#include <QApplication>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

using namespace vocab;
using namespace vocab::test;

namespace {

// Runs a program of poppler's on the PDF file and gives its output.
QString popplerOutput(const char *program, const QString &pdf)
{
    QProcess p;
    QStringList args{pdf, QStringLiteral("-")};
    if (QLatin1String(program) == QLatin1String("pdfinfo"))
        args = QStringList{pdf};
    p.start(QString::fromLatin1(program), args);
    if (!p.waitForFinished(30000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

class Printing : public BrowserEngineTest {
protected:
    void SetUp() override
    {
        qputenv("VOCABULINARUM_REGISTRY", QFile::encodeName(dir.filePath(QStringLiteral("registry.json"))));
        pdf = dir.filePath(QStringLiteral("out.pdf"));
        previousChooser = setPrinterChooser([this](QPrinter &printer, bool prompt, QWidget *) {
            prompts.push_back(prompt);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return S_OK;
        });
        ASSERT_NO_FATAL_FAILURE(showBrowser(Shown::Active));
    }
    void TearDown() override
    {
        setPrinterChooser(previousChooser);
        qunsetenv("VOCABULINARUM_REGISTRY");
    }

    // A page setup of its own for the test.
    static void storePageSetup(const QString &header, const QString &footer, bool landscape)
    {
        PageSetupValues values;
        values.header = header;
        values.footer = footer;
        values.landscape = landscape;
        WritePageSetupValues(values);
    }
    bool isPdf() const { return readBytes(pdf).startsWith("%PDF-"); }

    QString pdf;
    PrinterChooser previousChooser;
    std::vector<bool> prompts;
};

} // namespace

TEST_F(Printing, APrintToAPdfFileKeepsThePagesText)
{
    storePageSetup(QString(), QString(), false);
    load(QStringLiteral("<html><head><title>Статья</title></head><body><p>Текст статьи о словах</p></body></html>"));
    TPrintOptions &options = Emb->PrintOptions();
    options.Enabled = true; // the page setup's empty header and footer
    options.HideSetup = true;
    Emb->Print();
    EXPECT_EQ(prompts, std::vector<bool>{false}) << "no dialog when the setup is hidden";
    ASSERT_TRUE(isPdf());
    EXPECT_TRUE(popplerOutput("pdftotext", pdf).contains(QStringLiteral("Текст статьи о словах")));
    EXPECT_TRUE(popplerOutput("pdfinfo", pdf).contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
}

TEST_F(Printing, TheHeaderAndFooterAreWrittenOnEveryPageInThePageSetupsOrientation)
{
    storePageSetup(QStringLiteral("&w"), QStringLiteral("&u"), true);
    QString body;
    for (int i = 0; i < 80; ++i)
        body += QStringLiteral("<p>Строка %1</p>").arg(i);
    load(QStringLiteral("<html><head><title>Длинная статья</title></head><body>") + body + QStringLiteral("</body></html>"));
    TPrintOptions &options = Emb->PrintOptions();
    options.Enabled = false; // the print options' own header and footer go with the print
    options.Header = QStringLiteral("&w&bСтр. &p из &P");
    options.Footer = QStringLiteral("Низ && подвал");
    Emb->Print();
    EXPECT_EQ(prompts, std::vector<bool>{true}) << "the print dialog unless the setup is hidden";
    ASSERT_TRUE(isPdf());
    const QStringList pages = popplerOutput("pdftotext", pdf).split(u'\f', Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 2);
    const QString count = QString::number(pages.size());
    for (int i = 0; i < pages.size(); ++i) {
        EXPECT_TRUE(pages[i].contains(QStringLiteral("Длинная статья"))) << i;
        EXPECT_TRUE(pages[i].contains(QStringLiteral("Стр. %1 из %2").arg(i + 1).arg(count))) << pages[i].toStdString();
        EXPECT_TRUE(pages[i].contains(QStringLiteral("Низ & подвал"))) << i;
    }
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)")).match(popplerOutput("pdfinfo", pdf));
    ASSERT_TRUE(size.hasMatch());
    EXPECT_GT(size.captured(1).toDouble(), size.captured(2).toDouble()) << "landscape";
}

TEST_F(Printing, ThePageSetupDialogIsFilledFromThePrintOptionsAndItsValuesAreKept)
{
    load(QStringLiteral("<p>x</p>"));
    TPrintOptions &options = Emb->PrintOptions();
    options.Enabled = true;
    options.Header = QStringLiteral("Шапка &p");
    options.Footer = QStringLiteral("Подвал");
    options.Orientation = poLandScape;
    options.Margins = {10, 15, 20, 25}; // left, right, top, bottom, in millimetres
    HostedBrowserModuleState &state = hostedBrowserModule();
    state.PageSetupPrefillPending = false;

    EXPECT_TRUE(Emb->PageSetup(true)) << "filled and accepted";
    EXPECT_FALSE(state.PageSetupPrefillPending);
    const PageSetupValues stored = ReadPageSetupValues();
    EXPECT_EQ(stored.header, options.Header);
    EXPECT_EQ(stored.footer, options.Footer);
    EXPECT_TRUE(stored.landscape);
    EXPECT_NEAR(stored.marginsInches.left() * 25.4, 10, 0.001);
    EXPECT_NEAR(stored.marginsInches.right() * 25.4, 15, 0.001);
    EXPECT_NEAR(stored.marginsInches.top() * 25.4, 20, 0.001);
    EXPECT_NEAR(stored.marginsInches.bottom() * 25.4, 25, 0.001);
    options.Margins = {};
    ASSERT_TRUE(Emb->ReadPageSetup());
    EXPECT_NEAR(options.Margins.Bottom, 25, 0.001) << "read back as the browser's page setup";

    // Without the print options the dialog comes up as stored; cancelled, nothing changes.
    QString shownHeader;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto *dialog = qobject_cast<PageSetupDialog *>(QApplication::activeModalWidget())) {
            shownHeader = dialog->findChild<QLineEdit *>(QStringLiteral("8147"))->text();
            dialog->reject();
        }
    });
    closer.start(20);
    EXPECT_FALSE(Emb->PageSetup(false)) << "cancelled";
    EXPECT_FALSE(state.PageSetupPrefillPending);
    EXPECT_EQ(shownHeader, options.Header);
    EXPECT_EQ(ReadPageSetupValues(), stored);
}

TEST_F(Printing, ThePreviewIsTheBrowsersOwnWindowToTheDialogWatch)
{
    load(QStringLiteral("<html><head><title>Просмотр</title></head><body><p>x</p></body></html>"));
    QPointer<QWidget> seen;
    Emb->OnShowDialog = [&](QObject *, QWidget *h, int, const QString &, QString &, bool &) { seen = h; };
    Emb->PrintPreview();
    ASSERT_TRUE(waitUntil([&] { return !seen.isNull(); }));
    EXPECT_TRUE(qobject_cast<QPrintPreviewDialog *>(seen.data()));
    EXPECT_EQ(GetWindowClassName(seen), QString::fromLatin1(WindowClass::EngineDialog));
    seen->close();
    ASSERT_TRUE(waitUntil([&] { return seen.isNull(); })) << "the preview goes when closed";

    QApplication::setActiveWindow(&window);
    Emb->PrintPreviewExtended(SW_SHOWMAXIMIZED);
    auto *preview = qobject_cast<QPrintPreviewDialog *>(QApplication::activeWindow());
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isMaximized());

    // The preview stays while it paints: it paints on a printer of its own.
    bool closedWhilePainting = true;
    QTimer::singleShot(0, preview, [&] { closedWhilePainting = preview->close(); });
    preview->findChild<QPrintPreviewWidget *>()->updatePreview();
    EXPECT_FALSE(closedWhilePainting);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_TRUE(preview->close());
}

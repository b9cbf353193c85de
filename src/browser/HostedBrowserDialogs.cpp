// The dialogs that take the activation from the form the browser component
// watches: re-captioned, re-iconed, closed or pre-filled as the component's
// options say.
#include "HbDialogRules.h"
#include "HostedBrowser.h"

#include "WindowHelpers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QErrorMessage>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>

namespace vocab {

namespace {

// Control ids of the page-setup dialog, its widgets' object names.
constexpr char PortraitId[] = "1056";
constexpr char LandscapeId[] = "1057";
constexpr char HeaderId[] = "8147";
constexpr char FooterId[] = "8149";
constexpr char OkId[] = "1";
constexpr const char *MarginIds[] = {"1155", "1156", "1157", "1158"}; // left, top, right, bottom

// The extended style of an error box the engine shows; Qt windows have no
// such style, so that test never holds here.
constexpr int ErrorBoxExStyle = 0x410101;

bool isStandardDialog(const QWidget *w)
{
    return qobject_cast<const QMessageBox *>(w) || qobject_cast<const QInputDialog *>(w)
        || qobject_cast<const QFileDialog *>(w) || qobject_cast<const QProgressDialog *>(w)
        || qobject_cast<const QErrorMessage *>(w) || qobject_cast<const QColorDialog *>(w)
        || qobject_cast<const QFontDialog *>(w) || qobject_cast<const QPrintDialog *>(w)
        || qobject_cast<const QPageSetupDialog *>(w);
}

// WM_CLOSE: a dialog closes as its Escape key would close it.
void closeDialog(QWidget *dialog)
{
    if (auto *d = qobject_cast<QDialog *>(dialog))
        d->reject();
    else
        dialog->close();
}

// DestroyWindow: the dialog ends, its modal loop with it; a dialog inside its
// own loop is never deleted from under it.
void destroyDialog(QWidget *dialog)
{
    if (auto *d = qobject_cast<QDialog *>(dialog))
        d->done(QDialog::Rejected);
    else
        dialog->hide();
}

void setText(QWidget *dialog, const char *id, const QString &text)
{
    if (auto *field = dialog->findChild<QLineEdit *>(QString::fromLatin1(id)))
        field->setText(text);
}

} // namespace

QString DialogWindowClass(const QWidget *window)
{
    const QString given = GetWindowClassName(window);
    if (window && given == QLatin1String(window->metaObject()->className()) && isStandardDialog(window))
        return QString::fromLatin1(StandardDialogClass);
    return given;
}

QString ReplaceDialogCaption(const QString &caption, const QString &newCaption)
{
    QString out = caption;
    const QString microsoft = QStringLiteral("Microsoft ");
    if (const qsizetype at = out.indexOf(microsoft); at >= 0)
        out.remove(at, microsoft.size());
    const QString browser = QStringLiteral("Internet Explorer");
    if (const qsizetype at = out.indexOf(browser); at >= 0)
        out.replace(at, browser.size(), newCaption);
    return out;
}

void THostedBrowser::HandleIEDialog(QWidget *Dialog)
{
    const QString className = DialogWindowClass(Dialog);
    if (className != QLatin1String(StandardDialogClass) && className != QLatin1String(EngineDialogClass))
        return;
    // What the steps do to the dialog may end it; later steps see that.
    const QPointer<QWidget> dialog(Dialog);
    const int styleEx = 0;
    QString caption = GetWindowTextString(Dialog);
    if (OnShowDialog)
        OnShowDialog(this, Dialog, styleEx, caption, FDialogBoxes->NewCaption, FDialogBoxes->DisableAll);
    if (FDialogBoxes->DisableAll && dialog)
        closeDialog(dialog);
    if (FDialogBoxes->ReplaceIcon && dialog)
        dialog->setWindowIcon(QApplication::windowIcon());
    if (FDialogBoxes->ReplaceCaption) {
        caption = ReplaceDialogCaption(caption, FDialogBoxes->NewCaption);
        if (dialog)
            dialog->setWindowTitle(caption);
    }
    if (FDisableErrors->ScriptErrorsSuppressed) {
        const QString upper = caption.toUpper();
        if (upper.contains(QLatin1String("SCRIPT"))) {
            // The clicks the platform posts to such a box press nothing here;
            // closing it is what ends it.
            if (dialog)
                closeDialog(dialog);
            QCoreApplication::processEvents();
            return;
        }
        if (upper.contains(QLatin1String("ERROR")) || styleEx == ErrorBoxExStyle) {
            if (dialog)
                destroyDialog(dialog);
            return;
        }
    }
    // Only the page-setup dialog itself is filled: another dialog that comes
    // first leaves the pre-fill waiting for it.
    HostedBrowserModuleState &module = hostedBrowserModule();
    if (!FPrintOptions->Enabled || !module.PageSetupPrefillPending || !dialog
        || !dialog->findChild<QLineEdit *>(QString::fromLatin1(HeaderId)))
        return;
    module.PageSetupPrefillPending = false;
    const char *orientation = FPrintOptions->Orientation == poPortrait ? PortraitId : LandscapeId;
    if (auto *button = dialog->findChild<QAbstractButton *>(QString::fromLatin1(orientation)))
        button->click();
    setText(dialog, HeaderId, FPrintOptions->Header);
    setText(dialog, FooterId, FPrintOptions->Footer);
    const TMargins &m = FPrintOptions->Margins;
    const double margins[] = {m.Left, m.Top, m.Right, m.Bottom};
    for (std::size_t i = 0; i < std::size(MarginIds); ++i)
        setText(dialog, MarginIds[i], MarginToText(margins[i]));
    // OK is pressed once the dialog is up: its button of id 1, else its first button.
    auto *ok = dialog->findChild<QPushButton *>(QString::fromLatin1(OkId));
    if (!ok)
        ok = dialog->findChild<QPushButton *>();
    if (ok)
        QMetaObject::invokeMethod(ok, &QAbstractButton::click, Qt::QueuedConnection);
}

} // namespace vocab

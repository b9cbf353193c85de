#include "ClipboardFilter.h"

#include "ErrorHandler.h"
#include "HostInterfaces.h"
#include "WebEngineControl.h"
#include "WebView.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QScopedValueRollback>

namespace vocab {

namespace {

// The engine writes the clipboard a moment after the command, once the page
// has given it the selection; a busy machine may take its time.
constexpr int ExpectedWithinMs = 10000;

} // namespace

ClipboardFilter::ClipboardFilter(WebEngineControl &control) : QObject(nullptr), m_control(control)
{
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &ClipboardFilter::handleChange);
}

void ClipboardFilter::expectPageData()
{
    m_expected.setRemainingTime(ExpectedWithinMs);
}

bool ClipboardFilter::changeIsThePages() const
{
    if (!m_expected.hasExpired())
        return true;
    const QWidget *view = m_control.view();
    const QWidget *focus = QApplication::focusWidget();
    return view && focus && (focus == view || view->isAncestorOf(focus));
}

void ClipboardFilter::handleChange()
{
    if (m_replacing || m_control.closed() || !changeIsThePages())
        return;
    m_expected.setRemainingTime(0);
    guarded([&] {
        auto *ui = m_control.site().as<IDocHostUIHandler>();
        QClipboard *clipboard = QGuiApplication::clipboard();
        const QMimeData *given = clipboard->mimeData();
        if (!ui || !given)
            return;
        const QMimeData *replacement = nullptr;
        if (ui->FilterDataObject(given, replacement) != S_OK || !replacement || replacement == given)
            return;
        // The host keeps its object; the clipboard gets a copy of its own.
        auto *copy = new QMimeData;
        for (const QString &format : replacement->formats())
            copy->setData(format, replacement->data(format));
        const QScopedValueRollback replacing(m_replacing, true);
        clipboard->setMimeData(copy);
    });
}

} // namespace vocab

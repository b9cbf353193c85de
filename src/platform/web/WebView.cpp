#include "WebView.h"

#include "EngineCommands.h"
#include "ErrorHandler.h"
#include "WebEngineControl.h"
#include "WindowHelpers.h"

#include <QChildEvent>
#include <QContextMenuEvent>
#include <QMenu>
#include <QWebEngineContextMenuRequest>

namespace vocab {

namespace {

// The kind of menu for what lies under the pointer; the first that applies wins.
std::uint32_t contextMenuKind(const QWebEngineContextMenuRequest &request)
{
    if (request.isContentEditable())
        return CONTEXT_MENU_CONTROL;
    switch (request.mediaType()) {
    case QWebEngineContextMenuRequest::MediaTypeImage:
        return CONTEXT_MENU_IMAGE;
    case QWebEngineContextMenuRequest::MediaTypeVideo:
    case QWebEngineContextMenuRequest::MediaTypeAudio:
        return CONTEXT_MENU_IMGDYNSRC;
    default:
        break;
    }
    if (!request.linkUrl().isEmpty())
        return CONTEXT_MENU_ANCHOR;
    if (!request.selectedText().isEmpty())
        return CONTEXT_MENU_TEXTSELECT;
    return CONTEXT_MENU_DEFAULT;
}

} // namespace

WebView::WebView(WebEngineControl &control, QWidget *parent)
    : QWebEngineView(parent), m_control(control), m_filter(control, this)
{
    setWindowClassName(this, WindowClass::ShellDocObjectView);
    installEventFilter(&m_filter);
}

void WebView::contextMenuEvent(QContextMenuEvent *event)
{
    guarded([&] { handleContextMenu(event); });
}

void WebView::handleContextMenu(QContextMenuEvent *event)
{
    const QWebEngineContextMenuRequest *request = lastContextMenuRequest();
    if (m_control.closed() || !request || m_filter.takeEnginesMenuRequest())
        return;
    ContextMenuContext context;
    context.selectedText = request->selectedText();
    context.linkUrl = request->linkUrl();
    context.mediaUrl = request->mediaUrl();
    context.editable = request->isContentEditable();
    showContextMenu(contextMenuKind(*request), context, event->globalPos());
}

void WebView::showContextMenu(std::uint32_t kind, const ContextMenuContext &context, QPoint pt)
{
    if (auto *ui = m_control.site().as<IDocHostUIHandler>())
        if (ui->ShowContextMenu(kind, &pt, &m_control.commands(), &context) == S_OK)
            return;
    std::unique_ptr<QMenu> menu = m_control.CreateContextMenu(kind);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu.release()->popup(pt);
}

void WebView::resizeEvent(QResizeEvent *event)
{
    QWebEngineView::resizeEvent(event);
    guarded([&] {
        if (auto *ui = m_control.closed() ? nullptr : m_control.site().as<IDocHostUIHandler>()) {
            const QRect border = rect();
            ui->ResizeBorder(&border, nullptr, false);
        }
    });
}

bool WebView::event(QEvent *event)
{
    const bool handled = QWebEngineView::event(event);
    switch (event->type()) {
    case QEvent::ChildAdded:
    case QEvent::ChildPolished:
        watchDocumentWindow();
        break;
    case QEvent::Show:
    case QEvent::ParentChange:
        watchFrameWindow();
        break;
    default:
        break;
    }
    return handled;
}

void WebView::watchDocumentWindow()
{
    QWidget *document = focusProxy();
    if (document == m_documentWindow)
        return;
    if (m_documentWindow)
        m_documentWindow->removeEventFilter(&m_filter);
    m_documentWindow = document;
    m_filter.setDocumentWindow(document);
    if (document) {
        setWindowClassName(document, WindowClass::InternetExplorerServer);
        document->installEventFilter(&m_filter);
    }
}

void WebView::watchFrameWindow()
{
    QWidget *frame = window();
    if (frame == m_frameWindow || frame == this)
        return;
    if (m_frameWindow)
        m_frameWindow->removeEventFilter(&m_filter);
    m_frameWindow = frame;
    m_filter.setFrameWindow(frame);
    frame->installEventFilter(&m_filter);
}

} // namespace vocab

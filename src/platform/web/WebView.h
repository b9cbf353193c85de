#pragma once

// The view of the engine control. It asks the host before the control's own
// context menu shows, reports its resizes, and puts the input filter on the
// widget that holds the document (which the engine makes with the first page
// and may make again) and on the window it lives in.

#include "DocumentInputFilter.h"
#include "HostInterfaces.h"

#include <QPointer>
#include <QWebEngineView>

#include <cstdint>

namespace vocab {

class WebEngineControl;

class WebView : public QWebEngineView {
    Q_OBJECT
public:
    WebView(WebEngineControl &control, QWidget *parent);

    // Puts the input filter on the document window when the engine has made
    // a new one.
    void watchDocumentWindow();

    // Asks the host for the context menu of this kind at `pt` (on the
    // screen) and shows the control's own when the host leaves it.
    void showContextMenu(std::uint32_t kind, const ContextMenuContext &context, QPoint pt);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;

private:
    void handleContextMenu(QContextMenuEvent *event);
    void watchFrameWindow();

    WebEngineControl &m_control;
    DocumentInputFilter m_filter;
    QPointer<QWidget> m_documentWindow;
    QPointer<QWidget> m_frameWindow;
};

} // namespace vocab

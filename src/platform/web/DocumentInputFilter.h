#pragma once

// Input on the document window, before the engine acts on it: keys go to the
// host's accelerator test first, Ctrl with the wheel zooms, and the document
// taking or losing the focus is reported. Drags on the view go to a drop
// target the host registered. The window the view lives in reports its
// activation.

#include "ComTypes.h"

#include <QObject>

#include <cstdint>

class QContextMenuEvent;
class QDropEvent;
class QKeyEvent;
class QMouseEvent;
class QWheelEvent;
class QWidget;

namespace vocab {

class WebEngineControl;

class DocumentInputFilter : public QObject {
public:
    DocumentInputFilter(WebEngineControl &control, QWidget *view) : m_control(control), m_view(view) {}

    void setDocumentWindow(QWidget *window) { m_documentWindow = window; }
    void setFrameWindow(QWidget *window) { m_frameWindow = window; }

    // True once for the engine's menu request that follows a right click
    // whose menu the release opened already: that request is a second one.
    bool takeEnginesMenuRequest();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool handleKey(QKeyEvent *event);
    bool handleWheel(QWheelEvent *event);
    bool handleDrag(QEvent *event);
    bool handleRightButton(QMouseEvent *event);
    bool keptRightPress(const QContextMenuEvent *event) const;
    void handleFocus(QEvent *event);
    void handleFrameActivation(bool active);

    bool translateAccelerator(const TMsg &msg);
    bool showHelp();

    WebEngineControl &m_control;
    QWidget *m_view;
    QWidget *m_documentWindow = nullptr;
    QWidget *m_frameWindow = nullptr;
    int m_wheelTurned = 0;
    // The document saw the right press of the click under way.
    bool m_rightPressSeen = false;
    // The release of a right click kept from the document opened the menu.
    bool m_menuOpenedForClick = false;

    // The host's answer for the key override that comes before a key press:
    // the press then takes the same answer without asking again.
    struct KeyDecision {
        quint64 timestamp = 0;
        int key = 0;
        int modifiers = 0;
        bool consumed = false;
        bool valid = false;
    } m_override;
};

} // namespace vocab

#include "DocumentInputFilter.h"

#include "EngineCommands.h"
#include "ErrorHandler.h"
#include "KeyCodes.h"
#include "WebEngineControl.h"
#include "WebPage.h"
#include "WebView.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QWheelEvent>

#include <utility>
#include <QWidget>

namespace vocab {

namespace {

constexpr int WheelZoomStepPercent = 10;

int keyOf(const QKeyEvent &event) { return event.key(); }
int modifiersOf(const QKeyEvent &event) { return static_cast<int>(event.modifiers().toInt()); }

} // namespace

bool DocumentInputFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (m_control.closed())
        return false;
    if (watched == static_cast<QObject *>(m_frameWindow)) {
        if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate)
            handleFrameActivation(event->type() == QEvent::WindowActivate);
        return false;
    }
    const bool drag = event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove
        || event->type() == QEvent::DragLeave || event->type() == QEvent::Drop;
    // The engine takes drops on the view itself.
    if (drag && watched == static_cast<QObject *>(m_view))
        return guarded([&] { return handleDrag(event); }, false);
    if (watched != static_cast<QObject *>(m_documentWindow))
        return false;
    return guarded([&] {
        switch (event->type()) {
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return handleKey(static_cast<QKeyEvent *>(event));
        case QEvent::Wheel:
            return handleWheel(static_cast<QWheelEvent *>(event));
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
            return handleRightButton(static_cast<QMouseEvent *>(event));
        case QEvent::ContextMenu:
            return keptRightPress(static_cast<QContextMenuEvent *>(event));
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            handleFocus(event);
            return false;
        default:
            return false;
        }
    }, false);
}

bool DocumentInputFilter::translateAccelerator(const TMsg &msg)
{
    auto *ui = m_control.site().as<IDocHostUIHandler>();
    return ui && ui->TranslateAccelerator(&msg, nullptr, 0) == S_OK;
}

bool DocumentInputFilter::handleKey(QKeyEvent *event)
{
    const TMsg msg = keyMessageOf(*event, m_documentWindow);
    if (event->type() == QEvent::ShortcutOverride) {
        // An override made by Qt itself for a key sent in code carries no
        // key place; the press that follows does, and is asked instead.
        if (msg.wParam == 0) {
            m_override.valid = false;
            return false;
        }
        m_override = {event->timestamp(), keyOf(*event), modifiersOf(*event), translateAccelerator(msg), true};
        if (!m_override.consumed)
            return false;
        // Taken: no shortcut of the window may act on it either.
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyRelease)
        return translateAccelerator(msg);
    // A menu asked for from the keyboard is the engine's to open.
    m_menuOpenedForClick = false;
    bool consumed;
    if (m_override.valid && m_override.timestamp == event->timestamp() && m_override.key == keyOf(*event)
        && m_override.modifiers == modifiersOf(*event)) {
        consumed = m_override.consumed;
    } else {
        consumed = translateAccelerator(msg);
    }
    m_override.valid = false;
    if (!consumed && event->key() == Qt::Key_F1)
        consumed = showHelp();
    return consumed;
}

bool DocumentInputFilter::showHelp()
{
    auto *showUI = m_control.site().as<IDocHostShowUI>();
    return showUI && showUI->ShowHelp(m_documentWindow, nullptr, HELP_CONTEXT, 0, QCursor::pos(), nullptr) == S_OK;
}

bool DocumentInputFilter::handleWheel(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier))
        return false;
    // A fine-grained wheel or touchpad turns in small steps; a notch is 120.
    m_wheelTurned += event->angleDelta().y();
    const int notches = m_wheelTurned / 120;
    m_wheelTurned %= 120;
    if (notches != 0)
        m_control.zoomByUser(notches * WheelZoomStepPercent);
    // The engine would zoom by itself otherwise, without a word to the host.
    return true;
}

bool DocumentInputFilter::handleDrag(QEvent *event)
{
    IDropTarget *target = m_control.dropTarget();
    if (!target) {
        if (m_control.RegisterAsDropTarget())
            return false;
        event->ignore();
        return true;
    }
    if (event->type() == QEvent::DragLeave) {
        target->DragLeave();
        return true;
    }
    auto *drop = static_cast<QDropEvent *>(event);
    const int keyState = dragKeyState(drop->buttons(), drop->modifiers());
    const QPoint pt = m_view->mapToGlobal(drop->position().toPoint());
    int effect = static_cast<int>(drop->possibleActions().toInt());
    HRESULT hr;
    if (event->type() == QEvent::DragEnter)
        hr = target->DragEnter(drop->mimeData(), keyState, pt, effect);
    else if (event->type() == QEvent::DragMove)
        hr = target->DragOver(keyState, pt, effect);
    else
        hr = target->Drop(drop->mimeData(), keyState, pt, effect);
    if (SUCCEEDED(hr) && effect != DROPEFFECT_NONE) {
        drop->setDropAction(static_cast<Qt::DropAction>(effect));
        drop->accept();
    } else {
        drop->ignore();
    }
    return true;
}

// The engine opens its context menu on the right press. A hook of the host
// may keep that press from the document, as it may on the platform, whose
// control opens the menu on the release: the release then opens it here.
bool DocumentInputFilter::handleRightButton(QMouseEvent *event)
{
    if (event->button() != Qt::RightButton)
        return false;
    if (event->type() == QEvent::MouseButtonPress) {
        m_rightPressSeen = true;
        return false;
    }
    const bool pressSeen = std::exchange(m_rightPressSeen, false);
    if (pressSeen)
        return false;
    ContextMenuContext context;
    context.selectedText = m_control.page()->selectedText();
    const std::uint32_t kind = context.selectedText.isEmpty() ? CONTEXT_MENU_DEFAULT : CONTEXT_MENU_TEXTSELECT;
    // The engine may still ask for its menu for this click, having seen
    // some of it; the host's menu is open for it already.
    m_menuOpenedForClick = true;
    m_control.view()->showContextMenu(kind, context, event->globalPosition().toPoint());
    return true;
}

bool DocumentInputFilter::takeEnginesMenuRequest()
{
    return std::exchange(m_menuOpenedForClick, false);
}

// Qt asks for a menu on the right press too. When the press was kept from
// the document, the release opens the host's menu; the engine's own menu on
// that press would be a second one, and the engine would move the selection
// to the pointer before the host reads it.
bool DocumentInputFilter::keptRightPress(const QContextMenuEvent *event) const
{
    return event->reason() == QContextMenuEvent::Mouse && !m_rightPressSeen
        && QGuiApplication::mouseButtons().testFlag(Qt::RightButton);
}

void DocumentInputFilter::handleFocus(QEvent *event)
{
    // A pop-up menu takes the focus only for a moment; the document keeps it.
    if (static_cast<QFocusEvent *>(event)->reason() == Qt::PopupFocusReason)
        return;
    auto *ui = m_control.site().as<IDocHostUIHandler>();
    if (!ui)
        return;
    // The document window gaining or losing the focus is its activation.
    const bool activate = event->type() == QEvent::FocusIn;
    ui->OnDocWindowActivate(activate);
    if (activate)
        ui->ShowUI(m_control.designMode() ? DOCHOSTUITYPE_AUTHOR : DOCHOSTUITYPE_BROWSE, nullptr,
                   &m_control.commands(), nullptr, nullptr);
    else
        ui->HideUI();
}

void DocumentInputFilter::handleFrameActivation(bool active)
{
    guarded([&] {
        if (auto *ui = m_control.site().as<IDocHostUIHandler>())
            ui->OnFrameWindowActivate(active);
    });
}

} // namespace vocab

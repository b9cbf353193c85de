#include "HbFocusControl.h"

#include "ErrorHandler.h"
#include "HbCore.h"

#include <QApplication>
#include <QWidget>

#include <memory>

namespace vocab {

namespace {

std::unique_ptr<TAppHookWindow> g_appHookWindow;

TCustomHostedBrowser *browserOf(QWidget *w, const QWidget *form)
{
    for (; w; w = w->parentWidget()) {
        if (auto *browser = qobject_cast<TCustomHostedBrowser *>(w))
            return browser;
        if (w == form)
            break;
    }
    return nullptr;
}

} // namespace

QEvent::Type FocusDocumentEvent::eventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

QWidget *ActiveControlOf(const QWidget *form)
{
    QWidget *focused = form ? form->focusWidget() : nullptr;
    if (TCustomHostedBrowser *browser = browserOf(focused, form))
        return browser;
    return focused;
}

TAppHookWindow::TAppHookWindow() = default;

TAppHookWindow::~TAppHookWindow()
{
    Deactivate();
}

void TAppHookWindow::Activate()
{
    if (FHookSet || !QCoreApplication::instance())
        return;
    QCoreApplication::instance()->installEventFilter(this);
    FHookSet = true;
}

void TAppHookWindow::Deactivate()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
    FHookSet = false;
}

bool TAppHookWindow::eventFilter(QObject *watched, QEvent *event)
{
    return guarded([&] { return AppWindowHook(watched, event); }, false);
}

bool TAppHookWindow::AppWindowHook(QObject *watched, QEvent *event)
{
    const bool applicationActivated = event->type() == QEvent::ApplicationStateChange
        && QGuiApplication::applicationState() == Qt::ApplicationActive;
    // A window's activation is passed on to each of its widgets; the window's own counts.
    const bool windowActivated = event->type() == QEvent::WindowActivate && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->isWindow();
    if (!applicationActivated && !windowActivated)
        return false;
    QWidget *F = QApplication::activeWindow();
    if (!F || QCoreApplication::closingDown() || !F->isActiveWindow() || !F->isVisible() || !F->isEnabled())
        return false;
    QWidget *C = ActiveControlOf(F);
    if (qobject_cast<TCustomHostedBrowser *>(C) && QApplication::focusWidget() != C)
        QCoreApplication::postEvent(C, new FocusDocumentEvent);
    return false;
}

void THBFocusControl::Activate(bool Active)
{
    if (Active) {
        if (!g_appHookWindow) {
            g_appHookWindow = std::make_unique<TAppHookWindow>();
            g_appHookWindow->Activate();
        }
    } else {
        g_appHookWindow.reset();
    }
}

bool THBFocusControl::Active()
{
    return g_appHookWindow && g_appHookWindow->HookSet();
}

} // namespace vocab

#include "HbMouseHook.h"

#include "ErrorHandler.h"
#include "WindowHelpers.h"

#include <QApplication>
#include <QWheelEvent>
#include <QWidget>

namespace vocab {

namespace {

THBMouseHook *g_instance = nullptr;
int g_count = 0;

} // namespace

THBMouseHook *THBMouseHook::NewInstance()
{
    if (!g_instance)
        g_instance = new THBMouseHook; // freed by the last FreeInstance
    ++g_count;
    return g_instance;
}

void THBMouseHook::FreeInstance(THBMouseHook *hook)
{
    if (!hook || hook != g_instance || --g_count > 0)
        return;
    delete g_instance;
    g_instance = nullptr;
}

THBMouseHook::~THBMouseHook()
{
    // The fix that switched the hook on takes it off before freeing it.
}

void THBMouseHook::Activate()
{
    if (FMouseHook || !QCoreApplication::instance())
        return;
    QCoreApplication::instance()->installEventFilter(this);
    FMouseHook = true;
}

void THBMouseHook::Deactivate()
{
    if (!FMouseHook)
        return;
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
    FMouseHook = false;
}

bool THBMouseHook::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Wheel)
        return false;
    return guarded([&] { return MouseHookProc(watched, static_cast<QWheelEvent *>(event)); }, false);
}

bool THBMouseHook::MouseHookProc(QObject *receiver, QWheelEvent *event)
{
    const QPoint Pt = event->globalPosition().toPoint();
    QWidget *Wnd = QApplication::widgetAt(Pt);
    // A turn the widget under the pointer leaves goes on to its parents;
    // it is looked at once, on its way to that widget.
    if (!Wnd || receiver != Wnd)
        return false;
    bool Handled = false;
    if (OnMouseWheel)
        OnMouseWheel(Pt, Wnd, event, Handled);
    if (FActiveFormOnly)
        Handled = Wnd->window() != QApplication::activeWindow();
    QWidget *focused = QApplication::focusWidget();
    if (Handled || !focused)
        return false;
    const QString embedding = QString::fromLatin1(WindowClass::ShellEmbedding);
    QWidget *A = FindAncestorWindowByClass(Wnd, embedding);
    QWidget *B = FindAncestorWindowByClass(focused, embedding);
    if (!A)
        return false;
    // The pointer is over another browser than the focused one, or the
    // browser's outer view holds the focus instead of its document.
    if (A != B || GetWindowClassName(focused) == QLatin1String(WindowClass::ShellDocObjectView)) {
        Wnd->setFocus(Qt::MouseFocusReason);
        return true;
    }
    return false;
}

} // namespace vocab

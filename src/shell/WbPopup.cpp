#include "WbPopup.h"

#include "ErrorHandler.h"
#include "HostedBrowser.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

#include <memory>

namespace vocab {

namespace {

// Sees every event of the program before its receiver does.
class RightButtonHook final : public QObject {
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        return guarded([&] { return RightButtonHookProc(watched, event); }, false);
    }
};

std::unique_ptr<RightButtonHook> RightButtonHookHandle;
int g_users = 0;

bool isOverHostedBrowser(QObject *receiver)
{
    for (QWidget *w = qobject_cast<QWidget *>(receiver); w; w = w->parentWidget()) {
        if (qobject_cast<THostedBrowser *>(w))
            return true;
        if (w->isWindow())
            return false;
    }
    return false;
}

} // namespace

bool RightButtonHookProc(QObject *receiver, QEvent *event)
{
    if (event->type() != QEvent::MouseButtonPress)
        return false;
    return static_cast<QMouseEvent *>(event)->button() == Qt::RightButton && isOverHostedBrowser(receiver);
}

void WbPopupInitialization()
{
    if (g_users++ > 0 || !QCoreApplication::instance())
        return;
    RightButtonHookHandle = std::make_unique<RightButtonHook>();
    QCoreApplication::instance()->installEventFilter(RightButtonHookHandle.get());
}

void WbPopupFinalization()
{
    if (g_users == 0 || --g_users > 0)
        return;
    // Destroying the filter takes it out of the application's list.
    RightButtonHookHandle.reset();
}

} // namespace vocab

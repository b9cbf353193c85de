#include "EventHook.h"

namespace vocab {

EventHook::EventHook(QObject *watched, Handler handler) : QObject(watched), m_watched(watched), m_handler(std::move(handler))
{
    watched->installEventFilter(this);
}

bool EventHook::eventFilter(QObject *watched, QEvent *event)
{
    return watched == m_watched && m_handler(event);
}

} // namespace vocab

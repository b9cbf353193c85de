#pragma once

#include <QObject>

#include <functional>

class QEvent;

namespace vocab {

// Hands the events of one object to a function before the object sees them;
// the function returns true to keep an event from it. The watched object owns
// the hook. A window uses it to handle events of its parts without subclassing
// each of them.
class EventHook : public QObject {
public:
    using Handler = std::function<bool(QEvent *event)>;

    EventHook(QObject *watched, Handler handler);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QObject *m_watched;
    Handler m_handler;
};

} // namespace vocab

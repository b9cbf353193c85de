#pragma once

#include <QObject>

class QSocketNotifier;

namespace vocab {

// Tells when the desktop session is ending: the session manager's request to
// save (Qt's commitDataRequest) or SIGTERM/SIGHUP, which is how most Linux
// sessions end their programs. Either way the program must save and close,
// never just hide. Any number of watchers may live at once; each is told once.
class SessionEndWatcher : public QObject {
    Q_OBJECT
public:
    explicit SessionEndWatcher(QObject *parent = nullptr);
    ~SessionEndWatcher() override;

Q_SIGNALS:
    void sessionEnding();

private:
    void readSignal();
    void announce();
    QSocketNotifier *m_notifier = nullptr;
    bool m_emitted = false;
};

} // namespace vocab

#pragma once

// Tells when the keyboard layout in force changes: an XKB group switch of the
// X session (the desktop's layout switcher, setxkbmap, a lock of the group),
// or a layout change Qt reports itself on platforms that report one. The
// layout itself is read with KeyboardLayout::current().

#include <QAbstractNativeEventFilter>
#include <QObject>

namespace vocab {

class KeyboardLayoutWatcher : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit KeyboardLayoutWatcher(QObject *parent = nullptr);
    ~KeyboardLayoutWatcher() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

Q_SIGNALS:
    void layoutChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The first event number of the XKB extension on Qt's connection; 0
    // without X or XKB, when only Qt's own reports arrive.
    int m_xkbFirstEvent = 0;
};

} // namespace vocab

#pragma once

// The focus fix: when the program's window becomes active again and the
// browser component is its active control, the component is asked to give
// the keyboard focus back to its document. The ask is a FocusDocumentEvent
// posted to the component, answered once the activation has been handled.
//
// The hook watches the application as the platform's hook on the
// application's main window did: the application becoming active stands in
// for its activation message, a window of the program becoming active for
// the position change the platform sends its main window then.

#include <QEvent>
#include <QObject>

class QWidget;

namespace vocab {

// Posted to a browser component: give the focus to your document.
class FocusDocumentEvent : public QEvent {
public:
    FocusDocumentEvent() : QEvent(eventType()) {}
    static QEvent::Type eventType();
};

// The form's active control: the component its focused widget lies in, or
// the focused widget itself when that is in no component.
QWidget *ActiveControlOf(const QWidget *form);

// The hook; one at most, held by THBFocusControl.
class TAppHookWindow : public QObject {
public:
    TAppHookWindow();
    ~TAppHookWindow() override;

    void Activate();
    void Deactivate();
    bool HookSet() const { return FHookSet; }

    // Looks at one event; never keeps it from its receiver.
    bool AppWindowHook(QObject *watched, QEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool FHookSet = false;
};

class THBFocusControl {
public:
    // True makes the one hook and switches it on; false takes it away.
    static void Activate(bool Active);
    static bool Active();
};

} // namespace vocab

#pragma once

// THBMouseHook: the wheel fix's hook. A wheel turned over a browser view
// that does not have the keyboard focus gives the focus to the view first;
// that notch moves only the focus, the next one scrolls. One hook serves the
// whole program, shared by count among the wheel fixes that switch it on.
//
// The hook is an event filter on the application: it sees every wheel event
// before the widget under the pointer does, as a thread mouse hook sees every
// wheel message before its window.

#include <QObject>
#include <QPoint>

#include <functional>

class QWheelEvent;
class QWidget;

namespace vocab {

// Point: the pointer on the screen; hwndFromPoint: the window under it; lp:
// the wheel event. Handled true keeps the focus where it is (the turn still
// goes on to its window).
using TMouseWheelEvent = std::function<void(QPoint Point, QWidget *hwndFromPoint, QWheelEvent *lp, bool &Handled)>;

class THBMouseHook : public QObject {
public:
    // The one hook: made by the first call, counted by each; FreeInstance
    // undoes one call and frees the hook with the last.
    static THBMouseHook *NewInstance();
    static void FreeInstance(THBMouseHook *hook);

    void Activate();
    void Deactivate();
    bool Activated() const { return FMouseHook; }

    // The hook's procedure for one wheel event aimed at `receiver`: true
    // when the event is eaten.
    bool MouseHookProc(QObject *receiver, QWheelEvent *event);

    TMouseWheelEvent OnMouseWheel;
    bool FActiveFormOnly = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    THBMouseHook() = default;
    ~THBMouseHook() override;

    bool FMouseHook = false;
};

} // namespace vocab

#pragma once

// THbControl: the component that switches the browser host's process-wide
// fixes, the one that moves the keyboard focus into a browser view the mouse
// wheel turns over and the one that gives the focus back to the document
// when its window becomes active again.
//
// The fixes themselves are not built yet: switching them on and off is
// recorded, and InstallWheelFix/InstallFocusFix are the places where they
// will be installed. Nothing is hooked or changed in the meantime.

#include <QObject>

namespace vocab {

class TMouseWheelFix {
public:
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    bool ActiveFormOnly() const { return FActiveFormOnly; }
    void SetActiveFormOnly(bool Value) { FActiveFormOnly = Value; }

private:
    bool FActive = true;
    bool FActiveFormOnly = false;
};

class TFocusControl {
public:
    bool Active() const { return FActive; }
    void SetActive(bool Value);

private:
    bool FActive = true;
};

class THbControl : public QObject {
    Q_OBJECT
public:
    explicit THbControl(QObject *owner = nullptr);
    ~THbControl() override;

    TMouseWheelFix &MouseWheelFix() { return FMouseWheelFix; }
    TFocusControl &FocusControl() { return FFocusControl; }

private:
    TMouseWheelFix FMouseWheelFix;
    TFocusControl FFocusControl;
};

// Where the wheel fix and the focus fix will go in and out. Empty for now.
void InstallWheelFix();
void RemoveWheelFix();
void InstallFocusFix();
void RemoveFocusFix();

} // namespace vocab

#include "HbControlComponent.h"

namespace vocab {

void TMouseWheelFix::SetActive(bool Value)
{
    FActive = Value;
    if (Value)
        InstallWheelFix();
    else
        RemoveWheelFix();
}

void TFocusControl::SetActive(bool Value)
{
    FActive = Value;
    if (Value)
        InstallFocusFix();
    else
        RemoveFocusFix();
}

// Both options start switched on without installing anything; whoever
// makes the component switches them on when it wants them.
THbControl::THbControl(QObject *owner) : QObject(owner) {}

THbControl::~THbControl()
{
    FMouseWheelFix.SetActive(false);
    FFocusControl.SetActive(false);
}

// The wheel fix is not built yet: nothing to install.
void InstallWheelFix() {}
void RemoveWheelFix() {}

// The focus fix is not built yet: nothing to install.
void InstallFocusFix() {}
void RemoveFocusFix() {}

} // namespace vocab

#include "HbControlComponent.h"

#include "HbFocusControl.h"
#include "PlatformLibraries.h"

namespace vocab {

namespace {
constexpr std::uint32_t SET_FEATURE_ON_PROCESS = 2;
}

TMouseWheelFix::~TMouseWheelFix()
{
    SetActive(false);
}

void TMouseWheelFix::SetActive(bool Value)
{
    FActive = Value;
    if (Value) {
        if (FHBMouseHook)
            return;
        FHBMouseHook = THBMouseHook::NewInstance();
        FHBMouseHook->OnMouseWheel = OnMouseWheel;
        FHBMouseHook->FActiveFormOnly = FActiveFormOnly;
        FHBMouseHook->Activate();
    } else if (FHBMouseHook) {
        FHBMouseHook->Deactivate();
        THBMouseHook::FreeInstance(FHBMouseHook);
        FHBMouseHook = nullptr;
    }
}

void TMouseWheelFix::SetActiveFormOnly(bool Value)
{
    FActiveFormOnly = Value;
    if (FHBMouseHook)
        FHBMouseHook->FActiveFormOnly = Value;
}

void TFocusControl::SetActive(bool Value)
{
    FActive = Value;
    THBFocusControl::Activate(Value);
}

// Both options start switched on without installing anything; whoever
// makes the component switches them on when it wants them.
THbControl::THbControl(QObject *owner) : QObject(owner) {}

THbControl::~THbControl()
{
    FMouseWheelFix.SetActive(false);
    FFocusControl.SetActive(false);
}

void THbControl::Loaded()
{
    FMouseWheelFix.OnMouseWheel = OnMouseWheel;
}

void THbControl::SetInternetFeatures(const TInternetFeatures &Value)
{
    FInternetFeatures = Value;
    ApplyInternetFeatures();
}

// The count that ends the list names no feature and is not passed on.
void THbControl::ApplyInternetFeatures()
{
    if (FInternetFeatures.none())
        return;
    for (std::uint8_t feature = 0; feature < EntryCount; ++feature)
        SetInternetFeatureEnabled(feature, SET_FEATURE_ON_PROCESS, FInternetFeatures.test(feature));
}

TInternetFeatures THbControl::ReadInternetFeatures()
{
    TInternetFeatures features;
    for (std::uint8_t feature = 0; feature < EntryCount; ++feature)
        features.set(feature, IsInternetFeatureEnabled(feature, SET_FEATURE_ON_PROCESS) == S_OK);
    return features;
}

} // namespace vocab

#pragma once

// THbControl: the component that switches the browser host's process-wide
// fixes: the wheel fix, which moves the keyboard focus into a browser view
// the mouse wheel turns over (HbMouseHook.h), and the focus fix, which gives
// the focus back to the document when its window becomes active again
// (HbFocusControl.h). However many components there are, each fix has one
// hook; switching a fix off through any of them removes it.
//
// It also switches the browser's process-wide feature controls.

#include "HbMouseHook.h"

#include <QObject>

#include <bitset>
#include <cstdint>

namespace vocab {

class TMouseWheelFix {
public:
    TMouseWheelFix() = default;
    ~TMouseWheelFix();
    TMouseWheelFix(const TMouseWheelFix &) = delete;
    TMouseWheelFix &operator=(const TMouseWheelFix &) = delete;

    bool Active() const { return FActive; }
    void SetActive(bool Value);
    bool ActiveFormOnly() const { return FActiveFormOnly; }
    void SetActiveFormOnly(bool Value);

    // Copied to the hook when the fix is switched on.
    TMouseWheelEvent OnMouseWheel;

private:
    bool FActive = true;
    bool FActiveFormOnly = false;
    THBMouseHook *FHBMouseHook = nullptr;
};

class TFocusControl {
public:
    bool Active() const { return FActive; }
    void SetActive(bool Value);

private:
    bool FActive = true;
};

// The browser's feature controls, by the number the platform knows them by.
enum TInternetFeatureList : std::uint8_t {
    ObjectCaching, ZoneElevation, MimeHandling, MimeSniffing, WindowRestrictions, WebocPopupManagement, Behaviors,
    DisableMkProtocol, LocalMachineLockDown, Securityband, RestrictActivexInstall, ValidateNavigateUrl,
    RestrictFileDownload, AddonManagement, ProtocolLockdown, HttpUsernamePasswordDisable, SafeBindToObject,
    UncSavedFileCheck, GetUrlDomFilePathUnencoded, TabbedBrowsing, Sslux, DisableNavigationSounds,
    DisableLegacyCompression, ForceAddrAndStatus, XmlHttp, DisableTelnetProtocol, Feeds, BlockInputPrompts,
    EntryCount
};
using TInternetFeatures = std::bitset<EntryCount>;

class THbControl : public QObject {
    Q_OBJECT
public:
    explicit THbControl(QObject *owner = nullptr);
    ~THbControl() override;

    TMouseWheelFix &MouseWheelFix() { return FMouseWheelFix; }
    TFocusControl &FocusControl() { return FFocusControl; }

    // Given to the wheel fix by Loaded, for the next time it is switched on.
    TMouseWheelEvent OnMouseWheel;
    void Loaded();

    // An empty set changes nothing; any other switches on the features in
    // it and off every other one, for the whole program.
    const TInternetFeatures &InternetFeatures() const { return FInternetFeatures; }
    void SetInternetFeatures(const TInternetFeatures &Value);
    // The features the platform has on for the program.
    static TInternetFeatures ReadInternetFeatures();

private:
    void ApplyInternetFeatures();

    TMouseWheelFix FMouseWheelFix;
    TFocusControl FFocusControl;
    TInternetFeatures FInternetFeatures;
};

} // namespace vocab

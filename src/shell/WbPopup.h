#pragma once

// The right-button hook over the browser views. A right press over a browser
// component never reaches the page: a right click then leaves the page's
// selection and its scripts alone. The browser still opens its menu on the
// button's release, which is the window's own menu here; the hook shows
// none itself.

class QEvent;
class QObject;

namespace vocab {

// The module's start-up and shutdown: installed after the browser
// component's module, removed before it goes. Calls pair up.
void WbPopupInitialization();
void WbPopupFinalization();

// The hook's test of one event: true when the event is swallowed.
bool RightButtonHookProc(QObject *receiver, QEvent *event);

// The hook for the lifetime of a scope.
class WbPopupScope {
public:
    WbPopupScope() { WbPopupInitialization(); }
    ~WbPopupScope() { WbPopupFinalization(); }
    WbPopupScope(const WbPopupScope &) = delete;
    WbPopupScope &operator=(const WbPopupScope &) = delete;
};

} // namespace vocab

#pragma once

// The small vocabulary that the browser control and its host speak to each
// other: result codes, the interface root, variants, dispatch parameters and
// key messages. The numbers are the ones the host's answers are made of, so
// they stay exact; the types are plain C++ and Qt.

#include <QPoint>
#include <QString>
#include <QUuid>
#include <QVariant>
#include <QVariantList>

#include <cstdint>

class QWidget;

namespace vocab {

// A result code: 0 and 1 succeed, a set top bit is a failure.
using HRESULT = std::int32_t;

constexpr HRESULT hresult(std::uint32_t bits) { return static_cast<HRESULT>(bits); }
constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = hresult(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = hresult(0x80004002);
inline constexpr HRESULT E_FAIL = hresult(0x80004005);
inline constexpr HRESULT E_INVALIDARG = hresult(0x80070057);
inline constexpr HRESULT E_UNEXPECTED = hresult(0x8000FFFF);
inline constexpr HRESULT E_OUTOFMEMORY = hresult(0x8007000E);
inline constexpr HRESULT OLECMDERR_E_NOTSUPPORTED = hresult(0x80040100);
inline constexpr HRESULT OLECMDERR_E_DISABLED = hresult(0x80040101);
inline constexpr HRESULT OLECMDERR_E_CANCELED = hresult(0x80040103);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = hresult(0x80020003);
inline constexpr HRESULT DISP_E_EXCEPTION = hresult(0x80020009);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = hresult(0x80020006);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = hresult(0x8002000E);
inline constexpr HRESULT INET_E_USE_DEFAULT_PROTOCOLHANDLER = hresult(0x800C0011);

// The root of every interface the control and its host hand each other.
// Objects are owned by whoever made them; an interface pointer never owns.
class IInterface {
public:
    virtual ~IInterface() = default;
};

// The type library of a dispatch object. The host has none to give; the type
// exists so that the ambient dispatch can answer in its usual shape.
class ITypeInfo;

// Arguments of a dispatch call, in the order a dispatch call takes them:
// the last argument first.
struct DISPPARAMS {
    QVariantList args;
    int cArgs() const { return static_cast<int>(args.size()); }
};

// What a dispatch call that failed by exception reports.
struct EXCEPINFO {
    std::uint16_t wCode = 0;
    QString bstrSource;
    QString bstrDescription;
    std::uint32_t dwHelpContext = 0;
};

inline constexpr std::uint16_t DISPATCH_METHOD = 1;
inline constexpr std::uint16_t DISPATCH_PROPERTYGET = 2;
inline constexpr std::uint16_t DISPATCH_PROPERTYPUT = 4;

// Ambient properties the control reads from its host.
inline constexpr int DISPID_UNKNOWN = -1;
inline constexpr int DISPID_AMBIENT_USERMODE = -709;
inline constexpr int DISPID_AMBIENT_DLCONTROL = -5512;
inline constexpr int DISPID_AMBIENT_USERAGENT = -5513;

// Key messages as the control hands them to the host before acting on them.
inline constexpr std::uint32_t WM_KEYDOWN = 0x100;
inline constexpr std::uint32_t WM_KEYUP = 0x101;
inline constexpr std::uint32_t WM_SYSKEYDOWN = 0x104;
inline constexpr std::uint32_t WM_SYSKEYUP = 0x105;

// One input message. `keyState` is the state of the modifier keys when the
// message arose, which is what a handler reading the keyboard at that moment sees.
struct TMsg {
    QWidget *hwnd = nullptr;
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    Qt::KeyboardModifiers keyState;
    QPoint pt;
};

// Key and button state of a drag, as drop targets receive it.
inline constexpr int MK_LBUTTON = 0x1;
inline constexpr int MK_RBUTTON = 0x2;
inline constexpr int MK_SHIFT = 0x4;
inline constexpr int MK_CONTROL = 0x8;
inline constexpr int MK_MBUTTON = 0x10;
inline constexpr int MK_ALT = 0x20;

inline constexpr int DROPEFFECT_NONE = 0;
inline constexpr int DROPEFFECT_COPY = 1;
inline constexpr int DROPEFFECT_MOVE = 2;
inline constexpr int DROPEFFECT_LINK = 4;

inline constexpr HRESULT DRAGDROP_S_DROP = 0x40100;
inline constexpr HRESULT DRAGDROP_S_CANCEL = 0x40101;
inline constexpr HRESULT DRAGDROP_S_USEDEFAULTCURSORS = 0x40102;
inline constexpr HRESULT DRAGDROP_E_NOTREGISTERED = hresult(0x80040100);
inline constexpr HRESULT DRAGDROP_E_INVALIDHWND = hresult(0x80040102);

} // namespace vocab

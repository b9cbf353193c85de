#include "HbCore.h"

#include "AppError.h"
#include "HeaderText.h"
#include "WindowHelpers.h"

#include <QAction>
#include <QMenu>

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace vocab {

namespace {

// The class of an exception as the program names it, without its namespace.
QString exceptionClassName(const std::exception &error)
{
    const char *mangled = typeid(error).name();
    int status = -1;
    const std::unique_ptr<char, decltype(&std::free)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                                &std::free);
    const QString name = QString::fromLatin1(status == 0 && demangled ? demangled.get() : mangled);
    const qsizetype scope = name.lastIndexOf(QLatin1String("::"));
    return scope < 0 ? name : name.mid(scope + 2);
}

} // namespace

TCustomHostedBrowser::TCustomHostedBrowser(QWidget *parent, const ControlFactory &factory) : THB(parent, factory)
{
    FCanGrabFocus = true;
    FScriptErrorAction = eaContinue;
    // Through the setters, so that the sums are made and the control told.
    SetDownloadOptions({DownloadImages, DownloadVideos, DownloadBGSounds});
    SetUserInterfaceOptions({EnablesFormsAutoComplete, EnableThemes});
    FDropHandlingType = ddtMS;
    FDisableCtrlShortcuts = QStringLiteral("N");
}

TCustomHostedBrowser::~TCustomHostedBrowser()
{
    CloseControl();
}

void TCustomHostedBrowser::Announce(int dispID)
{
    if (IOleControl *control = OleControl())
        control->OnAmbientPropertyChange(dispID);
}

void TCustomHostedBrowser::SetDownloadOptions(TDownloadControlOptions Value)
{
    FDownloadControlOptions = Value;
    UpdateDownloadOptionValue();
    Announce(DISPID_AMBIENT_DLCONTROL);
}

void TCustomHostedBrowser::SetUserInterfaceOptions(TUserInterfaceOptions Value)
{
    FUserInterfaceOptions = Value;
    UpdateUserInterfaceValue();
    // The control reads the host flags at its next document; the download
    // flags it reads now.
    Announce(DISPID_AMBIENT_DLCONTROL);
}

void TCustomHostedBrowser::UpdateDownloadOptionValue()
{
    FDownloadOptionValue = flagSum(FDownloadControlOptions, DownloadControlFlags);
}

void TCustomHostedBrowser::UpdateUserInterfaceValue()
{
    FUserInterfaceValue = flagSum(FUserInterfaceOptions, UserInterfaceFlags);
}

void TCustomHostedBrowser::SetDropHandlingType(TDragDropHandlingType Value)
{
    if (Value == FDropHandlingType)
        return;
    FDropHandlingType = Value;
    QWidget *documentWindow = GetIEWin(QString::fromLatin1(WindowClass::InternetExplorerServer));
    if (documentWindow)
        Control()->RevokeDragDrop();
    IDropTarget *target = nullptr;
    switch (Value) {
    case ddtMS:
        SetRegisterAsDropTarget(true);
        break;
    case ddtMy:
        target = this;
        break;
    case ddtCustom:
        if (documentWindow) {
            target = this;
            if (OnGetDropTarget)
                OnGetDropTarget(this, target);
        }
        break;
    case ddtNo:
        SetRegisterAsDropTarget(false);
        break;
    }
    if (documentWindow && target)
        Control()->RegisterDragDrop(target);
}

IInterface *TCustomHostedBrowser::QueryInterface(const QUuid &iid)
{
    if (iid == INewWindowManager::IID)
        return static_cast<INewWindowManager *>(this);
    if (iid == IProtectFocus::IID)
        return static_cast<IProtectFocus *>(this);
    if (iid == IDownloadManager::IID)
        return static_cast<IDownloadManager *>(this);
    if (iid == IHTMLOMWindowServices::IID)
        return static_cast<IHTMLOMWindowServices *>(this);
    if (iid == IHostBehaviorInit::IID)
        return static_cast<IHostBehaviorInit *>(this);
    if (iid == IAuthenticate::IID)
        return static_cast<IAuthenticate *>(this);
    return nullptr;
}

// ---- The ambient dispatch ----

// The engine reads the ambient properties by their ids alone and never asks
// for their type information; these two answer callers of the host only.
HRESULT TCustomHostedBrowser::GetTypeInfoCount(int &pctinfo)
{
    HRESULT Rezult = THB::GetTypeInfoCount(pctinfo);
    if (OnGetTypeInfoCount)
        OnGetTypeInfoCount(this, pctinfo, Rezult);
    return Rezult;
}

HRESULT TCustomHostedBrowser::GetTypeInfo(int iTInfo, int lcid, ITypeInfo *&ppTInfo)
{
    HRESULT Rezult = THB::GetTypeInfo(iTInfo, lcid, ppTInfo);
    if (OnGetTypeInfo)
        OnGetTypeInfo(this, iTInfo, lcid, ppTInfo, Rezult);
    return Rezult;
}

HRESULT TCustomHostedBrowser::GetIDsOfNames(const QUuid &riid, const QStringList &rgszNames, int lcid,
                                            QList<int> &rgDispId)
{
    HRESULT Rezult = THB::GetIDsOfNames(riid, rgszNames, lcid, rgDispId);
    if (OnGetIDsOfNames)
        OnGetIDsOfNames(this, riid, rgszNames, static_cast<int>(rgszNames.size()), lcid, rgDispId, Rezult);
    return Rezult;
}

HRESULT TCustomHostedBrowser::Invoke(int dispIdMember, const QUuid &riid, int lcid, std::uint16_t wFlags,
                                     DISPPARAMS &pDispParams, QVariant *pVarResult, EXCEPINFO *pExcepInfo,
                                     std::uint32_t *puArgErr)
{
    constexpr HRESULT NotHandled = 1;
    try {
        HRESULT Result = NotHandled;
        if ((wFlags & DISPATCH_PROPERTYGET) && pVarResult) {
            Result = S_OK;
            switch (dispIdMember) {
            case DISPID_AMBIENT_USERAGENT: {
                Result = NotHandled;
                QString agent;
                if (FOnSetUserAgent && FOnSetUserAgent(agent) == S_OK && !agent.isEmpty()) {
                    // One line and its end: a line break inside would add a
                    // header of its own to every request.
                    *pVarResult = singleHeaderLine(agent) + QStringLiteral("\r\n");
                    Result = S_OK;
                }
                break;
            }
            case DISPID_AMBIENT_DLCONTROL:
                *pVarResult = QVariant::fromValue(FDownloadOptionValue);
                break;
            case DISPID_AMBIENT_USERMODE:
                *pVarResult = !FDesignMode;
                break;
            default:
                Result = NotHandled;
                break;
            }
        } else if ((wFlags & DISPATCH_PROPERTYPUT) && dispIdMember == DISPID_AMBIENT_USERMODE) {
            // A put without its value is refused rather than read past the arguments.
            if (pDispParams.cArgs() < 1) {
                Result = DISP_E_BADPARAMCOUNT;
            } else {
                Result = S_OK;
                FDesignMode = !pDispParams.args.first().toBool();
            }
        }
        if (Result == NotHandled) {
            Result = THB::Invoke(dispIdMember, riid, lcid, wFlags, pDispParams, pVarResult, pExcepInfo, puArgErr);
            if (Result == DISP_E_MEMBERNOTFOUND && OnInvoke)
                OnInvoke(this, dispIdMember, riid, lcid, wFlags, pDispParams, pVarResult, pExcepInfo, puArgErr, Result);
        }
        return Result;
    } catch (const std::exception &error) {
        if (pExcepInfo) {
            const auto *appError = dynamic_cast<const AppError *>(&error);
            pExcepInfo->wCode = 9999;
            pExcepInfo->bstrDescription = appError ? appError->message() : QString::fromLocal8Bit(error.what());
            pExcepInfo->bstrSource = exceptionClassName(error);
            pExcepInfo->dwHelpContext = 0;
        }
        return DISP_E_EXCEPTION;
    }
}

void DeleteMenuCommand(QMenu *Menu, int id)
{
    const QList<QAction *> actions = Menu->actions();
    for (QAction *action : actions) {
        if (QMenu *sub = action->menu())
            DeleteMenuCommand(sub, id);
        if (action->data().isValid() && action->data().toInt() == id)
            Menu->removeAction(action);
    }
}

} // namespace vocab

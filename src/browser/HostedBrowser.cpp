#include "HostedBrowser.h"

#include "HbControlComponent.h"
#include "HbToolsFind.h"
#include "HbToolsRegistry.h"
#include "HbToolsProxy.h"
#include "MailTransport.h"
#include "PlatformLibraries.h"
#include "WindowHelpers.h"

#include <QLocale>
#include <QMenu>

namespace vocab {

namespace {

const QString AboutText = QStringLiteral("THostedBrowser: the article view of Vocabulinarum over Qt WebEngine");

int g_moduleUsers = 0;

void applyFloatingPointExceptions(bool enabled)
{
    if (enabled) {
        std::fesetenv(&hostedBrowserModule().SavedFPUControlWord);
    } else {
        // Every exception masked: non-stop mode, with the flags cleared.
        std::fenv_t previous;
        std::feholdexcept(&previous);
    }
}

} // namespace

void TDisableErrors::SetfpExceptions(bool Value)
{
    applyFloatingPointExceptions(Value);
    FfpExceptions = Value;
}

THostedBrowser::THostedBrowser(QWidget *parent, const ControlFactory &factory)
    : TCustomHostedBrowser(parent, factory),
      FAbout(AboutText),
      FDisableErrors(std::make_unique<TDisableErrors>()),
      FDialogBoxes(std::make_unique<TDialogBoxes>()),
      FPrintOptions(std::make_unique<TPrintOptions>()),
      FProxySettings(std::make_unique<TProxySettings>()),
      FVisualEffects(std::make_unique<TVisualEffects>())
{
    FVisible = true;
    // Kept here; the control keeps its own setting until Silent is written.
    FSilent = true;
    FWinXPSP2orLater = IsWinXPSP2OrLater();
    FResizing = !FWinXPSP2orLater;
    FHTMLCode.OnChange = [this] { HTMLCodeChanged(); };
    FEnableMessageHandler = true;
    FWndProcSubClassed = false;
    FOnSetUserAgent = [this](QString &agent) { return SupplyUserAgent(agent); };
    FOnPreRefresh = [this](QObject *) { RehookChildWindows(); };
    ClearChildWindowHandles();
    FDestroying = false;
    FHTMLChar = 0;
    HbTools::AddShellWindow(this);
}

// What could still reach the host goes first: the control's callbacks and
// the parent form's hook, which reads the option objects. Only then are
// those freed (with the members).
THostedBrowser::~THostedBrowser()
{
    FDestroying = true;
    HbTools::RemoveShellWindow(this);
    FTextRange.reset();
    FSearchTxtRange.reset();
    FWindowEvents.reset();
    UnhookChildWindows();
    CloseControl();
    UnhookParentForm();
    RestoreRegistryUserAgent();
    if (FVisualEffects->TextSize != 2)
        SetZoom(2);
}

void THostedBrowser::LoadSettings()
{
    SetModified(true);
    // The margins stay in millimetres whatever the locale: only the page-
    // setup dialog shows them in the locale's unit.
    FRuntimeMeasure = GetLocaleMeasure();
    FEnableMessageHandler = true;
    if (!FWndProcSubClassed) {
        SubclassWindowProc();
        FWndProcSubClassed = true;
    }
    // No security or zone manager is made here: the engine has none.
    if (FDisableErrors->ScriptErrorsSuppressed)
        SetScriptErrorAction(eaContinue);
    FDisableErrors->SetfpExceptions(FDisableErrors->fpExceptions());
    HookParentForm();
    if (FProxySettings->AutoLoadProxy)
        RefreshProxy();
    if (FVisualEffects->DisableSounds) {
        DisableNavSound(true);
        hostedBrowserModule().NavSoundDisabled = true;
    }
}

bool THostedBrowser::VariantIsObject(const QVariant &value)
{
    return value.isValid() && (value.metaType().flags() & (QMetaType::PointerToQObject | QMetaType::IsPointer));
}

bool THostedBrowser::Silent() const
{
    return DefaultInterface()->Silent();
}

void THostedBrowser::SetSilent(bool value)
{
    FSilent = value;
    DefaultInterface()->SetSilent(value);
}

void THostedBrowser::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    QWidget::setVisible(value);
}

void THostedBrowser::SetName(const QString &value)
{
    if (value == FName)
        return;
    setObjectName(value);
    FName = value;
}

QWidget *THostedBrowser::HWND() const
{
    if (QWidget *document = GetIEWin(QString::fromLatin1(WindowClass::InternetExplorerServer)))
        return document;
    return GetIEWin(QString::fromLatin1(WindowClass::SysListView32));
}

void THostedBrowser::SetModified(bool)
{
    if (FModified || ReadyState() != READYSTATE_COMPLETE)
        return;
    if (IHTMLDocument2 *doc = Doc2())
        FModified = doc->queryCommandEnabled(QStringLiteral("Undo"));
}

bool THostedBrowser::DesignMode() const
{
    IHTMLDocument2 *doc = Doc2();
    return doc && doc->designMode() == QLatin1String("On");
}

void THostedBrowser::SetDesignMode(bool value)
{
    if (IHTMLDocument2 *doc = Doc2())
        doc->setDesignMode(value ? QStringLiteral("On") : QStringLiteral("Off"));
}

HRESULT THostedBrowser::GetHostInfo(DOCHOSTUIINFO &Info)
{
    const HRESULT result = TCustomHostedBrowser::GetHostInfo(Info);
    // Only where the inherited answer (or its event) left none.
    if (Info.pchHostCss.isEmpty() && !FHostCSS.isEmpty())
        Info.pchHostCss = FHostCSS;
    // The engine reads the style sheet; it has no namespaces for HostNS.
    if (Info.pchHostNS.isEmpty() && !FHostNS.isEmpty())
        Info.pchHostNS = FHostNS;
    return result;
}

bool THostedBrowser::HasPopupMenuFilter() const
{
    return TCustomHostedBrowser::HasPopupMenuFilter() || !FDisabledPopupMenuItems.empty();
}

void THostedBrowser::FilterPopupMenu(QObject *Sender, std::uint32_t ID, QMenu *Menu, const ContextMenuContext *Context)
{
    TCustomHostedBrowser::FilterPopupMenu(Sender, ID, Menu, Context);
    for (int i = 0; i < IEPopupMenuItemCount; ++i)
        if (FDisabledPopupMenuItems.contains(static_cast<TIEPopupMenuItem>(i)))
            DeleteMenuCommand(Menu, MenuItemCommandIds[static_cast<std::size_t>(i)]);
}

TMeasure GetLocaleMeasure()
{
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? mUS : mMetric;
}

namespace {

std::fenv_t defaultFloatingPointEnvironment()
{
    // The environment the program starts with, not the one in force now.
    std::fenv_t current;
    std::fenv_t initial;
    std::fegetenv(&current);
    std::fesetenv(FE_DFL_ENV);
    std::fegetenv(&initial);
    std::fesetenv(&current);
    return initial;
}

} // namespace

HostedBrowserModuleState::HostedBrowserModuleState() : SavedFPUControlWord(defaultFloatingPointEnvironment()) {}

HostedBrowserModuleState &hostedBrowserModule()
{
    static HostedBrowserModuleState state;
    return state;
}

void InitializeHostedBrowser()
{
    if (g_moduleUsers++ > 0)
        return;
    HostedBrowserModuleState &module = hostedBrowserModule();
    module.SavedFPUControlWord = defaultFloatingPointEnvironment();
    module.ProxyWasSet = false;
    module.NavSoundDisabled = false;
    module.OleInitializedByUnit = OleInitialize() == S_OK;
    module.GlobalHbControl = std::make_unique<THbControl>();
    module.GlobalHbControl->FocusControl().SetActive(true);
    module.GlobalHbControl->MouseWheelFix().SetActive(true);
    // Copies for the mail client that the runs before left.
    DesktopMailTransport::removeCopies();
    module.Initialized = true;
}

void FinalizeHostedBrowser()
{
    if (g_moduleUsers == 0 || --g_moduleUsers > 0)
        return;
    HostedBrowserModuleState &module = hostedBrowserModule();
    // A proxy the program set is its own, taken back as it ends.
    if (module.ProxyWasSet)
        HbTools::RemoveProxy();
    module.ProxyWasSet = false;
    // The sound a component's loading switched off comes back the same way.
    if (module.NavSoundDisabled)
        HbTools::SwitchNavSound(false, HbTools::GetIEMajorVersion());
    module.NavSoundDisabled = false;
    std::fesetenv(&module.SavedFPUControlWord);
    if (module.OleInitializedByUnit)
        OleUninitialize();
    module.OleInitializedByUnit = false;
    module.GlobalHbControl.reset();
    // The copies of the files of mails composed meanwhile stay: a compose
    // window still open reads them only when the user sends. The next
    // start sweeps them.
    module.Initialized = false;
}

THostedBrowser *CreateArticleView(QWidget *parent, QMenu *popupMenu)
{
    auto *view = new THostedBrowser(parent);
    view->SetName(QStringLiteral("Emb"));
    view->SetDisabledPopupMenus(TIEPopupMenus{rcmAll});
    view->SetPopupMenu(popupMenu);
    view->SetDisableCtrlShortcuts(QStringLiteral("N"));
    view->LoadSettings();
    return view;
}

} // namespace vocab

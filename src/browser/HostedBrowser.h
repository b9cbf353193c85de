#pragma once

// THostedBrowser: the browser component a window places on itself. It adds
// to the hosting core its option objects, the settings applied once its
// properties are set (LoadSettings), the host style sheet and namespace,
// the filtering of the browser's own context menu, the user agent, and the
// module's start-up and shutdown (InitializeHostedBrowser and
// FinalizeHostedBrowser, or a HostedBrowserModuleScope that calls both).

#include "HbCore.h"
#include "HbWindowMessages.h"
#include "HbToolsFrames.h"
#include "HbToolsLoading.h"

#include <QPointer>
#include <QStringConverter>
#include <QVariant>
#include <QStringList>

#include <array>
#include <cfenv>
#include <functional>
#include <memory>

class QImage;
class QIODevice;

namespace vocab {

class THbControl;

enum TUserAgentMode : std::uint8_t { uaDefault, uaInternal, uaRegistry };
enum TMeasure : std::uint8_t { mMetric, mUS, mUnknown };
enum TPrintOrientationOption : std::uint8_t { poPortrait, poLandScape };

// Page margins, in the unit of the measurement system.
struct TMargins {
    double Left = 0;
    double Right = 0;
    double Top = 0;
    double Bottom = 0;
};

struct TPrintOptions {
    bool Enabled = false;
    QStringList HTMLHeader{QStringLiteral("<HTML></HTML>")};
    QString Header;
    QString Footer;
    TMargins Margins;
    TPrintOrientationOption Orientation = poPortrait;
    bool HideSetup = false;
    TMeasure Measure() const { return FMeasure; }

private:
    friend class THostedBrowser;
    TMeasure FMeasure = mMetric;
};

struct TProxySettings {
    int Port = 80;
    QString Address;
    QString UserName;
    QString Password;
    QString UserAgent;
    bool AutoLoadProxy = false;
};

struct TDialogBoxes {
    bool DisableAll = false;
    bool ReplaceCaption = true;
    bool ReplaceIcon = true;
    QString NewCaption;
};

class TDisableErrors {
public:
    bool EnableDDE = true; // read by nothing
    bool ScriptErrorsSuppressed = true;

    bool fpExceptions() const { return FfpExceptions; }
    // True: the floating-point environment the program started with; false:
    // every floating-point exception masked. On this system both mask them
    // all, which the web engine relies on.
    void SetfpExceptions(bool Value);

private:
    friend class THostedBrowser;
    bool FfpExceptions = true;
};

struct TVisualEffects {
    bool DisableSounds = false;
    int TextSize = 2;
};

// Command ids of the items of the browser's own context menu, by TIEPopupMenuItem.
inline constexpr std::array<int, IEPopupMenuItemCount> MenuItemCommandIds{
    IDM_GOBACKWARD,    IDM_GOFORWARD,   IDM_SAVEBACKGROUND, IDM_SETWALLPAPER, IDM_COPYBACKGROUND, IDM_SETDESKTOPITEM,
    IDM_SELECTALL,     IDM_PASTE,       IDM_CREATESHORTCUT, IDM_ADDFAVORITES, IDM_LANGUAGE,       IDM_REFRESH,
    IDM_VIEWSOURCE,    IDM_PROPERTIES,  IDM_PRINT,          IDM_FOLLOWLINKN,  IDM_FOLLOWLINKC,
};

class THostedBrowser : public TCustomHostedBrowser {
    Q_OBJECT
public:
    explicit THostedBrowser(QWidget *parent = nullptr, const ControlFactory &factory = {});
    ~THostedBrowser() override;

    // Applies the run-time settings; call it once the properties are set.
    void LoadSettings();

    // Published properties.
    bool Silent() const;
    void SetSilent(bool value);
    const QString &About() const { return FAbout; }
    void SetAbout(const QString &) {}
    const QString &HostCSS() const { return FHostCSS; }
    void SetHostCSS(const QString &value) { FHostCSS = value; }
    const QString &HostNS() const { return FHostNS; }
    void SetHostNS(const QString &value) { FHostNS = value; }
    bool EnableMessageHandler() const { return FEnableMessageHandler; }
    void SetEnableMessageHandler(bool value) { FEnableMessageHandler = value; }
    TIEPopupMenuItems DisabledPopupMenuItems() const { return FDisabledPopupMenuItems; }
    void SetDisabledPopupMenuItems(TIEPopupMenuItems value) { FDisabledPopupMenuItems = value; }
    TDisableErrors &DisableErrors() { return *FDisableErrors; }
    TDialogBoxes &DialogBoxes() { return *FDialogBoxes; }
    TPrintOptions &PrintOptions() { return *FPrintOptions; }
    TProxySettings &ProxySettings() { return *FProxySettings; }
    TVisualEffects &VisualEffects() { return *FVisualEffects; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    const QString &UserAgent() const { return FUserAgent; }
    void SetUserAgent(const QString &value);
    TUserAgentMode UserAgentMode() const { return FUserAgentMode; }
    void SetUserAgentMode(TUserAgentMode value);

    // Public properties.
    const QString &Name() const { return FName; }
    void SetName(const QString &value);
    // The document window, or null.
    QWidget *HWND() const;
    QWidget *Parent() const { return parentWidget(); }
    bool Resizable() const { return FResizable; }
    void SetResizable(bool value) { FResizable = value; }
    QStringConverter::Encoding Encoding() const { return FEncoding; }
    void SetEncoding(QStringConverter::Encoding value) { FEncoding = value; }
    // Whether the document has been edited; once true it stays true.
    bool Modified() const { return FModified; }
    void SetModified(bool value);
    // The document's own edit mode (the ambient one is TCustomHostedBrowser::DesignMode).
    bool DesignMode() const;
    void SetDesignMode(bool value);

    // The user agent the control asks for.
    HRESULT SupplyUserAgent(QString &UserAgent);

    HRESULT GetHostInfo(DOCHOSTUIINFO &Info) override;

    // Whether the value holds an object (a pointer to one: a document, an
    // element, a window) rather than plain data.
    static bool VariantIsObject(const QVariant &value);

    // What the component has no counterpart for here:
    // - a protocol handler: the engine serves its schemes itself, and the
    //   component would register itself for none, so no call would come;
    // - the security and zone managers that loading the settings would make:
    //   the engine has no such managers to hand out;
    // - the helpers over item-id lists (the next item, the size of a list):
    //   there is no shell namespace, so no such list is navigated to.

    // ---- Window procedure, child windows and dialogs (HostedBrowserWindow.cpp, HostedBrowserDialogs.cpp) ----
    using TKeyEventEx = std::function<void(QObject *Sender, std::uint16_t &Key, std::uint16_t ScanCode, Qt::KeyboardModifiers Shift)>;
    std::function<void(QObject *Sender, bool &CanClose)> OnCloseQuery;
    std::function<void(QObject *Sender, TMessage &Msg, bool &Handled)> OnMessage;
    std::function<void(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)> OnClick;
    std::function<void(QObject *ASender, bool Visible)> OnVisible;
    TKeyEventEx OnKeyDown;
    TKeyEventEx OnKeyUp;
    // A dialog took the activation from the form: its window, extended style
    // (always 0 here), caption, and DialogBoxes' NewCaption and DisableAll to change.
    std::function<void(QObject *Sender, QWidget *h, int StyleEx, const QString &OldCaption, QString &NewCaption, bool &Cancel)>
        OnShowDialog;

    // The component's window procedure, once LoadSettings has made it the
    // component's; before that, messages get the inherited handling only.
    virtual void WndProc(TMessage &Message);
    // Arrow keys in a folder view; the engine shows folders as pages, so there is never one.
    bool MoveListViewSelection(std::uint16_t Key, Qt::KeyboardModifiers Shift);
    // Re-captions, suppresses or pre-fills a dialog that takes the activation from the hooked form.
    void HandleIEDialog(QWidget *Dialog);
    // The focus, only when the component can take it.
    void SetFocus();
    bool CanFocus() const;
    // The form whose dialogs this component watches; null when another component does.
    QWidget *HookedParentForm() const { return FParentForm; }
    // ---- The browser tools ----
    // User agent (HostedBrowserUserAgent.cpp): the control's about box.
    void ShowAboutBox();

    // Loading, saving and navigation (HostedBrowserLoading.cpp). Loads and
    // saves answer 0, 1 for no document or frame, or the failing call's
    // result code; the text of a page becomes bytes in Encoding().
    // HTMLCode loads itself at every change: one line that reads as an
    // address is gone to, anything else is loaded as the page.
    TNotifyStringList &HTMLCode() { return FHTMLCode; }
    void SetHTMLCode(const QStringList &value) { FHTMLCode.Assign(value); }
    HRESULT LoadFromString(const QString &St); // throws EOleException when the load fails
    HRESULT LoadFromWideString(const QString &WideSt);
    HRESULT LoadFromFile(const QString &FileName); // throws FileError for a file it cannot read
    void LoadFromImage(const QImage &Image);
    HRESULT LoadFromStrings(const QStringList &AStrings);
    HRESULT LoadFromStrings(const QStringList &AStrings, bool AddHtmlTags);
    HRESULT LoadFromStream(QIODevice &AStream);
    HRESULT LoadFrameFromStrings(std::uint16_t FrameNo, const QStringList &AStrings);
    HRESULT LoadFrameFromStream(int FrameNo, QIODevice &AStream);
    HRESULT SaveToFile(const QString &FileName);
    HRESULT SaveToStream(QIODevice &AStream);
    HRESULT SaveToStrings(QStringList &AStrings);
    HRESULT SaveFrameToFile(std::uint16_t FrameNo, const QString &FileName);
    HRESULT SaveFrameToStream(int FrameNo, QIODevice &AStream);
    HRESULT SaveFrameToStrings(int FrameNo, QStringList &AStrings);
    // Waits, handling every event, until no page is on its way; TimeOut in
    // milliseconds, 0 for none. False when stopped by the time-out or by
    // OnBusyWait's Cancel.
    bool Wait(std::uint32_t TimeOut);
    bool WaitWhileBusy(std::uint32_t TimeOut);
    bool Go(const QString &Url, std::uint32_t TimeOut);
    bool NavigateWait(const QString &URL, std::uint32_t TimeOut);
    void NavigateFolder(int CSIDL);
    void NavigatePidl(const QByteArray &pidl);
    // The document of a frame down a comma-separated list of frame numbers;
    // the page's own for an empty list; null where the way ends.
    DocumentRef NavigateToFrame(const QString &FrameList);
    bool DownloadFile(const QString &SourceFile, const QString &DestFile);
    QString GetIEHomePage() const;
    void AssignEmptyDocument(bool bWait);
    bool DocumentLoaded(IHTMLDocument2 *&Doc2) const;
    bool DocumentLoaded() const;
    IHTMLDocument2 *GetDocument();
    std::function<void(THostedBrowser *Sender, std::uint32_t AStartTime, std::uint32_t &TimeOut, bool &Cancel)> OnBusyWait;

    // Page setup (HostedBrowserPageSetup.cpp).
    bool ReadPageSetup();
    QString MarginToText(double Value) const;

    // Frames, selection and edit commands (HostedBrowserFrames.cpp).
    std::unique_ptr<IWebBrowser2> GetFrame(std::uint16_t FrameNo);
    std::unique_ptr<IWebBrowser2> GetFrameFromDocument(IHTMLDocument2 *SourceDoc, int FrameNo);
    DocumentRef GetActiveFrame();
    DocumentRef GetActiveFrame(IHTMLDocument2 *Doc);
    std::unique_ptr<IHTMLElement> GetActiveElement(IHTMLDocument2 *Doc);
    QString GetSelectedText(bool ReturnAsHTML, bool bOnlyTopLevel);
    int GetSelLength(bool bOnlyTopLevel);
    void RefreshFrame(std::uint16_t FrameNo);
    bool IsCommandEnabled(const QString &sCmdId);
    QVariant QueryCommandValue(const QString &sCmdId);
    bool Cut();
    bool Copy();
    bool Paste();
    bool PasteSpecial();
    bool Undo();
    bool Redo();
    bool SelectAll();
    bool ClearSelection();
    bool Delete();
    void Stop();
    void GoBack();
    void GoForward();
    HRESULT InvokeCMD(bool InvokeIE, int Value1, int Value2, QVariant &vaIn, QVariant &vaOut);
    void InvokeIEServerCommand(int Cmd);
    void ShowImportExportFavoritesAndCookies();
    static QWidget *GetIEHandle(THostedBrowser *WebBrowser, const QString &ClassName);

    // URL routines (HbToolsUrl.h).
    QString EncodeUrl(const QString &InputStr, bool bQueryStr) const;
    QString DecodeUrl(const QString &InputStr) const;
    bool IsValidProtocol(const QString &URL) const;
    bool ImportCertFile(const QString &FileName, const QString &StoreType) const;

    // Document inspection (HbToolsDocument.h, HbToolsPicture.h); some wait
    // for the page first.
    QString GetWordAtCursor(int X, int Y);
    void ScrollToIDEx(const QString &ID);
    void ScrollToID(int ID);
    bool HScrollBarVisible();
    bool VScrollBarVisible();
    int HScrollBarPosition();
    int VScrollBarPosition();
    QString DocumentSource();
    QString DocumentSourceText();
    bool AddHtmlToAboutBlank(const QString &StringToHtml);
    int FrameCount();
    int FrameCountFromDocument(IHTMLDocument2 *SourceDoc);
    QString GetCookie();
    void ScrollToTop();
    void ScrollToBottom();
    void ScrollToPosition(int X, int Y);
    bool SetCharartersSet(const QString &ACharactersSet, bool Refresh);
    void GetThumbnail(QImage *Image);
    bool GetBmpFromBrowser(const QString &FileName);
    bool GetJpegFromBrowser(const QString &FileName, int SourceHeight, int SourceWidth, int TargetHeight, int TargetWidth);
    void ViewPageSourceText();
    void ViewPageSourceTextToStrings(QStringList &TextList);
    void ViewPageSourceHtmlToStrings(QStringList &HtmlList);
    void ViewPageLinksToStrings(QStringList &LinksList);
    // ---- end of the browser tools ----

protected:
    bool HasPopupMenuFilter() const override;
    void FilterPopupMenu(QObject *Sender, std::uint32_t ID, QMenu *Menu, const ContextMenuContext *Context) override;
    bool event(QEvent *event) override;

private:
    void ApplyUserAgentMode();
    void ApplyRegistryUserAgent();
    void ApplyInternalUserAgent();
    void RestoreRegistryUserAgent();
    void WithdrawInternalUserAgent();

    // The proxy and the navigation sound come with their own work; these are
    // where they go in and out, and they do nothing yet.
    void RefreshProxy() {}
    void DisableNavSound(bool) {}

    // Window procedure, child windows and the parent form's dialogs.
    friend class HbWindowEvents;
    friend class HbChildWindowHook;
    void SubclassWindowProc();
    void DispatchMessage(TMessage &Message);
    void DefaultHandler(TMessage &Message);
    void WMFocusDocument(TMessage &Message);
    void WMSetFocus(TMessage &Message);
    void CMVisibleChanged(TMessage &Message);
    // Passes the input of the document window to the window procedure.
    bool DocumentWindowEvent(QObject *watched, QEvent *event);
    void ClearChildWindowHandles();
    void HookChildWindows();
    void UnhookChildWindows();
    void RehookChildWindows();
    void ChildWindowFocused(QWidget *child);
    void HookParentForm();
    void UnhookParentForm();
    bool ParentFormWndProc(QEvent *event);

    // Set by the inherited handling of the message under way.
    bool FPassedOn = false;
    std::unique_ptr<QObject> FWindowEvents;
    std::unique_ptr<QObject> FChildWindowHook;
    QPointer<QWidget> FShellDocObjViewHandle;
    QPointer<QWidget> FInetExplorerServerHandle;
    std::unique_ptr<QObject> FParentFormHook;
    QPointer<QWidget> FParentForm;
    // The browser tools' own state.
    void HTMLCodeChanged();
    bool LoadUnderWay() const;
    bool ControlBusy() const { return Busy(); }
    bool WaitWhile(std::uint32_t TimeOut, bool (THostedBrowser::*Pending)() const);
    HRESULT LoadIntoDocument(const QByteArray &Bytes);
    DocumentRef FrameDocument(int FrameNo);
    TNotifyStringList FHTMLCode;

    QString FAbout;
    std::unique_ptr<TDisableErrors> FDisableErrors;
    TIEPopupMenuItems FDisabledPopupMenuItems;
    std::unique_ptr<TDialogBoxes> FDialogBoxes;
    bool FDestroying = false;
    bool FEnableMessageHandler = true;
    QString FHostNS;
    QString FHostCSS;
    bool FModified = false;
    bool FSilent = true;
    QString FName;
    std::unique_ptr<TPrintOptions> FPrintOptions;
    std::unique_ptr<TProxySettings> FProxySettings;
    TMeasure FRuntimeMeasure = mMetric;
    QString FUserAgent;
    QString FUserAgentReg;
    QString FUserAgentInt;
    TUserAgentMode FUserAgentMode = uaDefault;
    bool FUserAgentRegSet = false;
    bool FVisible = true;
    std::unique_ptr<TVisualEffects> FVisualEffects;
    bool FResizing = false;
    bool FWinXPSP2orLater = false;
    bool FWndProcSubClassed = false;
    QStringConverter::Encoding FEncoding = QStringConverter::System;
    bool FResizable = false;
};

// The user locale's measurement system.
TMeasure GetLocaleMeasure();

// ---- The module ----

// The process-wide state of the browser component's module, from
// InitializeHostedBrowser to FinalizeHostedBrowser.
struct HostedBrowserModuleState {
    HostedBrowserModuleState();
    // The floating-point environment the program starts with. Taken when the
    // state is first used, so that a component used before the module's
    // start-up never puts a blank environment (every exception unmasked) in force.
    std::fenv_t SavedFPUControlWord;
    std::unique_ptr<THbControl> GlobalHbControl;
    bool OleInitializedByUnit = false;
    bool NavSoundDisabled = false;
    bool ProxyWasSet = false;
    bool ParentFormHooked = false;
    bool PageSetupPrefillPending = false;
    bool Initialized = false;
};
HostedBrowserModuleState &hostedBrowserModule();

// The module's start-up and shutdown, in place of a unit's initialization
// and finalization: start-up once the QApplication exists and before any
// browser component; shutdown after the last component has gone and before
// the QApplication goes. Calls pair up; only the outermost pair does work.
void InitializeHostedBrowser();
void FinalizeHostedBrowser();

// The module for the lifetime of a scope: make it right after the
// QApplication, in the same scope, before the windows.
class HostedBrowserModuleScope {
public:
    HostedBrowserModuleScope() { InitializeHostedBrowser(); }
    ~HostedBrowserModuleScope() { FinalizeHostedBrowser(); }
    HostedBrowserModuleScope(const HostedBrowserModuleScope &) = delete;
    HostedBrowserModuleScope &operator=(const HostedBrowserModuleScope &) = delete;
};

// Builds a browser component the way the main window carries it as Emb:
// every kind of the browser's own context menu replaced by `popupMenu`,
// Ctrl+N kept from opening a window, and the run-time settings applied.
THostedBrowser *CreateArticleView(QWidget *parent, QMenu *popupMenu);

} // namespace vocab

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
#include "HbToolsScript.h"
#include "HbToolsZones.h"

#include <QPointer>
#include <QStringConverter>
#include <QVariant>
#include <QStringList>

#include <array>
#include <cfenv>
#include <functional>
#include <memory>

class QIcon;
class QImage;
class QIODevice;

namespace vocab {

class THbControl;
class IShellFolder;

enum TUserAgentMode : std::uint8_t { uaDefault, uaInternal, uaRegistry };
enum TMeasure : std::uint8_t { mMetric, mUS, mUnknown };
enum TPrintOrientationOption : std::uint8_t { poPortrait, poLandScape };
enum TSearchDirections : std::uint8_t { sdDown, sdUp };
enum TSearchResult : std::uint8_t { srNotFound, srEndOf, srFound };
using TSearchResults = TSet<TSearchResult, srFound + 1>;

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

// The program's proxy (HbToolsProxy.h). Each of the methods sets the proxy
// and leaves in the module's ProxyWasSet whether it was set, so that a
// proxy still set when the module ends is removed then.
struct TProxySettings {
    int Port = 80;
    QString Address;
    QString UserName;
    QString Password;
    QString UserAgent;
    bool AutoLoadProxy = false;

    bool SetProxy(const QString &AUserAgent, const QString &AAddress);
    bool SetProxy(const QString &AUserAgent, const QString &AAddress, const QString &AUserName, const QString &APassword,
                  int APort);
    bool SetProxyFromPAC(const QString &AUserAgent, const QString &PACFile);
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

    // Printing (HostedBrowserPrinting.cpp, HbToolsPrinting.h), with the
    // settings of PrintOptions. Print sends PrintOptions' header and footer
    // only while PrintOptions is not Enabled; enabled, the page setup's own
    // are printed. PageSetup(true) has the dialog filled from PrintOptions
    // when they are Enabled.
    void Print();
    void PrintWithOptions();
    bool PageSetup(bool UsePrintOptions);
    void PrintSetup();
    void PrintPreview();
    void PrintPreviewExtended(int nCMDShow);
    void PrintPreviewFromTemplate(const QString &TemplateFileName);

    // Browser dialogs (HostedBrowserStandardDialogs.cpp, HbToolsDialogs.h):
    // the file dialogs owned by the component, the browser's own commands
    // over the document, the favourites folder, the page's pictures and
    // text saved, a folder opened, the address command, and a program of a
    // kind started (HbToolsPrinting.h).
    bool OpenDialog();
    bool SaveDialog();
    // Note the order: the filter first, then the title.
    QString SaveDialogEx(const QString &AFilter, const QString &ATitle);
    bool ShowInternetOptions();
    bool ShowPageProperties();
    bool ShowOrganizeFavorites();
    bool ShowFindDialog();
    void SaveImagesDialog();
    bool ViewPageSourceHtml();
    void SavePageTextDialog();
    bool OpenClient(const QString &Client);
    void ExploreFolder(const QString &Path);
    void OpenIEBrowserWithAddress();

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

    // Favourites, shell folders and mail links (HostedBrowserFavorites.cpp,
    // HbToolsFavorites.h).
    void AddToFavorites(const QString &URL, const QString &Title);
    QString GetCookiesPath();
    QString GetHistoryPath();
    QString GetFavoritesPath();
    QString GetDefaultBrowserFromRegistry();
    QString GetSpecialFolderPath(QWidget *CallerHandle, int CSIDL);
    QString GetCachedFileFromURL(const QString &ItemUrl);
    QString URLFromFavorites(const QString &dotURL);
    QString UrlFromHistory(IShellFolder *ShellFolder, const QByteArray &pidl);
    bool GetIPAndHostName(QString &HostName, QString &IPaddr, QString &WSAErr);
    void CreateNewMail();
    // Mails the page's address, its title as the subject, through the mail client's compose window.
    void SendURLInMail();

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

    // Script in the page (HostedBrowserScript.cpp, HbToolsScript.h).
    void ExecScript(const QString &sExpression, const QString &sLanguage);
    QVariant ExecScriptEx(const QString &FunctionName, const TVarRecList &Params);

    // Registry places, the commands of the component's window and the
    // navigation sound (HostedBrowserRegistry.cpp, HbToolsRegistry.h).
    void RestoreApplicationFormSize();
    void SaveApplicationFormSize();
    void ShowIEVersionInfo();
    void CreateDesktopShortcut();
    void SetNewHomePage(const QString &HomePage);
    bool GetLastVisitedPage(QString &LastVisitedPage);
    bool SaveLastVisitedPage();
    // Switches the navigation sound off (true) or on again. The engine makes
    // no such sound, so the switch changes only the platform's keys of the
    // sound scheme in the registry, for the browser version this reads.
    void DisableNavSound(bool bDisable);

    // Navigation variants, search engines and downloads
    // (HostedBrowserNavigation.cpp, HbToolsNavigation.h).
    void GoSearchInGoogle(const QString &SearchTerm);
    void GoSearchInMSN(const QString &SearchTerm);
    void GoSearchInYahoo(const QString &SearchTerm);
    void GoDownloadFile(const QString &URL);
    void GoDownloadMaskedFile(const QString &SourceFile, const QString &TargetFile, bool Notify);
    void GoWithQueryDetails(const QString &Url, const QString &Query);
    void GoNoHistory(const QString &URL);
    void GoAboutBlank();
    void SendPageInMailAsAttachment(QObject *aOwner, const QString &FileName, const QString &Subject, const QString &Body);

    // Find, highlight and form filling (HostedBrowserFind.cpp, HbToolsFind.h).
    // SearchText looks from the body's second character on, with iPos as
    // the find flags; SearchAndHighlight waits for the page first.
    std::unique_ptr<IHTMLTxtRange> SearchText(const QString &Value, int iPos);
    bool SearchString(const QString &strText);
    void SearchAndHighlight(const QString &ACaption, const QString &APrompt, const QString &aText, bool ShowInputQuery);
    bool FillForm(const QString &FieldName, const QString &Value);
    QString GetFieldValue(const QString &FieldName);
    void FillFormAndExcecute();
    // Steps to the next occurrence of the text in the direction, from where
    // the last step of the same text (letter case ignored) left off, and
    // selects it when AutoSelect. srEndOf joins srNotFound when the step
    // before went the same way. A new text, or a new page, starts over:
    // down from the top of the body, up from its end.
    TSearchResults SearchNextText(const QString &Value, TSearchDirections Direction, bool AutoSelect);

    // History, cache and connection state (HostedBrowserNetwork.cpp,
    // HbToolsHistory.h), for the whole program.
    void ClearCache();
    void ClearTypedUrls();
    void ClearHistory();
    bool CheckOnlineStatus();
    bool IsGlobalOffline();
    void WorkOnline();
    void WorkOffline();

    // Proxy (HostedBrowserNetwork.cpp, HbToolsProxy.h): sets ProxySettings'
    // proxy, with its user name and password when it has a user name, else
    // at Address:Port.
    void RefreshProxy();

    // Security zones (HostedBrowserZones.cpp, HbToolsZones.h).
    void AddToRestrictedSiteList(const QString &URL);
    void AddToTrustedSiteList(const QString &URL);
    bool CheckIfInTrustedList(const QString &Host, bool SecureSite);
    bool CheckIfInRestricredList(const QString &Host, bool SecureSite);
    void GetZoneIcon(const QString &IconPath, QIcon &Icon);
    // The zone of URL, or of the current address when URL is empty.
    ZONEATTRIBUTES GetZoneAttributes(const QString &URL);
    bool GetZoneIconToForm();
    bool GetSSLStatus(QString &SSLName, QString &SSLDescription);
    bool GetURLSecurityZone(QString &ZoneName, QString &ZoneDescription, QIcon *Icon);
    // ---- end of the browser tools ----

protected:
    // A range for components built on this one; nothing here uses it.
    std::unique_ptr<IHTMLTxtRange> FSearchTxtRange;

    bool HasPopupMenuFilter() const override;
    void FilterPopupMenu(QObject *Sender, std::uint32_t ID, QMenu *Menu, const ContextMenuContext *Context) override;
    bool event(QEvent *event) override;

private:
    void ApplyUserAgentMode();
    void ApplyRegistryUserAgent();
    void ApplyInternalUserAgent();
    // Tells the control unless `announce` is false, for a caller that tells it next.
    void RestoreRegistryUserAgent(bool announce = true);
    void WithdrawInternalUserAgent();

    // Window procedure, child windows and the parent form's dialogs.
    friend class HbWindowEvents;
    friend class HbChildWindowHook;
    void SubclassWindowProc();
    void DispatchMessage(TMessage &Message);
    void DefaultHandler(TMessage &Message);
    void WMFocusDocument(TMessage &Message);
    void WMCommand(TMessage &Message);
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
    // Brings the empty page when there is no document yet, and waits for it.
    // What runs during the wait may destroy the component, or begin to:
    // false then, and the component must not be touched.
    bool DocumentOrEmptyPage();
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

    // The state of SearchNextText: the text, its range, 0 after a step that
    // found nothing (or for a new text) else the direction of the last find
    // plus one, the direction of the last step, and the page the range
    // belongs to.
    QString FSearchText;
    std::unique_ptr<IHTMLTxtRange> FTextRange;
    char16_t FHTMLChar = 0;
    TSearchDirections FLastSearchDirection = sdDown;
    QVariant FSearchDocument;
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

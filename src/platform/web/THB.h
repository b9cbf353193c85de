#pragma once

// THB: the wrapper of the browser control. A widget that holds the control,
// is its client site, passes its navigation interface through and turns the
// control's events into assignable handlers. The hosting core derives from
// it and answers the control's hosting callbacks.

#include "HostInterfaces.h"
#include "WebBrowser.h"

#include <QMenu>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

namespace vocab {

class THB;

// Makes the control a THB holds. The default makes the Qt WebEngine control;
// tests hand in one that needs no engine.
using ControlFactory = std::function<std::unique_ptr<WebBrowserControl>(
    QWidget *container, IOleClientSite *site, DWebBrowserEvents2 *events)>;

class THB : public QWidget, public IOleClientSite, public IDispatch, public DWebBrowserEvents2 {
    Q_OBJECT
public:
    explicit THB(QWidget *parent = nullptr, const ControlFactory &factory = {});
    ~THB() override;

    THB(const THB &) = delete;
    THB &operator=(const THB &) = delete;

    // The control's interfaces.
    IWebBrowser2 *DefaultInterface() const { return m_control.get(); }
    IOleControl *OleControl() const { return m_control.get(); }
    IOleObject *OleObject() const { return m_control.get(); }
    WebBrowserControl *Control() const { return m_control.get(); }

    // Navigation, passed to the control.
    void Navigate(const QString &URL, const QVariant &Flags = {}) { m_control->Navigate(URL, Flags); }
    void Navigate2(const QVariant &URL, const QVariant &Flags = {}, const QVariant &TargetFrameName = {},
                   const QVariant &PostData = {}, const QVariant &Headers = {})
    {
        m_control->Navigate2(URL, Flags, TargetFrameName, PostData, Headers);
    }
    void GoBack() { m_control->GoBack(); }
    void GoForward() { m_control->GoForward(); }
    void Refresh() { m_control->Refresh(); }
    void Refresh2(int level) { m_control->Refresh2(level); }
    void Stop() { m_control->Stop(); }
    QString LocationURL() const { return m_control->LocationURL(); }
    QString LocationName() const { return m_control->LocationName(); }
    int ReadyState() const { return m_control->ReadyState(); }
    bool Busy() const { return m_control->Busy(); }
    bool Offline() const { return m_control->Offline(); }
    void SetOffline(bool value) { m_control->SetOffline(value); }
    bool RegisterAsDropTarget() const { return m_control->RegisterAsDropTarget(); }
    void SetRegisterAsDropTarget(bool value) { m_control->SetRegisterAsDropTarget(value); }
    bool RegisterAsBrowser() const { return m_control->RegisterAsBrowser(); }
    void SetRegisterAsBrowser(bool value) { m_control->SetRegisterAsBrowser(value); }
    IHTMLDocument2 *Document() const { return m_control->Document(); }
    // Runs the event loop, user input held back, until the control has the
    // document of the navigation asked for (none under way any longer) or
    // `timeoutMs` has passed; whether it has. The browser may be destroyed
    // by what runs meanwhile: then the wait ends, answering false.
    bool WaitForDocument(int timeoutMs = 5000) const;
    HRESULT ExecWB(std::uint32_t cmdID, std::uint32_t cmdexecopt, const QVariant &pvaIn = {}, QVariant *pvaOut = nullptr)
    {
        return m_control->ExecWB(cmdID, cmdexecopt, pvaIn, pvaOut);
    }
    std::uint32_t QueryStatusWB(std::uint32_t cmdID) const { return m_control->QueryStatusWB(cmdID); }

    // The menu shown in place of the control's own context menu when the
    // host decides so. Not owned.
    QMenu *PopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(QMenu *menu) { m_popupMenu = menu; }

    // The control's events.
    std::function<void(THB *Sender, const QString &URL, int Flags, const QString &TargetFrameName,
                       const QByteArray &PostData, const QString &Headers, bool &Cancel)>
        OnBeforeNavigate2;
    std::function<void(THB *Sender, const QString &URL)> OnNavigateComplete2;
    std::function<void(THB *Sender, const QString &URL)> OnDocumentComplete;
    std::function<void(THB *Sender, const QString &Text)> OnTitleChange;
    std::function<void(THB *Sender, const QString &Text)> OnStatusTextChange;
    std::function<void(THB *Sender, int Progress, int ProgressMax)> OnProgressChange;
    std::function<void(THB *Sender, int Command, bool Enable)> OnCommandStateChange;
    std::function<void(THB *Sender, IWebBrowser2 *&ppDisp, bool &Cancel, std::uint32_t dwFlags,
                       const QString &bstrUrlContext, const QString &bstrUrl)>
        OnNewWindow3;
    std::function<void(THB *Sender)> OnDownloadBegin;
    std::function<void(THB *Sender)> OnDownloadComplete;
    std::function<void(THB *Sender, bool IsChildWindow, bool &Cancel)> OnWindowClosing;

    // IOleClientSite
    QWidget *SiteWindow() override { return this; }

    // The ambient dispatch of the wrapper itself: no type information and no
    // ambient property of its own; the host answers the ones it keeps.
    HRESULT GetTypeInfoCount(int &pctinfo) override;
    HRESULT GetTypeInfo(int iTInfo, int lcid, ITypeInfo *&ppTInfo) override;
    HRESULT GetIDsOfNames(const QUuid &riid, const QStringList &rgszNames, int lcid, QList<int> &rgDispId) override;
    HRESULT Invoke(int dispIdMember, const QUuid &riid, int lcid, std::uint16_t wFlags, DISPPARAMS &pDispParams,
                   QVariant *pVarResult, EXCEPINFO *pExcepInfo, std::uint32_t *puArgErr) override;

protected:
    // Ends the control's calls into this object. Every class that answers
    // the control's callbacks calls it first in its destructor, so that no
    // callback reaches a half-destroyed host.
    void CloseControl();

private:
    // DWebBrowserEvents2
    void BeforeNavigate2(const QString &URL, int Flags, const QString &TargetFrameName, const QByteArray &PostData,
                         const QString &Headers, bool &Cancel) override;
    void NavigateComplete2(const QString &URL) override;
    void DocumentComplete(const QString &URL) override;
    void TitleChange(const QString &Text) override;
    void StatusTextChange(const QString &Text) override;
    void ProgressChange(int Progress, int ProgressMax) override;
    void CommandStateChange(int Command, bool Enable) override;
    void NewWindow3(IWebBrowser2 *&ppDisp, bool &Cancel, std::uint32_t dwFlags, const QString &bstrUrlContext,
                    const QString &bstrUrl) override;
    void DownloadBegin() override;
    void DownloadComplete() override;
    void WindowClosing(bool IsChildWindow, bool &Cancel) override;

    std::unique_ptr<WebBrowserControl> m_control;
    QPointer<QMenu> m_popupMenu;
};

} // namespace vocab

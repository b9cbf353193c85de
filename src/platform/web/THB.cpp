#include "THB.h"

#include "WebEngineControl.h"
#include "WindowHelpers.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QVBoxLayout>

namespace vocab {

namespace {

constexpr int DocumentLookIntervalMs = 5;

} // namespace

THB::THB(QWidget *parent, const ControlFactory &factory) : QWidget(parent)
{
    setWindowClassName(this, WindowClass::ShellEmbedding);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_control = factory ? factory(this, this, this) : std::make_unique<WebEngineControl>(this, this, this);
    if (QWidget *view = m_control->ViewWindow())
        layout->addWidget(view);
}

THB::~THB()
{
    CloseControl();
}

void THB::CloseControl()
{
    if (m_control)
        m_control->Close();
}

bool THB::WaitForDocument(int timeoutMs) const
{
    // Handles what has come, then sleeps a moment, rather than spinning
    // or sleeping in the event loop itself: waiting there while the first
    // page loads has now and then left the engine stalled on a busy machine.
    // The document is the one of the navigation asked for: a document of
    // the page before, while that navigation is still under way, is not.
    // Whatever runs meanwhile may destroy this browser.
    const QPointer<const THB> self(this);
    const auto arrived = [&] { return Document() && ReadyState() != READYSTATE_LOADING; };
    const QDeadlineTimer deadline(timeoutMs);
    while (self && !arrived() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, static_cast<int>(deadline.remainingTime()));
        if (self && !arrived())
            QThread::msleep(DocumentLookIntervalMs);
    }
    return self && arrived();
}

HRESULT THB::GetTypeInfoCount(int &pctinfo)
{
    pctinfo = 0;
    return S_OK;
}

HRESULT THB::GetTypeInfo(int, int, ITypeInfo *&ppTInfo)
{
    ppTInfo = nullptr;
    return E_NOTIMPL;
}

HRESULT THB::GetIDsOfNames(const QUuid &, const QStringList &, int, QList<int> &)
{
    return E_NOTIMPL;
}

HRESULT THB::Invoke(int, const QUuid &, int, std::uint16_t, DISPPARAMS &, QVariant *, EXCEPINFO *, std::uint32_t *)
{
    return DISP_E_MEMBERNOTFOUND;
}

void THB::BeforeNavigate2(const QString &URL, int Flags, const QString &TargetFrameName, const QByteArray &PostData,
                          const QString &Headers, bool &Cancel)
{
    if (OnBeforeNavigate2)
        OnBeforeNavigate2(this, URL, Flags, TargetFrameName, PostData, Headers, Cancel);
}

void THB::NavigateComplete2(const QString &URL)
{
    if (OnNavigateComplete2)
        OnNavigateComplete2(this, URL);
}

void THB::DocumentComplete(const QString &URL)
{
    if (OnDocumentComplete)
        OnDocumentComplete(this, URL);
}

void THB::TitleChange(const QString &Text)
{
    if (OnTitleChange)
        OnTitleChange(this, Text);
}

void THB::StatusTextChange(const QString &Text)
{
    if (OnStatusTextChange)
        OnStatusTextChange(this, Text);
}

void THB::ProgressChange(int Progress, int ProgressMax)
{
    if (OnProgressChange)
        OnProgressChange(this, Progress, ProgressMax);
}

void THB::CommandStateChange(int Command, bool Enable)
{
    if (OnCommandStateChange)
        OnCommandStateChange(this, Command, Enable);
}

void THB::NewWindow3(IWebBrowser2 *&ppDisp, bool &Cancel, std::uint32_t dwFlags, const QString &bstrUrlContext,
                     const QString &bstrUrl)
{
    if (OnNewWindow3)
        OnNewWindow3(this, ppDisp, Cancel, dwFlags, bstrUrlContext, bstrUrl);
}

void THB::DownloadBegin()
{
    if (OnDownloadBegin)
        OnDownloadBegin(this);
}

void THB::DownloadComplete()
{
    if (OnDownloadComplete)
        OnDownloadComplete(this);
}

void THB::WindowClosing(bool IsChildWindow, bool &Cancel)
{
    if (OnWindowClosing)
        OnWindowClosing(this, IsChildWindow, Cancel);
}

} // namespace vocab

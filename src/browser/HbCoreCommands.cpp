// The operations of TCustomHostedBrowser on the loaded document: its typed
// views, its command target, the two zooms, scrolling, character set, edit
// mode and keyboard focus. An operation that needs the document and finds
// none answers as each one says.

#include "HbCore.h"

#include "WindowHelpers.h"

#include <QScopeGuard>

#include <algorithm>

namespace vocab {

IHTMLDocument2 *TCustomHostedBrowser::Doc2() const
{
    return Document();
}

IHTMLDocument3 *TCustomHostedBrowser::Doc3() const
{
    return dynamic_cast<IHTMLDocument3 *>(Document());
}

IHTMLDocument4 *TCustomHostedBrowser::Doc4() const
{
    return dynamic_cast<IHTMLDocument4 *>(Document());
}

IHTMLDocument5 *TCustomHostedBrowser::Doc5() const
{
    return dynamic_cast<IHTMLDocument5 *>(Document());
}

std::unique_ptr<IHTMLElement> TCustomHostedBrowser::Body() const
{
    IHTMLDocument2 *doc = Doc2();
    return doc ? doc->body() : nullptr;
}

QString TCustomHostedBrowser::Cookie() const
{
    IHTMLDocument2 *doc = Doc2();
    return doc ? doc->cookie() : QString();
}

HRESULT TCustomHostedBrowser::InvokeCommand(const QUuid *CmdGroup, std::uint32_t Cmd, std::uint32_t nCmdexecopt,
                                            const QVariant &vaIn, QVariant &vaOut)
{
    IHTMLDocument2 *doc = Doc2();
    IOleCommandTarget *target = doc ? doc->commandTarget() : nullptr;
    if (!target)
        return E_UNEXPECTED;
    return target->Exec(CmdGroup, Cmd, nCmdexecopt, vaIn, &vaOut);
}

HRESULT TCustomHostedBrowser::InvokeCommand(const QUuid *CmdGroup, std::uint32_t Cmd)
{
    QVariant vaOut;
    return InvokeCommand(CmdGroup, Cmd, OLECMDEXECOPT_DODEFAULT, QVariant(), vaOut);
}

HRESULT TCustomHostedBrowser::QueryCommandStatus(const QUuid *CmdGroup, std::span<OLECMD> prgCmds, OLECMDTEXT *CmdText)
{
    IHTMLDocument2 *doc = Doc2();
    IOleCommandTarget *target = doc ? doc->commandTarget() : nullptr;
    if (!target)
        return E_UNEXPECTED;
    return target->QueryStatus(CmdGroup, prgCmds, CmdText);
}

std::uint32_t TCustomHostedBrowser::QueryCMDStatus(const QUuid *CmdGroup, std::uint32_t cmdID)
{
    OLECMD cmd{cmdID, 0};
    if (QueryCommandStatus(CmdGroup, std::span<OLECMD>(&cmd, 1), nullptr) != S_OK)
        return 0;
    return cmd.cmdf;
}

bool TCustomHostedBrowser::QueryCMDEnabled(const QUuid *CmdGroup, std::uint32_t cmdID)
{
    return QueryCMDStatus(CmdGroup, cmdID) & OLECMDF_ENABLED;
}

bool TCustomHostedBrowser::QueryCMDLatched(const QUuid *CmdGroup, std::uint32_t cmdID)
{
    return QueryCMDStatus(CmdGroup, cmdID) & OLECMDF_LATCHED;
}

bool TCustomHostedBrowser::QueryCMDArrayStatus(const QUuid *CmdGroup, std::span<OLECMD> Cmds)
{
    // An empty array has no first entry to hand over.
    if (Cmds.empty())
        return false;
    return QueryCommandStatus(CmdGroup, Cmds, nullptr) == S_OK;
}

namespace {

int low16(const QVariant &packed) { return static_cast<int>(packed.toUInt() & 0xFFFF); }
int high16(const QVariant &packed) { return static_cast<int>((packed.toUInt() >> 16) & 0xFFFF); }

} // namespace

int TCustomHostedBrowser::Zoom()
{
    QVariant out;
    InvokeCommand(nullptr, OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, QVariant(), out);
    return out.toInt();
}

void TCustomHostedBrowser::SetZoom(int value)
{
    QVariant range;
    InvokeCommand(nullptr, OLECMDID_GETZOOMRANGE, OLECMDEXECOPT_DONTPROMPTUSER, QVariant(), range);
    const int low = low16(range);
    const int high = high16(range);
    value = value < low ? low : (value > high ? high : value);
    QVariant out;
    InvokeCommand(nullptr, OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, value, out);
}

int TCustomHostedBrowser::ZoomRangeLow()
{
    QVariant range;
    InvokeCommand(nullptr, OLECMDID_GETZOOMRANGE, OLECMDEXECOPT_DONTPROMPTUSER, QVariant(), range);
    return low16(range);
}

int TCustomHostedBrowser::ZoomRangeHigh()
{
    QVariant range;
    InvokeCommand(nullptr, OLECMDID_GETZOOMRANGE, OLECMDEXECOPT_DONTPROMPTUSER, QVariant(), range);
    return high16(range);
}

void TCustomHostedBrowser::SetZoomPercent(int value)
{
    if (value == FZoomPercent)
        return;
    FZoomPercent = value;
    QVariant range;
    InvokeCommand(nullptr, OLECMDID_OPTICAL_GETZOOMRANGE, OLECMDEXECOPT_DONTPROMPTUSER, QVariant(), range);
    const int low = low16(range);
    const int high = high16(range);
    const int applied = value < low ? low : (value > high ? high : value);
    QVariant out;
    // Without a document nothing zooms, and nothing is announced.
    if (InvokeCommand(nullptr, OLECMDID_OPTICAL_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, applied, out) != S_OK)
        return;
    if (OnZoomPercentChange)
        OnZoomPercentChange(this, out.toUInt());
}

QWidget *TCustomHostedBrowser::GetIEWin(const QString &ClassName) const
{
    WebBrowserControl *control = Control();
    if (!control)
        return nullptr;
    // The control's windows, outermost first: the view, then the document window inside it.
    for (QWidget *w : {control->ViewWindow(), control->DocumentWindow()})
        if (w && GetWindowClassName(w) == ClassName)
            return w;
    return nullptr;
}

bool TCustomHostedBrowser::ScrollToElement(IHTMLElement *Element)
{
    if (!Element)
        return false;
    IHTMLDocument2 *doc = Doc2();
    IHTMLWindow2 *window = doc ? doc->parentWindow() : nullptr;
    if (!window)
        return false;
    const QRect box = Element->getBoundingClientRect();
    window->scrollBy(box.left(), box.top());
    return true;
}

QString TCustomHostedBrowser::CharactersSet() const
{
    IHTMLDocument2 *doc = Doc2();
    return doc ? doc->charset() : QString();
}

void TCustomHostedBrowser::SetCharactersSet(const QString &value)
{
    IHTMLDocument2 *doc = Doc2();
    if (!doc)
        return;
    doc->setCharset(value);
    Refresh2(7);
}

void TCustomHostedBrowser::SetDesignMode(bool value)
{
    FDesignMode = value;
    Announce(DISPID_AMBIENT_USERMODE);
}

TDocDesignMode TCustomHostedBrowser::DocDesignMode() const
{
    IHTMLDocument2 *doc = Doc2();
    if (!doc)
        return ddmUnknown;
    const int index = IndexOfString(doc->designMode(), {QStringLiteral("On"), QStringLiteral("Off"), QStringLiteral("Inherit")});
    switch (index) {
    case 0: return ddmOn;
    case 1: return ddmOff;
    case 2: return ddmInherit;
    default: return ddmUnknown;
    }
}

void TCustomHostedBrowser::SetDocDesignMode(TDocDesignMode value)
{
    IHTMLDocument2 *doc = Doc2();
    if (!doc || value == ddmUnknown)
        return;
    static const QString Modes[] = {QStringLiteral("On"), QStringLiteral("Off"), QStringLiteral("Inherit")};
    doc->setDesignMode(Modes[value]);
}

void TCustomHostedBrowser::SetFocusToDoc()
{
    if (!Doc2())
        return;
    // The page may take the focus while the host gives it; the former
    // setting comes back whatever happens.
    const bool couldGrab = FCanGrabFocus;
    FCanGrabFocus = true;
    const auto restore = qScopeGuard([this, couldGrab] { FCanGrabFocus = couldGrab; });
    const QRect client = rect();
    OleObject()->DoVerb(OLEIVERB_UIACTIVATE, nullptr, this, 0, this, &client);
}

void TCustomHostedBrowser::SetFocusToBody()
{
    if (std::unique_ptr<IHTMLElement> body = Body())
        body->focus();
}

void TCustomHostedBrowser::SetFocusToParent()
{
    if (QWidget *parent = parentWidget())
        parent->setFocus(Qt::OtherFocusReason);
}

void TCustomHostedBrowser::Client2HostWin(int &CX, int &CY) const
{
    const QWidget *form = ParentForm();
    if (!form)
        return;
    CX += form->width() - width();
    CY += form->height() - height();
}

bool TCustomHostedBrowser::GetElementNamespaceTable(IElementNamespaceTable *&aTable)
{
    // No document of this engine offers a table of element behaviours.
    aTable = nullptr;
    return false;
}

} // namespace vocab

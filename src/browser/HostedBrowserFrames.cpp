// Frames, selection and edit commands of THostedBrowser: the frames of the
// page and the one with the focus, the focused element, the selected text,
// whether a command of the document can act, the edit commands and the
// navigation buttons.

#include "HostedBrowser.h"

#include "HbToolsFrames.h"
#include "HbWindowCommand.h"

namespace vocab {

std::unique_ptr<IWebBrowser2> THostedBrowser::GetFrame(std::uint16_t FrameNo)
{
    return HbTools::FrameOf(Document(), FrameNo);
}

std::unique_ptr<IWebBrowser2> THostedBrowser::GetFrameFromDocument(IHTMLDocument2 *SourceDoc, int FrameNo)
{
    if (!DocumentLoaded())
        return nullptr;
    return HbTools::FrameOf(SourceDoc, FrameNo);
}

DocumentRef THostedBrowser::GetActiveFrame()
{
    IHTMLDocument2 *doc = Document();
    return doc ? HbTools::ActiveFrameOf(doc) : nullptr;
}

DocumentRef THostedBrowser::GetActiveFrame(IHTMLDocument2 *Doc)
{
    return HbTools::ActiveFrameOf(Doc);
}

std::unique_ptr<IHTMLElement> THostedBrowser::GetActiveElement(IHTMLDocument2 *Doc)
{
    const DocumentRef doc = Doc ? HbTools::LentDocument(Doc) : GetActiveFrame();
    return doc ? doc->activeElement() : nullptr;
}

QString THostedBrowser::GetSelectedText(bool ReturnAsHTML, bool bOnlyTopLevel)
{
    IHTMLDocument2 *top = nullptr;
    if (!DocumentLoaded(top))
        return {};
    const DocumentRef doc = bOnlyTopLevel ? HbTools::LentDocument(top) : HbTools::ActiveFrameOf(top);
    const std::unique_ptr<IHTMLSelectionObject> selection = doc->selection();
    if (!selection || doc->readyState() != QLatin1String("complete"))
        return {};
    const QString type = selection->type().toLower();
    if (type == QLatin1String("none") || type == QLatin1String("control"))
        return {};
    const std::unique_ptr<IHTMLTxtRange> range = selection->createRange();
    if (!range)
        return {};
    return ReturnAsHTML ? range->htmlText() : range->text();
}

int THostedBrowser::GetSelLength(bool bOnlyTopLevel)
{
    return static_cast<int>(GetSelectedText(false, bOnlyTopLevel).size());
}

void THostedBrowser::RefreshFrame(std::uint16_t FrameNo)
{
    Wait(0);
    if (const std::unique_ptr<IWebBrowser2> frame = GetFrame(FrameNo))
        frame->Refresh();
}

bool THostedBrowser::IsCommandEnabled(const QString &sCmdId)
{
    IHTMLDocument2 *doc = Doc2();
    return doc && doc->queryCommandEnabled(sCmdId);
}

QVariant THostedBrowser::QueryCommandValue(const QString &sCmdId)
{
    const auto *doc = dynamic_cast<const IDocumentAutomation *>(Doc2());
    if (!doc)
        return false;
    return doc->Invoke(QStringLiteral("return d.queryCommandValue(a[0]);"), {sCmdId});
}

namespace {

bool runs(THostedBrowser &browser, std::uint32_t command)
{
    QVariant in;
    QVariant out;
    return browser.InvokeCMD(false, static_cast<int>(command), OLECMDEXECOPT_DODEFAULT, in, out) == S_OK;
}

} // namespace

bool THostedBrowser::Cut() { return runs(*this, OLECMDID_CUT); }
bool THostedBrowser::Copy() { return runs(*this, OLECMDID_COPY); }
bool THostedBrowser::Paste() { return runs(*this, OLECMDID_PASTE); }
bool THostedBrowser::PasteSpecial() { return runs(*this, OLECMDID_PASTESPECIAL); }
bool THostedBrowser::Undo() { return runs(*this, OLECMDID_UNDO); }
bool THostedBrowser::Redo() { return runs(*this, OLECMDID_REDO); }
bool THostedBrowser::SelectAll() { return runs(*this, OLECMDID_SELECTALL); }
bool THostedBrowser::ClearSelection() { return runs(*this, OLECMDID_CLEARSELECTION); }
bool THostedBrowser::Delete() { return runs(*this, OLECMDID_DELETE); }

// Nothing to stop, no page to go back to: the buttons do nothing then.
void THostedBrowser::Stop()
{
    try {
        THB::Stop();
    } catch (const std::exception &) {
    }
}

void THostedBrowser::GoBack()
{
    try {
        THB::GoBack();
    } catch (const std::exception &) {
    }
}

void THostedBrowser::GoForward()
{
    try {
        THB::GoForward();
    } catch (const std::exception &) {
    }
}

HRESULT THostedBrowser::InvokeCMD(bool InvokeIE, int Value1, int Value2, QVariant &vaIn, QVariant &vaOut)
{
    return InvokeCommand(InvokeIE ? &CGID_IWebBrowser : nullptr, static_cast<std::uint32_t>(Value1),
                         static_cast<std::uint32_t>(Value2), vaIn, vaOut);
}

void THostedBrowser::InvokeIEServerCommand(int Cmd)
{
    SendCommandMessage(this, static_cast<std::uintptr_t>(Cmd));
}

// There is no import and export wizard here: the command goes to the
// component's window, whose OnMessage sees it, and nothing more happens.
void THostedBrowser::ShowImportExportFavoritesAndCookies()
{
    InvokeIEServerCommand(374);
}

QWidget *THostedBrowser::GetIEHandle(THostedBrowser *WebBrowser, const QString &ClassName)
{
    return WebBrowser ? WebBrowser->GetIEWin(ClassName) : nullptr;
}

} // namespace vocab

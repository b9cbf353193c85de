#include "HbToolsFind.h"

#include "HbToolsDocument.h"
#include "HbToolsNavigation.h"
#include "HbToolsRegistry.h"
#include "HostedBrowser.h"
#include "InputQuery.h"
#include "OleError.h"

#include <QPointer>

namespace vocab::HbTools {

namespace {

// A range over the whole text of the document's body; null without a body.
std::unique_ptr<IHTMLTxtRange> bodyRange(IHTMLDocument2 *Doc)
{
    const std::unique_ptr<IHTMLElement> body = Doc->body();
    const auto *element = dynamic_cast<const IHTMLBodyElement *>(body.get());
    return element ? element->createTextRange() : nullptr;
}

void highlightBody(IHTMLDocument2 *Doc, const QString &aText)
{
    const std::unique_ptr<IHTMLTxtRange> range = bodyRange(Doc);
    if (!range)
        return;
    // Each paste leaves the range after the marked occurrence, so the next
    // find starts there; a find that comes back to the occurrence just
    // marked, or before it, would mark it over and over, and ends the loop.
    std::unique_ptr<IHTMLTxtRange> previous;
    while (range->findText(aText, 1, 0)) {
        if (previous && range->compareEndPoints(QStringLiteral("StartToStart"), *previous) <= 0)
            break;
        previous = range->duplicate();
        const QString html = range->htmlText();
        range->pasteHTML(HighlightSpanOpen + html + QStringLiteral("</span>"));
        range->scrollIntoView(true);
    }
}

QList<QPointer<THostedBrowser>> &shellWindows()
{
    static QList<QPointer<THostedBrowser>> windows;
    return windows;
}

} // namespace

std::unique_ptr<IHTMLTxtRange> SearchText(THostedBrowser &WB, IHTMLDocument2 *Document, const QString &Value, int Flags,
                                          int StartOffset)
{
    WaitForBrowser(WB);
    if (!IsHtmlDocument(Document))
        return nullptr;
    // A failing call gives no range at all: the body's range it may have
    // made is no match.
    try {
        std::unique_ptr<IHTMLTxtRange> range = bodyRange(Document);
        if (!range)
            return nullptr;
        const int moved = range->moveStart(QStringLiteral("character"), StartOffset);
        const bool found = moved != 0 ? range->findText(Value, StartOffset, Flags) : range->findText(Value, 1, Flags);
        if (!found)
            return nullptr;
        range->scrollIntoView(true);
        return range;
    } catch (const EOleException &) {
        return nullptr;
    }
}

bool SearchString(THostedBrowser &WB, const QString &strText)
{
    WaitForBrowser(WB);
    IHTMLDocument2 *doc = WB.Document();
    if (!IsHtmlDocument(doc))
        return false;
    try {
        const std::unique_ptr<IHTMLTxtRange> range = bodyRange(doc);
        return range && range->findText(strText, 1, 0);
    } catch (const EOleException &) {
        return false;
    }
}

void SearchAndHighlight(IHTMLDocument2 *Document, const QString &ACaption, const QString &APrompt, QString aText,
                        bool ShowInputQuery)
{
    if (!IsHtmlDocument(Document))
        return;
    if (ShowInputQuery && !InputQuery(ACaption, APrompt, aText))
        return;
    if (aText.isEmpty())
        return;
    try {
        const int frames = FrameCountFromDocument(Document);
        for (int i = 0; i < frames; ++i) {
            std::unique_ptr<IWebBrowser2> frame;
            GetFrameBrowser(Document, i, frame);
            if (frame)
                SearchAndHighlight(frame->Document(), ACaption, APrompt, aText, false);
        }
        // The document's own text is marked too: a page with a frame in it
        // still has its own occurrences, and a frameset has no text of its
        // own to mark.
        highlightBody(Document, aText);
    } catch (const EOleException &) {
    }
}

bool FillForm(THostedBrowser &WB, const QString &FieldName, const QString &Value)
{
    IHTMLDocument2 *doc = WB.Document();
    if (!doc || !dynamic_cast<IHTMLDocument3 *>(doc))
        return false;
    try {
        return LateBound(doc, QStringLiteral("var c=d.getElementsByName(a[0]);if(!c)return false;"
                                             "var e=c.item(0),t=String(e.tagName).toUpperCase();"
                                             "if(t==='INPUT'||t==='SELECT'||t==='TEXTAREA'){e.value=a[1];return true;}"
                                             "return false;"),
                         {FieldName, Value})
            .toBool();
    } catch (const EOleException &) {
        return false;
    }
}

QString GetFieldValue(IInterface *OleObject, const QString &FieldName)
{
    auto *browser = dynamic_cast<IWebBrowser2 *>(OleObject);
    IHTMLDocument2 *doc = browser ? browser->Document() : nullptr;
    if (!IsHtmlDocument(doc))
        return {};
    // Every form and element is walked; the last field of the name wins.
    return LateBound(doc, QStringLiteral("var r='';if(d.getElementsByTagName('FORM').length===0)return r;"
                                         "for(var f=0;f<d.forms.length;++f){var F=d.forms[f];"
                                         "for(var j=0;j<F.length;++j){try{var e=F[j];"
                                         "if(e.name===a[0]){var v=e.value;r=v==null?'':String(v);}}catch(x){}}}"
                                         "return r;"),
                     {FieldName})
        .toString();
}

void FillFormAndExcecute()
{
    for (int i = 0; i < ShellWindowCount(); ++i) {
        IWebBrowser2 *browser = ShellWindowItem(i);
        IHTMLDocument2 *doc = browser ? browser->Document() : nullptr;
        if (!IsHtmlDocument(doc))
            continue;
        LateBound(doc, QStringLiteral("function is(e,tag,type){return String(e.tagName).toUpperCase()===tag&&"
                                      "String(e.type).toUpperCase()===type;}"
                                      "for(var f=0;f<d.forms.length;++f){var es=d.forms[f].elements;"
                                      "for(var j=0;j<es.length;++j){var e=es[j];"
                                      "try{if(is(e,'INPUT','TEXT'))e.value=a[0];}catch(x){}"
                                      "try{if(is(e,'INPUT','SUBMIT')&&e.value===a[1])e.click();}catch(x){}}}"),
                  {QStringLiteral("FindWindow"), QStringLiteral("Search")});
    }
}

int ShellWindowCount()
{
    return static_cast<int>(shellWindows().size());
}

IWebBrowser2 *ShellWindowItem(int Index)
{
    if (Index < 0 || Index >= ShellWindowCount())
        return nullptr;
    THostedBrowser *WB = shellWindows().at(Index);
    return WB ? WB->DefaultInterface() : nullptr;
}

void AddShellWindow(THostedBrowser *WB)
{
    if (WB && !shellWindows().contains(WB))
        shellWindows().append(WB);
}

void RemoveShellWindow(THostedBrowser *WB)
{
    shellWindows().removeIf([WB](const QPointer<THostedBrowser> &window) { return window.isNull() || window == WB; });
}

} // namespace vocab::HbTools

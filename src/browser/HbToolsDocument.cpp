#include "HbToolsDocument.h"

#include "HbToolsFrames.h"
#include "HbToolsLoading.h"
#include "HostedBrowser.h"
#include "MessageBoxes.h"
#include "OleError.h"
#include "TrimBlanks.h"
#include "WindowHelpers.h"

#include <QAbstractScrollArea>
#include <QScrollBar>
#include <QStringDecoder>
#include <QWebEngineView>

namespace vocab::HbTools {

namespace {

// The late-bound call, its errors kept: the answer, or nothing.
QVariant quietly(IHTMLDocument2 *Doc, const QString &body, const QVariantList &args = {})
{
    try {
        return LateBound(Doc, body, args);
    } catch (const EOleException &) {
        return {};
    }
}

IHTMLDocument2 *documentOf(IWebBrowser2 *Browser)
{
    return Browser ? Browser->Document() : nullptr;
}

double zoomOf(THostedBrowser &WB)
{
    const auto *view = qobject_cast<const QWebEngineView *>(WB.Control() ? WB.Control()->ViewWindow() : nullptr);
    return view ? view->zoomFactor() : 1.0;
}

void scrollTo(THostedBrowser &WB, int left, int top)
{
    if (IHTMLDocument2 *doc = WB.GetDocument())
        if (IHTMLWindow2 *window = doc->parentWindow())
            window->scrollBy(left, top);
}

const QAbstractScrollArea *listViewOf(THostedBrowser &WB)
{
    return qobject_cast<const QAbstractScrollArea *>(FindFolderListView(&WB));
}

// Whether the document is there and has a body to read.
bool hasBody(IHTMLDocument2 *doc)
{
    return IsHtmlDocument(doc) && doc->body() != nullptr;
}

// The links of a document and of its frames, as a tree: the body's tag,
// its links and one entry per frame (null for a frame that cannot be read).
const QString LinkTreeScript = QStringLiteral(
    "function walk(d){var n={tag:String(d.body.tagName),links:[],frames:[]};"
    "if(n.tag==='BODY')for(var i=0;i<d.links.length;++i)n.links.push(String(d.links.item(i).href));"
    "var fs=d.defaultView.frames;"
    "for(var j=0;j<fs.length;++j){try{n.frames.push(walk(fs[j].document));}catch(e){n.frames.push(null);}}"
    "return n;}"
    "return walk(d);");

void addLinks(const QVariantMap &node, QStringList &List)
{
    if (node.value(QStringLiteral("tag")).toString() == QLatin1String("BODY")) {
        const QVariantList links = node.value(QStringLiteral("links")).toList();
        if (links.isEmpty())
            List << QStringLiteral("No Links found in the page body");
        for (const QVariant &link : links)
            List << link.toString();
    }
    for (const QVariant &frame : node.value(QStringLiteral("frames")).toList())
        if (frame.isValid() && !frame.isNull())
            addLinks(frame.toMap(), List);
}

// The list cleared, then given the root element's HTML or text as its one line.
void rootElementInto(IHTMLDocument2 *Doc, const char *property, QStringList &List)
{
    List.clear();
    if (!IsHtmlDocument(Doc))
        return;
    const QVariant value = quietly(Doc, QStringLiteral("return String(d.documentElement[a[0]]);"), {QLatin1String(property)});
    if (value.isValid())
        List << value.toString();
}

} // namespace

QVariant LateBound(IHTMLDocument2 *Doc, const QString &body, const QVariantList &args)
{
    const auto *automation = dynamic_cast<const IDocumentAutomation *>(Doc);
    if (!automation)
        throw EOleException(DISP_E_UNKNOWNNAME, QStringLiteral("Документ не отвечает на вызовы по имени"));
    return automation->Invoke(body, args);
}

bool IsHtmlDocument(const IInterface *Doc)
{
    return dynamic_cast<const IHTMLDocument2 *>(Doc) != nullptr;
}

bool AddHtmlToAboutBlank(THostedBrowser &WB, const QString &StringToHtml)
{
    // The component's own, which knows whether it is being destroyed.
    return WB.AddHtmlToAboutBlank(StringToHtml);
}

QString GetWordAtCursor(int X, int Y, THostedBrowser &WB)
{
    IHTMLDocument2 *doc = nullptr;
    if (!WB.DocumentLoaded(doc) || !doc->selection())
        return {};
    // The point in the page's own pixels. The word is the one under it, by
    // the text's word breaks over the whole paragraph (a word may run over
    // several elements). Over a blank or a punctuation mark, it is the word
    // the word moves reach from there: the one before it, or the one after
    // it at the paragraph's start. Off the text there is no word.
    const QString word = LateBound(doc, QStringLiteral(
        "var x=a[0]/a[2],y=a[1]/a[2],r=d.caretRangeFromPoint(x,y);"
        "if(!r||r.startContainer.nodeType!==3)return '';"
        "var n=r.startContainer,o=r.startOffset;"
        "function hit(i){if(i<0||i>=n.data.length)return false;var q=d.createRange();q.setStart(n,i);q.setEnd(n,i+1);"
        "var b=q.getClientRects();for(var k=0;k<b.length;++k)"
        "if(x>=b[k].left&&x<b[k].right&&y>=b[k].top&&y<b[k].bottom)return true;return false;}"
        "var at=hit(o)?o:hit(o-1)?o-1:-1;if(at<0)return '';"
        "function inline(e){var s=getComputedStyle(e).display;return s==='inline'||s==='contents';}"
        "var p=n.parentNode;while(p!==d.body&&p.parentNode&&inline(p))p=p.parentNode;"
        "var t='',pos=-1,w=d.createTreeWalker(p,NodeFilter.SHOW_ELEMENT|NodeFilter.SHOW_TEXT,{acceptNode:function(e){"
        "if(e.nodeType===3)return NodeFilter.FILTER_ACCEPT;"
        "if(e.nodeName==='BR'||!inline(e)){t+=' ';return NodeFilter.FILTER_REJECT;}return NodeFilter.FILTER_SKIP;}});"
        "for(var m=w.nextNode();m;m=w.nextNode()){if(m===n)pos=t.length+at;t+=m.data;}"
        "if(pos<0)return '';"
        "var s=Array.from(new Intl.Segmenter(undefined,{granularity:'word'}).segment(t)),c=-1;"
        "for(var i=0;i<s.length;++i)if(pos>=s[i].index&&pos<s[i].index+s[i].segment.length){c=i;break;}"
        "if(c<0)return '';if(s[c].isWordLike)return s[c].segment;"
        "for(i=c-1;i>=0;--i)if(s[i].isWordLike)return s[i].segment;"
        "for(i=c+1;i<s.length;++i)if(s[i].isWordLike)return s[i].segment;"
        "return '';"),
        {X, Y, zoomOf(WB)}).toString();
    return TrimBlanks(word);
}

void ScrollToIDEx(const QString &ID, THostedBrowser &WB)
{
    IHTMLDocument3 *doc = WB.Doc3();
    if (!doc)
        return;
    const std::unique_ptr<IHTMLElement> element = doc->getElementById(ID);
    if (!element)
        return;
    const QRect box = element->getBoundingClientRect();
    scrollTo(WB, box.left(), box.top());
}

void ScrollToID(int ID, THostedBrowser &WB)
{
    IHTMLDocument2 *doc = nullptr;
    if (!WB.DocumentLoaded(doc))
        return;
    const QVariantList box = LateBound(doc, QStringLiteral(
                                                "var all=d.all;for(var i=0;i<all.length;++i)if(all[i].id===a[0]){"
                                                "var r=all[i].getBoundingClientRect();return [r.left,r.top];}return null;"),
                                       {QString::number(ID)})
                                 .toList();
    if (box.size() == 2)
        scrollTo(WB, qRound(box[0].toDouble()), qRound(box[1].toDouble()));
}

QWidget *FindFolderListView(QWidget *Window)
{
    const auto firstChild = [](QWidget *parent) -> QWidget * {
        const QList<QWidget *> children = parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        return children.isEmpty() ? nullptr : children.first();
    };
    for (QWidget *level = Window ? firstChild(Window) : nullptr; level; level = firstChild(level))
        for (QWidget *child : level->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (GetWindowClassName(child) == QLatin1String(WindowClass::SysListView32))
                return child;
    return nullptr;
}

void GetScrollBarsVisibility(THostedBrowser &WB, bool &Horizontal, bool &Vertical)
{
    Horizontal = false;
    Vertical = false;
    if (const QAbstractScrollArea *list = listViewOf(WB)) {
        Horizontal = list->horizontalScrollBar()->isVisible();
        Vertical = list->verticalScrollBar()->isVisible();
        return;
    }
    IHTMLDocument2 *doc = WB.Document();
    if (!hasBody(doc))
        return;
    const QVariantList bars =
        LateBound(doc, QStringLiteral("var b=d.body;return [b.scrollWidth>b.clientWidth,b.scrollHeight>b.clientHeight];")).toList();
    if (bars.size() == 2) {
        Horizontal = bars[0].toBool();
        Vertical = bars[1].toBool();
    }
}

bool GetListViewScrollPosition(THostedBrowser &WB, QPoint &Point)
{
    const QAbstractScrollArea *list = listViewOf(WB);
    if (!list)
        return false;
    Point.setY(list->verticalScrollBar()->value());
    Point.setX(list->horizontalScrollBar()->value());
    return true;
}

bool GetDocumentScrollPosition(THostedBrowser &WB, QPoint &Point)
{
    Point = QPoint(-1, -1);
    IHTMLDocument2 *doc = WB.Document();
    if (!hasBody(doc))
        return false;
    // The root element scrolls in a standards page, the body in one of the
    // old kind, where the root reports 0.
    const QVariantList offsets = LateBound(doc, QStringLiteral(
                                                    "var b=d.body,e=d.documentElement;"
                                                    "return [!e||e.scrollLeft===0?b.scrollLeft:e.scrollLeft,"
                                                    "!e||e.scrollTop===0?b.scrollTop:e.scrollTop];"))
                                     .toList();
    if (offsets.size() == 2)
        Point = QPoint(qRound(offsets[0].toDouble()), qRound(offsets[1].toDouble()));
    return Point.x() != -1 && Point.y() != -1;
}

bool GetScrollPosition(THostedBrowser &WB, QPoint &Point)
{
    return GetDocumentScrollPosition(WB, Point) || GetListViewScrollPosition(WB, Point);
}

QString DocumentSource(IWebBrowser2 *Browser)
{
    QStringList list;
    ViewPageSourceHtmlToStrings(Browser, documentOf(Browser), list);
    return LinesText(list);
}

QString DocumentSourceText(IWebBrowser2 *Browser, IHTMLDocument2 *Doc)
{
    QStringList list;
    ViewPageSourceTextToStrings(Browser, Doc, list);
    return LinesText(list);
}

void ViewPageSourceHtmlToStrings(IWebBrowser2 *, IHTMLDocument2 *Doc, QStringList &HtmlList)
{
    rootElementInto(Doc, "innerHTML", HtmlList);
}

void ViewPageSourceTextToStrings(IWebBrowser2 *, IHTMLDocument2 *Doc, QStringList &TextList)
{
    rootElementInto(Doc, "innerText", TextList);
}

void ViewPageSourceText(IWebBrowser2 *, IHTMLDocument2 *Doc)
{
    if (!IsHtmlDocument(Doc))
        return;
    const QString text = LateBound(Doc, QStringLiteral("return String(d.documentElement.innerText);")).toString();
    // The page's text, never read as markup of the box's own.
    ShowMessage(LinesText({text}), Qt::PlainText);
}

int FrameCount(IHTMLDocument2 *Doc)
{
    if (!IsHtmlDocument(Doc))
        return 0;
    try {
        return FramesOf(Doc);
    } catch (const EOleException &) {
        return 0;
    }
}

int FrameCountFromDocument(IHTMLDocument2 *SourceDoc)
{
    if (!IsHtmlDocument(SourceDoc))
        return 0;
    return quietly(SourceDoc, QStringLiteral("return Math.min(100,w.frames.length+d.querySelectorAll('object,embed,applet').length);"))
        .toInt();
}

void ScrollToTop(IWebBrowser2 *Browser)
{
    ScrollToPosition(Browser, 0, 0);
}

void ScrollToPosition(IWebBrowser2 *Browser, int X, int Y)
{
    IHTMLDocument2 *doc = documentOf(Browser);
    if (IsHtmlDocument(doc))
        quietly(doc, QStringLiteral("w.scrollTo(a[0],a[1]);"), {X, Y});
}

void ScrollToBottom(IHTMLDocument2 *Doc)
{
    if (IsHtmlDocument(Doc))
        quietly(Doc, QStringLiteral("w.scrollBy(0,d.body.scrollHeight);"));
}

namespace {

// Whether a character set given can change how the page is read: a name
// the program knows no decoder of is none, and a page that names its own
// in a meta element is read in that one whatever the engine is told.
bool charsetCanApply(IHTMLDocument2 *Doc, const QString &ACharactersSet)
{
    if (ACharactersSet.trimmed().isEmpty() || !QStringDecoder(ACharactersSet.toLatin1().constData()).isValid())
        return false;
    return !quietly(Doc, QStringLiteral(
                             "return !!d.querySelector('meta[charset]') || Array.prototype.some.call("
                             "d.querySelectorAll('meta[http-equiv]'), function(m) {"
                             " return m.httpEquiv.toLowerCase() === 'content-type' && /charset\\s*=/i.test(m.content); });"))
                .toBool();
}

} // namespace

bool SetCharartersSet(THostedBrowser &WB, IHTMLDocument2 *Doc, const QString &ACharactersSet, bool Refresh)
{
    WB.Wait(0);
    if (!IsHtmlDocument(Doc))
        return false;
    if (!charsetCanApply(Doc, ACharactersSet))
        return false;
    bool result = false;
    try {
        if (IHTMLDocument2 *doc = WB.Doc2()) {
            doc->setCharset(ACharactersSet);
            result = true;
            if (Refresh)
                WB.Refresh2(7);
        }
    } catch (const std::exception &) {
    }
    return result;
}

QString GetCookie(IWebBrowser2 *Browser)
{
    IHTMLDocument2 *doc = documentOf(Browser);
    if (!IsHtmlDocument(doc))
        return {};
    return quietly(doc, QStringLiteral("return String(d.cookie);")).toString();
}

void ViewPageLinksToStrings(IWebBrowser2 *Browser, QStringList &LinksList)
{
    LinksList.clear();
    IHTMLDocument2 *doc = documentOf(Browser);
    if (IsHtmlDocument(doc))
        AddDocumentLinks(doc, LinksList);
}

void AddDocumentLinks(IHTMLDocument2 *D, QStringList &List)
{
    if (!D)
        return;
    addLinks(LateBound(D, LinkTreeScript).toMap(), List);
}

} // namespace vocab::HbTools

#pragma once

// Routines of the browser tools that look into the document the browser
// shows, or act on it: whether an object is an HTML document (the gate of
// the tools), a page written in, the word at a point, scrolling, the state
// of the scroll bars, the source and text of the page, its frames, its
// character set, its cookie and its links.
//
// `Browser` is the control; its document is read by late binding (members
// named when the call is made, IDocumentAutomation), `Doc` is a document
// given to the routine. Errors: the routines that say so keep every error to
// themselves; in the others a failing call throws EOleException.

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QVariant>

class QWidget;

namespace vocab {

class IHTMLDocument2;
class IInterface;
class IWebBrowser2;
class THostedBrowser;

namespace HbTools {

// A late-bound call on a document: its members are looked up as the call is
// made, so a document that has none (one this program cannot script, or none
// at all) fails as an unknown name does, with EOleException.
QVariant LateBound(IHTMLDocument2 *Doc, const QString &body, const QVariantList &args = {});

// Whether the object is there and is an HTML document. Never throws.
bool IsHtmlDocument(const IInterface *Doc);

// Writes the HTML text as the page; true, without waiting for it.
bool AddHtmlToAboutBlank(THostedBrowser &WB, const QString &StringToHtml);

// The word at a point of the view (in its pixels), blanks and control
// characters trimmed: the word under the point; over a blank or a
// punctuation mark the word before it in its paragraph, else the one after
// it; empty off the text.
QString GetWordAtCursor(int X, int Y, THostedBrowser &WB);

// Scroll the element of an id to the top left of the view; nothing happens
// for an id no element has. ScrollToID takes the first element whose id is
// the decimal text of the number.
void ScrollToIDEx(const QString &ID, THostedBrowser &WB);
void ScrollToID(int ID, THostedBrowser &WB);

// The list view a folder is shown in, below `Window` down the first
// children; null when there is none (the browser here shows folders as
// pages, so there never is).
QWidget *FindFolderListView(QWidget *Window);

void GetScrollBarsVisibility(THostedBrowser &WB, bool &Horizontal, bool &Vertical);
bool GetListViewScrollPosition(THostedBrowser &WB, QPoint &Point);
// The document's scroll offsets: the root element's where it scrolls, else
// the body's. False without a document with a body.
bool GetDocumentScrollPosition(THostedBrowser &WB, QPoint &Point);
bool GetScrollPosition(THostedBrowser &WB, QPoint &Point);

// The inner HTML (or text) of the document's root element, its own tag not
// part of it. The ...ToStrings routines clear the list and keep every error
// to themselves.
QString DocumentSource(IWebBrowser2 *Browser);
QString DocumentSourceText(IWebBrowser2 *Browser, IHTMLDocument2 *Doc);
void ViewPageSourceHtmlToStrings(IWebBrowser2 *Browser, IHTMLDocument2 *Doc, QStringList &HtmlList);
void ViewPageSourceTextToStrings(IWebBrowser2 *Browser, IHTMLDocument2 *Doc, QStringList &TextList);
// Shows the document's text in a box of the application's title.
void ViewPageSourceText(IWebBrowser2 *Browser, IHTMLDocument2 *Doc);

// The frames of the document; FrameCountFromDocument counts every embedded
// object (frames, objects, embeds), at most 100.
int FrameCount(IHTMLDocument2 *Doc);
int FrameCountFromDocument(IHTMLDocument2 *SourceDoc);

// Scrolling; every error kept to themselves.
void ScrollToTop(IWebBrowser2 *Browser);
void ScrollToPosition(IWebBrowser2 *Browser, int X, int Y);
void ScrollToBottom(IHTMLDocument2 *Doc);

// The character set for the document (and its reload with Refresh); true
// once it is set. False, with nothing set, for a name no decoder is known
// of and for a page that names its own character set in a meta element,
// which the engine reads in that one whatever it is told. A character set
// sent in the page's HTTP header cannot be seen from the page: there the
// answer is true and the page stays as the header says. The set counts for
// the page shown and its reloads, not for the pages that follow, and only
// where the engine has no guess of its own from the page's bytes.
bool SetCharartersSet(THostedBrowser &WB, IHTMLDocument2 *Doc, const QString &ACharactersSet, bool Refresh);

// The document's cookie; empty on any error.
QString GetCookie(IWebBrowser2 *Browser);

// The addresses of the links of the page and of every frame that can be
// read, in document order, frame after frame.
void ViewPageLinksToStrings(IWebBrowser2 *Browser, QStringList &LinksList);
void AddDocumentLinks(IHTMLDocument2 *D, QStringList &List);

} // namespace HbTools
} // namespace vocab

#pragma once

// Routines of the browser tools that search the page and fill its forms:
// find a text and scroll to it, tell whether the page holds a text, mark
// every occurrence of a text, set or read a named form field, and fill and
// submit the search forms of the open browser windows.
//
// The document's text and ranges are those of IHTMLTxtRange (HtmlDocument.h);
// the forms are reached by late binding, every name and value going in as
// data.

#include "HtmlDocument.h"

#include <QList>
#include <QString>

#include <memory>

namespace vocab {

class IWebBrowser2;
class THostedBrowser;

namespace HbTools {

// The flags of IHTMLTxtRange::findText.
inline constexpr int FindWholeWord = 2;
inline constexpr int FindMatchCase = 4;

// The opening tag of a highlighted occurrence.
inline const QString HighlightSpanOpen =
    QStringLiteral("<span style=\"background-color: Lime; font-weight: bolder;\">");

// Waits for the browser, then looks for the text in the document's body
// from `StartOffset` characters in, with the find flags, and scrolls the
// match into view. The match, or null when there is none or anything fails.
std::unique_ptr<IHTMLTxtRange> SearchText(THostedBrowser &WB, IHTMLDocument2 *Document, const QString &Value, int Flags,
                                          int StartOffset);

// Waits for the browser; whether the body of its page holds the text
// (letter case ignored). False on any error.
bool SearchString(THostedBrowser &WB, const QString &strText);

// Marks every occurrence of the text in the document with a highlighted
// span around its markup, asking for the text first when ShowInputQuery
// (Cancel or an empty text: nothing happens). The frames of the document
// are marked each, then the document's own body, which a frameset has none
// of. An error ends the marking quietly; marks made stay.
void SearchAndHighlight(IHTMLDocument2 *Document, const QString &ACaption, const QString &APrompt, QString aText,
                        bool ShowInputQuery);

// Sets the value of the first element of the name in the browser's page,
// when it is an input, a drop-down list or a text area; whether it was.
bool FillForm(THostedBrowser &WB, const QString &FieldName, const QString &Value);

// The value of the field of the name among the elements of the page's
// forms, the last such field of the last form; empty when there is none.
// `OleObject` is the browser control.
QString GetFieldValue(IInterface *OleObject, const QString &FieldName);

// In every open browser window, fills each text input of each form with
// "FindWindow" and clicks each submit button whose value is "Search", in
// the order of the form's elements.
void FillFormAndExcecute();

// The open browser windows. Other programs' browser windows cannot be
// reached here, so the windows are this program's own browser components
// that are alive, in the order they were made.
int ShellWindowCount();
// The browser of the window `Index`; null past the last.
IWebBrowser2 *ShellWindowItem(int Index);
void AddShellWindow(THostedBrowser *WB);
void RemoveShellWindow(THostedBrowser *WB);

} // namespace HbTools
} // namespace vocab

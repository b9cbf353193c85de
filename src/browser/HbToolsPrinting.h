#pragma once

// Routines of the browser tools that print the browser's document, show its
// print preview and its page setup, and one that starts the system's
// default program of a kind (mail, news and the like).
//
// `Browser` is the control; its document must be an HTML document, else
// the routine does nothing. The execute option of a command follows
// HideSetup: the browser's dialog is shown (OLECMDEXECOPT_PROMPTUSER) unless
// it is to be hidden (OLECMDEXECOPT_DONTPROMPTUSER).
//
// Errors: a command the browser refuses throws EOleException from Print
// (without header and footer), PrintSetup, PrintPreview and
// PrintPreviewExtended. A print or page setup the user cancels is no error.
// PrintWithHeaderFooter keeps every error to itself.

#include <QString>

#include <cstdint>

class QWidget;

namespace vocab {

class IHTMLDocument2;
class IWebBrowser2;

namespace HbTools {

// The header and footer go with the print command as a list of the two
// texts, codes and all (HeaderFooter.h).
void PrintWithHeaderFooter(IWebBrowser2 *Browser, const QString &Header, const QString &Footer, std::uint32_t Option);

void Print(IWebBrowser2 *Browser, bool HideSetup, bool WithHeaderFooter, const QString &Header, const QString &Footer);

// Page setup (its result unused), then the print without header and footer.
void PrintWithOptions(IWebBrowser2 *Browser, IHTMLDocument2 *Doc, bool UsePrintOptions, bool &Pending, bool HideSetup,
                      bool Enabled);

// Opens the page-setup dialog through the document. With UsePrintOptions
// and Enabled, `Pending` is raised first so that the dialog is filled from
// the print options when it appears; it is never lowered here. True when
// the command succeeds (the user accepts the dialog).
bool PageSetup(IHTMLDocument2 *Doc, bool UsePrintOptions, bool Enabled, bool &Pending);

// The same dialog through the control; no pre-fill.
void PrintSetup(IWebBrowser2 *Browser, bool HideSetup);

// The print preview, never prompting.
void PrintPreview(IWebBrowser2 *Browser);

// The print preview with the option of HideSetup; then, once its window has
// become the active one (within 7 seconds), that window shown as nCMDShow
// (SW_...) says.
void PrintPreviewExtended(IWebBrowser2 *Browser, int nCMDShow, bool HideSetup);

// Waits, handling events, until the active window is of the class
// `ClassName` (compared exactly) or more than `TimeoutMs` have passed; that
// window, or null. It sleeps between looks rather than spinning.
QWidget *WaitForActiveWindowOfClass(const QString &ClassName, std::uint32_t TimeoutMs);

// Asks the document for a preview through a print template. The engine has
// no print templates, so the document answers that it cannot; nothing happens.
void PrintPreviewFromTemplate(const QString &TemplateFileName, IHTMLDocument2 *Doc);

// Starts the default program of a kind ("Mail", "StartMenuInternet",
// "News", "Contacts", "Calendar", "Media", "IM"): HKEY_LOCAL_MACHINE
// Software\Clients\<Client> names it, and its key's shell\open\command holds
// its command line, split into the program and its arguments the way a
// shell splits words (quotes group, blanks part). When the store names none,
// the desktop's default program for the same kind of data is taken (the
// handler of mailto: addresses for mail, of http: addresses for the web
// browser, and so on), started as its desktop entry says. Either way the
// program is started with its arguments, no shell in between. False when
// neither names a program or it cannot be started.
bool OpenClient(const QString &Client);

} // namespace HbTools
} // namespace vocab

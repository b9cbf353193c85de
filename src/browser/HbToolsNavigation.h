#pragma once

// Routines of the browser tools that navigate the component in special
// ways: to three search engines with a search term, to an address with
// fixed post data and a form header, to an address kept out of the history,
// to a file so that the browser offers to download it, and to the blank
// page; that download an address straight into a file, with or without a
// message; that find the browser of a frame; and that mail the page.

#include "WebBrowser.h"

#include <QString>

#include <cstdint>
#include <memory>

class QObject;

namespace vocab {

class IHTMLDocument2;
class THostedBrowser;

namespace HbTools {

// The query addresses of the search engines, the term in them encoded, so
// that no character of it ("&", "#", a blank, Cyrillic) changes the address.
QString GoogleSearchUrl(const QString &SearchTerm);
QString MSNSearchUrl(const QString &SearchTerm);
QString YahooSearchUrl(const QString &SearchTerm);

void GoSearchInGoogle(THostedBrowser &WB, const QString &SearchTerm);
void GoSearchInMSN(THostedBrowser &WB, const QString &SearchTerm);
void GoSearchInYahoo(THostedBrowser &WB, const QString &SearchTerm);

// Goes to the address; one of blanks and control characters only is left
// alone.
void NavigateToUrl(THostedBrowser &WB, const QString &URL);

// Posts a fixed small form to the address followed by the query.
void GoWithQueryDetails(THostedBrowser &WB, const QString &Url, const QString &Query);

// The UTF-16 code unit at a position counted from 1; 0 for a position
// outside the text.
std::uint16_t CharCodeAt(const QString &Text, int Position);

// Goes to the address in place of the current page's history entry, waits
// for it, and takes it out of the control's store of visited addresses.
void GoNoHistory(THostedBrowser &WB, const QString &URL);

// The browser of the frame `Index` (from 0) of an HTML document; null past
// the last frame and for anything but an HTML document.
void GetFrameBrowser(IHTMLDocument2 *Doc, int Index, std::unique_ptr<IWebBrowser2> &Browser);

// The blank page, waited for; the wait's answer.
bool GoAboutBlank(THostedBrowser &WB);

// Saves the page into `FileName` and mails that file as the attachment of a
// new mail with the subject and body, in the mail client's compose window.
// A page that cannot be saved is not mailed.
void SendPageInMailAsAttachment(THostedBrowser &WB, QObject *aOwner, const QString &FileName, const QString &Subject,
                                const QString &Body);

// Goes to the address so that the browser fetches it itself and offers a
// download of what it cannot show.
void GoDownloadFile(THostedBrowser &WB, const QString &URL);

// Fetches an address (or a file path) into a file, waiting for it; true
// when it came whole. Never throws.
bool DownloadToFile(const QString &SourceFile, const QString &TargetFile);

// The same, telling the user how it went when `Notify`.
void GoDownloadMaskedFile(const QString &SourceFile, const QString &TargetFile, bool Notify);

} // namespace HbTools
} // namespace vocab

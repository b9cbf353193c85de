#include "HbToolsNavigation.h"

#include "SendMail_For_Hb.h"

#include "HbToolsDocument.h"
#include "HbToolsFrames.h"
#include "HbToolsLoading.h"
#include "HbToolsRegistry.h"
#include "HbToolsScript.h"
#include "HostedBrowser.h"
#include "MessageBoxes.h"
#include "OleError.h"
#include "TrimBlanks.h"

#include <QFileInfo>
#include <QUrl>

namespace vocab::HbTools {

namespace {

// The term as one query value. The engines are told it is UTF-8, which is
// how it is encoded here; a Cyrillic term would otherwise reach them garbled.
QString queryValue(const QString &SearchTerm)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(SearchTerm));
}

} // namespace

QString GoogleSearchUrl(const QString &SearchTerm)
{
    return QStringLiteral("https://www.google.com/search?ie=UTF-8&q=") + queryValue(SearchTerm);
}

QString MSNSearchUrl(const QString &SearchTerm)
{
    return QStringLiteral("https://www.bing.com/results.aspx?q=") + queryValue(SearchTerm)
         + QStringLiteral("&FORM=CBPW&first=1&noredir=1");
}

QString YahooSearchUrl(const QString &SearchTerm)
{
    return QStringLiteral("https://search.yahoo.com/bin/search?p=") + queryValue(SearchTerm);
}

void GoSearchInGoogle(THostedBrowser &WB, const QString &SearchTerm)
{
    NavigateToUrl(WB, GoogleSearchUrl(SearchTerm));
}

void GoSearchInMSN(THostedBrowser &WB, const QString &SearchTerm)
{
    NavigateToUrl(WB, MSNSearchUrl(SearchTerm));
}

void GoSearchInYahoo(THostedBrowser &WB, const QString &SearchTerm)
{
    WB.Go(YahooSearchUrl(SearchTerm), 0);
}

void NavigateToUrl(THostedBrowser &WB, const QString &URL)
{
    if (TrimBlanks(URL).isEmpty())
        return;
    WB.Navigate2(URL, 0, 0, 0, 0);
}

void GoWithQueryDetails(THostedBrowser &WB, const QString &Url, const QString &Query)
{
    // The body is the same small form whatever the query.
    const QVariant postData = StringToPostData(QStringLiteral("version=current&name=myname\r\n"));
    const QVariant headers = StringToPostData(QStringLiteral("Content-Type:application/x-www-form-urlencoded\r\n"));
    WB.Navigate2(Url + Query, 0, 0, postData, headers);
}

std::uint16_t CharCodeAt(const QString &Text, int Position)
{
    if (Position < 1 || Position > Text.size())
        return 0;
    return Text.at(Position - 1).unicode();
}

void GoNoHistory(THostedBrowser &WB, const QString &URL)
{
    WB.Navigate(URL, navNoHistory);
    WaitForBrowser(WB);
    auto *history = dynamic_cast<IUrlHistoryStg *>(WB.Control());
    if (!history)
        throw EOleException(E_NOINTERFACE, QStringLiteral("У браузера нет хранилища посещённых адресов"));
    history->DeleteUrl(URL, 0);
}

void GetFrameBrowser(IHTMLDocument2 *Doc, int Index, std::unique_ptr<IWebBrowser2> &Browser)
{
    Browser.reset();
    if (!IsHtmlDocument(Doc))
        return;
    Browser = FrameOf(Doc, Index);
}

bool GoAboutBlank(THostedBrowser &WB)
{
    WB.Go(QStringLiteral("about:blank"), 0);
    return WaitForBrowser(WB);
}

void SendPageInMailAsAttachment(THostedBrowser &WB, QObject *aOwner, const QString &FileName, const QString &Subject,
                                const QString &Body)
{
    // The save is done once it returns, so no pause is needed before the
    // file is handed on; a file that was not written (an older one of that
    // name among them) is not mailed.
    if (WB.SaveToFile(FileName) != S_OK)
        return;
    MailFileAsAttachment(aOwner, FileName, Subject, Body);
}

void GoDownloadFile(THostedBrowser &WB, const QString &URL)
{
    WB.Navigate(URL, navNoHistory | navNoReadFromCache | navNoWriteToCache | navAllowAutosearch | navBrowserBar);
}

bool DownloadToFile(const QString &SourceFile, const QString &TargetFile)
{
    try {
        const QUrl source = QFileInfo::exists(SourceFile) ? QUrl::fromLocalFile(QFileInfo(SourceFile).absoluteFilePath())
                                                           : QUrl::fromUserInput(SourceFile);
        return DownloadToFile(source, TargetFile);
    } catch (const std::exception &) {
        return false;
    }
}

void GoDownloadMaskedFile(const QString &SourceFile, const QString &TargetFile, bool Notify)
{
    const bool done = DownloadToFile(SourceFile, TargetFile);
    if (!Notify)
        return;
    // The addresses and paths are shown as they stand, whatever they hold.
    if (done)
        MessageBox(QStringLiteral("Downloading: ") + SourceFile + QStringLiteral("\n\r") + QStringLiteral("To: ") + TargetFile
                       + QStringLiteral("\n\r") + QStringLiteral("was successfully finished."),
                   QStringLiteral("Download successful."), MB_OK, nullptr, Qt::PlainText);
    else
        MessageBox(QStringLiteral("An error ocurred while downloading the file.") + SourceFile,
                   QStringLiteral("Downloading Error!!"), MB_ICONERROR, nullptr, Qt::PlainText);
}

} // namespace vocab::HbTools

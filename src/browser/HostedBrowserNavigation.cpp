// THostedBrowser's navigation variants, search engines and downloads.

#include "HostedBrowser.h"

#include "HbToolsNavigation.h"

namespace vocab {

void THostedBrowser::GoSearchInGoogle(const QString &SearchTerm)
{
    HbTools::GoSearchInGoogle(*this, SearchTerm);
}

void THostedBrowser::GoSearchInMSN(const QString &SearchTerm)
{
    HbTools::GoSearchInMSN(*this, SearchTerm);
}

void THostedBrowser::GoSearchInYahoo(const QString &SearchTerm)
{
    HbTools::GoSearchInYahoo(*this, SearchTerm);
}

void THostedBrowser::GoDownloadFile(const QString &URL)
{
    HbTools::GoDownloadFile(*this, URL);
}

void THostedBrowser::GoDownloadMaskedFile(const QString &SourceFile, const QString &TargetFile, bool Notify)
{
    HbTools::GoDownloadMaskedFile(SourceFile, TargetFile, Notify);
}

void THostedBrowser::GoWithQueryDetails(const QString &Url, const QString &Query)
{
    HbTools::GoWithQueryDetails(*this, Url, Query);
}

void THostedBrowser::GoNoHistory(const QString &URL)
{
    HbTools::GoNoHistory(*this, URL);
}

void THostedBrowser::GoAboutBlank()
{
    HbTools::GoAboutBlank(*this);
}

void THostedBrowser::SendPageInMailAsAttachment(QObject *aOwner, const QString &FileName, const QString &Subject,
                                                const QString &Body)
{
    HbTools::SendPageInMailAsAttachment(*this, aOwner, FileName, Subject, Body);
}

} // namespace vocab

// THostedBrowser's methods over the browser tools: each fetches what its
// routine needs (the control, the document, the window), some wait for the
// page first, and hands on the routine's answer.

#include "HostedBrowser.h"

#include "HbToolsDocument.h"
#include "HbToolsPicture.h"
#include "HbToolsUrl.h"

namespace vocab {

QString THostedBrowser::EncodeUrl(const QString &InputStr, bool bQueryStr) const
{
    return HbTools::EncodeUrl(InputStr, bQueryStr);
}

QString THostedBrowser::DecodeUrl(const QString &InputStr) const
{
    return HbTools::DecodeUrl(InputStr);
}

bool THostedBrowser::IsValidProtocol(const QString &URL) const
{
    return HbTools::IsValidProtocol(URL);
}

bool THostedBrowser::ImportCertFile(const QString &FileName, const QString &StoreType) const
{
    return HbTools::ImportCertFile(FileName, StoreType);
}

QString THostedBrowser::GetWordAtCursor(int X, int Y)
{
    return HbTools::GetWordAtCursor(X, Y, *this);
}

void THostedBrowser::ScrollToIDEx(const QString &ID)
{
    HbTools::ScrollToIDEx(ID, *this);
}

void THostedBrowser::ScrollToID(int ID)
{
    HbTools::ScrollToID(ID, *this);
}

bool THostedBrowser::HScrollBarVisible()
{
    bool horizontal = false;
    bool vertical = false;
    HbTools::GetScrollBarsVisibility(*this, horizontal, vertical);
    return horizontal;
}

bool THostedBrowser::VScrollBarVisible()
{
    bool horizontal = false;
    bool vertical = false;
    HbTools::GetScrollBarsVisibility(*this, horizontal, vertical);
    return vertical;
}

int THostedBrowser::HScrollBarPosition()
{
    QPoint point;
    return HbTools::GetScrollPosition(*this, point) ? point.x() : -1;
}

int THostedBrowser::VScrollBarPosition()
{
    QPoint point;
    return HbTools::GetScrollPosition(*this, point) ? point.y() : -1;
}

QString THostedBrowser::DocumentSource()
{
    return HbTools::DocumentSource(DefaultInterface());
}

QString THostedBrowser::DocumentSourceText()
{
    return HbTools::DocumentSourceText(DefaultInterface(), Document());
}

bool THostedBrowser::AddHtmlToAboutBlank(const QString &StringToHtml)
{
    // The text goes in as the page, never inside an address, where a "#"
    // or a "%" of it would change what is shown.
    if (!DocumentOrEmptyPage())
        return false;
    if (IHTMLDocument2 *doc = Document()) {
        doc->write(StringToHtml);
        doc->close();
    }
    return true;
}

int THostedBrowser::FrameCount()
{
    Wait(0);
    return HbTools::FrameCount(Document());
}

int THostedBrowser::FrameCountFromDocument(IHTMLDocument2 *SourceDoc)
{
    Wait(0);
    return HbTools::FrameCountFromDocument(SourceDoc);
}

QString THostedBrowser::GetCookie()
{
    return HbTools::GetCookie(DefaultInterface());
}

void THostedBrowser::ScrollToTop()
{
    Wait(0);
    HbTools::ScrollToTop(DefaultInterface());
}

void THostedBrowser::ScrollToBottom()
{
    Wait(0);
    HbTools::ScrollToBottom(Document());
}

void THostedBrowser::ScrollToPosition(int X, int Y)
{
    Wait(0);
    HbTools::ScrollToPosition(DefaultInterface(), X, Y);
}

bool THostedBrowser::SetCharartersSet(const QString &ACharactersSet, bool Refresh)
{
    return HbTools::SetCharartersSet(*this, Document(), ACharactersSet, Refresh);
}

void THostedBrowser::GetThumbnail(QImage *Image)
{
    HbTools::GetThumbnail(DefaultInterface(), Image);
}

bool THostedBrowser::GetBmpFromBrowser(const QString &FileName)
{
    return HbTools::GetBmpFromBrowser(Document(), this, width(), FileName, height());
}

bool THostedBrowser::GetJpegFromBrowser(const QString &FileName, int SourceHeight, int SourceWidth, int TargetHeight,
                                        int TargetWidth)
{
    return HbTools::GetJpegFromBrowser(DefaultInterface(), FileName, SourceHeight, SourceWidth, TargetHeight, TargetWidth);
}

void THostedBrowser::ViewPageSourceText()
{
    HbTools::ViewPageSourceText(DefaultInterface(), Document());
}

void THostedBrowser::ViewPageSourceTextToStrings(QStringList &TextList)
{
    Wait(0);
    HbTools::ViewPageSourceTextToStrings(DefaultInterface(), Document(), TextList);
}

void THostedBrowser::ViewPageSourceHtmlToStrings(QStringList &HtmlList)
{
    Wait(0);
    HbTools::ViewPageSourceHtmlToStrings(DefaultInterface(), Document(), HtmlList);
}

void THostedBrowser::ViewPageLinksToStrings(QStringList &LinksList)
{
    HbTools::ViewPageLinksToStrings(DefaultInterface(), LinksList);
}

} // namespace vocab

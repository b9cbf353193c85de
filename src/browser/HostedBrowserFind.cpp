// THostedBrowser's find, highlight and form filling.

#include "HostedBrowser.h"

#include "HbToolsFind.h"
#include "OleError.h"

#include <limits>

namespace vocab {

namespace {

const QString Character = QStringLiteral("character");

// What tells one page of the control from the next, even of one address:
// the moment its window began (every page comes in a window of its own).
QVariant documentIdentity(IHTMLDocument2 *doc)
{
    const auto *automation = dynamic_cast<const IDocumentAutomation *>(doc);
    return automation ? automation->Invoke(QStringLiteral("return w.performance.timeOrigin;")) : QVariant();
}

} // namespace

std::unique_ptr<IHTMLTxtRange> THostedBrowser::SearchText(const QString &Value, int iPos)
{
    return HbTools::SearchText(*this, Document(), Value, iPos, 1);
}

bool THostedBrowser::SearchString(const QString &strText)
{
    return HbTools::SearchString(*this, strText);
}

void THostedBrowser::SearchAndHighlight(const QString &ACaption, const QString &APrompt, const QString &aText,
                                        bool ShowInputQuery)
{
    Wait(0);
    HbTools::SearchAndHighlight(Document(), ACaption, APrompt, aText, ShowInputQuery);
}

bool THostedBrowser::FillForm(const QString &FieldName, const QString &Value)
{
    return HbTools::FillForm(*this, FieldName, Value);
}

QString THostedBrowser::GetFieldValue(const QString &FieldName)
{
    return HbTools::GetFieldValue(OleObject(), FieldName);
}

void THostedBrowser::FillFormAndExcecute()
{
    HbTools::FillFormAndExcecute();
}

TSearchResults THostedBrowser::SearchNextText(const QString &Value, TSearchDirections Direction, bool AutoSelect)
{
    if (QString::compare(Value, FSearchText, Qt::CaseInsensitive) != 0) {
        FTextRange.reset();
        FSearchText = Value;
        FHTMLChar = 0;
    }
    TSearchResults result{srNotFound};
    if (FSearchText.isEmpty())
        return result;
    IHTMLDocument2 *doc = GetDocument();
    if (!doc)
        return result;

    // A range of a page that has gone cannot be searched on: the new page
    // starts over.
    const QVariant shown = documentIdentity(doc);
    if (FTextRange && shown != FSearchDocument) {
        FTextRange.reset();
        FHTMLChar = 0;
    }
    if (!FTextRange) {
        const std::unique_ptr<IHTMLElement> body = doc->body();
        const auto *element = dynamic_cast<const IHTMLBodyElement *>(body.get());
        if (!element)
            return result;
        FTextRange = element->createTextRange();
        FSearchDocument = shown;
        // A new range is searched whole, from its top down, or up from its
        // end: moved like a range that was searched before, it would miss an
        // occurrence at the very top, or going up find nothing at all.
        if (Direction == sdUp)
            FTextRange->move(Character, std::numeric_limits<int>::max());
    } else if (FHTMLChar != 0) {
        const bool sameWay = FHTMLChar == Direction + 1;
        FTextRange->move(Character, !sameWay ? 0 : Direction == sdDown ? 1 : -1);
    } else if (FLastSearchDirection != Direction) {
        FTextRange->move(Character, FLastSearchDirection == sdDown ? -1 : 1);
    }

    if (FTextRange->findText(FSearchText, Direction == sdDown ? 1 : -1, 0)) {
        FTextRange->scrollIntoView(true);
        if (AutoSelect) {
            try {
                FTextRange->select();
            } catch (const EOleException &) {
            }
        }
        result = TSearchResults{srFound};
        FHTMLChar = static_cast<char16_t>(Direction + 1);
    } else {
        FHTMLChar = 0;
    }
    if (FLastSearchDirection == Direction && FHTMLChar == 0)
        result.insert(srEndOf);
    FLastSearchDirection = Direction;
    return result;
}

} // namespace vocab

#include "OutsideWords.h"

#include "SearchText.h"
#include "TrimBlanks.h"

namespace vocab {

void TrimTrailingPunctuation(QString &ExternalWord)
{
    ExternalWord = TrimBlanks(ExternalWord);
    if (ExternalWord.size() >= 2) {
        const QChar last = ExternalWord.back();
        if (last == u'.' || last == u',' || last == u':' || last == u';' || last == u'-')
            ExternalWord.chop(1);
    }
}

QString ExternalWordOf(const QString &text)
{
    QString word = text;
    TrimTrailingPunctuation(word);
    return NormalizeSearchText(word);
}

QString CutOutsideText(const QString &text)
{
    return text.size() > 250 ? text.left(230) : text;
}

bool WithinWordLimit(const QString &word)
{
    return !word.isEmpty() && word.size() <= ExternalWordLimit;
}

bool ArticleViewArea::Contains(QPoint p) const
{
    const int left = Left();
    const int top = Top();
    return left < p.x() && p.x() < left + viewWidth && top < p.y() && p.y() < top + viewHeight;
}

QPoint ArticleViewArea::PointerParking() const
{
    return {windowTopLeft.x() + panelWidth - 27, windowTopLeft.y() + viewTop + 130};
}

PopupBrowserItems PopupBrowserItemsFor(const QString &word, bool isHeadword)
{
    if (word.isEmpty())
        return {};
    if (word.size() > ExternalWordLimit)
        return {true, false, false, false};
    return {true, true, true, isHeadword};
}

} // namespace vocab

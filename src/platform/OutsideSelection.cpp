#include "OutsideSelection.h"

#include <QClipboard>
#include <QGuiApplication>

namespace vocab {

QString OutsideSelectionText()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return {};
    return clipboard->text(QClipboard::Clipboard);
}

} // namespace vocab

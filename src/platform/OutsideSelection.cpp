#include "OutsideSelection.h"

#include <QClipboard>
#include <QGuiApplication>

namespace vocab {

QString OutsideSelectionText()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return {};
    if (clipboard->supportsSelection()) {
        const QString selected = clipboard->text(QClipboard::Selection);
        if (!selected.isEmpty())
            return selected;
    }
    return clipboard->text(QClipboard::Clipboard);
}

} // namespace vocab

#include "PageDialogOwner.h"

#include <QWebEnginePage>
#include <QWebEngineView>

namespace vocab {

PageDialogOwner::PageDialogOwner(QWebEnginePage *page) : m_page(page) {}

QWidget *PageDialogOwner::dialogParent() const
{
    return m_page ? QWebEngineView::forPage(m_page) : nullptr;
}

} // namespace vocab

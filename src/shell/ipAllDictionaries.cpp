// The main window's page of one headword from all dictionaries.
#include "ip.h"

#include "AllDictionariesPage.h"

#include <QTimer>

#include <algorithm>
#include <utility>

namespace vocab {

void TForm1::Button_All_dic_Content()
{
    switch (CheckPageStart(ComboBox1->currentText(), PickedHeadword)) {
    case PageStart::Build:
        break;
    case PageStart::EmptyText:
        FocusSearchBox();
        return;
    case PageStart::NoHeadword:
    case PageStart::OtherLetter:
        return;
    }
    // The bar's first position is always painted.
    m_progressPainted.invalidate();
    SetProgress(0);
    // The row's headword is used up by its page: Enter again builds none
    // until another row is picked.
    const QString key = std::exchange(PickedHeadword, QString());

    std::vector<PageTreeNode> nodes;
    for (const QTreeWidgetItem *item : TreeNodes::all(TreeView1))
        nodes.push_back({item->text(0), TreeNodes::kind(item), TreeNodes::folder(item)});
    const AllDictionariesPage page(lookup.BaseDir(), ProgramDir(), TreeLines);
    AllDictionariesResult result = page.Build(PageHead, key, nodes, GrayList, [this](int position) { SetProgress(position); });

    WriteHtmlToBrowser(result.page);
    if (result.found)
        TimerFocusWB->start(100);
    // Grey-listed names that no dictionary of the tree bears any more are
    // forgotten.
    GrayListWork = std::move(result.GrayListWork);
    RemoveGrayNames(GrayList, GrayListWork);
    RefocusSearchBoxAtEnd();
    AddToHistory(key);
}

void TForm1::SetProgress(int position)
{
    // The bar takes only positions inside its range; the page's steps run
    // from just below it to just above it. A bar paints itself the moment
    // its value changes, which here, where the page is built without
    // returning to the event loop, would be once for every dictionary: its
    // painting is left to the frames below, its value is only moved.
    ProgressBar1->setUpdatesEnabled(false);
    ProgressBar1->setValue(std::clamp(position, ProgressBar1->minimum(), ProgressBar1->maximum()));
    ProgressBar1->setUpdatesEnabled(true);
    // The bar is painted as it moves, but no more often than a screen shows
    // frames, as a page over many dictionaries would spend more time
    // painting the bar than reading them. The last position is painted once
    // the page is written and the event loop runs again.
    if (!m_progressPainted.isValid() || m_progressPainted.elapsed() >= ProgressFrameMs) {
        ProgressBar1->repaint();
        m_progressPainted.start();
    }
}

} // namespace vocab

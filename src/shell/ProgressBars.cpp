#include "ProgressBars.h"

#include <QProgressBar>

#include <algorithm>

namespace vocab {

void ColourProgressBar(QProgressBar *bar)
{
    bar->setStyleSheet(QStringLiteral("QProgressBar::chunk { background: #A0A0A4; }"));
}

void ShowBarPosition(QProgressBar *bar, int position)
{
    bar->setValue(std::clamp(position, bar->minimum(), bar->maximum()));
    bar->repaint();
}

} // namespace vocab

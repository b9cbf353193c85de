#pragma once

#include <QSize>
#include <QWidget>

namespace vocab {

// A widget of a laid-out window keeps at least the size it was drawn with,
// and takes more when its text needs it in the font of the day. (A minimum
// size set on a widget replaces its size hint in a layout, so the two are
// joined here.)
inline void KeepAtLeast(QWidget *widget, QSize drawn)
{
    widget->setMinimumSize(drawn.expandedTo(widget->sizeHint()));
}

} // namespace vocab

#pragma once

#include <QLayout>
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

// A laid-out window takes its size once, as large as it was drawn or as its
// layout needs in the font in use, whichever is larger in each direction,
// and keeps it: neither the user nor a text that changes later resizes it.
// Its widgets have their places within it from now on.
inline void KeepSizeFromNowOn(QWidget *window, QSize drawn)
{
    QLayout *layout = window->layout();
    // A text that needs more room later no longer makes the window grow.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    window->setFixedSize(drawn.expandedTo(window->minimumSizeHint()));
    layout->activate();
}

} // namespace vocab

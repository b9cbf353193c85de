#include "LinkLabel.h"

#include <QMouseEvent>

namespace vocab {

LinkLabel::LinkLabel(QWidget *parent) : QLabel(parent)
{
    // Moves are wanted with no button held, too.
    setMouseTracking(true);
}

void LinkLabel::mouseMoveEvent(QMouseEvent *event)
{
    QLabel::mouseMoveEvent(event);
    emit mouseMoved();
}

void LinkLabel::leaveEvent(QEvent *event)
{
    QLabel::leaveEvent(event);
    emit mouseLeft();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    // A press that was dragged off the label is no click.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace vocab

#pragma once

#include <QLabel>

namespace vocab {

// A label that reads as a link: it reports the pointer moving over it, the
// pointer leaving it and a click with the left button, and leaves how it
// looks then to its window.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(QWidget *parent = nullptr);

signals:
    void mouseMoved();
    void mouseLeft();
    void clicked();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

} // namespace vocab

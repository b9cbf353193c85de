#pragma once

#include "ui_about_dic.h"

#include <QDialog>
#include <QPointer>

namespace vocab {

class TForm1;

// The about box: the program's picture, the maker's site and e-mail address
// as links, and two lines about the program. Closing frees it, so each
// opening is a fresh dialog.
class Tabout1 : public QDialog, public Ui::Tabout1 {
    Q_OBJECT
public:
    // Modal over `owner`, whose options file it opens anew when shown.
    explicit Tabout1(TForm1 &owner);

    void FormShow();
    void site1MouseMove();
    void site1MouseLeave();
    void site1Click();
    void mailMouseMove();
    void mailMouseLeave();
    void mailClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Wide enough for the addresses, and no smaller than the box was drawn.
    void fitToLabels();

    TForm1 &m_owner;
};

// The about box while it is open.
inline QPointer<Tabout1> about1;

} // namespace vocab

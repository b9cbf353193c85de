#pragma once

#include "ui_AddDic.h"

#include <QDialog>

namespace vocab {

// The progress window of installing new dictionaries at start: borderless,
// of one size while it is open, centred on the screen, over every other
// window of the program, which it keeps from taking input while the
// installation runs. Its Tag is the cancel request: the button sets it, and
// so does any request to close the window, which only the installation
// itself closes.
class TFormAddDic : public QDialog, public Ui::TFormAddDic {
    Q_OBJECT
public:
    explicit TFormAddDic(QWidget *parent = nullptr);

    bool Tag = false;

    void Button1Click();

    // Shows the name of the dictionary being added, cut as ShortDictionaryName
    // cuts it, and cut further to the width of its label.
    void ShowDictionaryName(const QString &name);

private:
    void layOut();

protected:
    // FormShow: the bar's colour.
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    // Escape.
    void reject() override;
};

} // namespace vocab

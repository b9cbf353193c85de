#pragma once

#include "ui_UnitDelete.h"

#include <QDialog>
#include <QString>

namespace vocab {

// The question before a dictionary is deleted. It is made anew for each
// deletion; its result is 1 (OK) only after "Удалить словарь". "Отмена", the
// close box and Enter on the button that has the focus at first all cancel.
class TFormDelete : public QDialog, public Ui::TFormDelete {
public:
    // `dictionaryName` is the display name of the dictionary to delete.
    TFormDelete(QString dictionaryName, QWidget *parent);

    static constexpr int DeleteResult = 1;

    // The question about the named dictionary.
    static QString Question(const QString &dictionaryName);

    void FormShow();
    void ButtonDeleteClick();
    void ButtonCancelClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void layOut();

    QString m_dictionaryName;
};

} // namespace vocab

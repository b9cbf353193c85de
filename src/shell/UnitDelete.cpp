#include "UnitDelete.h"

#include "ErrorHandler.h"

namespace vocab {

TFormDelete::TFormDelete(QString dictionaryName, QWidget *parent)
    : QDialog(parent), m_dictionaryName(std::move(dictionaryName))
{
    setupUi(this);
    setWindowFlag(Qt::Tool);
    connect(ButtonDelete, &QPushButton::clicked, this, [this] { guarded([this] { ButtonDeleteClick(); }); });
    connect(ButtonCancel, &QPushButton::clicked, this, [this] { guarded([this] { ButtonCancelClick(); }); });
}

QString TFormDelete::Question(const QString &dictionaryName)
{
    return QStringLiteral("Словарь ") + dictionaryName + QStringLiteral(" будет удален")
        + QStringLiteral(" из списка словарей, а также с жесткого диска вашего компьютера. Продолжить?");
}

void TFormDelete::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    guarded([this] { FormShow(); });
}

void TFormDelete::FormShow()
{
    StaticText1->setText(Question(m_dictionaryName));
    // Enter must not delete by accident: the focus starts on "Отмена".
    ButtonCancel->setFocus();
}

void TFormDelete::ButtonDeleteClick()
{
    done(DeleteResult);
}

void TFormDelete::ButtonCancelClick()
{
    // Closing gives the cancel result, as the close box does.
    close();
}

} // namespace vocab

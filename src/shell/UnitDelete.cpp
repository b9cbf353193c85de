#include "UnitDelete.h"

#include "ErrorHandler.h"
#include "WidgetSizes.h"

#include <QBoxLayout>

namespace vocab {

TFormDelete::TFormDelete(QString dictionaryName, QWidget *parent)
    : QDialog(parent), m_dictionaryName(std::move(dictionaryName))
{
    setupUi(this);
    layOut();
    setWindowFlag(Qt::Tool);
    connect(ButtonDelete, &QPushButton::clicked, this, [this] { guarded([this] { ButtonDeleteClick(); }); });
    connect(ButtonCancel, &QPushButton::clicked, this, [this] { guarded([this] { ButtonCancelClick(); }); });
}

void TFormDelete::layOut()
{
    // At least as large as it was drawn, and as wide as the buttons' texts
    // take in the desktop's font; the question wraps inside the room above.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(16, 16, 22, 11);
    column->setSpacing(15);
    StaticText1->setMinimumSize(241, 81);
    column->addWidget(StaticText1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(39);
    KeepAtLeast(ButtonDelete, QSize(113, 25));
    KeepAtLeast(ButtonCancel, QSize(89, 25));
    buttons->addWidget(ButtonDelete);
    buttons->addStretch(1);
    buttons->addWidget(ButtonCancel);
    column->addLayout(buttons);
    column->setSizeConstraint(QLayout::SetMinimumSize);
    resize(QSize(279, 148).expandedTo(minimumSizeHint()));
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

#include "UnitDelete.h"

#include "ErrorHandler.h"
#include "WidgetSizes.h"

#include <QBoxLayout>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace vocab {

TFormDelete::TFormDelete(QString dictionaryName, QWidget *parent)
    : QDialog(parent, Qt::Tool), m_dictionaryName(std::move(dictionaryName))
{
    setupUi(this);
    layOut();
    connect(ButtonDelete, &QPushButton::clicked, this, [this] { guarded([this] { ButtonDeleteClick(); }); });
    connect(ButtonCancel, &QPushButton::clicked, this, [this] { guarded([this] { ButtonCancelClick(); }); });
}

void TFormDelete::layOut()
{
    // The dialog takes its size here, once: as large as it was drawn, or as
    // the buttons' texts and the question about this dictionary take in the
    // font in use. Its border lets no one resize it.
    ensurePolished(); // the question's font comes with its style sheet
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(16, 16, 22, 11);
    column->setSpacing(15);
    column->addWidget(StaticText1);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(39);
    KeepAtLeast(ButtonDelete, QSize(113, 25));
    KeepAtLeast(ButtonCancel, QSize(89, 25));
    buttons->addWidget(ButtonDelete);
    buttons->addStretch(1);
    buttons->addWidget(ButtonCancel);
    column->addLayout(buttons);
    // The question wraps in the room above the buttons, as wide as it was
    // drawn or as the buttons' row, and as tall as its lines there. A word
    // of the name too long for a line widens it, but never past the screen,
    // where the buttons would be out of reach.
    const int width = std::max(241, ButtonDelete->minimumWidth() + buttons->spacing() + ButtonCancel->minimumWidth());
    const QRect lines = StaticText1->fontMetrics().boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap,
                                                                Question(m_dictionaryName));
    int widest = QWIDGETSIZE_MAX;
    if (const QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen())
        widest = screen->availableGeometry().width() - 16 - 22;
    StaticText1->setFixedSize(std::max(width, std::min(lines.width(), widest)), std::max(81, lines.height()));
    KeepSizeFromNowOn(this, QSize(279, 148));
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

#include "AddDic.h"

#include "ErrorHandler.h"
#include "NewDictionaries.h"
#include "ProgressBars.h"
#include "WidgetSizes.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QScreen>

namespace vocab {

TFormAddDic::TFormAddDic(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setupUi(this);
    layOut();
    setWindowModality(Qt::ApplicationModal);
    connect(Button1, &QPushButton::clicked, this, [this] { guarded([this] { Button1Click(); }); });
    ProgressBar1->setFocus();
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TFormAddDic::layOut()
{
    // The window is at least as large as it was drawn, and as wide as its
    // texts take in the desktop's font, whatever its size.
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(16, 12, 16, 6);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(6);
    grid->addWidget(Label1, 0, 0, 1, 2);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(LabelNameDic, 1, 1);
    grid->addWidget(LabelStatistics, 2, 0, 1, 2);
    grid->addWidget(ProgressBar1, 3, 0, 1, 2);
    grid->addWidget(Button1, 4, 1, Qt::AlignRight);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);
    // A name is shown cut to its first 38 characters: room for one of
    // letters of middle width, and more when a wider one comes.
    grid->setColumnMinimumWidth(
        1, LabelNameDic->fontMetrics().horizontalAdvance(ShortDictionaryName(QString(39, u'о'))));
    KeepAtLeast(Button1, QSize(75, 25));
    grid->setSizeConstraint(QLayout::SetMinimumSize);
    resize(QSize(428, 141).expandedTo(minimumSizeHint()));
}

void TFormAddDic::Button1Click()
{
    Tag = true;
}

void TFormAddDic::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    ColourProgressBar(ProgressBar1);
}

void TFormAddDic::closeEvent(QCloseEvent *event)
{
    Tag = true;
    event->ignore();
}

void TFormAddDic::reject()
{
    Tag = true;
}

} // namespace vocab

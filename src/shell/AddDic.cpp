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
    // The window takes its size here, once: as large as it was drawn, or as
    // its texts take in the font in use, with room for a name of 38 letters
    // of middle width. It keeps that size while it is open: a name too wide
    // for its label is cut to it.
    ensurePolished(); // the fonts the style gives, before anything is measured
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
    grid->setColumnMinimumWidth(
        1, LabelNameDic->fontMetrics().horizontalAdvance(ShortDictionaryName(QString(39, u'о'))));
    KeepAtLeast(Button1, QSize(75, 25));
    KeepSizeFromNowOn(this, QSize(428, 141));
    LabelNameDic->setFixedWidth(LabelNameDic->width());
}

void TFormAddDic::ShowDictionaryName(const QString &name)
{
    // The name is the dictionary maker's text: a "<b>" in it is letters.
    LabelNameDic->setTextFormat(Qt::PlainText);
    LabelNameDic->setText(FitDictionaryName(name, LabelNameDic->fontMetrics(), LabelNameDic->contentsRect().width()));
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

#include "AddDic.h"

#include "ErrorHandler.h"
#include "ProgressBars.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

namespace vocab {

TFormAddDic::TFormAddDic(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setupUi(this);
    setFixedSize(428, 141);
    setWindowModality(Qt::ApplicationModal);
    LabelNameDic->setFixedWidth(LabelNameDic->width());
    connect(Button1, &QPushButton::clicked, this, [this] { guarded([this] { Button1Click(); }); });
    ProgressBar1->setFocus();
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
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

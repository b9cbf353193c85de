#include "about_dic.h"

#include "ErrorHandler.h"
#include "IniFile.h"
#include "ShellLinks.h"
#include "ShellTexts.h"
#include "ip.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace vocab {

namespace {

// A link label under the pointer is underlined and shows the hand.
void showHovered(QLabel *label, bool hovered)
{
    QFont font = label->font();
    font.setUnderline(hovered);
    label->setFont(font);
    if (hovered)
        label->setCursor(Qt::PointingHandCursor);
    else
        label->unsetCursor();
}

} // namespace

Tabout1::Tabout1(TForm1 &owner) : QDialog(&owner), m_owner(owner)
{
    setupUi(this);
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);

    site1->setText(texts::SiteCaption);
    mail->setText(texts::MailAddress);
    QFont labelFont(QStringLiteral("Arial"));
    labelFont.setPixelSize(12);
    for (QLabel *label : {Label1, Label2, Label3, Label4, static_cast<QLabel *>(site1), static_cast<QLabel *>(mail)})
        label->setFont(labelFont);
    fitToLabels();

    connect(site1, &LinkLabel::mouseMoved, this, [this] { guarded([this] { site1MouseMove(); }); });
    connect(site1, &LinkLabel::mouseLeft, this, [this] { guarded([this] { site1MouseLeave(); }); });
    connect(site1, &LinkLabel::clicked, this, [this] { guarded([this] { site1Click(); }); });
    connect(mail, &LinkLabel::mouseMoved, this, [this] { guarded([this] { mailMouseMove(); }); });
    connect(mail, &LinkLabel::mouseLeft, this, [this] { guarded([this] { mailMouseLeave(); }); });
    connect(mail, &LinkLabel::clicked, this, [this] { guarded([this] { mailClick(); }); });

    // Centred on the screen, not on the main window.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void Tabout1::fitToLabels()
{
    int right = width();
    for (QLabel *label : findChildren<QLabel *>()) {
        label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
        right = std::max(right, label->geometry().right() + 9);
    }
    setFixedSize(right, height());
}

void Tabout1::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    guarded([this] { FormShow(); });
}

void Tabout1::FormShow()
{
    // The main window's options file opened anew on the same file; the one
    // it replaces is released. Every read and write goes to the file at once,
    // so nothing is lost in between.
    m_owner.IniFile = std::make_unique<TIniFile>(ConfigPaths(m_owner.dir_iniFile).optionsIni);
}

void Tabout1::site1MouseMove()
{
    showHovered(site1, true);
}

void Tabout1::site1MouseLeave()
{
    showHovered(site1, false);
}

void Tabout1::site1Click()
{
    OpenLink(QUrl(texts::SiteUrl));
}

void Tabout1::mailMouseMove()
{
    showHovered(mail, true);
}

void Tabout1::mailMouseLeave()
{
    showHovered(mail, false);
}

void Tabout1::mailClick()
{
    OpenLink(MailLink(texts::MailAddress));
}

} // namespace vocab

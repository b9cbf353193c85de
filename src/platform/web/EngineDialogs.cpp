#include "EngineDialogs.h"

#include "MessageBoxes.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QUrl>

namespace vocab {

bool askCredentials(QWidget *parent, const QUrl &url, const QString &realm, QString &user, QString &password)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Вход на сайт"));
    auto *layout = new QFormLayout(&dialog);
    auto *asking = new QLabel(QStringLiteral("Сайт %1 просит имя и пароль%2.")
                                  .arg(url.host(), realm.isEmpty() ? QString() : QStringLiteral(" («%1»)").arg(realm)));
    // The realm is the server's text, shown as it stands.
    asking->setTextFormat(Qt::PlainText);
    layout->addRow(asking);
    auto *name = new QLineEdit(user);
    auto *secret = new QLineEdit;
    secret->setEchoMode(QLineEdit::Password);
    layout->addRow(QStringLiteral("Имя:"), name);
    layout->addRow(QStringLiteral("Пароль:"), secret);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    user = name->text();
    password = secret->text();
    return true;
}

QString askDownloadPath(QWidget *parent, const QString &suggestedPath)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Сохранить файл"), suggestedPath);
}

bool askContinueScripts(QWidget *parent, const QString &message, int line, const QString &url)
{
    const QString text = QStringLiteral("На странице произошла ошибка сценария.\n\n%1\nСтрока: %2\nАдрес: %3\n\n"
                                        "Продолжить выполнение сценариев на этой странице?")
                             .arg(message)
                             .arg(line)
                             .arg(url);
    return MessageBox(text, QStringLiteral("Ошибка сценария"), MB_YESNO | MB_ICONWARNING, parent, Qt::PlainText) == IDYES;
}

} // namespace vocab

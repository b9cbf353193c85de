#include "Favorites.h"

#include "AppError.h"
#include "ListFile.h"
#include "MessageBoxes.h"
#include "SpecialFolders.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vocab {

namespace {

// Bytes of UTF-8 a name may take, leaving room for ".url" within the 255
// bytes of a file name.
constexpr qsizetype maxNameBytes = 240;

bool refused(QChar c)
{
    return QStringView(u"\\/:*?\"<>|").contains(c) || c.category() == QChar::Other_Control ||
           c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph;
}

class AddFavoriteDialog : public QDialog {
public:
    AddFavoriteDialog(const QString &url, const QString &title, QWidget *parent) : QDialog(parent)
    {
        setWindowTitle(QStringLiteral("Добавить в Избранное"));
        auto *layout = new QFormLayout(this);
        m_name = new QLineEdit(SanitizeFavoriteName(title), this);
        m_name->setObjectName(QStringLiteral("name"));
        layout->addRow(QStringLiteral("&Имя:"), m_name);
        auto *address = new QLabel(url, this);
        address->setTextFormat(Qt::PlainText);
        address->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addRow(QStringLiteral("Адрес:"), address);
        auto *buttons = new QDialogButtonBox(this);
        m_ok = buttons->addButton(QStringLiteral("ОК"), QDialogButtonBox::AcceptRole);
        buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
        layout->addRow(buttons);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        connect(m_name, &QLineEdit::textChanged, this, [this] { updateOk(); });
        updateOk();
    }

    QString name() const { return SanitizeFavoriteName(m_name->text()); }

private:
    void updateOk() { m_ok->setEnabled(!name().isEmpty()); }

    QLineEdit *m_name;
    QPushButton *m_ok;
};

} // namespace

QString SanitizeFavoriteName(const QString &name)
{
    QString clean;
    for (const QChar c : name) {
        const QChar kept = refused(c) ? QChar(u' ') : c;
        if (kept.isSpace() && (clean.isEmpty() || clean.back() == u' '))
            continue;
        clean += kept.isSpace() ? QChar(u' ') : kept;
    }
    while (!clean.isEmpty() && (clean.front() == u'.' || clean.front() == u' '))
        clean.remove(0, 1);
    // Cut whole characters only, never half of a pair.
    while (clean.toUtf8().size() > maxNameBytes)
        clean.chop(clean.size() >= 2 && clean.back().isLowSurrogate() ? 2 : 1);
    while (!clean.isEmpty() && (clean.back() == u'.' || clean.back() == u' '))
        clean.chop(1);
    return clean;
}

QString WriteInternetShortcut(const QString &folder, const QString &name, const QString &url)
{
    const QString clean = SanitizeFavoriteName(name);
    if (clean.isEmpty())
        throw FileError(QStringLiteral("Пустое имя ссылки Избранного"));
    QString address = url;
    address.remove(u'\r');
    address.remove(u'\n');
    const QString path = QDir(folder).filePath(clean + QStringLiteral(".url"));
    ListFile::write(path, {QStringLiteral("[InternetShortcut]"), QStringLiteral("URL=") + address});
    return path;
}

bool AddFavorite(const QString &url, const QString &title, QWidget *parent)
{
    const QString folder = SpecialFolderPath(CSIDL_FAVORITES, true);
    if (folder.isEmpty())
        return false;
    AddFavoriteDialog dialog(url, title, parent);
    while (dialog.exec() == QDialog::Accepted) {
        const QString name = dialog.name();
        const bool exists = QFileInfo::exists(QDir(folder).filePath(name + QStringLiteral(".url")));
        if (exists && MessageBox(QStringLiteral("Ссылка «%1» уже есть в Избранном. Заменить её?").arg(name),
                                 QStringLiteral("Добавить в Избранное"), MB_YESNO | MB_ICONQUESTION, &dialog) != IDYES)
            continue;
        WriteInternetShortcut(folder, name, url);
        return true;
    }
    return false;
}

} // namespace vocab

#include "EnginePageDialogs.h"

#include "DocumentFile.h"
#include "EngineDocument.h"
#include "FileDialogs.h"
#include "ListFile.h"
#include "OleCommands.h"
#include "OleError.h"
#include "PageWriter.h"
#include "ScriptRunner.h"
#include "WindowHelpers.h"

#include "AppError.h"
#include "FileNameFromTitle.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QWebEngineFindTextResult>
#include <QWebEnginePage>

namespace vocab {

namespace {

// Told not to prompt, with no file to save into.
constexpr HRESULT NoFileGiven = E_INVALIDARG;

const QString ReadPropertiesScript = QStringLiteral(
    "(function(){var d=document,n=performance.getEntriesByType('navigation')[0];"
    "var size=n&&n.decodedBodySize>0?n.decodedBodySize:-1;"
    "if(size<0&&d.documentElement){var t=d.doctype?new XMLSerializer().serializeToString(d.doctype)+'\\n':'';"
    "size=new Blob([t+d.documentElement.outerHTML]).size;}"
    "return {title:String(d.title),address:String(d.URL),type:String(d.contentType),size:size,"
    "modified:String(d.lastModified)};})()");

// "байт" after a number, in the form Russian gives it.
QString bytesWord(qint64 n)
{
    const qint64 lastTwo = n % 100;
    const qint64 last = n % 10;
    if (lastTwo < 11 || lastTwo > 14) {
        if (last >= 2 && last <= 4)
            return QStringLiteral("байта");
    }
    return QStringLiteral("байт");
}

QLabel *valueLabel(const QString &objectName, const QString &text)
{
    auto *label = new QLabel(text);
    label->setObjectName(objectName);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    return label;
}

} // namespace

PageFindDialog::PageFindDialog(QWebEnginePage *page, QWidget *parent)
    : QDialog(parent),
      m_page(page),
      m_text(new QLineEdit),
      m_matchCase(new QCheckBox(QStringLiteral("С учётом &регистра"))),
      m_up(new QRadioButton(QStringLiteral("&Вверх"))),
      m_status(new QLabel),
      m_findNext(new QPushButton(QStringLiteral("Найти &далее")))
{
    setWindowTitle(QStringLiteral("Найти"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowClassName(this, WindowClass::StandardDialog);
    m_text->setObjectName(QStringLiteral("text"));
    m_matchCase->setObjectName(QStringLiteral("matchCase"));
    m_up->setObjectName(QStringLiteral("up"));
    auto *down = new QRadioButton(QStringLiteral("В&низ"));
    down->setObjectName(QStringLiteral("down"));
    down->setChecked(true);
    m_status->setObjectName(QStringLiteral("status"));
    m_findNext->setObjectName(QStringLiteral("findNext"));
    m_findNext->setDefault(true);
    m_findNext->setEnabled(false);
    auto *cancel = new QPushButton(QStringLiteral("Отмена"));
    cancel->setObjectName(QStringLiteral("cancel"));

    auto *what = new QHBoxLayout;
    auto *label = new QLabel(QStringLiteral("&Что:"));
    label->setBuddy(m_text);
    what->addWidget(label);
    what->addWidget(m_text);
    auto *direction = new QGroupBox(QStringLiteral("Направление"));
    auto *directions = new QHBoxLayout(direction);
    directions->addWidget(m_up);
    directions->addWidget(down);
    auto *options = new QHBoxLayout;
    options->addWidget(m_matchCase);
    options->addWidget(direction);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_findNext);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto *left = new QVBoxLayout;
    left->addLayout(what);
    left->addLayout(options);
    left->addWidget(m_status);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(buttons);

    connect(m_text, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_findNext->setEnabled(!text.isEmpty());
        m_status->clear();
    });
    connect(m_findNext, &QPushButton::clicked, this, &PageFindDialog::findNext);
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
}

PageFindDialog::~PageFindDialog()
{
    // The marks of the last search go with the dialog.
    if (m_page)
        m_page->findText(QString());
}

void PageFindDialog::findNext()
{
    if (!m_page || m_text->text().isEmpty())
        return;
    QWebEnginePage::FindFlags flags;
    if (m_up->isChecked())
        flags |= QWebEnginePage::FindBackward;
    if (m_matchCase->isChecked())
        flags |= QWebEnginePage::FindCaseSensitively;
    const QPointer<PageFindDialog> self(this);
    m_page->findText(m_text->text(), flags, [self](const QWebEngineFindTextResult &result) {
        if (self)
            self->showResult(result);
    });
}

void PageFindDialog::showResult(const QWebEngineFindTextResult &result)
{
    if (result.numberOfMatches() == 0)
        m_status->setText(QStringLiteral("Не найдено: «%1»").arg(m_text->text()));
    else
        m_status->setText(QStringLiteral("Совпадение %1 из %2").arg(result.activeMatch()).arg(result.numberOfMatches()));
    emit searched(result.numberOfMatches(), result.activeMatch());
}

EnginePageDialogs::EnginePageDialogs(QWebEnginePage *page, const PageScripts &scripts, EngineCommands &commands)
    : PageDialogOwner(page), m_scripts(scripts), m_commands(commands)
{
}

HRESULT EnginePageDialogs::saveAs(std::uint32_t option, const QVariant &in)
{
    if (!m_page)
        return E_UNEXPECTED;
    const QString given = in.typeId() == QMetaType::QString ? in.toString() : QString();
    QString path = given;
    if (option == OLECMDEXECOPT_DONTPROMPTUSER) {
        if (path.isEmpty())
            return NoFileGiven;
    } else {
        FileDialogRequest request;
        request.kind = FileDialogKind::Save;
        request.title = QStringLiteral("Сохранить веб-страницу");
        request.nameFilters = {QStringLiteral("Веб-страница, только HTML (*.htm *.html)"), QStringLiteral("Все файлы (*)")};
        request.defaultSuffix = QStringLiteral("htm");
        request.fileName = given.isEmpty() ? FileNameFromTitle(m_page->title(), QStringLiteral("page")) + QStringLiteral(".htm") : given;
        {
            const ModalSpan modal(*this);
            path = ChooseFile(request, dialogParent());
        }
        if (path.isEmpty())
            return OLECMDERR_E_CANCELED;
        if (!m_page)
            return E_UNEXPECTED;
    }
    const EngineDocument document(m_scripts, nullptr, m_commands);
    try {
        ListFile::writeBytes(path, DocumentBytes(document));
    } catch (const EOleException &error) {
        return error.ErrorCode();
    } catch (const FileError &) {
        return E_FAIL;
    }
    return S_OK;
}

PageProperties EnginePageDialogs::readProperties() const
{
    const QVariantMap read = m_scripts.read(ReadPropertiesScript).toMap();
    PageProperties properties;
    properties.title = read.value(QStringLiteral("title")).toString();
    properties.address = read.value(QStringLiteral("address")).toString();
    properties.type = read.value(QStringLiteral("type")).toString();
    bool known = false;
    const qint64 size = read.value(QStringLiteral("size")).toLongLong(&known);
    properties.size = known && size >= 0 ? size : -1;
    properties.modified =
        QDateTime::fromString(read.value(QStringLiteral("modified")).toString(), QStringLiteral("MM/dd/yyyy HH:mm:ss"));
    return properties;
}

HRESULT EnginePageDialogs::properties()
{
    if (!m_page)
        return E_UNEXPECTED;
    const PageProperties page = readProperties();
    const QString unknown = QStringLiteral("не известно");
    QPointer<QDialog> dialog = new QDialog(dialogParent());
    dialog->setWindowTitle(QStringLiteral("Свойства"));
    setWindowClassName(dialog, WindowClass::StandardDialog);
    auto *form = new QFormLayout(dialog);
    form->addRow(QStringLiteral("Заголовок:"), valueLabel(QStringLiteral("title"), page.title.isEmpty() ? unknown : page.title));
    form->addRow(QStringLiteral("Адрес:"), valueLabel(QStringLiteral("address"), page.address));
    form->addRow(QStringLiteral("Тип:"), valueLabel(QStringLiteral("type"), page.type.isEmpty() ? unknown : page.type));
    form->addRow(QStringLiteral("Размер:"),
                 valueLabel(QStringLiteral("size"), page.size < 0 ? unknown
                                                                   : QStringLiteral("%1 %2").arg(QLocale().toString(page.size),
                                                                                                 bytesWord(page.size))));
    form->addRow(QStringLiteral("Изменён:"),
                 valueLabel(QStringLiteral("modified"),
                            page.modified.isValid() ? QLocale().toString(page.modified, QLocale::ShortFormat) : unknown));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    form->addRow(buttons);
    {
        const ModalSpan modal(*this);
        dialog->exec();
    }
    delete dialog; // null already when its parent went while it was open
    return S_OK;
}

HRESULT EnginePageDialogs::find()
{
    if (!m_page)
        return E_UNEXPECTED;
    if (!m_find)
        m_find = new PageFindDialog(m_page, dialogParent());
    m_find->show();
    m_find->raise();
    m_find->activateWindow();
    return S_OK;
}

HRESULT EnginePageDialogs::viewSource()
{
    if (!m_page)
        return E_UNEXPECTED;
    QString html;
    try {
        html = DocumentHtml(EngineDocument(m_scripts, nullptr, m_commands));
    } catch (const EOleException &error) {
        return error.ErrorCode();
    }
    auto *window = new QPlainTextEdit(dialogParent());
    window->setWindowFlag(Qt::Window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setObjectName(QStringLiteral("pageSource"));
    window->setWindowTitle(QStringLiteral("Исходный код: %1").arg(PageWriter::withoutPageName(m_page->url().toDisplayString())));
    window->setReadOnly(true);
    window->setLineWrapMode(QPlainTextEdit::NoWrap);
    window->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    window->setPlainText(html);
    window->resize(720, 520);
    window->show();
    return S_OK;
}

} // namespace vocab

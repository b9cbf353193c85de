#include "FileDialogs.h"

#include "StandIn.h"

#include <QFileDialog>
#include <QPointer>
#include <QRegularExpression>

#include <utility>

namespace vocab {

namespace {

QString runDialog(const FileDialogRequest &request, QWidget *parent)
{
    QPointer<QFileDialog> dialog = new QFileDialog(parent, request.title, request.directory);
    switch (request.kind) {
    case FileDialogKind::Open:
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
        break;
    case FileDialogKind::Save:
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        break;
    case FileDialogKind::Folder:
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::Directory);
        dialog->setOption(QFileDialog::ShowDirsOnly);
        break;
    }
    if (request.kind != FileDialogKind::Folder && !request.nameFilters.isEmpty()) {
        dialog->setNameFilters(request.nameFilters);
        dialog->selectNameFilter(request.nameFilters.value(request.filterIndex, request.nameFilters.first()));
    }
    if (!request.defaultSuffix.isEmpty())
        dialog->setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty())
        dialog->selectFile(request.fileName);
    const int answer = dialog->exec();
    // The parent may have gone while the dialog was open, and taken it along.
    if (!dialog)
        return {};
    const QStringList chosen = dialog->selectedFiles();
    delete dialog;
    return answer == QDialog::Accepted ? chosen.value(0) : QString();
}

} // namespace

FileDialogResponder setFileDialogResponder(FileDialogResponder responder)
{
    return StandIn<FileDialogResponder>::Install(std::move(responder));
}

QString ChooseFile(const FileDialogRequest &request, QWidget *parent)
{
    if (const FileDialogResponder responder = StandIn<FileDialogResponder>::Current())
        return responder(request);
    return runDialog(request, parent);
}

QStringList NameFiltersFromFilterText(const QString &filterText)
{
    QString text;
    for (const QChar c : filterText)
        if (c.unicode() >= 0x20)
            text += c;
    const QStringList parts = text.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts);
        // "*.*" means every file, but the file dialog here wants a dot in
        // the name for it, and would hide files without an extension.
        for (QString &pattern : patterns)
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        if (patterns.isEmpty())
            continue;
        filters << QStringLiteral("%1 (%2)").arg(parts[i].trimmed(), patterns.join(u' '));
    }
    return filters;
}

} // namespace vocab

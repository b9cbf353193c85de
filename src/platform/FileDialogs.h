#pragma once

// The file dialogs: choosing a file to open, a file to save into or a
// folder. One call makes the dialog, runs it and hands back the path chosen.
//
// Tests, and anything else that must not wait for a person, install a
// responder of their own, which sees the request and answers in place of
// the dialog, as the message-box responder does (MessageBoxes.h).

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace vocab {

enum class FileDialogKind { Open, Save, Folder };

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    QString title;
    // Filters in the dialog's own form, "Text file (*.txt)", in the order shown.
    QStringList nameFilters;
    // The filter selected when the dialog opens, counted from 0.
    int filterIndex = 0;
    // Added to a name typed without one, when not empty.
    QString defaultSuffix;
    // The name (or path) proposed; empty for none.
    QString fileName;
    // Where the dialog starts; empty for the current folder.
    QString directory;
};

// The path chosen, empty for a cancelled dialog.
using FileDialogResponder = std::function<QString(const FileDialogRequest &)>;

// Installs a responder and returns the previous one; an empty one restores the dialogs.
FileDialogResponder setFileDialogResponder(FileDialogResponder responder);

// Runs the dialog (owned by `parent`) and answers the path chosen, empty when cancelled.
QString ChooseFile(const FileDialogRequest &request, QWidget *parent = nullptr);

// The filters of a filter text of the form "Description|patterns|Description|patterns",
// the patterns parted by ";" or blanks: each as "Description (*.a *.b)". Line
// breaks and other control characters in the text are dropped, and so are
// empty patterns; a description without patterns is left out.
QStringList NameFiltersFromFilterText(const QString &filterText);

} // namespace vocab

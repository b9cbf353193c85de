#pragma once

#include "ErrorHandler.h"
#include "ShellPaths.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <exception>
#include <utility>

namespace vocab {

class TIniFile;

// The version of the list files this program writes.
constexpr int ListFilesVersion = 149;

// What went wrong with the files the start-up reads and makes and the close
// saves. A file that cannot be read or written is told once in a run: the
// same folder or lock stops every later try at it as well, and the user
// learnt it from the first box. A list that could not be written is not
// tried again until it has something new to hold.
class FileFaults {
public:
    // Shows the error, unless it is about a file whose fault was shown
    // already. Errors about no one file are always shown.
    void Tell(const std::exception &error);

    // Runs `work`, which reads or writes a file; an error it raises ends it
    // and is told as Tell() tells it. True when it ran through.
    template <typename F>
    bool Try(F &&work) noexcept
    {
        try {
            std::forward<F>(work)();
            return true;
        } catch (const std::exception &error) {
            Tell(error);
        } catch (...) {
            HandleUnknownException();
        }
        return false;
    }

    // Writes the lines to the list file, unless these very lines failed to
    // go there before: then nothing is tried. True when the file holds them.
    bool Write(const QString &path, const QStringList &lines);

private:
    QSet<QString> m_told;
    QHash<QString, QByteArray> m_unwritten; // what each list could not be given
};

// Both must exist or the program cannot run: the folder of the combined list
// and the start page.
bool RequiredFilesPresent(const ConfigPaths &paths);

// [List]NumberVersion := 149.
void WriteListVersion(TIniFile &ini);
// Raises the stored list version to 149 when it is lower.
void RaiseListVersion(TIniFile &ini);

// Creates what a first start lacks: the folder "dic", the tree file with its
// root line alone, and the combined headword and article lists empty. Each
// is made on its own: one that cannot be made is told through `faults`, and
// the others are still made.
void CreateMissingFiles(const ConfigPaths &paths, FileFaults &faults);

} // namespace vocab

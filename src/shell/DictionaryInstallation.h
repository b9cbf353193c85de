#pragma once

#include "DictionaryMergeRun.h"
#include "LineList.h"
#include "ListFile.h"
#include "NewDictionaries.h"
#include "ShellPaths.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vocab {

class AppError;

// What installing new dictionaries asks of its progress window besides the bar.
class InstallProgressHost : public MergeProgressHost {
public:
    // "Выполнено i из N" before dictionary i.
    virtual void ShowStatistics(const QString &text) = 0;
    // The dictionary being added, cut as ShortDictionaryName cuts it.
    virtual void ShowDictionaryName(const QString &text) = 0;
    // A dictionary whose headword list cannot be read: the error is shown and
    // the installation goes on without that dictionary.
    virtual void ShowError(const AppError &error) = 0;
};

enum class InstallOutcome {
    // The new dictionaries' headwords are in the combined list, on disk and
    // in memory, and their lines in the tree lines.
    Installed,
    // No new dictionary could be read: the lists stand as they were.
    NothingInstalled,
    // The user cancelled: the combined list is as it was and the tree lines
    // are read again from the tree file, so nothing of this start survives
    // and the same dictionaries are found at the next start.
    Cancelled,
};

// Installs the dictionaries that FindNewDictionaries found: merges their
// headwords into AllHeadwords, puts Й after И and writes dictionaries.ogl,
// and puts each one's tree line under "Новые словари" (see
// PlaceNewDictionary). Before each dictionary and each of its files the host
// handles what is waiting and may cancel. Neither list changes before the
// combined list is on disk, so a cancel or a failed write leaves memory as the
// files are. Throws FileError when dictionaries.ogl cannot be written (the
// tree lines then keep the reconciliation but get no new dictionary) or, on a
// cancel, the tree file cannot be read.
InstallOutcome InstallNewDictionaries(const ConfigPaths &paths, const std::vector<DictionaryEntry> &NewDictionaries,
                                      int NewDictionariesFolderIndex, LineList &AllHeadwords, StringList &TreeLines,
                                      InstallProgressHost &host);

} // namespace vocab

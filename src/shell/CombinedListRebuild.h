#pragma once

#include "DictionaryMergeRun.h"
#include "NewDictionaries.h"
#include "ShellPaths.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vocab {

class TIniFile;

// What the rebuild of the combined list asks of its dialog besides the bar.
class RebuildProgressHost : public MergeProgressHost {
public:
    // Before each dictionary: "Обновление: " and its cut name, and
    // "Выполнено i из Count".
    virtual void ShowDictionary(const QString &name, const QString &statistics) = 0;
    // Every dictionary is merged and the files are about to be written: the
    // run can no longer be stopped.
    virtual void BeginWriting() = 0;
    // The count once every dictionary is done.
    virtual void ShowStatistics(const QString &statistics) = 0;
};

enum class RebuildOutcome { Finished, Stopped };

// The dictionaries of the tree file: each line that begins with TAB, without
// it, split at its first "=" into display name and folder; in file order.
std::vector<DictionaryEntry> TreeFileDictionaries(const QStringList &treeLines);

// Builds the combined list and its letter index anew from every dictionary of
// the saved tree file, as installing them merges them, and writes
// dictionaries.ogl, then dictionaries.dvc, then [List]incomplete = 0. The list
// goes first: an index written beside an older list could be taken for its
// own, while an older index beside a new list is seen not to fit it. With no
// dictionary in the tree only the empty list is written and the flag cleared;
// the index file is left alone.
//
// Stopped writes nothing and leaves the flag set. Throws FileError when the
// tree file or a dictionary's whole list cannot be read, or a file cannot be
// written; what was written before stays.
RebuildOutcome RebuildCombinedList(const ConfigPaths &paths, TIniFile &ini, RebuildProgressHost &host);

// Whether the menu item "Обновление списка" is enabled: [List]incomplete of
// the options file in `dir_iniFile`, read afresh (default false), set when a
// dictionary was deleted and its headwords stayed in the combined list.
bool CombinedListIncomplete(const QString &dir_iniFile);

} // namespace vocab

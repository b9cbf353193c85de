#pragma once

#include "ListFile.h"
#include "ShellPaths.h"

#include <QString>

#include <vector>

class QFontMetrics;

namespace vocab {

// A dictionary as the tree and the installation know it: its display name
// (the second line of its about.info) and its folder's name under "dic". Kept
// as a pair all the way into the tree line, so that a display name holding "="
// never moves part of itself into the folder name.
struct DictionaryEntry {
    QString displayName;
    QString folder;

    bool operator==(const DictionaryEntry &) const = default;
};

// The dictionary folders under `<baseDir>/dic`: sub-folders whose names have
// no extension (no "."; hidden ones are not listed) and whose about.info has a
// non-empty second line. In name order, letter case aside, so that what a
// start finds does not hang on the order the file system lists its entries in.
std::vector<DictionaryEntry> DictionaryFoldersUnder(const QString &baseDir);

// Reconciles the tree lines with the dictionaries found under "dic". Every
// dictionary line (one that begins with TAB), from the last to the first, is
// matched by its folder, the text after its first "=", exactly and with case,
// against the folders still in `dictionaries`: the first match leaves
// `dictionaries` (it is in the tree already), no match drops the tree line
// (its folder vanished or lost its description). What stays in `dictionaries`
// is not in the tree yet.
//
// Then the first "Новые словари" line: when dictionary lines follow it, the
// index of the first of them is returned; as the last line or followed by a
// folder line it is an empty folder and is dropped. 0 when there is no such
// folder with dictionaries. `droppedDictionaries`, when given, is set to the
// number of dictionary lines dropped.
int ReconcileTreeLines(StringList &treeLines, std::vector<DictionaryEntry> &dictionaries,
                       int *droppedDictionaries = nullptr);

// Reads the tree file into `TreeLines` (its root line put in front when it
// lacks one), fills `NewDictionaries` with the dictionaries under "dic" that the
// tree does not hold and drops the tree's lines of vanished ones. Returns
// NewDictionariesFolderIndex as ReconcileTreeLines does, and the number of
// dropped dictionary lines in `droppedDictionaries` when given. Throws
// FileError when the tree file cannot be read.
int FindNewDictionaries(const ConfigPaths &paths, std::vector<DictionaryEntry> &NewDictionaries, StringList &TreeLines,
                        int *droppedDictionaries = nullptr);

// The tree line of a dictionary: TAB + caption + "=" + folder. The caption is
// the display name with what the tree file cannot hold in a name written
// otherwise: "=" (the name would end there) as "-", TAB (it would count as
// depth) as a blank.
QString DictionaryTreeLine(const DictionaryEntry &dictionary);

// Puts a new dictionary's line into the tree lines as the first child of the
// folder "Новые словари": at `NewDictionariesFolderIndex` when that is not 0,
// otherwise after a "Новые словари" line appended at the end, whose child's
// index then becomes NewDictionariesFolderIndex. So dictionaries placed in
// turn stand in the folder in the opposite order, the last placed on top.
void PlaceNewDictionary(StringList &treeLines, int &NewDictionariesFolderIndex, const DictionaryEntry &dictionary);

// A display name as the progress windows show it: its first 38 characters and
// "..." when it is longer; a character that the 38th would split (a pair of
// surrogates, a letter and its mark) goes whole.
QString ShortDictionaryName(const QString &displayName);

// A text of a label of fixed width, `shown` cut as ShortDictionaryName cuts
// a name, cut further, in whole characters, while it is wider than `width`
// in `metrics`: as many of its first characters as fit with "...". A name
// of wide letters thus keeps to the label instead of widening the window.
QString FitDictionaryName(const QString &shown, const QFontMetrics &metrics, int width);

} // namespace vocab

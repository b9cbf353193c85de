#pragma once

#include "DictionaryTree.h"
#include "ListFile.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace vocab {

// An article whose stored text is longer than this is folded behind a link.
inline constexpr qsizetype FoldThreshold = 700;
// Where the search for the fold's space begins (1-based), and where the fold
// goes when that stretch holds none.
inline constexpr qsizetype FoldStart = 500;

// The link that hides the rest of a long article: a bold "..." that toggles
// the element "uv<N>" through the page head's pod_cat script, and the opening
// of that element.
QString FoldLink(int N);

// A prepared article, folded when its stored length is above the threshold:
// the link goes in just after the first space found from character 500 to the
// stored length, or before character 500 when there is none, and the hidden
// element is closed at the end. N is the number of the fold and goes up by one
// for each article folded.
QString FoldLongArticle(const QString &prepared, qsizetype storedLength, int &N);

// The page shown when no dictionary has the word, with the reasons why.
QString NothingFoundText(const QString &pageHead, const QString &key);

// Whether the page can be built for what the search box holds and the row
// picked last.
enum class PageStart {
    Build,
    NoHeadword,  // no row was picked since the last page
    EmptyText,   // the box holds nothing to look up; it takes the focus
    OtherLetter, // the box's text no longer begins like the picked row
};
PageStart CheckPageStart(const QString &boxText, const QString &PickedHeadword);

// One node of the tree, in display order; node 0 is the root.
struct PageTreeNode {
    QString caption;
    TreeNodeKind kind = tnkFolder;
    // A dictionary's own folder; when empty, the folder the tree lines give
    // for its caption.
    QString folder;
};

struct AllDictionariesResult {
    QString page;
    // Some dictionary has the word; the article view then takes the focus.
    bool found = false;
    // The grey-listed names that no dictionary node of the tree bears.
    QStringList GrayListWork;
};

// The page of one headword from every dictionary of the tree that the user
// has not left out of the general search: one heading per dictionary that has
// the word, its articles under it, long ones folded. Each dictionary is read
// from disk, and only the headword file that can hold the key: its whole list,
// or the per-letter file of the key's letter; the article file only when that
// list holds the key.
//
// Errors: a headword file that cannot be read leaves its dictionary out; an
// article file that cannot be read beside a headword file that holds the key
// throws FileError, and no page is made; one that ends before the lines that
// hold the key shows, in place of each article it lacks, the notice that it
// is damaged.
class AllDictionariesPage {
public:
    // Called with the progress bar's new position, which may lie outside 0..100.
    using Progress = std::function<void(int)>;

    // `baseDir` holds `dic`; `programDir` is where the pictures are looked for.
    AllDictionariesPage(QString baseDir, QString programDir, const StringList &TreeLines);

    AllDictionariesResult Build(const QString &PageHead, const QString &key, const std::vector<PageTreeNode> &nodes,
                                const QStringList &GrayList, const Progress &progress = {}) const;

private:
    QString m_baseDir;
    QString m_programDir;
    const StringList &m_treeLines;
};

// Removes the first occurrence of each of `names` from the grey list.
void RemoveGrayNames(QStringList &GrayList, const QStringList &names);

} // namespace vocab

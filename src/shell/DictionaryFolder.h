#pragma once

#include "LineList.h"
#include "ListFile.h"
#include "ListFileLines.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace vocab {

// The number of the per-letter file that holds a word.
// Russian dictionaries: 1..32 for А..Я, 0 for anything else; a hyphen before
// a Cyrillic capital is passed over. English dictionaries: 101..126 for A..Z,
// 100 for anything else; a hyphen or an apostrophe before a Latin capital is
// passed over. Ё lies outside А..Я and gives 0.
int LetterFileNumber(QStringView word, bool english);

// The first and last numbers of the per-letter files of a dictionary, in the
// order they are tried when it is opened.
constexpr int FirstLetterFile(bool english) { return english ? 100 : 0; }
constexpr int LastLetterFile(bool english) { return english ? 126 : 32; }

// The description file: line 1 the description, line 2 the display name.
struct AboutInfo {
    bool fileFound = false;
    QStringList lines;

    QString description() const { return lines.value(0); }
    QString displayName() const { return lines.value(1); }
};

// One dictionary folder, `<base>/dic/<folder>`. It holds either a whole list
// (`<folder>.ogl` with its articles `<folder>.uvs`) or one pair per letter
// under `base/`, an optional `sort.trv` naming categories under `categories/`,
// the description `about.info` and pictures under `img/`. Files are found
// whatever their letter case. A folder name that is not a plain name (see
// DictPath::isSafeName) opens nothing: every file of it counts as missing.
class DictionaryFolder {
public:
    DictionaryFolder(QString baseDir, QString folderName);

    const QString &FolderName() const { return m_folderName; }
    bool IsValid() const { return m_valid; }
    // `<base>/dic/<folder>` as named, whatever is on disk.
    QString Path() const;

    // Relative names of the folder's files.
    QString WholeListFile(const char *extension) const;
    static QString LetterFile(int number, const char *extension);
    static QString CategoryFile(const QString &file, const char *extension);

    // The file on disk for a relative name, or nothing when it is missing.
    std::optional<QString> Find(const QString &relative) const;
    bool HasFile(const QString &relative) const { return Find(relative).has_value(); }

    bool IsWholeList() const { return HasFile(WholeListFile("ogl")); }
    bool IsEnglish() const { return HasFile(LetterFile(101, "ogl")); }
    bool HasCategories() const { return HasFile(QStringLiteral("sort.trv")); }

    // Reads a list file of the folder; throws FileError when it is missing or
    // cannot be read.
    QStringList ReadList(const QString &relative) const;
    // The same lines held as one text: article files, of which only the
    // article picked is ever shown, and lists read only to be merged. Throws
    // like ReadList.
    LineList ReadLineList(const QString &relative) const;
    // An article file, opened to read its lines when they are shown. Throws
    // like ReadList.
    ListFileLines OpenLines(const QString &relative) const;
    // Lines first .. first + count - 1 of a list file of the folder, fewer
    // where it ends before; throws like ReadList.
    QStringList ReadLines(const QString &relative, qsizetype first, qsizetype count) const;

    AboutInfo ReadAbout() const;
    // `sort.trv`: one category a line, name=file. Throws like ReadList.
    StringList ReadCategories() const;
    // The category names of `sort.trv` lines, in file order.
    static QStringList CategoryNames(const QStringList &categoryLines);

    // A dictionary folder is one whose about.info has a non-empty second line.
    bool IsDictionary() const;

private:
    // The file on disk for a relative name; throws FileError when it is missing.
    QString existingFile(const QString &relative) const;

    QString m_baseDir;
    QString m_folderName;
    bool m_valid;
};

// The folder of the dictionary whose tree caption is `caption`: the value of
// the first line of the tree file named TAB + caption, without regard to
// letter case; empty when there is none (a folder or the root).
QString SelectedDictionaryDir(const StringList &treeLines, const QString &caption);

} // namespace vocab

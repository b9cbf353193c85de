#pragma once

// Dictionary folders made by the tests themselves under a temporary base
// folder, and a host that records what the main window would be asked to do.

#include "AppError.h"
#include "DictionaryLookup.h"
#include "HeadwordGrid.h"
#include "ListFile.h"
#include "SearchBox.h"
#include "SearchHost.h"
#include "TestSupport.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <vector>

namespace vocab::test {

// The article stored for a headword: it begins with the headword, as real
// articles do.
inline QString articleOf(const QString &headword) { return headword + QStringLiteral(" — статья"); }

class FixtureFolder {
public:
    FixtureFolder() : m_base(m_dir.path()) { EXPECT_TRUE(m_dir.isValid()); }
    // Files under a folder that someone else owns.
    explicit FixtureFolder(QString base) : m_base(std::move(base)) {}

    QString base() const { return m_base; }
    QString path(const QString &relative) const { return base() + u'/' + relative; }

    // A list file as the dictionaries hold them: UTF-8 with its mark.
    void writeList(const QString &relative, const QStringList &lines) const
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        ListFile::write(path(relative), lines);
    }
    // `<stem>.ogl` with the headwords and `<stem>.uvs` with their articles.
    void writePair(const QString &stem, const QStringList &headwords) const
    {
        writeList(stem + QStringLiteral(".ogl"), headwords);
        QStringList articles;
        for (const QString &h : headwords)
            articles.append(articleOf(h));
        writeList(stem + QStringLiteral(".uvs"), articles);
    }

    // `dic/<folder>/about.info`: a description and the display name.
    void writeAbout(const QString &folder, const QString &displayName,
                    const QString &description = QStringLiteral("Словарь для проверки.")) const
    {
        writeList(QStringLiteral("dic/") + folder + QStringLiteral("/about.info"), {description, displayName});
    }
    // The tree file with these lines, and a description for every dictionary
    // line that has no folder with one yet: the start reconciles the tree
    // with the folders under "dic", and drops a dictionary without one.
    void writeTree(const QStringList &lines) const
    {
        writeList(QStringLiteral("ConfigFiles/TreeView.trv"), lines);
        for (const QString &line : lines) {
            if (!line.startsWith(u'\t'))
                continue;
            const QString folder = StringList::valuePart(line);
            if (!QFileInfo::exists(path(QStringLiteral("dic/") + folder + QStringLiteral("/about.info"))))
                writeAbout(folder, StringList::namePart(line.mid(1)));
        }
    }

private:
    QTemporaryDir m_dir;
    QString m_base;
};

// A page written into the article view by the test's selection handler:
// the stored article, or this mark when the row had none.
inline const QString kNoArticle = QStringLiteral("<no article>");

class RecordingHost : public SearchHost {
public:
    TreeNodeKind kind = tnkDictionary;
    QString caption;
    int categoryItem = -1;
    QString searchBoxText = QStringLiteral("typed");

    QStringList pages;
    int openings = 0;
    int focusCalls = 0;
    int refocusCalls = 0;
    int modeCalls = 0;
    int rootSearches = 0;
    std::vector<TreeNodeKind> searchModes;
    QString categoriesCaption;
    QStringList categoryNames;
    int categoriesShown = 0;

    // Paints the box as the window does, from the lookup's SearchFound.
    const SearchState *state = nullptr;
    SearchBoxMode boxMode;
    QRgb colour = FoundTextColour;

    // What the root's combined-list search does when the box is empty and the
    // combined list begins with an empty line: it re-opens the selected node.
    DictionaryLookup *reopenFromRootSearch = nullptr;

    TreeNodeKind SelectedNodeKind() const override { return kind; }
    QString SelectedNodeCaption() const override { return caption; }
    void BeginOpening() override { ++openings; }
    void InvalidatePageControl() override {}
    void SetSearchMode(TreeNodeKind k) override { searchModes.push_back(k); }
    void SearchRootOnOpening() override
    {
        ++rootSearches;
        if (reopenFromRootSearch)
            reopenFromRootSearch->ReopenSelectedDictionary();
    }
    void SetSearchBoxText(const QString &text) override { searchBoxText = text; }
    void FocusSearchBox() override { ++focusCalls; }
    void RefocusSearchBoxAtEnd() override { ++refocusCalls; }
    void UpdateSearchBoxMode() override
    {
        ++modeCalls;
        if (const auto look = boxMode.UpdateSearchBoxMode(state->SearchFound, kind))
            colour = look->colour;
    }
    // Set, every page write fails, as it does while the document is not ready.
    bool pageWritesFail = false;
    void WriteHtmlToBrowser(const QString &page) override
    {
        if (pageWritesFail)
            throw AppError(QStringLiteral("the document is not ready"));
        pages.append(page);
    }
    int SelectedCategoryItem() const override { return categoryItem; }
    void ShowCategories(const QString &c, const QStringList &names) override
    {
        ++categoriesShown;
        categoriesCaption = c;
        categoryNames = names;
    }
};

// One selection of a grid row as the handler saw it.
struct Selection {
    int row;
    int rowCount;
    bool operator==(const Selection &) const = default;
};

// A main window without widgets: tree lines, grid, host and lookup wired as
// the window wires them, with a selection handler that shows the row's article.
class LookupRig {
public:
    explicit LookupRig(const QString &base, int visibleRows = 20)
        : lookup(host, grid, treeLines, base)
    {
        host.state = &lookup.State();
        grid.SetHeight(visibleRows * HeadwordGrid::DefaultRowHeight);
        grid.SetSelectCellHandler([this](int row) {
            selections.push_back({row, grid.RowCount()});
            const auto article = lookup.ArticleOfRow(row);
            host.WriteHtmlToBrowser(article && article->article ? *article->article : kNoArticle);
        });
        QObject::connect(&grid, &HeadwordGrid::modelReset, [this] { ++cellWrites; });
    }

    // Lists a dictionary in the tree as the tree file does.
    void addToTree(const QString &displayName, const QString &folder)
    {
        treeLines.append(u'\t' + displayName + u'=' + folder);
    }
    void select(const QString &caption, TreeNodeKind kind = tnkDictionary)
    {
        host.caption = caption;
        host.kind = kind;
        lookup.OpenSelectedDictionary();
    }
    void type(const QString &text) { lookup.SearchOneDictionary(text); }

    QString lastPage() const { return host.pages.value(host.pages.size() - 1); }
    QString currentCell() const { return grid.Cell(grid.Row()); }
    QStringList cells() const
    {
        QStringList out;
        for (int r = 0; r < grid.RowCount(); ++r)
            out.append(grid.Cell(r));
        return out;
    }

    StringList treeLines{QStringLiteral("Все словари")};
    HeadwordGrid grid;
    RecordingHost host;
    DictionaryLookup lookup;
    std::vector<Selection> selections;
    int cellWrites = 0;
};

} // namespace vocab::test

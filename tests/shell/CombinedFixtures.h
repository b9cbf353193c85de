#pragma once

// The combined list of all dictionaries in the tests: a few small
// dictionaries merged as installing them merges them, and a main window
// without widgets that searches it with the root selected.

#include "AllHeadwordsSearch.h"
#include "DictionaryFixtures.h"
#include "HeadwordMerge.h"
#include "LetterIndex.h"

#include <QRandomGenerator>

#include <ostream>
#include <vector>

namespace vocab {
inline void PrintTo(const LetterRange &r, std::ostream *os) { *os << '(' << r.first << ", " << r.last << ')'; }
} // namespace vocab

namespace vocab::test {

inline QStringList Merged(std::initializer_list<QStringList> dictionaries)
{
    HeadwordMerge merge;
    for (const QStringList &lines : dictionaries)
        merge.Add(lines);
    QStringList lines = merge.Lines().ToStringList();
    ReorderShortI(lines);
    return lines;
}

// Three dictionaries with what makes the order hard: case, hyphens and
// apostrophes, accents, Ё, И and Й, digits and signs, both alphabets.
inline QStringList MixedDictionaries()
{
    using namespace Qt::StringLiterals;
    return Merged({
        {u"ЯК"_s, u"ЛУНА"_s, u"-ЛОГ"_s, u"ЛЕС"_s, u"ИГЛА"_s, u"ЙОД"_s, u"ИВА"_s, u"ЁЖ"_s, u"ЕЖ"_s, u"БОР"_s,
         u"-БИС"_s, u"БАНК"_s, u"5-Й"_s, u"1812"_s},
        {u"ZOO"_s, u"TREE"_s, u"'TIS"_s, u"TABLE"_s, u"EZ"_s, u"ÉTAGE"_s, u"ETAT"_s, u"APPLE"_s, u"A"_s,
         u"(X"_s, u"O'CLOCK"_s, u"ÖL"_s, u"ÜBER"_s},
        {u"лес"_s, u"Бор"_s, u"ЙОГ"_s, u"ИЗЮМ"_s, u"КОТ"_s, u"APPLE"_s, u"-ЛОГ"_s},
    });
}

// Random words over `alphabet`, one to four characters long.
inline QStringList RandomWords(const QString &alphabet, int count, quint32 seed)
{
    QRandomGenerator random(seed);
    QStringList words;
    for (int i = 0; i < count; ++i) {
        QString word;
        const int length = 1 + int(random.bounded(4));
        for (int k = 0; k < length; ++k)
            word += alphabet.at(random.bounded(int(alphabet.size())));
        words.append(word);
    }
    return words;
}

// The one row selection the grid reported to its handler.
struct Pick {
    int row;
    QString headword;
    int sync;
    bool operator==(const Pick &) const = default;
};

// A host whose root opening runs the combined search, as the window's does.
class RootHost : public RecordingHost {
public:
    AllHeadwordsSearch *search = nullptr;
    void SearchRootOnOpening() override
    {
        RecordingHost::SearchRootOnOpening();
        search->SearchRootOnOpening(searchBoxText);
    }
};

// The root selected with a combined list and its index in memory.
class CombinedRig {
public:
    explicit CombinedRig(const QStringList &lines, int visibleRows = 20)
        : AllHeadwords(LineList::FromLines(lines)), LetterIndex(LetterIndexTable::Build(lines))
    {
        host.search = &search;
        host.state = &lookup.State();
        host.kind = tnkRoot;
        host.caption = QStringLiteral("Все словари");
        host.searchBoxText = QString();
        grid.SetHeight(visibleRows * HeadwordGrid::DefaultRowHeight);
        grid.SetSelectCellHandler([this](int row) {
            picks.push_back({row, grid.Cell(row), lookup.State().SyncSearchBoxFromGrid});
        });
    }

    void openRoot() { lookup.OpenSelectedDictionary(); }
    QString currentCell() const { return grid.Cell(grid.Row()); }

    LineList AllHeadwords;
    LetterIndexTable LetterIndex;
    StringList treeLines{QStringLiteral("Все словари")};
    HeadwordGrid grid;
    RootHost host;
    DictionaryLookup lookup{host, grid, treeLines, QString()};
    AllHeadwordsSearch search{host, grid, lookup, AllHeadwords, LetterIndex};
    std::vector<Pick> picks;
};

} // namespace vocab::test

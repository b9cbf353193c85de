// The combined headword list of all dictionaries: loading a list of
// 1 000 000 headwords and its index as the start does, a keystroke in it,
// building its letter index, checking a read index against it, and merging
// dictionaries of 100 000 headwords into it.

#include "AllHeadwordsSearch.h"
#include "DictionaryLookup.h"
#include "GeneratedLists.h"
#include "HeadwordGrid.h"
#include "HeadwordGridView.h"
#include "LineList.h"
#include "HeadwordMerge.h"
#include "LetterIndex.h"
#include "ListFile.h"
#include "QuietHost.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTableView>
#include <QTemporaryDir>

#include <malloc.h>

namespace {

using namespace vocab;

constexpr int kCombinedLines = 1000000;
// П, the longest letter of a Russian word list, holds this many of them.
constexpr int kLongestLetterLines = 150000;
constexpr QChar kLongestLetter(0x041F);

// Word i of a letter, its words in order.
QString word(QChar first, int i) { return bench::NumberedWord(first, i, 4); }

// Digits, then A..Z, then А..Я, every letter's lines together, as the merge
// leaves them; П much longer than the rest.
struct CombinedList {
    QStringList lines;
    QString lastOfLongest;
    QString middleOfLongest;

    CombinedList()
    {
        lines.reserve(kCombinedLines);
        QStringList letters;
        for (char16_t c = u'A'; c <= u'Z'; ++c)
            letters.append(QString(QChar(c)));
        for (char16_t c = 0x0410; c <= 0x042F; ++c)
            letters.append(QString(QChar(c)));
        const int others = 1000;
        for (int i = 0; i < others; ++i)
            lines.append(QString::number(1000 + i));
        const int perLetter = (kCombinedLines - others - kLongestLetterLines) / int(letters.size() - 1);
        for (const QString &letter : letters) {
            const QChar first = letter.front();
            const int count = first == kLongestLetter ? kLongestLetterLines : perLetter;
            for (int i = 0; i < count; ++i)
                lines.append(word(first, i));
            if (first == kLongestLetter) {
                lastOfLongest = word(first, count - 1);
                middleOfLongest = word(first, count / 2);
            }
        }
        while (lines.size() < kCombinedLines)
            lines.append(word(QChar(0x042F), perLetter + int(lines.size())));
    }
};

const CombinedList &combined()
{
    static const CombinedList made;
    return made;
}

// Grid, lookup and combined search as the window wires them; selecting a row
// takes its headword, as the window's handler does with the root selected.
struct Rig {
    Rig() : AllHeadwords(LineList::FromLines(combined().lines)), LetterIndex(LetterIndexTable::Build(AllHeadwords))
    {
        host.kind = tnkRoot;
        host.caption = QStringLiteral("Все словари");
        host.rootOpening = [this] { search.SearchRootOnOpening(QString()); };
        grid.SetHeight(30 * HeadwordGrid::DefaultRowHeight);
        grid.SetSelectCellHandler([this](int row) { PickedHeadword = grid.Cell(row); });
    }

    LineList AllHeadwords;
    LetterIndexTable LetterIndex;
    StringList treeLines{QStringLiteral("Все словари")};
    HeadwordGrid grid;
    bench::QuietHost host;
    DictionaryLookup lookup{host, grid, treeLines, QString()};
    AllHeadwordsSearch search{host, grid, lookup, AllHeadwords, LetterIndex};
    QString PickedHeadword;
};

// Keys typed in turn: the last word of the longest letter, whose scan passes
// over all its lines, and one from its middle.
void typeInTurn(benchmark::State &state, Rig &rig, QTableView *view)
{
    const QString keys[] = {combined().lastOfLongest.toLower(), combined().middleOfLongest.toLower()};
    int k = 0;
    for (auto _ : state) {
        rig.search.SearchAllHeadwords(keys[k]);
        if (view)
            QCoreApplication::processEvents();
        k ^= 1;
    }
    if (!rig.lookup.State().SearchFound || rig.PickedHeadword.toLower() != keys[k ^ 1])
        state.SkipWithError("the keys were not found");
    state.counters["longest_letter_lines"] = kLongestLetterLines;
}

void BM_AllHeadwordsKeystroke(benchmark::State &state)
{
    Rig rig;
    typeInTurn(state, rig, nullptr);
}
BENCHMARK(BM_AllHeadwordsKeystroke)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The same with the grid's widget showing the model, wired as the window does.
void BM_AllHeadwordsKeystrokeInView(benchmark::State &state)
{
    Rig rig;
    QTableView view;
    view.resize(220, 30 * HeadwordGrid::DefaultRowHeight);
    new HeadwordGridView(&view, rig.grid);
    view.show();
    typeInTurn(state, rig, &view);
}
BENCHMARK(BM_AllHeadwordsKeystrokeInView)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The bytes the heap holds now.
std::size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// What the start does with the combined list: read dictionaries.ogl of
// 1 000 000 headwords (about 18 MB) and dictionaries.dvc, and check that the
// index fits the list.
void BM_LoadCombinedList(benchmark::State &state)
{
    static const struct Files {
        QTemporaryDir dir;
        QString list = dir.filePath(QStringLiteral("dictionaries.ogl"));
        QString index = dir.filePath(QStringLiteral("dictionaries.dvc"));
        qint64 listFileBytes = 0;
        Files()
        {
            // Headwords of about eight letters: each letter's words keep
            // their order with a common ending.
            QStringList lines = combined().lines;
            for (QString &line : lines)
                line += QStringLiteral("ОВА");
            ListFile::write(list, lines);
            LetterIndexTable::Build(lines).WriteFile(index);
            listFileBytes = QFileInfo(list).size();
        }
    } files;

    qsizetype listBytes = 0;
    for (auto _ : state) {
        const LineList AllHeadwords = LineList::Read(files.list);
        const std::optional<LetterIndexTable> LetterIndex = LetterIndexTable::ReadFile(files.index);
        if (AllHeadwords.size() != kCombinedLines || !LetterIndex || !LetterIndex->FitsList(AllHeadwords))
            state.SkipWithError("the list and its index were not read as written");
        listBytes = AllHeadwords.ByteSize();
    }
    // What the loaded list adds to the heap, measured once outside the clock.
    const std::size_t before = heapInUse();
    const LineList kept = LineList::Read(files.list);
    const std::size_t after = heapInUse();
    state.counters["list_bytes"] = double(listBytes);
    state.counters["heap_added_bytes"] = double(after) - double(before);
    state.counters["file_bytes"] = double(files.listFileBytes);
    state.counters["lines"] = double(kept.size());
}
BENCHMARK(BM_LoadCombinedList)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_LetterIndexBuild(benchmark::State &state)
{
    static const LineList lines = LineList::FromLines(combined().lines);
    for (auto _ : state)
        benchmark::DoNotOptimize(LetterIndexTable::Build(lines));
    state.counters["lines"] = double(lines.size());
}
BENCHMARK(BM_LetterIndexBuild)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// What start-up does with the index it read: check it against the list.
void BM_LetterIndexFitsList(benchmark::State &state)
{
    static const LineList lines = LineList::FromLines(combined().lines);
    const LetterIndexTable index = LetterIndexTable::Build(lines);
    for (auto _ : state) {
        if (!index.FitsList(lines))
            state.SkipWithError("the index does not fit its own list");
    }
}
BENCHMARK(BM_LetterIndexFitsList)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Three dictionaries of 100 000 random words each merged into the combined
// list they are new to, Й put after И, as installing them does.
void BM_HeadwordMerge(benchmark::State &state)
{
    const int existing = int(state.range(0));
    const QStringList before = combined().lines.mid(0, existing);
    std::vector<QStringList> dictionaries(3);
    QRandomGenerator random(7);
    for (QStringList &lines : dictionaries) {
        lines.reserve(100000);
        for (int i = 0; i < 100000; ++i) {
            QString w(6, Qt::Uninitialized);
            for (QChar &c : w)
                c = QChar(char16_t(0x0410 + random.bounded(32)));
            lines.append(w);
        }
    }
    qsizetype count = 0;
    for (auto _ : state) {
        HeadwordMerge merge(before);
        for (const QStringList &lines : dictionaries)
            merge.Add(lines);
        // The merge puts Й after И as it makes the list.
        count = merge.Lines().size();
    }
    state.counters["merged_lines"] = double(count);
}
BENCHMARK(BM_HeadwordMerge)->Arg(0)->Arg(kCombinedLines)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

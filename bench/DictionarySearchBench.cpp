// Opening a dictionary and searching it, on dictionaries made here in a
// temporary folder: a per-letter one whose letter files А and Б hold 100 000
// headwords each, a whole-list one of 200 000 headwords, and a per-letter one
// whose letter files А and Б are 3 MB of articles of real length each.

#include "DictionaryLookup.h"
#include "GeneratedLists.h"
#include "HeadwordGrid.h"
#include "HeadwordGridView.h"
#include "ListFile.h"
#include "QuietHost.h"
#include "RealisticArticles.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>

namespace {

using namespace vocab;

constexpr int kLetterLines = 100000;
constexpr int kWholeLines = 200000;
// Some 3 MB of articles of 300 to 2 000 bytes.
constexpr int kRealisticLetterLines = 3900;

QString headword(QChar first, int i, int digits) { return bench::NumberedWord(first, i, digits); }

qint64 writePair(const QString &stem, QChar first, int count, int digits)
{
    QStringList headwords;
    QStringList articles;
    headwords.reserve(count);
    articles.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QString word = headword(first, i, digits);
        headwords.append(word);
        articles.append(word + QStringLiteral(" w") + QString::number(i));
    }
    return bench::WriteListPair(stem, headwords, articles);
}

// A letter pair whose articles are of real length.
qint64 writeRealisticPair(const QString &stem, QChar first, int count)
{
    QDir().mkpath(QFileInfo(stem).absolutePath());
    bench::RealisticArticles articles;
    const auto word = [&](qsizetype i) { return headword(first, int(i), 4).toUtf8(); };
    return bench::WriteListFile(stem + QStringLiteral(".ogl"), count, [&](qsizetype i, QByteArray &out) { out.append(word(i)); })
        + bench::WriteListFile(stem + QStringLiteral(".uvs"), count,
                               [&](qsizetype i, QByteArray &out) { articles.AppendArticle(out, word(i)); });
}

struct Dictionaries {
    QTemporaryDir dir;
    qint64 letterFileBytes = 0;
    qint64 wholeListBytes = 0;
    qint64 realisticLetterFileBytes = 0;

    Dictionaries()
    {
        const QString dic = dir.path() + QStringLiteral("/dic/");
        letterFileBytes = writePair(dic + QStringLiteral("letters/base/1"), QChar(0x0410), kLetterLines, 4);
        writePair(dic + QStringLiteral("letters/base/2"), QChar(0x0411), kLetterLines, 4);
        wholeListBytes = writePair(dic + QStringLiteral("whole/whole"), QChar(0x0410), kWholeLines, 4);
        realisticLetterFileBytes = writeRealisticPair(dic + QStringLiteral("real/base/1"), QChar(0x0410), kRealisticLetterLines);
        writeRealisticPair(dic + QStringLiteral("real/base/2"), QChar(0x0411), kRealisticLetterLines);
    }
};

const Dictionaries &dictionaries()
{
    static const Dictionaries made;
    return made;
}

// Tree, grid and lookup as the window wires them; selecting a row takes its
// article, as the article page does before composing it.
struct Rig {
    explicit Rig(const QString &caption, const QString &folder)
        : treeLines{QStringLiteral("Все словари"), u'\t' + caption + u'=' + folder},
          lookup(host, grid, treeLines, dictionaries().dir.path())
    {
        host.caption = caption;
        grid.SetHeight(30 * HeadwordGrid::DefaultRowHeight);
        grid.SetSelectCellHandler([this](int row) {
            const auto article = lookup.ArticleOfRow(row);
            benchmark::DoNotOptimize(article);
        });
    }

    StringList treeLines;
    HeadwordGrid grid;
    bench::QuietHost host;
    DictionaryLookup lookup;
};

// The grid's widget as the main window sets it up and wires it to the grid.
class GridWidget {
public:
    explicit GridWidget(HeadwordGrid &grid)
    {
        m_view.setStyleSheet(QStringLiteral(
            "QTableView { font-family: 'Lucida Sans Unicode'; font-size: 11px; background: white; }\n"
            "QTableView::item { padding-left: 2px; }\n"
            "QTableView::item:selected { background: #C0C0C0; color: black; }"));
        m_view.setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        m_view.setMouseTracking(true);
        m_view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m_view.setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_view.setSelectionMode(QAbstractItemView::SingleSelection);
        m_view.setSelectionBehavior(QAbstractItemView::SelectRows);
        m_view.setShowGrid(false);
        m_view.horizontalHeader()->hide();
        m_view.verticalHeader()->hide();
        m_view.resize(220, 30 * HeadwordGrid::DefaultRowHeight);
        new HeadwordGridView(&m_view, grid);
        m_view.show();
        QCoreApplication::processEvents();
    }

    int CurrentRow() const { return m_view.currentIndex().row(); }

private:
    QTableView m_view;
};

// The typed form of headword i: lower case, as the search box holds it.
QString typed(QChar first, int i) { return headword(first, i, 4).toLower(); }

void BM_OneDictionaryKeystroke(benchmark::State &state)
{
    Rig rig(QStringLiteral("Буквы"), QStringLiteral("letters"));
    rig.lookup.OpenSelectedDictionary();
    // Two keys far down the letter file, taken in turn so that neither is the
    // article already shown.
    const QString keys[] = {typed(QChar(0x0410), kLetterLines - 10), typed(QChar(0x0410), kLetterLines / 2)};
    int k = 0;
    for (auto _ : state) {
        rig.lookup.SearchOneDictionary(keys[k]);
        k ^= 1;
    }
    if (!rig.lookup.State().SearchFound || rig.lookup.List().CurrentHeadwords.size() != kLetterLines)
        state.SkipWithError("the keys were not found");
}
BENCHMARK(BM_OneDictionaryKeystroke)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The same with the grid's widget following the model. With painted:1 each
// keystroke also waits for the widget to paint its rows (offscreen).
void BM_OneDictionaryKeystrokeInView(benchmark::State &state)
{
    Rig rig(QStringLiteral("Буквы"), QStringLiteral("letters"));
    GridWidget widget(rig.grid);
    const bool painted = state.range(0) != 0;
    rig.lookup.OpenSelectedDictionary();
    QCoreApplication::processEvents();
    const QString keys[] = {typed(QChar(0x0410), kLetterLines - 10), typed(QChar(0x0410), kLetterLines / 2)};
    int k = 0;
    for (auto _ : state) {
        rig.lookup.SearchOneDictionary(keys[k]);
        if (painted)
            QCoreApplication::processEvents();
        k ^= 1;
    }
    if (!rig.lookup.State().SearchFound || rig.lookup.List().CurrentHeadwords.size() != kLetterLines)
        state.SkipWithError("the keys were not found");
    if (widget.CurrentRow() != rig.grid.Row())
        state.SkipWithError("the widget does not follow the grid");
}
BENCHMARK(BM_OneDictionaryKeystrokeInView)
    ->ArgName("painted")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// From a word of one letter to a word of the next, in letter files of 3 MB
// whose articles are of real length: the letter files are read and the
// article of the word is shown.
void BM_LetterSwitch(benchmark::State &state)
{
    Rig rig(QStringLiteral("Буквы"), QStringLiteral("real"));
    rig.lookup.OpenSelectedDictionary();
    const QString keys[] = {typed(QChar(0x0411), 10), typed(QChar(0x0410), 10)};
    int k = 0;
    for (auto _ : state) {
        rig.lookup.SearchOneDictionary(keys[k]);
        k ^= 1;
    }
    if (!rig.lookup.State().SearchFound)
        state.SkipWithError("the keys were not found");
    state.counters["letter_file_bytes"] = double(dictionaries().realisticLetterFileBytes);
}
BENCHMARK(BM_LetterSwitch)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_WholeListOpen(benchmark::State &state)
{
    Rig rig(QStringLiteral("Целый"), QStringLiteral("whole"));
    for (auto _ : state)
        rig.lookup.OpenSelectedDictionary();
    if (rig.grid.RowCount() != kWholeLines)
        state.SkipWithError("the whole list is not in the grid");
    state.counters["whole_list_bytes"] = double(dictionaries().wholeListBytes);
}
BENCHMARK(BM_WholeListOpen)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The same with the grid's widget showing the model, wired as the window does.
void BM_WholeListOpenInView(benchmark::State &state)
{
    Rig rig(QStringLiteral("Целый"), QStringLiteral("whole"));
    GridWidget widget(rig.grid);
    for (auto _ : state) {
        rig.lookup.OpenSelectedDictionary();
        QCoreApplication::processEvents();
    }
    if (rig.grid.RowCount() != kWholeLines)
        state.SkipWithError("the whole list is not in the grid");
}
BENCHMARK(BM_WholeListOpenInView)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

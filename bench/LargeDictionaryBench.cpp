// Opening a dictionary of the size of a real English one, made here in a
// temporary folder on each run: a whole list of 200 000 headwords (some 2 MB)
// and its 150 MB of articles, 300 to 2 000 bytes each.

#include "DictionaryLookup.h"
#include "HeadwordGrid.h"
#include "ListFileLines.h"
#include "QuietHost.h"
#include "RealisticArticles.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <malloc.h>
#include <unistd.h>

namespace {

using namespace vocab;

constexpr qsizetype kHeadwords = 200000;

// Headword i: five letters counting i in base 26, so that the list is in
// order, and now and then a longer ending.
QByteArray headword(qsizetype i)
{
    static const char *const endings[] = {"", "ING", "NESS", " UP", "-LIKE", "ED", "", "LY"};
    QByteArray word(5, 'A');
    qsizetype n = i;
    for (int d = 4; d >= 0; --d) {
        word[d] = char('A' + n % 26);
        n /= 26;
    }
    word.append(endings[i % 8]);
    return word;
}

struct LargeDictionary {
    QTemporaryDir dir;
    qint64 articleBytes = 0;
    qint64 headwordBytes = 0;

    LargeDictionary()
    {
        const QString folder = dir.path() + QStringLiteral("/dic/large/");
        QDir().mkpath(folder);
        headwordBytes = bench::WriteListFile(folder + QStringLiteral("large.ogl"), kHeadwords,
                                             [](qsizetype i, QByteArray &out) { out.append(headword(i)); });
        bench::RealisticArticles articles;
        articleBytes = bench::WriteListFile(folder + QStringLiteral("large.uvs"), kHeadwords,
                                            [&](qsizetype i, QByteArray &out) { articles.AppendArticle(out, headword(i)); });
    }
};

const LargeDictionary &largeDictionary()
{
    static const LargeDictionary made;
    return made;
}

double residentMegabytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : 0;
}

struct Rig {
    Rig()
        : treeLines{QStringLiteral("Все словари"), QStringLiteral("\tБольшой=large")},
          lookup(host, grid, treeLines, largeDictionary().dir.path())
    {
        host.caption = QStringLiteral("Большой");
        grid.SetHeight(30 * HeadwordGrid::DefaultRowHeight);
        // As the window does on a row selection: the article is read.
        grid.SetSelectCellHandler([this](int row) {
            const auto article = lookup.ArticleOfRow(row);
            if (article && article->article)
                shownChars = article->article->size();
        });
    }

    void selectRoot()
    {
        host.kind = tnkRoot;
        host.caption = QStringLiteral("Все словари");
        lookup.OpenSelectedDictionary();
    }

    StringList treeLines;
    HeadwordGrid grid;
    bench::QuietHost host;
    DictionaryLookup lookup;
    qsizetype shownChars = 0;
};

// Selecting the dictionary in the tree: its headwords into the grid, its
// first article shown. The counters tell the memory the open dictionary adds
// to the process, and what is left of it once the root is selected again.
void BM_OpenLargeWholeList(benchmark::State &state)
{
    const LargeDictionary &data = largeDictionary();
    malloc_trim(0);
    const double before = residentMegabytes();
    double added = 0;
    double afterRoot = 0;
    {
        Rig rig;
        for (auto _ : state)
            rig.lookup.OpenSelectedDictionary();
        if (rig.grid.RowCount() != kHeadwords || rig.shownChars < 300)
            state.SkipWithError("the dictionary was not shown");
        added = residentMegabytes() - before;
        rig.selectRoot();
        afterRoot = residentMegabytes() - before;
    }
    state.counters["rss_added_mb"] = added;
    state.counters["rss_after_root_mb"] = afterRoot;
    state.counters["article_file_mb"] = double(data.articleBytes) / (1024.0 * 1024.0);
    state.counters["headword_file_mb"] = double(data.headwordBytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_OpenLargeWholeList)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The worst first keystroke: the dictionary just opened, a word from the end
// of the list typed, so the article file is passed over to its end once.
// Every iteration forgets what earlier ones found out about the file.
void BM_LargeWholeListLastWordAfterOpening(benchmark::State &state)
{
    largeDictionary();
    const QString last = QString::fromLatin1(headword(kHeadwords - 1)).toLower();
    Rig rig;
    for (auto _ : state) {
        state.PauseTiming();
        rig.lookup.OpenSelectedDictionary();
        ListFileLines::ForgetKeptTables();
        state.ResumeTiming();
        rig.lookup.SearchOneDictionary(last);
    }
    if (!rig.lookup.State().SearchFound || rig.lookup.State().ShownArticleIndex != kHeadwords - 1 || rig.shownChars < 300)
        state.SkipWithError("the last word was not shown");
}
BENCHMARK(BM_LargeWholeListLastWordAfterOpening)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

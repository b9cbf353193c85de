// The page of one headword from all dictionaries, over 30 Russian per-letter
// dictionaries made here in a temporary folder. Each one's letter file of the
// word holds 20 000 headwords with the word in the middle, so the page reads
// 30 headword files and, in each article file, the articles up to the word's.
// The files are read once before timing, so they are in the page cache.
// Where the lines of each article file begin is kept from page to page, as
// the viewer keeps it; the second benchmark forgets it before every page, as
// on the first page after the viewer started.

#include "AllDictionariesPage.h"
#include "GeneratedLists.h"
#include "ListFile.h"
#include "ListFileLines.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

namespace {

using namespace vocab;

constexpr int kDictionaries = 30;
constexpr int kLetterLines = 20000;
const QString kKey = QStringLiteral("КОТ");

// An article of about 200 characters; every tenth is long enough to be folded.
QString article(const QString &word, int i)
{
    const QString sentence = QStringLiteral(" — пример статьи словаря, с толкованием и примерами употребления.");
    QString text = word;
    const int sentences = i % 10 == 0 ? 14 : 3;
    for (int s = 0; s < sentences; ++s)
        text += sentence;
    return text;
}

qint64 writePair(const QString &stem, QChar first, int count, bool withKey)
{
    QStringList headwords;
    QStringList articles;
    headwords.reserve(count + 1);
    articles.reserve(count + 1);
    for (int i = 0; i < count; ++i) {
        const QString word = bench::NumberedWord(first, i, 3);
        headwords.append(word);
        articles.append(article(word, i));
        // The key stands in the middle of its letter.
        if (withKey && i == count / 2) {
            headwords.append(kKey);
            articles.append(article(kKey, 0));
        }
    }
    return bench::WriteListPair(stem, headwords, articles);
}

struct Tree {
    QTemporaryDir dir;
    StringList treeLines{QStringLiteral("Все словари")};
    std::vector<PageTreeNode> nodes{{QStringLiteral("Все словари"), tnkRoot, {}}};
    qint64 bytesOnDisk = 0;

    void add(const QString &caption, const QString &folder)
    {
        treeLines.append(u'\t' + caption + u'=' + folder);
        nodes.push_back({caption, tnkDictionary, folder});
    }

    Tree()
    {
        const QString dic = dir.path() + QStringLiteral("/dic/");
        for (int d = 0; d < kDictionaries; ++d) {
            add(QStringLiteral("Русский ") + QString::number(d), QStringLiteral("rus") + QString::number(d));
            // К's file holds the word; the two beside it are never read.
            for (int letter = 10; letter <= 12; ++letter) {
                const bool k = letter == 11;
                bytesOnDisk += writePair(dic + QStringLiteral("rus%1/base/%2").arg(d).arg(letter),
                                         QChar(char16_t(0x040F + letter)), k ? kLetterLines : 100, k);
            }
        }
    }
};

const Tree &tree()
{
    static const Tree made;
    return made;
}

// The page of the tree's word, built once untimed (so that every file read
// is in the page cache) and then again as often as the benchmark asks, with
// `beforeEach`, where given, called untimed before each build.
AllDictionariesResult buildRepeatedly(benchmark::State &state, const Tree &t, void (*beforeEach)() = nullptr)
{
    const AllDictionariesPage page(t.dir.path(), QStringLiteral("/opt/vocabulinarum"), t.treeLines);
    const QString head = QStringLiteral("<html><head></head><body>");
    AllDictionariesResult result = page.Build(head, kKey, t.nodes, {});
    for (auto _ : state) {
        if (beforeEach) {
            state.PauseTiming();
            beforeEach();
            state.ResumeTiming();
        }
        result = page.Build(head, kKey, t.nodes, {});
        benchmark::DoNotOptimize(result.page.size());
    }
    if (result.page.count(QStringLiteral("<div class=zag>")) != kDictionaries)
        state.SkipWithError("the word was not found in every dictionary that has it");
    return result;
}

void BM_AllDictionariesPage(benchmark::State &state)
{
    const Tree &t = tree();
    const qsizetype pageSize = buildRepeatedly(state, t).page.size();
    state.counters["dictionaries"] = double(t.nodes.size() - 1);
    state.counters["bytes_on_disk"] = double(t.bytesOnDisk);
    state.counters["page_chars"] = double(pageSize);
}
BENCHMARK(BM_AllDictionariesPage)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The first page after the viewer started: every article file is passed
// over up to the word's article.
void BM_AllDictionariesPageFirstAfterStart(benchmark::State &state)
{
    buildRepeatedly(state, tree(), &ListFileLines::ForgetKeptTables);
}
BENCHMARK(BM_AllDictionariesPageFirstAfterStart)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

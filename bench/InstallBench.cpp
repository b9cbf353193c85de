// Installing new dictionaries at start: five dictionaries of 100 000
// headwords each, of every layout, merged into a combined list of 1 000 000,
// and the longest stretch the window goes without handling its events; and
// twenty whole lists of 50 000 headwords, a million lines with many shared,
// merged into an empty list with both files written.

#include "DictionaryFolder.h"
#include "DictionaryInstallation.h"
#include "HeadwordMerge.h"
#include "LetterIndex.h"
#include "ListFile.h"
#include "NewDictionaries.h"
#include "ShellPaths.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>

namespace {

using namespace vocab;

constexpr int kExistingLines = 1000000;
constexpr int kDictionaryLines = 100000;

QString randomWord(QRandomGenerator &random, const QString &alphabet)
{
    QString w(4 + int(random.bounded(5)), Qt::Uninitialized);
    for (QChar &c : w)
        c = alphabet.at(random.bounded(int(alphabet.size())));
    return w;
}

QStringList randomWords(int count, const QString &alphabet, quint32 seed)
{
    QRandomGenerator random(seed);
    QStringList words;
    words.reserve(count);
    for (int i = 0; i < count; ++i)
        words.append(randomWord(random, alphabet));
    return words;
}

const QString kRussian = QStringLiteral("АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ");
const QString kEnglish = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");

// Splits words over the per-letter files their letters give.
void writeByLetter(const QString &base, const QStringList &words, bool english)
{
    const int first = FirstLetterFile(english);
    std::vector<QStringList> files(std::size_t(LastLetterFile(english) - first + 1));
    for (const QString &w : words)
        files[std::size_t(LetterFileNumber(w, english) - first)].append(w);
    QDir().mkpath(base + QStringLiteral("/base"));
    for (std::size_t n = 0; n < files.size(); ++n)
        ListFile::write(base + QStringLiteral("/base/%1.ogl").arg(int(n) + first), files[n]);
}

// A working folder with five new dictionaries under "dic", and the combined
// list they are merged into.
struct InstallFolder {
    QTemporaryDir dir;
    ConfigPaths paths{dir.path()};
    LineList AllHeadwords;
    std::vector<DictionaryEntry> NewDictionaries;

    InstallFolder()
    {
        QDir(dir.path()).mkpath(QStringLiteral("ConfigFiles/dictionaries"));
        HeadwordMerge existing;
        existing.Add(randomWords(kExistingLines * 7 / 10, kRussian, 1));
        existing.Add(randomWords(kExistingLines * 3 / 10 + 20000, kEnglish, 2));
        AllHeadwords = LineList::FromLines(existing.Lines().ToStringList().mid(0, kExistingLines));
        AllHeadwords.Write(paths.allHeadwords);

        const auto add = [&](const QString &folder, const QStringList &words, int layout) {
            const QString base = dir.path() + QStringLiteral("/dic/") + folder;
            QDir().mkpath(base);
            ListFile::write(base + QStringLiteral("/about.info"), {QStringLiteral("Описание"), folder});
            if (layout == 0)
                ListFile::write(base + u'/' + folder + QStringLiteral(".ogl"), words);
            else
                writeByLetter(base, words, layout == 1);
            NewDictionaries.push_back({folder, folder});
        };
        add(QStringLiteral("whole1"), randomWords(kDictionaryLines, kRussian, 11), 0);
        add(QStringLiteral("whole2"), randomWords(kDictionaryLines, kEnglish, 12), 0);
        add(QStringLiteral("english"), randomWords(kDictionaryLines, kEnglish, 13), 1);
        add(QStringLiteral("russian1"), randomWords(kDictionaryLines, kRussian, 14), 2);
        add(QStringLiteral("russian2"), randomWords(kDictionaryLines, kRussian, 15), 2);
    }
};

// The progress window reduced to a clock: how long the run went between two
// looks at the window.
class StopwatchHost final : public InstallProgressHost {
public:
    StopwatchHost() { m_clock.start(); }

    void ShowStatistics(const QString &) override {}
    void ShowDictionaryName(const QString &) override {}
    void ShowPosition(int position) override { benchmark::DoNotOptimize(position); }
    void ShowError(const AppError &) override { failed = true; }
    bool ProcessMessages() override
    {
        lap();
        ++polls;
        return false;
    }
    void lap()
    {
        longestGapMs = std::max(longestGapMs, double(m_clock.nsecsElapsed()) / 1e6);
        m_clock.restart();
    }

    double longestGapMs = 0;
    int polls = 0;
    bool failed = false;

private:
    QElapsedTimer m_clock;
};

void BM_InstallDictionaries(benchmark::State &state)
{
    static const InstallFolder folder;
    double longestGapMs = 0;
    qsizetype lines = 0;
    int polls = 0;
    for (auto _ : state) {
        LineList AllHeadwords = folder.AllHeadwords;
        StringList TreeLines{QStringLiteral("Все словари")};
        StopwatchHost host;
        const InstallOutcome outcome =
            InstallNewDictionaries(folder.paths, folder.NewDictionaries, 0, AllHeadwords, TreeLines, host);
        // The stretch after the last look, saving the list, counts too.
        host.lap();
        if (outcome != InstallOutcome::Installed || host.failed || TreeLines.size() != 7)
            state.SkipWithError("the dictionaries were not installed");
        longestGapMs = std::max(longestGapMs, host.longestGapMs);
        lines = AllHeadwords.size();
        polls = host.polls;
    }
    state.counters["longest_gap_ms"] = longestGapMs;
    state.counters["looks_at_window"] = polls;
    state.counters["merged_lines"] = double(lines);
}
BENCHMARK(BM_InstallDictionaries)->Unit(benchmark::kMillisecond)->Iterations(2);

constexpr int kMillionDictionaries = 20;
constexpr int kMillionDictionaryLines = 50000;
// The words the twenty dictionaries draw from: each word stands in about
// two and a half of them.
constexpr int kMillionPool = 400000;

// A first start that finds twenty whole-list dictionaries of 50 000 headwords,
// Russian and English, drawn from one pool of words.
struct MillionFolder {
    QTemporaryDir dir;
    ConfigPaths paths{dir.path()};
    std::vector<DictionaryEntry> NewDictionaries;

    MillionFolder()
    {
        QDir(dir.path()).mkpath(QStringLiteral("ConfigFiles/dictionaries"));
        ListFile::write(paths.allHeadwords, {});
        ListFile::write(paths.treeView, {QStringLiteral("Все словари")});
        QStringList pool = randomWords(kMillionPool * 7 / 10, kRussian, 21);
        pool += randomWords(kMillionPool * 3 / 10, kEnglish, 22);
        QRandomGenerator random(23);
        for (int d = 0; d < kMillionDictionaries; ++d) {
            QStringList words;
            words.reserve(kMillionDictionaryLines);
            for (int i = 0; i < kMillionDictionaryLines; ++i)
                words.append(pool.at(random.bounded(int(pool.size()))));
            // A dictionary's own list is in order.
            words.sort();
            const QString folder = QStringLiteral("dict%1").arg(d);
            const QString base = dir.path() + QStringLiteral("/dic/") + folder;
            QDir().mkpath(base);
            ListFile::write(base + QStringLiteral("/about.info"), {QStringLiteral("Описание"), folder});
            ListFile::write(base + u'/' + folder + QStringLiteral(".ogl"), words);
            NewDictionaries.push_back({folder, folder});
        }
    }
};

// Merge, Й after И, dictionaries.ogl written, the index built and
// dictionaries.dvc written: one first start's installation of a million lines.
void BM_MergeMillion(benchmark::State &state)
{
    static const MillionFolder folder;
    qsizetype lines = 0;
    double longestGapMs = 0;
    for (auto _ : state) {
        LineList AllHeadwords;
        StringList TreeLines{QStringLiteral("Все словари")};
        StopwatchHost host;
        const InstallOutcome outcome =
            InstallNewDictionaries(folder.paths, folder.NewDictionaries, 0, AllHeadwords, TreeLines, host);
        host.lap();
        LetterIndexTable::Build(AllHeadwords).WriteFile(folder.paths.letterIndex);
        if (outcome != InstallOutcome::Installed || host.failed)
            state.SkipWithError("the dictionaries were not installed");
        lines = AllHeadwords.size();
        longestGapMs = std::max(longestGapMs, host.longestGapMs);
    }
    state.counters["dictionary_lines"] = double(kMillionDictionaries) * kMillionDictionaryLines;
    state.counters["merged_lines"] = double(lines);
    state.counters["longest_gap_ms"] = longestGapMs;
}
BENCHMARK(BM_MergeMillion)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);

} // namespace

// The page of one headword from all dictionaries, over 30 dictionaries made
// here in a temporary folder: 10 whole lists of 20 000 headwords, 10 Russian
// and 10 English per-letter dictionaries whose letter files hold 5 000
// headwords each. Every whole list and Russian dictionary has the word, so
// the page reads 20 headword files and 20 article files; the English ones are
// passed over for a Russian word without being read.

#include "AllDictionariesPage.h"
#include "GeneratedLists.h"
#include "ListFile.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

namespace {

using namespace vocab;

constexpr int kDictionaries = 10; // of each kind
constexpr int kWholeLines = 20000;
constexpr int kLetterLines = 5000;
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
    std::vector<PageTreeNode> nodes{{QStringLiteral("Все словари"), tnkRoot}};
    qint64 bytesOnDisk = 0;

    void add(const QString &caption, const QString &folder)
    {
        treeLines.append(u'\t' + caption + u'=' + folder);
        nodes.push_back({caption, tnkDictionary});
    }

    Tree()
    {
        const QString dic = dir.path() + QStringLiteral("/dic/");
        const QChar k(0x041A);
        for (int d = 0; d < kDictionaries; ++d) {
            const QString n = QString::number(d);
            add(QStringLiteral("Целый ") + n, QStringLiteral("whole") + n);
            bytesOnDisk += writePair(dic + QStringLiteral("whole%1/whole%1").arg(d), k, kWholeLines, true);

            add(QStringLiteral("Русский ") + n, QStringLiteral("rus") + n);
            for (int letter = 1; letter <= 12; ++letter)
                bytesOnDisk += writePair(dic + QStringLiteral("rus%1/base/%2").arg(d).arg(letter),
                                         QChar(char16_t(0x040F + letter)), kLetterLines, letter == 11);

            add(QStringLiteral("English ") + n, QStringLiteral("eng") + n);
            for (int letter = 101; letter <= 104; ++letter)
                bytesOnDisk += writePair(dic + QStringLiteral("eng%1/base/%2").arg(d).arg(letter),
                                         QChar(char16_t(letter - 36)), kLetterLines, false);
        }
    }
};

const Tree &tree()
{
    static const Tree made;
    return made;
}

void BM_AllDictionariesPage(benchmark::State &state)
{
    const Tree &t = tree();
    const AllDictionariesPage page(t.dir.path(), QStringLiteral("/opt/vocabulinarum"), t.treeLines);
    const QString head = QStringLiteral("<html><head></head><body>");
    qsizetype pageSize = 0;
    for (auto _ : state) {
        const AllDictionariesResult result = page.Build(head, kKey, t.nodes, {});
        pageSize = result.page.size();
        benchmark::DoNotOptimize(pageSize);
    }
    if (pageSize < 20 * 200)
        state.SkipWithError("the word was not found in every dictionary that has it");
    state.counters["dictionaries"] = double(t.nodes.size() - 1);
    state.counters["bytes_on_disk"] = double(t.bytesOnDisk);
    state.counters["page_chars"] = double(pageSize);
}
BENCHMARK(BM_AllDictionariesPage)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

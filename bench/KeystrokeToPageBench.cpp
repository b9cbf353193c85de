// From a key in the search box to the end of loading of the article page
// written for it, in the real main window with the real engine (offscreen).
//
// The working folder holds what a user with big dictionaries has: an English
// whole list of 100 000 headwords with articles of 300 to 2 000 bytes (Latin
// with some Cyrillic), and 30 Russian per-letter dictionaries that all hold
// the word КОТ among 20 000 headwords of its letter, merged into the combined
// list as installing them merges them.
//
// Each iteration times one key event sent to the search box, up to the moment
// the page written for it has landed in the engine and the engine has ended
// its load. What comes before (putting the rest of the word into the box, the
// root's search as the word is typed) is not timed. The floor is the same
// write of an empty page, without any search: what the engine itself costs.

#include "EngineBenchWindow.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRandomGenerator>

#include <chrono>

namespace {

using namespace vocab;
using namespace vocab::bench;

void sendKey(QWidget *target, int key, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

// This benchmark library takes the reason as a C string only.
void skip(benchmark::State &state, const QString &why)
{
    state.SkipWithError(why.toStdString().c_str());
}

// The counters: how long the program took until it had handed the page to
// the engine, and how much later than the page's landing the engine ended
// its load, both per key.
void report(benchmark::State &state, EngineBenchWindow &w, qsizetype pageChars,
            std::chrono::steady_clock::duration handled)
{
    state.counters["page_chars"] = double(pageChars);
    state.counters["program_ms"] = benchmark::Counter(std::chrono::duration<double, std::milli>(handled).count(),
                                                      benchmark::Counter::kAvgIterations);
    state.counters["load_end_after_landing_ms"] = benchmark::Counter(w.takeLateLoadEnds(), benchmark::Counter::kAvgIterations);
    if (!w.boxes().isEmpty())
        skip(state, "a message box came up: " + w.boxes().constFirst());
}

// Times one action, from its start to the landing of the page it writes and
// the end of the engine's load: the time until the action returned, the
// program's own, goes into `handled`. False, with the reason given to the
// benchmark, when no page landed.
template <typename Action>
bool timeUntilLanded(benchmark::State &state, EngineBenchWindow &w, std::chrono::steady_clock::duration &handled,
                     const char *notLanded, Action action)
{
    const auto start = std::chrono::steady_clock::now();
    action();
    handled += std::chrono::steady_clock::now() - start;
    const bool landed = w.waitForWrittenPage();
    const auto end = std::chrono::steady_clock::now();
    if (!landed) {
        state.SkipWithError(notLanded);
        return false;
    }
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    return true;
}

// One letter typed into the box, with a dictionary selected: the search, the
// grid, the article page and its load.
void BM_KeystrokeToPage_OneDictionary(benchmark::State &state)
{
    EngineBenchWindow &w = EngineBenchWindow::instance();
    if (!w.ready()) {
        skip(state, w.failure());
        return;
    }
    w.select(EngineBenchWindow::BigCaption);
    TForm1 &form = w.form();
    // Kept from one repetition to the next, so that each takes another word.
    static QRandomGenerator random(7);
    static QString last;
    const QStringList &words = w.bigHeadwords();
    qsizetype pageChars = 0;
    std::chrono::steady_clock::duration handled{};
    for (auto _ : state) {
        // A headword whose article is not the one shown, all but its last
        // letter in the box as code puts it there (no search), the last
        // letter typed.
        QString word;
        do
            word = words.at(random.bounded(int(words.size()))).toLower();
        while (word == last);
        last = word;
        form.ComboBox1->setTextInCode(word.chopped(1));
        form.ComboBox1->caretToEnd();
        if (!w.settle()) {
            state.SkipWithError("the page before did not settle");
            return;
        }
        if (!timeUntilLanded(state, w, handled, "the article page did not land", [&] { sendKey(form.ComboBox1, Qt::Key_unknown, word.right(1)); }))
            return;
        if (!form.ShownPage().contains(QStringLiteral("<B>") + word.toUpper() + QStringLiteral("</B>"))
            || !w.shownText().contains(word.toUpper())) {
            skip(state, "the page shown is not the article of " + word);
            return;
        }
        pageChars = form.ShownPage().size();
    }
    report(state, w, pageChars, handled);
}
BENCHMARK(BM_KeystrokeToPage_OneDictionary)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(60)->ReportAggregatesOnly(true);

// The root selected, the word typed (not timed), then Enter: the page of the
// word from all dictionaries, and its load.
void BM_KeystrokeToPage_AllDictionaries(benchmark::State &state)
{
    EngineBenchWindow &w = EngineBenchWindow::instance();
    if (!w.ready()) {
        skip(state, w.failure());
        return;
    }
    w.select(EngineBenchWindow::RootCaption);
    TForm1 &form = w.form();
    qsizetype pageChars = 0;
    std::chrono::steady_clock::duration handled{};
    for (auto _ : state) {
        // Typed afresh each time: the page uses up the row it was built for.
        form.ComboBox1->lineEdit()->selectAll();
        sendKey(form.ComboBox1, Qt::Key_Backspace, QString());
        for (const QChar c : EngineBenchWindow::CommonWord.toLower())
            sendKey(form.ComboBox1, Qt::Key_unknown, QString(c));
        if (!w.settle() || form.PickedHeadword != EngineBenchWindow::CommonWord) {
            state.SkipWithError("the word typed did not pick its row");
            return;
        }
        if (!timeUntilLanded(state, w, handled, "the page did not land", [&] { sendKey(form.ComboBox1, Qt::Key_Return, QStringLiteral("\r")); }))
            return;
        pageChars = form.ShownPage().size();
        if (form.ShownPage().count(QStringLiteral("<div class=zag>")) != EngineBenchWindow::DictionariesWithWord
            || w.shownText().count(EngineBenchWindow::CommonWord) < EngineBenchWindow::DictionariesWithWord) {
            state.SkipWithError("the page does not hold the word from every dictionary that has it");
            return;
        }
    }
    report(state, w, pageChars, handled);
}
BENCHMARK(BM_KeystrokeToPage_AllDictionaries)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(40)->ReportAggregatesOnly(true);

// The engine's floor: the same write, of an empty page, with nothing searched.
void BM_KeystrokeToPage_EmptyPageFloor(benchmark::State &state)
{
    EngineBenchWindow &w = EngineBenchWindow::instance();
    if (!w.ready()) {
        skip(state, w.failure());
        return;
    }
    TForm1 &form = w.form();
    std::chrono::steady_clock::duration handled{};
    for (auto _ : state) {
        if (!w.settle()) {
            state.SkipWithError("the page before did not settle");
            return;
        }
        if (!timeUntilLanded(state, w, handled, "the empty page did not land", [&] { form.WriteHtmlToBrowser(QString()); }))
            return;
    }
    report(state, w, 0, handled);
}
BENCHMARK(BM_KeystrokeToPage_EmptyPageFloor)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(60)->ReportAggregatesOnly(true);

} // namespace

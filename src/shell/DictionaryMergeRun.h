#pragma once

#include "LineList.h"

#include <QByteArray>
#include <QString>

#include <climits>
#include <optional>

namespace vocab {

class DictionaryFolder;
class HeadwordMerge;

// What a run that merges dictionaries into the combined list asks of its
// progress window.
class MergeProgressHost {
public:
    virtual ~MergeProgressHost() = default;
    // The progress bar's position as the run computes it. It can lie below 0
    // or above 100 (the per-letter steps run past the end), which the bar
    // shows as empty or full.
    virtual void ShowPosition(int position) = 0;
    // Lets the program handle what is waiting: paints, the button that stops
    // the run, a request to close. True when the user asked to stop.
    virtual bool ProcessMessages() = 0;
};

// The progress bar's positions while dictionaries are merged.
namespace MergeProgress {
// Line m of a whole list of `count` lines: m·100 div count, plus the run's offset.
int WholeListLine(qsizetype m, qsizetype count, int offset);
// Per-letter file j: (j − 100)·100 div 23 for English files (100..126),
// j·100 div 25 for Russian ones (0..32).
int LetterFile(int j, bool english);
// The count beside the bar: "Выполнено " + done + " из " + count.
QString Statistics(int done, int count);
} // namespace MergeProgress

// Merges the headword files of dictionary folders into a combined list and
// keeps the window alive meanwhile: it looks at the window before every file,
// every ChunkLines lines read, after the lines of each letter are sorted and
// every StepLines lines written out, and stops when the user asks it to.
class DictionaryMergeRun {
public:
    static constexpr qsizetype ChunkLines = 2048;
    static constexpr qsizetype StepLines = 100000;

    // The combined list a run made, ready to be saved.
    struct Result {
        // In merge order, Й after И.
        LineList lines;
        // The lines as dictionaries.ogl holds them.
        QByteArray bytes;
    };

    // `wholeListOffset` is added to a whole list's positions.
    DictionaryMergeRun(HeadwordMerge &merge, MergeProgressHost &host, int wholeListOffset);

    // Adds lines as they stand, say the combined list there is already.
    // False when stopped.
    bool AddLines(const LineList &lines);

    // Adds a dictionary's headwords: its whole list when it has one,
    // otherwise its per-letter files, English or Russian, where a file that
    // is missing or cannot be read is passed over. False when the
    // user stopped the run; the merge is then half done and not to be used.
    // Throws FileError when a whole list is there and cannot be read, having
    // added nothing of it.
    bool MergeDictionary(const DictionaryFolder &folder);

    // Every dictionary is merged: the list with Й put after И, and its bytes
    // as a list file. Nothing when the user stopped the run meanwhile.
    std::optional<Result> Finish();

private:
    // Adds the lines, showing the position `positionOf(m)` gives for line m
    // when there is one; false when stopped.
    template <typename PositionOf>
    bool addLines(const LineList &lines, PositionOf positionOf);
    bool mergeWholeList(const DictionaryFolder &folder);
    bool mergeLetterFiles(const DictionaryFolder &folder);
    void show(int position);

    HeadwordMerge &m_merge;
    MergeProgressHost &m_host;
    int m_wholeListOffset;
    int m_shown = INT_MIN;
};

} // namespace vocab

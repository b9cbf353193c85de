#include "DictionaryMergeRun.h"

#include "AppError.h"
#include "DictionaryFolder.h"
#include "HeadwordMerge.h"
#include "ListFile.h"

#include <algorithm>
#include <optional>

namespace vocab {

namespace MergeProgress {

int WholeListLine(qsizetype m, qsizetype count, int offset)
{
    return int(qint64(m) * 100 / qint64(count)) + offset;
}

int LetterFile(int j, bool english)
{
    return english ? (j - 100) * 100 / 23 : j * 100 / 25;
}

QString Statistics(int done, int count)
{
    return QStringLiteral("Выполнено %1 из %2").arg(done).arg(count);
}

} // namespace MergeProgress

namespace {

struct NoPosition {
    std::optional<int> operator()(qsizetype) const { return std::nullopt; }
};

} // namespace

DictionaryMergeRun::DictionaryMergeRun(HeadwordMerge &merge, MergeProgressHost &host, int wholeListOffset)
    : m_merge(merge), m_host(host), m_wholeListOffset(wholeListOffset)
{
}

void DictionaryMergeRun::show(int position)
{
    // A bar is repainted for every position it is given; most lines of a long
    // list give the position the line before gave.
    if (position == m_shown)
        return;
    m_shown = position;
    m_host.ShowPosition(position);
}

template <typename PositionOf>
bool DictionaryMergeRun::addLines(const LineList &lines, PositionOf positionOf)
{
    for (qsizetype m = 0; m < lines.size(); ++m) {
        if (m > 0 && m % ChunkLines == 0 && m_host.ProcessMessages())
            return false;
        m_merge.Add(lines.at(m));
        if (const std::optional<int> position = positionOf(m))
            show(*position);
    }
    return true;
}

bool DictionaryMergeRun::AddLines(const LineList &lines)
{
    return addLines(lines, NoPosition{});
}

bool DictionaryMergeRun::MergeDictionary(const DictionaryFolder &folder)
{
    m_shown = INT_MIN;
    return folder.IsWholeList() ? mergeWholeList(folder) : mergeLetterFiles(folder);
}

std::optional<DictionaryMergeRun::Result> DictionaryMergeRun::Finish()
{
    while (!m_merge.SortSome()) {
        if (m_host.ProcessMessages())
            return std::nullopt;
    }
    if (m_host.ProcessMessages())
        return std::nullopt;
    // The merge puts Й after И as it makes the list.
    Result result{m_merge.Lines(), ListFile::encode({})};
    // The list file's rule, applied a part at a time.
    for (qsizetype from = 0; from < result.lines.size(); from += StepLines) {
        if (m_host.ProcessMessages())
            return std::nullopt;
        result.lines.AppendEncoded(result.bytes, from, std::min(StepLines, result.lines.size() - from));
    }
    return result;
}


bool DictionaryMergeRun::mergeWholeList(const DictionaryFolder &folder)
{
    if (m_host.ProcessMessages())
        return false;
    const LineList lines = folder.ReadLineList(folder.WholeListFile("ogl"));
    const qsizetype count = lines.size();
    return addLines(lines, [&](qsizetype m) -> std::optional<int> {
        return MergeProgress::WholeListLine(m, count, m_wholeListOffset);
    });
}

bool DictionaryMergeRun::mergeLetterFiles(const DictionaryFolder &folder)
{
    const bool english = folder.IsEnglish();
    for (int j = FirstLetterFile(english); j <= LastLetterFile(english); ++j) {
        show(MergeProgress::LetterFile(j, english));
        if (m_host.ProcessMessages())
            return false;
        LineList lines;
        try {
            lines = folder.ReadLineList(DictionaryFolder::LetterFile(j, "ogl"));
        } catch (const FileError &) {
            continue;
        }
        if (!addLines(lines, NoPosition{}))
            return false;
    }
    return true;
}

} // namespace vocab

#include "CombinedListRebuild.h"

#include "DictionaryFolder.h"
#include "HeadwordMerge.h"
#include "IniFile.h"
#include "LetterIndex.h"
#include "ListFile.h"

namespace vocab {

namespace {

// Whole lists fill their bar from a tenth.
constexpr int WholeListOffset = 10;

const QString ListSection = QStringLiteral("List");
const QString IncompleteKey = QStringLiteral("incomplete");

} // namespace

std::vector<DictionaryEntry> TreeFileDictionaries(const QStringList &treeLines)
{
    std::vector<DictionaryEntry> entries;
    for (const QString &line : treeLines) {
        if (!line.startsWith(u'\t'))
            continue;
        const QString entry = line.mid(1);
        entries.push_back(DictionaryEntry{StringList::namePart(entry), StringList::valuePart(entry)});
    }
    return entries;
}

RebuildOutcome RebuildCombinedList(const ConfigPaths &paths, TIniFile &ini, RebuildProgressHost &host)
{
    const std::vector<DictionaryEntry> entries = TreeFileDictionaries(ListFile::read(paths.treeView));
    const int count = int(entries.size());
    if (count == 0) {
        ListFile::write(paths.allHeadwords, {});
        ini.WriteBool(ListSection, IncompleteKey, false);
        return RebuildOutcome::Finished;
    }

    HeadwordMerge merge;
    DictionaryMergeRun run(merge, host, WholeListOffset);
    for (int i = 0; i < count; ++i) {
        const DictionaryEntry &entry = entries[std::size_t(i)];
        host.ShowDictionary(QStringLiteral("Обновление: ") + ShortDictionaryName(entry.displayName),
                            MergeProgress::Statistics(i, count));
        if (!run.MergeDictionary(DictionaryFolder(paths.base, entry.folder)))
            return RebuildOutcome::Stopped;
    }

    const std::optional<DictionaryMergeRun::Result> result = run.Finish();
    if (!result)
        return RebuildOutcome::Stopped;
    const LetterIndexTable index = LetterIndexTable::Build(result->lines);
    host.BeginWriting();
    ListFile::writeBytes(paths.allHeadwords, result->bytes);
    index.WriteFile(paths.letterIndex);
    ini.WriteBool(ListSection, IncompleteKey, false);
    host.ShowStatistics(MergeProgress::Statistics(count, count));
    return RebuildOutcome::Finished;
}

bool CombinedListIncomplete(const QString &dir_iniFile)
{
    const TIniFile options(dir_iniFile + QStringLiteral("/ConfigFiles/options.ini"));
    return options.ReadBool(ListSection, IncompleteKey, false);
}

} // namespace vocab

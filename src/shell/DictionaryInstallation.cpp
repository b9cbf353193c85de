#include "DictionaryInstallation.h"

#include "AppError.h"
#include "DictionaryFolder.h"
#include "HeadwordMerge.h"

namespace vocab {

namespace {

// Whole lists begin their bar one step below empty.
constexpr int WholeListOffset = -1;

} // namespace

InstallOutcome InstallNewDictionaries(const ConfigPaths &paths, const std::vector<DictionaryEntry> &NewDictionaries,
                                      int NewDictionariesFolderIndex, LineList &AllHeadwords, StringList &TreeLines,
                                      InstallProgressHost &host)
{
    const auto cancelled = [&] {
        TreeLines = ListFile::read(paths.treeView);
        return InstallOutcome::Cancelled;
    };

    HeadwordMerge merge;
    DictionaryMergeRun run(merge, host, WholeListOffset);
    if (!run.AddLines(AllHeadwords))
        return cancelled();

    StringList treeLines = TreeLines;
    int folderIndex = NewDictionariesFolderIndex;
    bool placed = false;
    const int count = int(NewDictionaries.size());
    for (int i = 0; i < count; ++i) {
        const DictionaryEntry &dictionary = NewDictionaries[std::size_t(i)];
        host.ShowStatistics(MergeProgress::Statistics(i, count));
        if (host.ProcessMessages())
            return cancelled();
        host.ShowDictionaryName(ShortDictionaryName(dictionary.displayName));
        try {
            if (!run.MergeDictionary(DictionaryFolder(paths.base, dictionary.folder)))
                return cancelled();
        } catch (const FileError &error) {
            // Nothing of it was merged; it stays out of the tree and is found
            // again at the next start.
            host.ShowError(error);
            continue;
        }
        PlaceNewDictionary(treeLines, folderIndex, dictionary);
        placed = true;
    }
    if (!placed)
        return InstallOutcome::NothingInstalled;

    std::optional<DictionaryMergeRun::Result> result = run.Finish();
    if (!result)
        return cancelled();
    ListFile::writeBytes(paths.allHeadwords, result->bytes);
    AllHeadwords = std::move(result->lines);
    TreeLines = std::move(treeLines);
    return InstallOutcome::Installed;
}

} // namespace vocab

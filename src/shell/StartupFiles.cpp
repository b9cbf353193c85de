#include "StartupFiles.h"

#include "AppError.h"
#include "IniFile.h"
#include "ListFile.h"
#include "ShellTexts.h"

#include <QDir>
#include <QFileInfo>

namespace vocab {

bool RequiredFilesPresent(const ConfigPaths &paths)
{
    return QFileInfo(paths.dictionariesDir).isDir() && QFileInfo(paths.references).isFile();
}

void WriteListVersion(TIniFile &ini)
{
    ini.WriteInteger(QStringLiteral("List"), QStringLiteral("NumberVersion"), ListFilesVersion);
}

void RaiseListVersion(TIniFile &ini)
{
    if (ini.ReadInteger(QStringLiteral("List"), QStringLiteral("NumberVersion"), 0) < ListFilesVersion)
        WriteListVersion(ini);
}

void CreateMissingFiles(const ConfigPaths &paths)
{
    if (!QFileInfo(paths.dicDir).isDir() && !QDir().mkdir(paths.dicDir))
        throw FileError(QStringLiteral("Не удаётся создать папку \"%1\"").arg(paths.dicDir));
    if (!QFileInfo::exists(paths.treeView))
        ListFile::write(paths.treeView, {texts::RootNodeCaption});
    if (!QFileInfo::exists(paths.allHeadwords))
        ListFile::write(paths.allHeadwords, {});
    if (!QFileInfo::exists(paths.allArticles))
        ListFile::write(paths.allArticles, {});
}

} // namespace vocab

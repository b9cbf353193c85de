#include "StartupFiles.h"

#include "AppError.h"
#include "FileErrorCause.h"
#include "IniFile.h"
#include "ListFile.h"
#include "ShellTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

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
    if (!QFileInfo(paths.dicDir).isDir() && ::mkdir(QFile::encodeName(paths.dicDir).constData(), 0777) != 0) {
        const int error = errno;
        throw FileError(QStringLiteral("Не удаётся создать папку \"%1\": %2").arg(paths.dicDir, FileErrorCause(error)));
    }
    if (!QFileInfo::exists(paths.treeView))
        ListFile::write(paths.treeView, {texts::RootNodeCaption});
    if (!QFileInfo::exists(paths.allHeadwords))
        ListFile::write(paths.allHeadwords, {});
    if (!QFileInfo::exists(paths.allArticles))
        ListFile::write(paths.allArticles, {});
}

} // namespace vocab

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

void FileFaults::Tell(const std::exception &error)
{
    if (const auto *fileError = dynamic_cast<const FileError *>(&error); fileError && !fileError->file().isEmpty()) {
        if (m_told.contains(fileError->file()))
            return;
        m_told.insert(fileError->file());
    }
    HandleException(error);
}

bool FileFaults::Write(const QString &path, const QStringList &lines)
{
    const QByteArray bytes = ListFile::encode(lines);
    if (const auto failed = m_unwritten.constFind(path); failed != m_unwritten.cend() && *failed == bytes)
        return false;
    if (!Try([&] { ListFile::writeBytes(path, bytes); })) {
        m_unwritten.insert(path, bytes);
        return false;
    }
    m_unwritten.remove(path);
    return true;
}

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

void CreateMissingFiles(const ConfigPaths &paths, FileFaults &faults)
{
    if (!QFileInfo(paths.dicDir).isDir()) {
        faults.Try([&] {
            if (::mkdir(QFile::encodeName(paths.dicDir).constData(), 0777) == 0)
                return;
            const int error = errno;
            throw FileError(QStringLiteral("Не удаётся создать папку \"%1\": %2").arg(paths.dicDir, FileErrorCause(error)),
                            paths.dicDir);
        });
    }
    if (!QFileInfo::exists(paths.treeView))
        faults.Write(paths.treeView, {texts::RootNodeCaption});
    if (!QFileInfo::exists(paths.allHeadwords))
        faults.Write(paths.allHeadwords, {});
    if (!QFileInfo::exists(paths.allArticles))
        faults.Write(paths.allArticles, {});
}

} // namespace vocab

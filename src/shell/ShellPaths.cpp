#include "ShellPaths.h"

#include <QCoreApplication>

namespace vocab {

ConfigPaths::ConfigPaths(const QString &baseDir)
    : base(baseDir),
      configDir(baseDir + QStringLiteral("/ConfigFiles")),
      optionsIni(configDir + QStringLiteral("/options.ini")),
      treeView(configDir + QStringLiteral("/TreeView.trv")),
      treeTemp(configDir + QStringLiteral("/TreeTemp.trv")),
      history(configDir + QStringLiteral("/history.trv")),
      grayList(configDir + QStringLiteral("/graylist.trv")),
      references(configDir + QStringLiteral("/references.htm")),
      dictionariesDir(configDir + QStringLiteral("/dictionaries")),
      allHeadwords(dictionariesDir + QStringLiteral("/dictionaries.ogl")),
      allArticles(dictionariesDir + QStringLiteral("/dictionaries.uvs")),
      letterIndex(dictionariesDir + QStringLiteral("/dictionaries.dvc")),
      dicDir(baseDir + QStringLiteral("/dic"))
{
}

namespace {

QString &programDirOverride()
{
    static QString dir;
    return dir;
}

} // namespace

QString ProgramDir()
{
    const QString &dir = programDirOverride();
    return dir.isEmpty() ? QCoreApplication::applicationDirPath() : dir;
}

void SetProgramDirForTests(const QString &dir)
{
    programDirOverride() = dir;
}

} // namespace vocab

#pragma once

#include <QString>

namespace vocab {

// Where the viewer's files live. Configuration and dictionaries are found from
// the current directory captured when the main window is created; the start
// page, the pictures and the deletion of a dictionary use the program's own
// folder.
struct ConfigPaths {
    explicit ConfigPaths(const QString &baseDir);

    QString base;
    QString configDir;      // ConfigFiles
    QString optionsIni;     // ConfigFiles/options.ini
    QString treeView;       // ConfigFiles/TreeView.trv
    QString treeTemp;       // ConfigFiles/TreeTemp.trv
    QString history;        // ConfigFiles/history.trv
    QString grayList;       // ConfigFiles/graylist.trv
    QString references;     // ConfigFiles/references.htm
    QString dictionariesDir; // ConfigFiles/dictionaries
    QString allHeadwords;   // ConfigFiles/dictionaries/dictionaries.ogl
    QString allArticles;    // ConfigFiles/dictionaries/dictionaries.uvs
    QString letterIndex;    // ConfigFiles/dictionaries/dictionaries.dvc
    QString dicDir;         // dic
};

// The folder of the program's executable, without a trailing separator.
QString ProgramDir();
// Makes ProgramDir() answer `dir` (the executable's folder again when empty),
// so that a test can run the window as an installed program runs, in its own
// folder.
void SetProgramDirForTests(const QString &dir);

} // namespace vocab

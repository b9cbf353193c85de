#pragma once

#include <QString>

namespace vocab {

// Tells the dictionaries' self-extracting installers where the program lives:
// under their default destinations' names (":" and "\" written as "%") the
// registry gets the program's folder and its "dic" folder. Values that hold
// these already are not written again. Throws FileError when the store
// cannot be written.
void RegisterInstallFolder(const QString &programDir);

} // namespace vocab

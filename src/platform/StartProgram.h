#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace vocab {

// Starting another program, detached from this one: the program and its
// arguments are handed over as they are, never through a shell. The answer
// is whether the program started.
//
// Tests install a starter of their own, to see what would be started; with
// none installed the program is started.
using ProgramStarter = std::function<bool(const QString &program, const QStringList &arguments)>;

// Installs a starter and returns the previous one; an empty one restores the real start.
ProgramStarter setProgramStarter(ProgramStarter starter);

bool StartProgram(const QString &program, const QStringList &arguments);

} // namespace vocab

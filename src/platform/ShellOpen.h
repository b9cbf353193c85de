#pragma once

#include <QUrl>

#include <functional>

namespace vocab {

// Opening a file, a web address or a mailto: link with the program the
// desktop keeps for it, as a double click in the file manager would. The
// answer is whether a program could be started for it; what that program then
// makes of the target (a page that cannot be reached, a file it cannot read)
// it reports itself.
//
// Tests, and anything else that must not start desktop programs, install an
// opener of their own; with none installed the desktop's own is used.
using ShellOpener = std::function<bool(const QUrl &)>;

// Installs an opener and returns the previous one; an empty one restores the
// desktop's.
ShellOpener setShellOpener(ShellOpener opener);

bool ShellOpen(const QUrl &target);

} // namespace vocab

#include "ShellOpen.h"

#include "StandIn.h"

#include <QDesktopServices>

#include <utility>

namespace vocab {

ShellOpener setShellOpener(ShellOpener opener)
{
    return StandIn<ShellOpener>::Install(std::move(opener));
}

bool ShellOpen(const QUrl &target)
{
    if (const ShellOpener opener = StandIn<ShellOpener>::Current())
        return opener(target);
    return QDesktopServices::openUrl(target);
}

} // namespace vocab

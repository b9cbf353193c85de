#include "ShellOpen.h"

#include <QDesktopServices>

#include <utility>

namespace vocab {

namespace {

ShellOpener &opener()
{
    static ShellOpener o;
    return o;
}

} // namespace

ShellOpener setShellOpener(ShellOpener o)
{
    std::swap(opener(), o);
    return o;
}

bool ShellOpen(const QUrl &target)
{
    if (opener())
        return opener()(target);
    return QDesktopServices::openUrl(target);
}

} // namespace vocab

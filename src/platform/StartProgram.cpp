#include "StartProgram.h"

#include <QProcess>

#include <utility>

namespace vocab {

namespace {

ProgramStarter &starter()
{
    static ProgramStarter s;
    return s;
}

} // namespace

ProgramStarter setProgramStarter(ProgramStarter s)
{
    std::swap(starter(), s);
    return s;
}

bool StartProgram(const QString &program, const QStringList &arguments)
{
    if (program.isEmpty())
        return false;
    if (starter())
        return starter()(program, arguments);
    return QProcess::startDetached(program, arguments);
}

} // namespace vocab

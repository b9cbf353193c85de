#include "StartProgram.h"

#include "StandIn.h"

#include <QProcess>

#include <utility>

namespace vocab {

ProgramStarter setProgramStarter(ProgramStarter starter)
{
    return StandIn<ProgramStarter>::Install(std::move(starter));
}

bool StartProgram(const QString &program, const QStringList &arguments)
{
    if (program.isEmpty())
        return false;
    if (const ProgramStarter starter = StandIn<ProgramStarter>::Current())
        return starter(program, arguments);
    return QProcess::startDetached(program, arguments);
}

} // namespace vocab

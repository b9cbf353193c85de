#include "EngineBenchWindow.h"
#include "EngineSetup.h"

#include <benchmark/benchmark.h>

#include <QApplication>

int main(int argc, char **argv)
{
    // The real window and engine, with no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    vocab::prepareWebEngine();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    vocab::bench::EngineBenchWindow::end();
    benchmark::Shutdown();
    return 0;
}

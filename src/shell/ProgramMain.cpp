#include "ProgramMain.h"

#include "ErrorHandler.h"
#include "InstanceGuard.h"
#include "MessageBoxes.h"
#include "ShellTexts.h"
#include "ip.h"

namespace vocab {

int ProgramMain(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    Application app(argc, argv);
    QCoreApplication::setApplicationName(texts::ApplicationTitle);
    // The window may hide into the tray; the program ends when the main
    // window really closes, not when the last visible window goes away.
    QApplication::setQuitOnLastWindowClosed(false);

    auto guard = NamedInstanceGuard::tryAcquire(texts::InstanceMutexName);
    if (!guard) {
        MessageBox(texts::AlreadyRunning, texts::ApplicationTitle, MB_OK);
        return 0;
    }

    int result = 0;
    {
        TForm1 form;
        form.show();
        result = app.exec();
    }
    guard.reset();
    return result;
}

} // namespace vocab

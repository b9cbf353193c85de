#include "ProgramMain.h"

#include "AppError.h"
#include "EngineSetup.h"
#include "ErrorHandler.h"
#include "HostedBrowser.h"
#include "InstanceGuard.h"
#include "MessageBoxes.h"
#include "ShellTexts.h"
#include "StartupTimes.h"
#include "WbPopup.h"
#include "ip.h"

namespace vocab {

int ProgramMain(int argc, char **argv)
{
    prepareWebEngine();
    Application app(argc, argv);
    QCoreApplication::setApplicationName(texts::ApplicationTitle);
    // The window may hide into the tray; the program ends when the main
    // window really closes, not when the last visible window goes away.
    QApplication::setQuitOnLastWindowClosed(false);

    std::unique_ptr<NamedInstanceGuard> guard;
    try {
        guard = NamedInstanceGuard::tryAcquire(texts::InstanceMutexName);
    } catch (const AppError &error) {
        // No lock file, so no way to tell whether another copy runs.
        MessageBox(error.message(), texts::ApplicationTitle, MB_OK | MB_ICONERROR);
        return 1;
    }
    if (!guard) {
        MessageBox(texts::AlreadyRunning, texts::ApplicationTitle, MB_OK);
        return 0;
    }

    // The browser component's module lives from here until after the window.
    HostedBrowserModuleScope browserModule;
    // The right-button hook over the article view, after the browser's module.
    WbPopupScope rightButtonHook;
    int result = 0;
    {
        TForm1 form;
        form.show();
        WatchStartupTimes(form);
        result = app.exec();
    }
    guard.reset();
    return result;
}

} // namespace vocab

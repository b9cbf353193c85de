#include "EngineSetup.h"

#include "NetworkState.h"

#include <QCoreApplication>
#include <QWebEngineProfile>

#include <unistd.h>

namespace vocab {

namespace {

void addChromiumFlag(const QByteArray &flag)
{
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (flags.split(' ').contains(flag))
        return;
    if (!flags.isEmpty())
        flags += ' ';
    flags += flag;
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
}

} // namespace

void prepareWebEngine()
{
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    if (!QCoreApplication::instance())
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    addChromiumFlag("--disable-gpu");
    // With the GPU off the engine draws its pages in software, and the view
    // only shows the pictures it gets: it needs no OpenGL either. Without it
    // the program loads no software GL driver (some 40 MB of memory, and
    // time at every start). A setting of the user's own stands.
    if (!qEnvironmentVariableIsSet("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
    if (::geteuid() == 0) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        addChromiumFlag("--no-sandbox");
    }
}

std::unique_ptr<QWebEngineProfile> makeBrowserProfile()
{
    prepareWebEngine();
    auto profile = std::make_unique<QWebEngineProfile>();
    profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    registerBrowserProfile(profile.get());
    return profile;
}

} // namespace vocab

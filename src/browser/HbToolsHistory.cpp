#include "HbToolsHistory.h"

#include "AppError.h"
#include "NetworkState.h"
#include "Registry.h"

#include <QEventLoop>
#include <QTimer>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>

#include <exception>

namespace vocab::HbTools {

namespace {

const QString TypedUrlsKey = QStringLiteral("Software\\Microsoft\\Internet Explorer\\TypedURLs");

// How long the engine is given to empty its caches.
constexpr int CacheClearSettleMs = 500;

void handleEventsFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

void ClearHistory()
{
    for (QWebEngineProfile *profile : liveBrowserProfiles())
        profile->clearAllVisitedLinks();
}

int DeleteFirstCacheEntry(TCacheEnumHandle &hEnum)
{
    hEnum = 0;
    const QList<QWebEngineProfile *> profiles = liveBrowserProfiles();
    // The walk deletes cookies and visited addresses with the cached pages:
    // they are entries of the same cache.
    for (QWebEngineProfile *profile : profiles) {
        profile->clearHttpCache();
        profile->cookieStore()->deleteAllCookies();
        profile->clearAllVisitedLinks();
    }
    // The engine empties its caches while it goes on, and a page asked for
    // before it is done may never finish loading. It tells nobody when it is
    // done, so it is given the time it takes before anything else is asked.
    if (!profiles.isEmpty())
        handleEventsFor(CacheClearSettleMs);
    return ERROR_NO_MORE_ITEMS;
}

int DeleteNextCacheEntry(TCacheEnumHandle)
{
    return ERROR_NO_MORE_ITEMS;
}

void ClearCache()
{
    TCacheEnumHandle hEnum = 0;
    int result = DeleteFirstCacheEntry(hEnum);
    // A step that fails for any other reason would fail again: every code
    // but success ends the walk, so that it cannot go round for ever.
    while (result == 0)
        result = DeleteNextCacheEntry(hEnum);
    // The walk holds nothing that would need closing.
}

void ClearTypedUrls()
{
    try {
        TRegistry(RegRoot::HKEY_CURRENT_USER).DeleteKey(TypedUrlsKey);
    } catch (const AppError &) {
        // A store that cannot be written keeps the list; nothing more.
    }
}

bool CheckOnlineStatus()
{
    try {
        return !globalOffline() && platformReportsConnection();
    } catch (const std::exception &) {
        return false;
    }
}

bool SetConnectedState(bool Offline)
{
    setGlobalOffline(Offline);
    return true;
}

bool GoOnline()
{
    return SetConnectedState(false);
}

bool GoOffline()
{
    return SetConnectedState(true);
}

bool IsGlobalOffline()
{
    return globalOffline();
}

} // namespace vocab::HbTools

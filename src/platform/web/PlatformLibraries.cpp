#include "PlatformLibraries.h"

#include "ShellOpen.h"

#include <QFileInfo>
#include <QUrl>

#include <utility>

namespace vocab {

namespace {
int g_oleInitCount = 0;

InternetFeatureLibrary &featureLibrary()
{
    static InternetFeatureLibrary library;
    return library;
}
} // namespace

bool CallHtmlHelp(QWidget *, const QString &pszFile, std::uint32_t, std::uintptr_t)
{
    const QFileInfo file(pszFile);
    if (pszFile.isEmpty() || !file.isFile())
        return false;
    return ShellOpen(QUrl::fromLocalFile(file.absoluteFilePath()));
}

HRESULT SetInternetFeatureEnabled(std::uint8_t FeatureEntry, std::uint32_t dwFlags, bool fEnable)
{
    const auto &set = featureLibrary().SetEnabled;
    return set ? set(FeatureEntry, dwFlags, fEnable) : E_NOTIMPL;
}

HRESULT IsInternetFeatureEnabled(std::uint8_t FeatureEntry, std::uint32_t dwFlags)
{
    const auto &is = featureLibrary().IsEnabled;
    return is ? is(FeatureEntry, dwFlags) : E_NOTIMPL;
}

InternetFeatureLibrary setInternetFeatureLibrary(InternetFeatureLibrary library)
{
    std::swap(featureLibrary(), library);
    return library;
}

bool IsWinXPSP2OrLater()
{
    return false;
}

HRESULT OleInitialize()
{
    return g_oleInitCount++ == 0 ? S_OK : S_FALSE;
}

void OleUninitialize()
{
    if (g_oleInitCount > 0)
        --g_oleInitCount;
}

} // namespace vocab

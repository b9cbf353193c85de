#include "PlatformLibraries.h"

namespace vocab {

namespace {
int g_oleInitCount = 0;
}

QWidget *CallHtmlHelp(QWidget *, const QString &, std::uint32_t, std::uintptr_t)
{
    return nullptr;
}

HRESULT SetInternetFeatureEnabled(std::uint8_t, std::uint32_t, bool)
{
    return E_NOTIMPL;
}

HRESULT IsInternetFeatureEnabled(std::uint8_t, std::uint32_t)
{
    return E_NOTIMPL;
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

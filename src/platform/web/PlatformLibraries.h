#pragma once

// Platform functions the browser host uses only when the system offers them.
// None of them exists on this system, so each answers as for a missing
// library: the caller gets E_NOTIMPL, null or false and goes on.

#include "ComTypes.h"

#include <cstdint>

class QWidget;

namespace vocab {

// Opens a compiled help file. There is no help viewer of that kind here: null.
QWidget *CallHtmlHelp(QWidget *hwndCaller, const QString &pszFile, std::uint32_t uCommand, std::uintptr_t dwData);

// The browser's process-wide feature switches: E_NOTIMPL, every time.
HRESULT SetInternetFeatureEnabled(std::uint8_t FeatureEntry, std::uint32_t dwFlags, bool fEnable);
HRESULT IsInternetFeatureEnabled(std::uint8_t FeatureEntry, std::uint32_t dwFlags);

// The test for the platform version from which the browser window sizes
// itself; without the test it answers false.
bool IsWinXPSP2OrLater();

// The object library of the process. Nothing needs starting here; the count
// keeps the pairing of the callers: the first call answers S_OK, later ones
// S_FALSE, and each must be matched by one OleUninitialize.
HRESULT OleInitialize();
void OleUninitialize();

} // namespace vocab

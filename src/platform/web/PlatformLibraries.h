#pragma once

// Platform functions the browser host uses only when the system offers them.
// Where the system has none, each answers as for a missing library: the
// caller gets E_NOTIMPL or false and goes on.

#include "ComTypes.h"

#include <cstdint>
#include <functional>

class QWidget;

namespace vocab {

// Opens a help file with the desktop's program for it (ShellOpen.h), as the
// program's own help is opened. That program shows the file in a window of
// its own, so there is no window to hand back: the answer is whether the
// file is there and a program could be started for it. The command and its
// data (a topic of the file) cannot be passed on to such a program.
bool CallHtmlHelp(QWidget *hwndCaller, const QString &pszFile, std::uint32_t uCommand, std::uintptr_t dwData);

// The browser's process-wide feature switches. The engine has none, so
// without a library installed both answer E_NOTIMPL, every time.
HRESULT SetInternetFeatureEnabled(std::uint8_t FeatureEntry, std::uint32_t dwFlags, bool fEnable);
HRESULT IsInternetFeatureEnabled(std::uint8_t FeatureEntry, std::uint32_t dwFlags);

// The functions behind the feature switches; tests install theirs. An
// empty function answers as the missing library does.
struct InternetFeatureLibrary {
    std::function<HRESULT(std::uint8_t FeatureEntry, std::uint32_t dwFlags, bool fEnable)> SetEnabled;
    std::function<HRESULT(std::uint8_t FeatureEntry, std::uint32_t dwFlags)> IsEnabled;
};
// Installs a library and returns the previous one.
InternetFeatureLibrary setInternetFeatureLibrary(InternetFeatureLibrary library);

// The test for the platform version from which the browser window sizes
// itself; without the test it answers false.
bool IsWinXPSP2OrLater();

// The object library of the process. Nothing needs starting here; the count
// keeps the pairing of the callers: the first call answers S_OK, later ones
// S_FALSE, and each must be matched by one OleUninitialize.
HRESULT OleInitialize();
void OleUninitialize();

} // namespace vocab

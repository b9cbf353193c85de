#pragma once

// Starting the web engine the way this program runs it: the one place that
// decides about the engine's sandbox, its use of the GPU and running as root.

#include <QWebEngineSettings>

#include <memory>

class QObject;
class QWebEngineProfile;

namespace vocab {

// Settles the engine's start-up options. Call it before the QApplication is
// made; a later call still settles everything that the engine reads when it
// starts (the engine starts with the first browser control), and repeated
// calls change nothing.
//
// - The GPU is not used: the pages are text and pictures, and software
//   rendering works on every display, virtual ones included.
// - The engine's sandbox cannot start for the root user; running as root,
//   the sandbox is switched off (the engine refuses to start otherwise).
// - Contexts are shared between windows, which the engine needs.
void prepareWebEngine();

// A profile of its own for one browser control: kept in memory only, with no
// cache or cookies written to disk, so that controls don't share state. It
// is on the list of live profiles (NetworkState.h) for as long as it lives.
std::unique_ptr<QWebEngineProfile> makeBrowserProfile();

// Sets a setting of a page only where it changes: every change sends the
// page's settings to the engine anew, which costs each page it shows.
inline void setSetting(QWebEngineSettings &settings, QWebEngineSettings::WebAttribute attribute, bool on)
{
    if (settings.testAttribute(attribute) != on)
        settings.setAttribute(attribute, on);
}

} // namespace vocab

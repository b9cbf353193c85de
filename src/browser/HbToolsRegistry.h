#pragma once

// Routines of the browser tools that keep small pieces of state in the
// registry (the application's main-window geometry, the last page visited,
// the platform browser's start page), switch the platform's navigation
// sound off and on, and two helpers the other tools build on: the wait for
// the browser and a command to the document through its command target.
//
// The application's places are under HKEY_LOCAL_MACHINE
// "SOFTWARE\<application title>", the title being the application's name.

#include "ComTypes.h"

#include <QString>
#include <QVariant>

#include <cstdint>

class QWidget;

namespace vocab {

class THostedBrowser;

namespace HbTools {

// The application's title, and its main window: the one main window of the
// program, else the active window; null when there is neither.
QString ApplicationTitle();
QWidget *ApplicationMainForm();

// The main window's position, size and state from the registry, as far as
// the values are there; and into it. Neither ever throws.
void RestoreApplicationFormSize();
void SaveApplicationFormSize();

// The component's wait for its page, without a time limit.
bool WaitForBrowser(THostedBrowser &WB);

// Runs a command of the document's command target: of the browser's own
// group when `UseBrowserGroup`, else a standard one. 1 (S_FALSE) when the
// document is no HTML document or fails; else the command's result code.
HRESULT ExecCommand(IInterface *Document, bool UseBrowserGroup, std::uint32_t CmdID, std::uint32_t ExecOpt,
                    const QVariant &vaIn, QVariant *vaOut);

// Send the about command and the desktop-shortcut command to a window and
// wait for it to answer.
void ShowIEVersionInfo(QWidget *Handle);
void CreateDesktopShortcut(QWidget *Handle);

// The platform browser's start page.
void SetNewHomePage(const QString &Address);

// The last page visited, as saved. True when it reads as an address (not
// empty, with a dot); the text is handed back either way.
bool GetLastVisitedPage(QString &Address);
// Saves the page visited; false, without a message, when it cannot.
bool SaveLastVisitedPage(THostedBrowser &WB, const QString &Address);

// Moves the platform's navigation sound away (true) or back (false) in the
// registry: the scheme's ".Current" key becomes "Old_Current" and back
// again. The web engine itself plays no sound when it navigates, so only
// the keys move. Never throws.
void DisableNavSound(bool bDisable);
// The switch as the component makes it for a browser of a major version:
// the registry way above for a version below 7 or none that reads as a
// number, else the browser's process-wide feature switch.
void SwitchNavSound(bool bDisable, const QString &MajorVersion);

} // namespace HbTools
} // namespace vocab

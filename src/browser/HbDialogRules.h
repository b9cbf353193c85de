#pragma once

// How the browser component tells and re-captions the dialogs it watches.

#include "WindowHelpers.h"

#include <QString>

class QWidget;

namespace vocab {

inline constexpr const char *StandardDialogClass = WindowClass::StandardDialog;
inline constexpr const char *EngineDialogClass = WindowClass::EngineDialog;

// A window's class as the dialog watch sees it: the class it was given
// (setWindowClassName), else "#32770" for Qt's standard dialogs (message
// boxes, input, file, progress, error, colour, font, print and page-setup
// dialogs), else its Qt class.
QString DialogWindowClass(const QWidget *window);

// The first "Microsoft " removed, then the first "Internet Explorer"
// replaced by `newCaption`; case counts.
QString ReplaceDialogCaption(const QString &caption, const QString &newCaption);

} // namespace vocab

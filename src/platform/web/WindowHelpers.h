#pragma once

// Window and string helpers the browser host shares. The control's widgets
// carry the class names by which the host tells them apart: the control
// ("Shell Embedding"), its view ("Shell DocObject View") and the document
// window inside the view ("Internet Explorer_Server").

#include <QChar>
#include <QString>
#include <QStringList>

class QWidget;

namespace vocab {

namespace WindowClass {
inline constexpr char ShellEmbedding[] = "Shell Embedding";
inline constexpr char ShellDocObjectView[] = "Shell DocObject View";
inline constexpr char InternetExplorerServer[] = "Internet Explorer_Server";
inline constexpr char SysListView32[] = "SysListView32";
// A standard dialog, and a dialog window of the browser's own (its print preview).
inline constexpr char StandardDialog[] = "#32770";
inline constexpr char EngineDialog[] = "Internet Explorer_TridentDlgFrame";
} // namespace WindowClass

// How ShowWindow shows a window.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOWMINNOACTIVE = 7;
inline constexpr int SW_SHOWNA = 8;
inline constexpr int SW_RESTORE = 9;
inline constexpr int SW_SHOWDEFAULT = 10;
inline constexpr int SW_FORCEMINIMIZE = 11;

void setWindowClassName(QWidget *wnd, const char *className);

// The class name of a window: the one given with setWindowClassName, else
// its Qt class; empty for none.
QString GetWindowClassName(const QWidget *wnd);

// The nearest ancestor of `wnd` (never `wnd` itself) whose class name is
// `className`, compared exactly; null when none is.
QWidget *FindAncestorWindowByClass(QWidget *wnd, const QString &className);

QString GetWindowTextString(const QWidget *wnd);

// Shows, hides, minimizes, maximizes or restores a top-level window as
// `nCmdShow` (SW_...) says; an unknown value leaves it as it is. Whether the
// window was visible before.
bool ShowWindow(QWidget *wnd, int nCmdShow);

// 1-based position of the first `key` in `s`, 0 when absent.
int PosOfChar(QChar key, const QString &s);

// Index of the first element equal to `s` (case counts), -1 when absent.
int IndexOfString(const QString &s, const QStringList &strings);

} // namespace vocab

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
} // namespace WindowClass

void setWindowClassName(QWidget *wnd, const char *className);

// The class name of a window: the one given with setWindowClassName, else
// its Qt class; empty for none.
QString GetWindowClassName(const QWidget *wnd);

// The nearest ancestor of `wnd` (never `wnd` itself) whose class name is
// `className`, compared exactly; null when none is.
QWidget *FindAncestorWindowByClass(QWidget *wnd, const QString &className);

QString GetWindowTextString(const QWidget *wnd);

// 1-based position of the first `key` in `s`, 0 when absent.
int PosOfChar(QChar key, const QString &s);

// Index of the first element equal to `s` (case counts), -1 when absent.
int IndexOfString(const QString &s, const QStringList &strings);

} // namespace vocab

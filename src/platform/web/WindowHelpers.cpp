#include "WindowHelpers.h"

#include <QVariant>
#include <QWidget>

namespace vocab {

namespace {
constexpr char WindowClassProperty[] = "vocabWindowClass";
}

void setWindowClassName(QWidget *wnd, const char *className)
{
    wnd->setProperty(WindowClassProperty, QString::fromLatin1(className));
}

QString GetWindowClassName(const QWidget *wnd)
{
    if (!wnd)
        return {};
    const QVariant given = wnd->property(WindowClassProperty);
    return given.isValid() ? given.toString() : QString::fromLatin1(wnd->metaObject()->className());
}

QWidget *FindAncestorWindowByClass(QWidget *wnd, const QString &className)
{
    QWidget *w = wnd ? wnd->parentWidget() : nullptr;
    while (w && GetWindowClassName(w) != className)
        w = w->parentWidget();
    return w;
}

QString GetWindowTextString(const QWidget *wnd)
{
    return wnd ? wnd->windowTitle() : QString();
}

bool ShowWindow(QWidget *wnd, int nCmdShow)
{
    if (!wnd)
        return false;
    const bool wasVisible = wnd->isVisible();
    switch (nCmdShow) {
    case SW_HIDE:
        wnd->hide();
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
        wnd->showNormal();
        wnd->activateWindow();
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
        wnd->showMinimized();
        break;
    case SW_SHOWMAXIMIZED:
        wnd->showMaximized();
        wnd->activateWindow();
        break;
    case SW_SHOW:
        wnd->show();
        wnd->activateWindow();
        break;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA:
        wnd->show();
        break;
    default:
        break;
    }
    return wasVisible;
}

int PosOfChar(QChar key, const QString &s)
{
    return static_cast<int>(s.indexOf(key)) + 1;
}

int IndexOfString(const QString &s, const QStringList &strings)
{
    return static_cast<int>(strings.indexOf(s));
}

} // namespace vocab

// The main window's geometry across runs, its panes on a resize, and hiding
// into the tray when minimized.
#include "ip.h"

#include "ErrorHandler.h"
#include "EventHook.h"
#include "IniFile.h"
#include "WindowGeometry.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>
#include <QSystemTrayIcon>
#include <QTimer>

#include <algorithm>

namespace vocab {

namespace {

// Rows of the headword grid below this height are too few to use: the pane
// under it gives way first.
constexpr int GridFloor = 70;

QList<QRect> screenAreas()
{
    QList<QRect> areas;
    for (const QScreen *screen : QGuiApplication::screens())
        areas.append(screen->geometry());
    return areas;
}

// Fits a splitter of two panes to its length; `flexible` is the pane that
// takes a change first.
void fitSplitter(QSplitter *splitter, int flexible, int flexibleFloor, int fixedFloor)
{
    QList<int> sizes = splitter->sizes();
    if (sizes.size() != 2)
        return;
    const int fixed = 1 - flexible;
    const PanePair now{sizes[flexible], sizes[fixed]};
    const PanePair fit = FitPanes(now, sizes[0] + sizes[1], flexibleFloor, fixedFloor);
    if (fit == now)
        return;
    sizes[flexible] = fit.flexible;
    sizes[fixed] = fit.fixed;
    splitter->setSizes(sizes);
}

} // namespace

void TForm1::FormCreateGeometry()
{
    TrayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };

    // The grid and the article view take what the window gains or loses; the
    // tabs below the grid and the left panel keep their sizes while they can.
    SplitterGridTabs->setStretchFactor(0, 1);
    SplitterGridTabs->setStretchFactor(1, 0);
    SplitterPanels->setStretchFactor(0, 0);
    SplitterPanels->setStretchFactor(1, 1);

    // The window's own events: minimizing, and its resize handler while attached.
    // The panes have been laid out anew by the time the window sees its resize.
    new EventHook(this, [this](QEvent *event) {
        if (event->type() == QEvent::WindowStateChange && isMinimized())
            guarded([this] { ApplicationMinimize(); });
        else if (event->type() == QEvent::Resize && m_formResizeAttached)
            guarded([this] { FormResize(); });
        return false;
    });

    const CreationPolicy policy = ReadCreationPolicy(*IniFile);
    m_formResizeAttached = policy.resizeHandlerAttached;
    if (policy.position != CreationPolicy::Position::AsDesigned) {
        // Centred: on the whole desktop when nothing was saved, on the screen
        // when the user asked not to keep the geometry. With one screen both
        // are the same place.
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            const QRect area = policy.position == CreationPolicy::Position::ScreenCentre ? screen->availableGeometry()
                                                                                           : screen->availableVirtualGeometry();
            move(area.center() - rect().center());
        }
    }
    applySavedGeometry();
}

void TForm1::applySavedGeometry()
{
    // Put in place before the window is first shown, so that it appears
    // where and as large as it was left, maximized when it was, instead of
    // jumping there once the start-up load has run.
    if (const std::optional<SavedGeometry> saved = ReadSavedGeometry(*IniFile, QRect(pos(), size()))) {
        move(saved->left, saved->top);
        resize(saved->width, saved->height);
        // The panes that keep their sizes as the window grows (the tabs
        // below the grid, the left panel) take the saved ones; the others
        // take the rest once the window is laid out.
        const QList<int> tabs = SplitterGridTabs->sizes();
        if (tabs.size() == 2)
            SplitterGridTabs->setSizes({tabs[0] + tabs[1] - saved->pageControlHeight, saved->pageControlHeight});
        const QList<int> panels = SplitterPanels->sizes();
        if (panels.size() == 2)
            SplitterPanels->setSizes({saved->panelWidth, panels[0] + panels[1] - saved->panelWidth});
        if (saved->maximized)
            setWindowState(windowState() | Qt::WindowMaximized);
        m_savedGeometryApplied = true;
    }
    const QPoint kept = KeptOnScreen(pos(), size(), screenAreas());
    if (kept != pos())
        move(kept);
}

void TForm1::RestoreWindowGeometry()
{
    // The window took the saved geometry when it was made; here the load
    // only marks it as not to be kept when the user asked so, and the
    // resize handler follows the window again. A mark that cannot be stored
    // changes nothing while the option stands, which leaves the saved
    // geometry unused anyway.
    m_faults.Try([this] { ForgetSavedGeometryIfAsked(*IniFile); });
    if (m_savedGeometryApplied)
        m_formResizeAttached = true;
    m_geometryRestored = true;
}

void TForm1::FormResize()
{
    // The resize that comes with the first show arrives before the panes are
    // laid out; fitting them then would squeeze both to their floors.
    if (!isVisible())
        return;
    fitSplitter(SplitterGridTabs, 0, std::max(GridFloor, StringGrid1->minimumHeight()), PageControl1->minimumHeight());
    fitSplitter(SplitterPanels, 1, PanelRight->minimumWidth(), Panel1->minimumWidth());
}

void TForm1::ApplicationMinimize()
{
    if (!IniFile->ReadBool(QStringLiteral("options"), QStringLiteral("OnMinimizedWindow"), false))
        return;
    // Without a tray the window would be lost from sight: it stays minimized.
    if (!TrayAvailable())
        return;
    // Hidden once the state change is over; some window managers lose a
    // window hidden in the middle of minimizing it.
    QTimer::singleShot(0, this, [this] { guarded([this] { HideToTray(); }); });
}

} // namespace vocab

#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

namespace vocab {

class TIniFile;

// The main window's geometry across runs, section [size] of options.ini.

// [size]HeightSplitter holding this means that no geometry was saved.
inline constexpr int NoGeometrySaved = 113113;

// Where the window opens before the saved geometry is applied, and whether its
// resize handler starts attached.
struct CreationPolicy {
    enum class Position { AsDesigned, DesktopCentre, ScreenCentre };
    Position position = Position::AsDesigned;
    bool resizeHandlerAttached = true;
};

// Nothing saved: centred on the desktop; [options]NoSaveWindow: centred on the
// screen; a window closed maximized starts with the resize handler detached.
CreationPolicy ReadCreationPolicy(const TIniFile &ini);

// The geometry the start-up restores.
struct SavedGeometry {
    // The window's position (its frame's top left) and its client size.
    int top = 0;
    int left = 0;
    int height = 0;
    int width = 0;
    int pageControlHeight = 193; // HeightSplitter
    int panelWidth = 217;        // WidthSplitter
    bool maximized = false;
};

// With [options]NoSaveWindow, first marks the geometry as not saved, so that
// the window keeps the centred place it was given at creation. Then returns the
// saved geometry, each value missing from the file taken from `current` (the
// window's position and client size now), or nothing when none is saved.
std::optional<SavedGeometry> GeometryToRestore(TIniFile &ini, const QRect &current);

// The same in its two steps. The saved geometry as the file gives it, read
// only, nothing when none is saved or [options]NoSaveWindow is set: the
// window takes it before it is first shown.
std::optional<SavedGeometry> ReadSavedGeometry(const TIniFile &ini, const QRect &current);
// With [options]NoSaveWindow, marks the geometry as not saved; the start-up
// load does it where it restores the geometry.
void ForgetSavedGeometryIfAsked(TIniFile &ini);

// Where a window at `topLeft` with the client size `client` goes so that it can
// be reached: it stays where it is when at least 100 pixels of it lie on one of
// `screens` in both directions, and goes to (100, 100) otherwise.
QPoint KeptOnScreen(QPoint topLeft, QSize client, const QList<QRect> &screens);

// Two panes sharing a length, as the window's resize handler shares them: the
// flexible pane takes every change first; a flexible pane that would shrink
// below its floor stays at the floor and the other pane gives up the rest,
// down to its own floor.
struct PanePair {
    int flexible = 0;
    int fixed = 0;
    bool operator==(const PanePair &) const = default;
};
PanePair FitPanes(PanePair panes, int available, int flexibleFloor, int fixedFloor);

} // namespace vocab

#include "WindowGeometry.h"

#include "IniFile.h"

#include <algorithm>

namespace vocab {

namespace {

const QString Size = QStringLiteral("size");
const QString Options = QStringLiteral("options");

} // namespace

CreationPolicy ReadCreationPolicy(const TIniFile &ini)
{
    CreationPolicy policy;
    if (ini.ReadInteger(Size, QStringLiteral("HeightSplitter"), NoGeometrySaved) == NoGeometrySaved)
        policy.position = CreationPolicy::Position::DesktopCentre;
    if (!ini.ReadBool(Size, QStringLiteral("WindowStateNormal"), true))
        policy.resizeHandlerAttached = false;
    if (ini.ReadBool(Options, QStringLiteral("NoSaveWindow"), false))
        policy.position = CreationPolicy::Position::ScreenCentre;
    return policy;
}

std::optional<SavedGeometry> GeometryToRestore(TIniFile &ini, const QRect &current)
{
    ForgetSavedGeometryIfAsked(ini);
    return ReadSavedGeometry(ini, current);
}

void ForgetSavedGeometryIfAsked(TIniFile &ini)
{
    if (ini.ReadBool(Options, QStringLiteral("NoSaveWindow"), false))
        ini.WriteInteger(Size, QStringLiteral("HeightSplitter"), NoGeometrySaved);
}

std::optional<SavedGeometry> ReadSavedGeometry(const TIniFile &ini, const QRect &current)
{
    if (ini.ReadBool(Options, QStringLiteral("NoSaveWindow"), false))
        return std::nullopt;
    if (ini.ReadInteger(Size, QStringLiteral("HeightSplitter"), NoGeometrySaved) == NoGeometrySaved)
        return std::nullopt;
    SavedGeometry g;
    g.top = ini.ReadInteger(Size, QStringLiteral("Top"), current.top());
    g.left = ini.ReadInteger(Size, QStringLiteral("Left"), current.left());
    g.height = ini.ReadInteger(Size, QStringLiteral("Height"), current.height());
    g.width = ini.ReadInteger(Size, QStringLiteral("Width"), current.width());
    g.pageControlHeight = ini.ReadInteger(Size, QStringLiteral("HeightSplitter"), 193);
    g.panelWidth = ini.ReadInteger(Size, QStringLiteral("WidthSplitter"), 217);
    g.maximized = !ini.ReadBool(Size, QStringLiteral("WindowStateNormal"), true);
    return g;
}

QPoint KeptOnScreen(QPoint topLeft, QSize client, const QList<QRect> &screens)
{
    const auto reachableOn = [&](const QRect &screen) {
        const int top = topLeft.y() - screen.top();
        const int left = topLeft.x() - screen.left();
        return !(top > screen.height() - 100 || left > screen.width() - 100 || top + client.height() - 100 < 0
                 || left + client.width() - 100 < 0);
    };
    if (screens.isEmpty() || std::any_of(screens.begin(), screens.end(), reachableOn))
        return topLeft;
    return QPoint(100, 100);
}

PanePair FitPanes(PanePair panes, int available, int flexibleFloor, int fixedFloor)
{
    panes.flexible = available - panes.fixed;
    if (panes.flexible < flexibleFloor) {
        panes.fixed = std::max(fixedFloor, available - flexibleFloor);
        panes.flexible = std::max(0, available - panes.fixed);
    }
    return panes;
}

} // namespace vocab

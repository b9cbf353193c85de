#include "HbToolsRegistry.h"

#include "AppError.h"
#include "HbToolsDocument.h"
#include "HbWindowCommand.h"
#include "HostedBrowser.h"
#include "OleCommands.h"
#include "PlatformLibraries.h"
#include "Registry.h"

#include <QApplication>
#include <QMainWindow>

namespace vocab::HbTools {

namespace {

const QString StartPageKey = QStringLiteral("\\Software\\Microsoft\\Internet Explorer\\Main");
const QString NavigatingKey = QStringLiteral("AppEvents\\Schemes\\Apps\\Explorer\\Navigating\\");
const QString CurrentSound = QStringLiteral(".Current");
const QString SavedSound = QStringLiteral("Old_Current");

constexpr std::uint8_t FEATURE_DISABLE_NAVIGATION_SOUNDS = 21;
constexpr std::uint32_t SET_FEATURE_ON_PROCESS = 2;

QString applicationKey()
{
    return QStringLiteral("SOFTWARE\\") + ApplicationTitle();
}

QString formSizeKey()
{
    return applicationKey() + QStringLiteral("\\FormSize");
}

constexpr Qt::WindowStates SizeStates = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

void setSizeState(QWidget &form, Qt::WindowState state)
{
    form.setWindowState((form.windowState() & ~SizeStates) | state);
}

} // namespace

QString ApplicationTitle()
{
    return QCoreApplication::applicationName();
}

QWidget *ApplicationMainForm()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows)
        if (qobject_cast<QMainWindow *>(window))
            return window;
    return QApplication::activeWindow();
}

void RestoreApplicationFormSize()
{
    QWidget *form = ApplicationMainForm();
    if (!form)
        return;
    try {
        TRegistry registry(RegRoot::HKEY_LOCAL_MACHINE);
        if (!registry.OpenKey(formSizeKey(), false))
            return;
        // Each value as it is read: a missing one ends the reading with
        // what came before it applied.
        form->move(registry.ReadInteger(QStringLiteral("Left")), form->y());
        form->move(form->x(), registry.ReadInteger(QStringLiteral("Top")));
        form->resize(registry.ReadInteger(QStringLiteral("Width")), form->height());
        form->resize(form->width(), registry.ReadInteger(QStringLiteral("Height")));
        switch (registry.ReadInteger(QStringLiteral("WindowState"))) {
        case 0:
            setSizeState(*form, Qt::WindowNoState);
            break;
        case 1:
            setSizeState(*form, Qt::WindowMinimized);
            break;
        case 2:
            setSizeState(*form, Qt::WindowMaximized);
            break;
        default:
            break;
        }
    } catch (const std::exception &) {
    }
}

void SaveApplicationFormSize()
{
    QWidget *form = ApplicationMainForm();
    if (!form)
        return;
    try {
        TRegistry registry(RegRoot::HKEY_LOCAL_MACHINE);
        if (!registry.OpenKey(formSizeKey(), true))
            return;
        registry.WriteInteger(QStringLiteral("Top"), form->y());
        registry.WriteInteger(QStringLiteral("Left"), form->x());
        registry.WriteInteger(QStringLiteral("Width"), form->width());
        registry.WriteInteger(QStringLiteral("Height"), form->height());
        registry.WriteInteger(QStringLiteral("WindowState"), form->isMinimized() ? 1 : form->isMaximized() ? 2 : 0);
    } catch (const std::exception &) {
    }
}

bool WaitForBrowser(THostedBrowser &WB)
{
    return WB.Wait(0);
}

HRESULT ExecCommand(IInterface *Document, bool UseBrowserGroup, std::uint32_t CmdID, std::uint32_t ExecOpt,
                    const QVariant &vaIn, QVariant *vaOut)
{
    HRESULT result = S_FALSE;
    const QUuid group = CGID_IWebBrowser;
    try {
        if (!IsHtmlDocument(Document))
            return result;
        if (IOleCommandTarget *target = dynamic_cast<IHTMLDocument2 *>(Document)->commandTarget())
            result = target->Exec(UseBrowserGroup ? &group : nullptr, CmdID, ExecOpt, vaIn, vaOut);
    } catch (const std::exception &) {
    }
    return result;
}

void ShowIEVersionInfo(QWidget *Handle)
{
    SendCommandMessage(Handle, IE_CMD_ABOUT);
}

void CreateDesktopShortcut(QWidget *Handle)
{
    SendCommandMessage(Handle, IE_CMD_DESKTOPSHORTCUT);
}

void SetNewHomePage(const QString &Address)
{
    TRegistry registry(RegRoot::HKEY_CURRENT_USER);
    if (registry.OpenKey(StartPageKey, true))
        registry.WriteString(QStringLiteral("Start Page"), Address);
}

bool GetLastVisitedPage(QString &Address)
{
    Address.clear();
    TRegistry registry(RegRoot::HKEY_LOCAL_MACHINE);
    if (registry.OpenKey(applicationKey() + QStringLiteral("\\WebPages"), false))
        Address = registry.ReadString(QStringLiteral("LastVisitedPage"));
    return !Address.isEmpty() && Address.contains(u'.');
}

bool SaveLastVisitedPage(THostedBrowser &, const QString &Address)
{
    try {
        TRegistry registry(RegRoot::HKEY_LOCAL_MACHINE);
        if (!registry.OpenKey(applicationKey(), true) || !registry.OpenKey(QStringLiteral("WebPages"), true))
            return false;
        registry.WriteString(QStringLiteral("LastVisitedPage"), Address);
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

void DisableNavSound(bool bDisable)
{
    try {
        TRegistry registry(RegRoot::HKEY_CURRENT_USER);
        if (bDisable) {
            if (registry.KeyExists(NavigatingKey + CurrentSound) && registry.OpenKey(NavigatingKey, true))
                registry.MoveKey(CurrentSound, SavedSound, true);
        } else {
            if (registry.KeyExists(NavigatingKey + SavedSound) && registry.OpenKey(NavigatingKey, false))
                registry.MoveKey(SavedSound, CurrentSound, true);
        }
        registry.CloseKey();
    } catch (const std::exception &) {
    }
}

void SwitchNavSound(bool bDisable, const QString &MajorVersion)
{
    bool number = false;
    const int version = MajorVersion.toInt(&number);
    if (!number || version < 7)
        DisableNavSound(bDisable);
    else
        SetInternetFeatureEnabled(FEATURE_DISABLE_NAVIGATION_SOUNDS, SET_FEATURE_ON_PROCESS, bDisable);
}

} // namespace vocab::HbTools

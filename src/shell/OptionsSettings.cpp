#include "OptionsSettings.h"

#include "IniFile.h"
#include "OutsideWords.h"
#include "SearchBox.h"

#include <QString>

namespace vocab {

namespace {

const QString Section = QStringLiteral("options");

bool readFlag(const TIniFile &ini, const char *key)
{
    return ini.ReadBool(Section, QLatin1String(key), false);
}

void writeFlag(TIniFile &ini, const char *key, bool value)
{
    ini.WriteBool(Section, QLatin1String(key), value);
}

// A hot key follows its box at once; only a change of the stored choice
// registers or releases it.
void writeHotKey(TIniFile &ini, const char *key, int id, bool chosen, const HotKeySwitch &switchHotKey)
{
    if (readFlag(ini, key) != chosen)
        switchHotKey(id, chosen);
    writeFlag(ini, key, chosen);
}

} // namespace

int RadioItemFor(int stored, int count)
{
    if (stored < 0)
        return -1;
    return stored < count ? stored : count - 1;
}

OptionsSettings ReadOptionsForDialog(const TIniFile &ini)
{
    OptionsSettings s;
    s.NoSaveWindow = readFlag(ini, "NoSaveWindow");
    s.OnMinimizedWindow = readFlag(ini, "OnMinimizedWindow");
    s.OnCloseApplication = readFlag(ini, "OnCloseApplication");
    s.CtrlCC = readFlag(ini, "CtrlCC");
    s.CtrlShiftZ = readFlag(ini, "CtrlShiftZ");
    s.OnRussian = readFlag(ini, "OnRussian");
    s.EraseStr = RadioItemFor(ReadEraseStr(ini), EraseStrItems);
    s.BrowserLoad = RadioItemFor(ini.ReadInteger(Section, QStringLiteral("BrowserLoad"), 0), BrowserLoadItems);
    return s;
}

void WriteOptionsFromDialog(TIniFile &ini, const OptionsSettings &chosen, const HotKeySwitch &switchHotKey)
{
    writeFlag(ini, "NoSaveWindow", chosen.NoSaveWindow);
    writeFlag(ini, "OnCloseApplication", chosen.OnCloseApplication);
    writeFlag(ini, "OnMinimizedWindow", chosen.OnMinimizedWindow);
    writeHotKey(ini, "CtrlCC", HotKeyCtrlCC, chosen.CtrlCC, switchHotKey);
    writeHotKey(ini, "CtrlShiftZ", HotKeyCtrlShiftZ, chosen.CtrlShiftZ, switchHotKey);
    writeFlag(ini, "OnRussian", chosen.OnRussian);
    ini.WriteInteger(Section, QStringLiteral("EraseStr"), chosen.EraseStr);
    ini.WriteInteger(Section, QStringLiteral("BrowserLoad"), chosen.BrowserLoad);
}

} // namespace vocab

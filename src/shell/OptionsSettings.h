#pragma once

#include <functional>

namespace vocab {

class TIniFile;

// The [options] section of options.ini as the options dialog shows and writes
// it: the check boxes as Booleans, the two radio groups as item indexes, -1
// when no item is selected.
struct OptionsSettings {
    bool NoSaveWindow = false;
    bool OnMinimizedWindow = false;
    bool OnCloseApplication = false;
    bool CtrlCC = false;
    bool CtrlShiftZ = false;
    bool OnRussian = false;
    int EraseStr = 2;    // Shift, Delete, none
    int BrowserLoad = 0; // the references page, the empty page

    bool operator==(const OptionsSettings &) const = default;
};

// Items of the two radio groups.
inline constexpr int EraseStrItems = 3;
inline constexpr int BrowserLoadItems = 2;

// The item a stored number selects in a group of `count` items: a number past
// the last item selects the last, a negative one none (-1).
int RadioItemFor(int stored, int count);

// What the dialog shows when it opens: every key read with its default (false,
// EraseStr 2, BrowserLoad 0; a value that is no number counts as missing),
// the numbers made items of their groups. A hand-written BrowserLoad=2, the
// maker's news page, has no item of its own and shows as the empty page.
OptionsSettings ReadOptionsForDialog(const TIniFile &ini);

// Switches one global hot key on or off at once.
using HotKeySwitch = std::function<void(int id, bool on)>;

// What OK does, in its order: every key written from `chosen`; before each hot
// key's value is written, the key is switched when the value stored differs
// from the one chosen, so that it holds from now on. An item index of -1 is
// written as it stands. Throws FileError when the file cannot be written;
// what was written before stays.
void WriteOptionsFromDialog(TIniFile &ini, const OptionsSettings &chosen, const HotKeySwitch &switchHotKey);

} // namespace vocab

#pragma once

#include "OptionsSettings.h"

#include <ostream>

// Lets gtest print the options in assertion failures.
namespace vocab {
inline void PrintTo(const OptionsSettings &s, std::ostream *os)
{
    *os << "{NoSaveWindow " << s.NoSaveWindow << ", OnMinimizedWindow " << s.OnMinimizedWindow << ", OnCloseApplication "
        << s.OnCloseApplication << ", CtrlCC " << s.CtrlCC << ", CtrlShiftZ " << s.CtrlShiftZ << ", OnRussian " << s.OnRussian
        << ", EraseStr " << s.EraseStr << ", BrowserLoad " << s.BrowserLoad << "}";
}
} // namespace vocab

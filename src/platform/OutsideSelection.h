#pragma once

#include <QString>

namespace vocab {

// The text another program offers as its word: what the user copied there
// (Ctrl+C) before pressing the hot key. The primary selection is left alone,
// since it changes with every selection and would override the copy.
QString OutsideSelectionText();

} // namespace vocab

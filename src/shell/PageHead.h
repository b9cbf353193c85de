#pragma once

#include <QString>

namespace vocab {

class TIniFile;

inline const QString DefaultFontFamily = QStringLiteral("Arial Unicode MS, Lucida Sans Unicode, Palatino Linotype, Arial");
inline const QString DefaultFontSize = QStringLiteral("10pt");

// The head every page starts with: the style sheet with the configured article
// font and the script that folds long articles. It ends with the opening body
// tag. A font key that holds its default (or is missing) is written back with
// that default, so the options file shows the user what can be changed; a
// value the user set is never rewritten.
QString BuildPageHead(TIniFile &ini);

} // namespace vocab

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

// The same in its two steps, for a caller that goes on when the options
// cannot be written: the font as the file gives it, and writing back the
// keys that hold their defaults (throws FileError when that fails).
struct PageFont {
    QString family;
    QString size;
};
PageFont ReadPageFont(const TIniFile &ini);
void StoreDefaultPageFont(TIniFile &ini, const PageFont &font);
QString ComposePageHead(const PageFont &font);

} // namespace vocab

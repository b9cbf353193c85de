#pragma once

#include <QString>

namespace vocab {

// The text another program offers as its selected word. Under X that is the
// primary selection, the text selected last anywhere, so selecting a word is
// enough and no copy is needed first; when it holds no text (or there is no
// such selection, as off X) it is the clipboard's text.
QString OutsideSelectionText();

} // namespace vocab

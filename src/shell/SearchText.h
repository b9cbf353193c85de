#pragma once

#include <QString>
#include <QStringView>

namespace vocab {

// Headwords are stored in upper case and compared unit by unit with the typed
// key, so the key is made the same way: every UTF-16 unit upper-cased on its
// own. The length never changes (ß stays ß), which the bold-headword
// arithmetic of the article page depends on.
QString UpperCaseText(QStringView text);
// The same, to lower case: the search box shows and keeps its text so.
QString LowerCaseText(QStringView text);

// The key's normal form: Ё made Е, blanks (U+0020 only) trimmed at both ends,
// so a text of blanks only becomes empty. Tabs and other blank characters stay.
QString NormalizeSearchText(const QString &text);

// The search key of a typed text: upper-cased, then normalised.
inline QString SearchKey(QStringView text) { return NormalizeSearchText(UpperCaseText(text)); }

// Whether `line` begins with `key`, unit by unit and case-sensitively; a line
// shorter than the key never does.
inline bool BeginsWithKey(QStringView line, QStringView key) noexcept
{
    return line.startsWith(key, Qt::CaseSensitive);
}

} // namespace vocab

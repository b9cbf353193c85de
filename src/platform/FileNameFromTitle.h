#pragma once

#include <QString>

namespace vocab {

// A page's title as the name of a file in a folder the user picked: no
// folder separators or control characters, so that it can reach no other
// folder; no leading dots, so that it is neither hidden nor a way up; not
// overlong, and cut between whole characters. `fallback` when nothing is left.
inline QString FileNameFromTitle(const QString &title, const QString &fallback)
{
    QString name;
    for (const QChar c : title)
        name += (c.unicode() < 0x20 || c == u'/' || c == u'\\') ? QChar(u' ') : c;
    name = name.simplified();
    // Blanks too, or "../../x" would come out as ".. x".
    while (name.startsWith(u'.') || name.startsWith(u' '))
        name.remove(0, 1);
    constexpr qsizetype MaxLength = 100;
    if (name.size() > MaxLength)
        name.truncate(name.at(MaxLength - 1).isHighSurrogate() ? MaxLength - 1 : MaxLength);
    name = name.trimmed();
    return name.isEmpty() ? fallback : name;
}

} // namespace vocab

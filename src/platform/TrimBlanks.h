#pragma once

#include <QString>
#include <QStringView>

namespace vocab {

// The text without the blanks and control characters (everything up to and
// including the space) at either end. QString::trimmed would keep most
// control characters and take the other Unicode spaces, such as U+00A0.
inline QString TrimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) <= u' ')
        ++begin;
    while (end > begin && text.at(end - 1) <= u' ')
        --end;
    return text.sliced(begin, end - begin).toString();
}

} // namespace vocab

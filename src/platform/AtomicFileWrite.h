#pragma once

#include <QByteArray>
#include <QString>

namespace vocab {

// Puts `bytes` in place of the file at `path` whole or not at all: they go to
// a new file beside it, which is flushed to the disk and then renamed over
// the old one, so a failure at any step leaves the old file as it was and no
// temporary behind. A link is followed and kept; the file keeps its
// permissions. A file that already holds exactly these bytes is left alone,
// so that writing back what is there needs no room on the disk.
// Throws FileError naming the file and the cause of the step that failed.
void WriteFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace vocab

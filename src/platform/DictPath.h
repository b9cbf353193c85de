#pragma once

#include <QString>

namespace vocab {

// Paths inside the dictionary folders. Those folders were made on a file
// system that ignores letter case, so their files may be named `Base/101.OGL`
// where the program asks for `base/101.ogl`.
namespace DictPath {

// The path on disk of `relative` (components joined by "/") under `root`, each
// component taken by its exact name when that exists and otherwise by the first
// entry of its folder, in name order, that equals it without regard to letter
// case. `root` itself is taken as it stands. Empty when some component is
// missing or `relative` holds an empty, "." or ".." component.
QString find(const QString &root, const QString &relative);

// Whether `find` locates a regular file.
bool fileExists(const QString &root, const QString &relative);

// Whether a name taken from a configuration or dictionary file may stand for
// one folder or file inside the dictionary tree: not empty, not "." nor "..",
// no path separator ("/" or "\\"), no NUL character. Anything else could point
// outside the dictionary's own folder; two dots inside a name ("Dict..v2") are
// only a name.
bool isSafeName(const QString &name);

} // namespace DictPath

} // namespace vocab

#pragma once

#include <QString>

class QFileDevice;

namespace vocab {

// Why a file could not be opened, read or written, as the user reads it in a
// message: the causes people meet (no space, no permission, a read-only file
// system, a missing file or folder, a folder where a file should be, a
// failing disk) in Russian, any other one in the platform's own words. Every
// file error message takes its cause from here.
QString FileErrorCause(int errorNumber);

// The same for a Qt file that failed: its own text, which names the error
// of the system call that failed, is matched back to that error.
QString FileErrorCause(const QFileDevice &file);

} // namespace vocab

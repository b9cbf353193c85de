#pragma once

#include <QString>

#include <memory>

namespace vocab {

// A named guard that one process at a time can hold, the stand-in for a named
// mutex. It is an exclusive flock() on a file in the user's runtime folder
// ($XDG_RUNTIME_DIR, else a folder of the user's own, closed to others, in the
// temporary folder), so the kernel drops it when its process ends in any way,
// a crash or SIGKILL included; the file itself is harmless when left behind.
class NamedInstanceGuard {
public:
    ~NamedInstanceGuard();
    NamedInstanceGuard(const NamedInstanceGuard &) = delete;
    NamedInstanceGuard &operator=(const NamedInstanceGuard &) = delete;

    // The guard, or null when another process holds it. A lock file that
    // cannot be opened or locked says nothing about another process: that
    // throws FileError naming the file and the reason.
    static std::unique_ptr<NamedInstanceGuard> tryAcquire(const QString &name);

    // True when some process holds the guard of that name.
    static bool isHeld(const QString &name);

    // Makes the folder of our own when the session has no runtime folder;
    // throws FileError when it cannot, or when one is there that is not ours.
    static QString lockPath(const QString &name);

private:
    explicit NamedInstanceGuard(int fd) : m_fd(fd) {}
    int m_fd;
};

} // namespace vocab

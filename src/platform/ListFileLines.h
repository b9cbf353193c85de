#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace vocab {

// The lines of a list file, read from disk when they are asked for: an
// article file of 150 MB is never held in memory, only a table of where every
// 32nd of its lines begins, filled in as far as the lines asked for so far.
// Lines are decoded by the reading rule of ListFile.
//
// The tables outlive the lists: they are kept for the files read last, so
// that the all-dictionaries page, which reads one article of each dictionary
// on every page, passes over each article file only once. A table serves only
// the file it was made for: the same device and inode, size, time of
// modification and time of change. A file replaced or changed is read afresh,
// also one rewritten to its old size with its old modification time put back
// (cp -p, tar, rsync -t), as no program can put back the time of change.
//
// Another program may cut the file short, replace or delete it at any time:
// lines are read, never mapped, so this gives fewer lines or none, never a
// crash. The list keeps the file it opened; one deleted meanwhile still reads.
//
// Copies share the open file; reads from several threads take turns.
class ListFileLines {
public:
    ListFileLines() = default;

    // Throws FileError when the file cannot be opened or its start read.
    static ListFileLines Open(const QString &path);

    bool isOpen() const { return d != nullptr; }
    const QString &Path() const;

    // Lines first .. first + count - 1, fewer where the file ends before
    // them, and none when the file changed while they were read. Throws
    // FileError when the system reports a read error.
    QStringList Lines(qsizetype first, qsizetype count) const;
    // Line i, or nothing when the file has no such line.
    std::optional<QString> Line(qsizetype i) const;
    bool HasLine(qsizetype i) const;
    bool isEmpty() const { return !HasLine(0); }
    // The number of lines; reads the file to its end the first time.
    qsizetype size() const;
    // Every line; for small files and tests.
    QStringList ToStringList() const;

    // Closes the file for this copy.
    void clear() { d.reset(); }

    // Forgets every table not held by an open list, so that the next read of
    // those files passes over them again.
    static void ForgetKeptTables();

    // The bytes that read k (from 0) of one pass over lines takes: a few
    // articles first, twice as many each time after, up to the last size. A
    // pass starts at the nearest line start known, the first one just after
    // the file's mark.
    static constexpr qint64 FirstScanChunkBytes = 16 * 1024;
    static constexpr qint64 LastScanChunkBytes = 256 * 1024;
    static constexpr qint64 ScanChunkBytes(int k)
    {
        qint64 bytes = FirstScanChunkBytes;
        for (int i = 0; i < k && bytes < LastScanChunkBytes; ++i)
            bytes *= 2;
        return bytes < LastScanChunkBytes ? bytes : LastScanChunkBytes;
    }

private:
    struct Table;
    struct File;
    std::shared_ptr<File> d;
};

} // namespace vocab

#include "ListFileLines.h"

#include "AppError.h"
#include "FileErrorCause.h"
#include "LineBreaks.h"
#include "ListFile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <list>
#include <mutex>
#include <type_traits>
#include <utility>
#include <vector>

namespace vocab {

namespace {

// Every Stride-th line's start is kept: a line is found by passing over at
// most Stride - 1 lines from the nearest kept start, some 20 KB of articles.
constexpr qint64 Stride = 32;
// Tables kept for files no list holds open.
constexpr std::size_t KeptTables = 64;

[[noreturn]] void throwReadError(const QString &path, int error)
{
    throw FileError(QStringLiteral("Ошибка чтения файла \"%1\": %2").arg(path, FileErrorCause(error)));
}

// Reads up to `size` bytes at `offset`; fewer only at the file's end.
qint64 readAt(int fd, const QString &path, char *into, qint64 size, qint64 offset)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, into + done, std::size_t(size - done), off_t(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throwReadError(path, errno);
        }
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

// What tells one state of a file from another. The time of change is the
// one no program can set: a file rewritten in place to its old size, with
// its old modification time put back, still has a new one.
struct Identity {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    std::int64_t mtimeSec = 0;
    long mtimeNsec = 0;
    std::int64_t ctimeSec = 0;
    long ctimeNsec = 0;

    static Identity Of(const struct stat &st)
    {
        return {st.st_dev,
                st.st_ino,
                st.st_size,
                std::int64_t(st.st_mtim.tv_sec),
                st.st_mtim.tv_nsec,
                std::int64_t(st.st_ctim.tv_sec),
                st.st_ctim.tv_nsec};
    }
    bool operator==(const Identity &) const = default;
};

// How the breaks of one encoding are found: single bytes in UTF-8 and the
// ANSI code page, two-byte units in UTF-16.
struct Units {
    int width = 1;
    bool bigEndian = false;

    char16_t at(const char *p) const
    {
        const auto *b = reinterpret_cast<const unsigned char *>(p);
        if (width == 1)
            return b[0];
        return bigEndian ? char16_t(b[0] << 8 | b[1]) : char16_t(b[1] << 8 | b[0]);
    }
    const char *findBreak(const char *p, const char *end) const
    {
        if (width == 1)
            return LineBreaks::find(p, end);
        for (; end - p >= 2; p += 2) {
            const char16_t c = at(p);
            if (c == u'\r' || c == u'\n')
                return p;
        }
        return end;
    }
};

} // namespace

// Where the lines of one file, as it was when the table was begun, start.
struct ListFileLines::Table {
    Identity identity;
    ListFile::Encoding encoding = ListFile::Encoding::Ansi;
    Units units;
    qint64 dataEnd = 0;
    // checkpoints[k] is the start of line k * Stride.
    std::vector<qint64> checkpoints;
    // The last line whose start is known, and that start.
    qint64 frontierLine = 0;
    qint64 frontierPos = 0;
    // Set once the scan has reached the end: the number of lines.
    qint64 lineCount = -1;

    void note(qint64 line, qint64 pos)
    {
        if (line <= frontierLine)
            return;
        frontierLine = line;
        frontierPos = pos;
        if (line % Stride == 0 && qint64(checkpoints.size()) == line / Stride)
            checkpoints.push_back(pos);
    }

    // The start of line `target`, or -1 when the file has fewer lines. Passes
    // over the lines before it from the nearest start known.
    qint64 seek(int fd, const QString &path, qint64 target, char *buffer)
    {
        if (lineCount >= 0 && target >= lineCount)
            return -1;
        qint64 line = 0;
        qint64 pos = 0;
        if (target >= frontierLine) {
            line = frontierLine;
            pos = frontierPos;
        } else {
            const std::size_t k = std::size_t(target / Stride);
            line = qint64(k) * Stride;
            pos = checkpoints[k];
        }
        int chunk = 0;
        // `line` starts at `pos`; each break found starts the next one.
        bool pendingCr = false;
        qint64 chunkPos = pos;
        while (line < target && chunkPos < dataEnd) {
            const qint64 n = readAt(fd, path, buffer, std::min(ScanChunkBytes(chunk++), dataEnd - chunkPos), chunkPos);
            if (n == 0) {
                // Shorter than when the table was begun: the table no longer
                // knows this file, and the caller reads it afresh.
                return -2;
            }
            const char *b = buffer;
            const char *e = b + n;
            const char *p = b;
            if (pendingCr) {
                pendingCr = false;
                if (e - p >= units.width && units.at(p) == u'\n')
                    p += units.width;
                pos = chunkPos + (p - b);
                note(++line, pos);
            }
            while (line < target && p < e) {
                const char *brk = units.findBreak(p, e);
                if (brk == e) {
                    p = e;
                    break;
                }
                const char *next = brk + units.width;
                if (units.at(brk) == u'\r') {
                    if (next >= e) {
                        // The LF of a CR LF may stand in the next chunk.
                        pendingCr = true;
                        p = e;
                        break;
                    }
                    if (units.at(next) == u'\n')
                        next += units.width;
                }
                p = next;
                pos = chunkPos + (p - b);
                note(++line, pos);
            }
            chunkPos += n;
        }
        if (pendingCr) {
            pos = dataEnd;
            note(++line, pos);
        }
        if (line == target && pos < dataEnd)
            return pos;
        // The end came first: line `line` starts at or past it when the file
        // ends with a break, else it is the last line.
        lineCount = pos < dataEnd ? line + 1 : line;
        return -1;
    }
};

struct ListFileLines::File {
    QString path;
    int fd = -1;
    std::shared_ptr<Table> table;

    ~File()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

namespace {

std::mutex &tablesLock()
{
    static std::mutex lock;
    return lock;
}

// The bytes a scan reads into, taken under the lock. One for the process:
// a buffer of its own for each scan would be fresh pages every time, and
// each page a fault to take.
char *scanBuffer()
{
    static std::vector<char> buffer = std::vector<char>(std::size_t(ListFileLines::LastScanChunkBytes));
    return buffer.data();
}

// The tables of the files read last, newest first. The type of a table is
// the list's own, so it is kept here without it.
struct KeptTable {
    QString path;
    std::shared_ptr<void> table;
};
std::list<KeptTable> &keptTables()
{
    static std::list<KeptTable> kept;
    return kept;
}

} // namespace

void ListFileLines::ForgetKeptTables()
{
    const std::lock_guard<std::mutex> guard(tablesLock());
    keptTables().clear();
}

namespace {

// Makes a table for the file as fstat found it: its mark, its encoding.
template <typename Table>
std::shared_ptr<Table> newTable(int fd, const QString &path, const struct stat &st)
{
    auto table = std::make_shared<Table>();
    table->identity = Identity::Of(st);
    char head[3] = {};
    const qint64 n = readAt(fd, path, head, std::min<qint64>(3, st.st_size), 0);
    const ListFile::Mark mark = ListFile::markOf(head, n);
    table->encoding = mark.encoding;
    const bool twoByte = mark.encoding == ListFile::Encoding::Utf16LE || mark.encoding == ListFile::Encoding::Utf16BE;
    table->units = Units{twoByte ? 2 : 1, mark.encoding == ListFile::Encoding::Utf16BE};
    table->dataEnd = st.st_size;
    table->checkpoints.push_back(mark.size);
    table->frontierPos = mark.size;
    return table;
}

} // namespace

ListFileLines ListFileLines::Open(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw FileError(QStringLiteral("Не удаётся открыть файл \"%1\": %2").arg(path, FileErrorCause(errno)));
    auto file = std::make_shared<File>();
    file->path = path;
    file->fd = fd;
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throwReadError(path, errno);
    const Identity identity = Identity::Of(st);

    const std::lock_guard<std::mutex> guard(tablesLock());
    std::list<KeptTable> &kept = keptTables();
    for (auto it = kept.begin(); it != kept.end(); ++it) {
        if (it->path != path)
            continue;
        auto table = std::static_pointer_cast<Table>(it->table);
        if (table->identity == identity) {
            kept.splice(kept.begin(), kept, it);
            file->table = std::move(table);
        } else {
            kept.erase(it);
        }
        break;
    }
    if (!file->table) {
        file->table = newTable<Table>(fd, path, st);
        kept.push_front({path, file->table});
        if (kept.size() > KeptTables)
            kept.pop_back();
    }
    ListFileLines lines;
    lines.d = std::move(file);
    return lines;
}

const QString &ListFileLines::Path() const
{
    static const QString none;
    return d ? d->path : none;
}

namespace {

// Brings the file's table up to date with the file as it is now.
template <typename File>
void refreshTable(File &file)
{
    struct stat st {};
    if (::fstat(file.fd, &st) != 0)
        throwReadError(file.path, errno);
    if (file.table->identity == Identity::Of(st))
        return;
    auto table = newTable<std::remove_reference_t<decltype(*file.table)>>(file.fd, file.path, st);
    std::list<KeptTable> &kept = keptTables();
    for (auto it = kept.begin(); it != kept.end(); ++it) {
        if (it->path == file.path) {
            kept.erase(it);
            break;
        }
    }
    kept.push_front({file.path, table});
    if (kept.size() > KeptTables)
        kept.pop_back();
    file.table = std::move(table);
}

} // namespace

QStringList ListFileLines::Lines(qsizetype first, qsizetype count) const
{
    if (!d || first < 0 || count <= 0)
        return {};
    const std::lock_guard<std::mutex> guard(tablesLock());
    refreshTable(*d);
    Table &table = *d->table;
    char *buffer = scanBuffer();
    const qint64 start = table.seek(d->fd, d->path, first, buffer);
    if (start < 0) {
        if (start == -2)
            d->table->identity = Identity();
        return {};
    }
    qint64 end = table.seek(d->fd, d->path, first + count, buffer);
    if (end == -2) {
        d->table->identity = Identity();
        return {};
    }
    if (end < 0)
        end = table.dataEnd;
    QByteArray bytes(end - start, Qt::Uninitialized);
    if (readAt(d->fd, d->path, bytes.data(), bytes.size(), start) != bytes.size()) {
        // Cut short while it was read: what is left of these lines is no
        // whole line, and the next read starts the table again.
        d->table->identity = Identity();
        return {};
    }
    QStringList lines = ListFile::splitLines(ListFile::decodeBody(table.encoding, bytes.constData(), bytes.size()));
    if (lines.size() > count)
        lines.resize(count);
    return lines;
}

std::optional<QString> ListFileLines::Line(qsizetype i) const
{
    QStringList lines = Lines(i, 1);
    if (lines.isEmpty())
        return std::nullopt;
    return std::move(lines.front());
}

bool ListFileLines::HasLine(qsizetype i) const
{
    if (!d || i < 0)
        return false;
    const std::lock_guard<std::mutex> guard(tablesLock());
    refreshTable(*d);
    char *buffer = scanBuffer();
    return d->table->seek(d->fd, d->path, i, buffer) >= 0;
}

qsizetype ListFileLines::size() const
{
    if (!d)
        return 0;
    const std::lock_guard<std::mutex> guard(tablesLock());
    refreshTable(*d);
    Table &table = *d->table;
    char *buffer = scanBuffer();
    if (table.lineCount < 0)
        table.seek(d->fd, d->path, std::numeric_limits<qint64>::max(), buffer);
    return qsizetype(std::max<qint64>(table.lineCount, 0));
}

QStringList ListFileLines::ToStringList() const
{
    return Lines(0, std::numeric_limits<qsizetype>::max() / 2);
}

} // namespace vocab

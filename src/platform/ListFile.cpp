#include "ListFile.h"

#include "AppError.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <iconv.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace vocab {

namespace {

QString decodeUtf16(const char *data, qsizetype size, bool bigEndian)
{
    QStringDecoder decoder(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE);
    return decoder.decode(QByteArrayView(data, size));
}

} // namespace

namespace {

// Calls `visit` with each line of `text` in turn, as the list files break
// them: at CR LF, a lone CR or a lone LF, a final break adding no line. Stops
// early when `visit` returns false.
template <typename Visit>
void forEachLine(QStringView text, Visit &&visit)
{
    const QChar *p = text.constData();
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i].unicode();
        if (c != u'\r' && c != u'\n')
            continue;
        if (!visit(QStringView(p + start, i - start)))
            return;
        if (c == u'\r' && i + 1 < n && p[i + 1].unicode() == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        visit(QStringView(p + start, n - start));
}

} // namespace

QStringList ListFile::splitLines(const QString &text)
{
    QStringList lines;
    forEachLine(text, [&](QStringView line) {
        lines.append(line.toString());
        return true;
    });
    return lines;
}

QString ListFile::decodeAnsi(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return {};
    iconv_t cd = iconv_open("UTF-16LE", "CP1251");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return QString::fromLatin1(bytes);
    QByteArray out(bytes.size() * 2, Qt::Uninitialized);
    char *in = const_cast<char *>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char *dst = out.data();
    size_t outLeft = size_t(out.size());
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &dst, &outLeft) != size_t(-1))
            break;
        // The one byte the code page leaves unassigned (0x98) becomes U+FFFD.
        ++in;
        --inLeft;
        *dst++ = char(0xFD);
        *dst++ = char(0xFF);
        outLeft -= 2;
    }
    iconv_close(cd);
    out.truncate(dst - out.data());
    return decodeUtf16(out.constData(), out.size(), false);
}

QStringList ListFile::decode(const QByteArray &bytes)
{
    return splitLines(decodeText(bytes));
}

QString ListFile::decodeText(const QByteArray &bytes)
{
    const auto *b = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    QString text;
    if (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF)
        text = QString::fromUtf8(bytes.constData() + 3, n - 3);
    else if (n >= 2 && b[0] == 0xFF && b[1] == 0xFE)
        text = decodeUtf16(bytes.constData() + 2, n - 2, false);
    else if (n >= 2 && b[0] == 0xFE && b[1] == 0xFF)
        text = decodeUtf16(bytes.constData() + 2, n - 2, true);
    else
        text = decodeAnsi(bytes);
    return text;
}

QByteArray ListFile::encode(const QStringList &lines)
{
    qsizetype size = 3;
    for (const QString &line : lines)
        size += line.size() * 3 + 2;
    QByteArray out;
    out.reserve(size);
    out.append("\xEF\xBB\xBF", 3);
    for (const QString &line : lines) {
        out.append(line.toUtf8());
        out.append("\r\n", 2);
    }
    return out;
}

namespace {

void openForReading(QFile &file)
{
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Не удаётся открыть файл \"%1\": %2").arg(file.fileName(), file.errorString()));
}

[[noreturn]] void throwReadError(const QFile &file)
{
    throw FileError(QStringLiteral("Ошибка чтения файла \"%1\": %2").arg(file.fileName(), file.errorString()));
}

bool isTwoByteText(const QByteArray &bytes)
{
    const auto *b = reinterpret_cast<const unsigned char *>(bytes.constData());
    return bytes.size() >= 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF));
}

// Past the line that begins at `p`: after its break, or at `end`.
const char *nextLine(const char *p, const char *end)
{
    // A line ends at its first LF or at a CR before it; most files break
    // lines with CR LF or LF alone, so LF is looked for first.
    const auto *lf = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
    const char *stop = lf ? lf : end;
    if (const auto *cr = static_cast<const char *>(std::memchr(p, '\r', size_t(stop - p)))) {
        return cr + 1 < end && cr[1] == '\n' ? cr + 2 : cr + 1;
    }
    return lf ? lf + 1 : end;
}

} // namespace

QByteArray ListFile::readBytes(const QString &path)
{
    QFile file(path);
    openForReading(file);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throwReadError(file);
    return bytes;
}

QStringList ListFile::read(const QString &path)
{
    return decode(readBytes(path));
}

QStringList ListFile::decodeLines(const QByteArray &bytes, qsizetype first, qsizetype count)
{
    const auto *b = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    if (first < 0 || count <= 0)
        return {};
    // In two-byte text a break is not one byte; such files are rare and
    // are decoded whole.
    if (isTwoByteText(bytes))
        return decode(bytes).mid(first, count);
    // In UTF-8 and in the ANSI code page CR and LF are single bytes that
    // never stand inside a character, so lines can be found before decoding.
    const bool utf8 = n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF;
    const char *end = bytes.constData() + n;
    const char *p = bytes.constData() + (utf8 ? 3 : 0);
    for (qsizetype line = 0; line < first && p < end; ++line)
        p = nextLine(p, end);
    const char *start = p;
    for (qsizetype line = 0; line < count && p < end; ++line)
        p = nextLine(p, end);
    const QByteArray slice = QByteArray::fromRawData(start, p - start);
    return splitLines(utf8 ? QString::fromUtf8(slice) : decodeAnsi(slice));
}

ListFile::LineRun ListFile::findLineRun(const QByteArray &bytes, QStringView wanted)
{
    // The lines are compared where they stand in the text; a string for each
    // would cost more than the search.
    LineRun run;
    qsizetype index = 0;
    forEachLine(decodeText(bytes), [&](QStringView line) {
        if (line == wanted) {
            if (run.first < 0)
                run.first = index;
            ++run.count;
        } else if (run.first >= 0) {
            return false;
        }
        ++index;
        return true;
    });
    return run;
}

ListFile::LineRun ListFile::readLineRun(const QString &path, QStringView wanted)
{
    return findLineRun(readBytes(path), wanted);
}

QStringList ListFile::readLines(const QString &path, qsizetype first, qsizetype count)
{
    QFile file(path);
    openForReading(file);
    if (first < 0 || count <= 0)
        return {};
    // An article file is often many times the size of its headword file and
    // the lines wanted may stand near its top: it is read a part at a time,
    // counting the lines that end in it, and no further than the last line
    // wanted.
    const qsizetype wanted = count > std::numeric_limits<qsizetype>::max() - first ? count : first + count;
    QByteArray bytes;
    qsizetype passed = 0;  // lines whose break has been read
    qsizetype scanned = 0; // where the line after them begins
    qsizetype part = 64 * 1024;
    while (passed < wanted) {
        const qsizetype old = bytes.size();
        bytes.resize(old + part);
        const qint64 got = file.read(bytes.data() + old, part);
        if (got < 0)
            throwReadError(file);
        bytes.truncate(old + qsizetype(got));
        if (got == 0)
            break;
        if (isTwoByteText(bytes)) {
            bytes += file.readAll();
            if (file.error() != QFileDevice::NoError)
                throwReadError(file);
            break;
        }
        const char *begin = bytes.constData();
        const char *end = begin + bytes.size();
        // A CR that ended the part before may have its LF at the start of this one.
        if (scanned > 0 && scanned < bytes.size() && begin[scanned - 1] == '\r' && begin[scanned] == '\n')
            ++scanned;
        while (passed < wanted && scanned < bytes.size()) {
            const char *next = nextLine(begin + scanned, end);
            if (next == end && end[-1] != '\n' && end[-1] != '\r')
                break; // the line goes on in the next part
            scanned = next - begin;
            ++passed;
        }
        part = std::min<qsizetype>(part * 2, 4 * 1024 * 1024);
    }
    return decodeLines(bytes, first, count);
}

void ListFile::writeBytes(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(QStringLiteral("Не удаётся создать файл \"%1\": %2").arg(path, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw FileError(QStringLiteral("Не удаётся записать файл \"%1\": %2").arg(path, file.errorString()));
}

void ListFile::write(const QString &path, const QStringList &lines)
{
    writeBytes(path, encode(lines));
}

QString StringList::namePart(const QString &line)
{
    const qsizetype eq = line.indexOf(u'=');
    return eq < 0 ? line : line.left(eq);
}

QString StringList::valuePart(const QString &line)
{
    const qsizetype eq = line.indexOf(u'=');
    return eq < 0 ? QString() : line.mid(eq + 1);
}

qsizetype StringList::IndexOfName(const QString &name) const
{
    for (qsizetype i = 0; i < size(); ++i) {
        const QString &line = at(i);
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0 && QStringView(line).left(eq).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString StringList::Values(const QString &name) const
{
    const qsizetype i = IndexOfName(name);
    return i < 0 ? QString() : valuePart(at(i));
}

} // namespace vocab

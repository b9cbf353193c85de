#include "ListFile.h"

#include "AppError.h"
#include "AtomicFileWrite.h"
#include "FileErrorCause.h"

#include <QFile>
#include <QStringDecoder>

#include <iconv.h>

#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    // Growing a list of 100 000 strings step by step moves them over and over.
    lines.reserve(text.count(u'\n') + 1);
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
        throw FileError(QStringLiteral("Не удаётся открыть файл \"%1\": %2").arg(file.fileName(), FileErrorCause(file)));
}

[[noreturn]] void throwReadError(const QFile &file)
{
    throw FileError(QStringLiteral("Ошибка чтения файла \"%1\": %2").arg(file.fileName(), FileErrorCause(file)));
}

bool isTwoByteText(const QByteArray &bytes)
{
    const auto *b = reinterpret_cast<const unsigned char *>(bytes.constData());
    return bytes.size() >= 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF));
}

// The first CR or LF at or after `p`, or `end`. Looked for sixteen bytes at
// a time where the processor can: an article file is passed over line by
// line up to the article wanted.
const char *findBreak(const char *p, const char *end)
{
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        if (const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf))))
            return p + __builtin_ctz(unsigned(mask));
    }
#endif
    while (p < end && *p != '\r' && *p != '\n')
        ++p;
    return p;
}

// Past the line that begins at `p`: after its break, or at `end`.
const char *nextLine(const char *p, const char *end)
{
    const char *brk = findBreak(p, end);
    if (brk == end)
        return end;
    return *brk == '\r' && brk + 1 < end && brk[1] == '\n' ? brk + 2 : brk + 1;
}

// The bytes of an open file: mapped where the system can, so that only the
// pages looked at are read and nothing is copied, read whole otherwise.
class FileBytes {
public:
    explicit FileBytes(QFile &file) : m_file(file)
    {
        const qint64 size = file.size();
        if (size > 0 && size <= std::numeric_limits<qsizetype>::max())
            m_map = file.map(0, size);
        if (m_map) {
            m_bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(m_map), qsizetype(size));
            return;
        }
        m_bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            throwReadError(file);
    }
    ~FileBytes()
    {
        if (m_map)
            m_file.unmap(m_map);
    }
    FileBytes(const FileBytes &) = delete;
    FileBytes &operator=(const FileBytes &) = delete;

    // Valid while this lives.
    const QByteArray &bytes() const { return m_bytes; }

private:
    QFile &m_file;
    uchar *m_map = nullptr;
    QByteArray m_bytes;
};

bool hasUtf8Mark(const QByteArray &bytes)
{
    return bytes.startsWith("\xEF\xBB\xBF");
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
    LineRun run;
    qsizetype index = 0;
    const auto count = [&](bool equal) {
        if (equal) {
            if (run.first < 0)
                run.first = index;
            ++run.count;
        } else if (run.first >= 0) {
            return false;
        }
        ++index;
        return true;
    };
    // In UTF-8 two lines are equal exactly when their bytes are, so the file
    // need not be decoded; a broken sequence reads as U+FFFD, which a word
    // holding that character has to be compared with.
    if (hasUtf8Mark(bytes) && wanted.isValidUtf16() && !wanted.contains(QChar::ReplacementCharacter)) {
        const QByteArray key = wanted.toUtf8();
        const char *end = bytes.constData() + bytes.size();
        for (const char *p = bytes.constData() + 3; p < end;) {
            const char *brk = findBreak(p, end);
            if (!count(brk - p == key.size() && std::memcmp(p, key.constData(), std::size_t(key.size())) == 0))
                break;
            p = brk == end ? end : *brk == '\r' && brk + 1 < end && brk[1] == '\n' ? brk + 2 : brk + 1;
        }
        return run;
    }
    // Otherwise the lines are compared where they stand in the text; a
    // string for each would cost more than the search.
    forEachLine(decodeText(bytes), [&](QStringView line) {
        return count(line == wanted);
    });
    return run;
}

ListFile::LineRun ListFile::readLineRun(const QString &path, QStringView wanted)
{
    QFile file(path);
    openForReading(file);
    const FileBytes bytes(file);
    return findLineRun(bytes.bytes(), wanted);
}

QStringList ListFile::readLines(const QString &path, qsizetype first, qsizetype count)
{
    QFile file(path);
    openForReading(file);
    if (first < 0 || count <= 0)
        return {};
    // An article file is often many times the size of its headword file, and
    // the lines wanted may stand anywhere in it: it is looked at only as far
    // as the last of them, and nothing of it is copied but them.
    const FileBytes bytes(file);
    return decodeLines(bytes.bytes(), first, count);
}

void ListFile::writeBytes(const QString &path, const QByteArray &bytes)
{
    WriteFileAtomically(path, bytes);
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

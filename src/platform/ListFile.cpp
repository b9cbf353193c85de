#include "ListFile.h"

#include "AppError.h"
#include "AtomicFileWrite.h"
#include "FileErrorCause.h"
#include "LineBreaks.h"
#include "ListFileLines.h"

#include <QFile>
#include <QStringDecoder>

#include <iconv.h>

#include <cstring>

namespace vocab {

namespace {

QString decodeUtf16(const char *data, qsizetype size, bool bigEndian)
{
    // Only the file's first mark is its mark, and the caller has taken it off;
    // a U+FEFF after it is a character of the text like any other.
    QStringDecoder decoder(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE,
                           QStringConverter::Flag::ConvertInitialBom | QStringConverter::Flag::Stateless);
    return decoder.decode(QByteArrayView(data, size));
}

} // namespace

ListFile::Mark ListFile::markOf(const char *data, qsizetype size)
{
    const auto *b = reinterpret_cast<const unsigned char *>(data);
    if (size >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF)
        return {Encoding::Utf8, 3};
    if (size >= 2 && b[0] == 0xFF && b[1] == 0xFE)
        return {Encoding::Utf16LE, 2};
    if (size >= 2 && b[0] == 0xFE && b[1] == 0xFF)
        return {Encoding::Utf16BE, 2};
    return {Encoding::Ansi, 0};
}

QString ListFile::decodeBody(Encoding encoding, const char *data, qsizetype size)
{
    switch (encoding) {
    case Encoding::Utf8: {
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom | QStringConverter::Flag::Stateless);
        return decoder.decode(QByteArrayView(data, size));
    }
    case Encoding::Utf16LE:
        return decodeUtf16(data, size, false);
    case Encoding::Utf16BE:
        return decodeUtf16(data, size, true);
    case Encoding::Ansi:
        break;
    }
    return decodeAnsi(QByteArray::fromRawData(data, size));
}

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
    const Mark mark = markOf(bytes.constData(), bytes.size());
    return decodeBody(mark.encoding, bytes.constData() + mark.size, bytes.size() - mark.size);
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
        throw FileError(QStringLiteral("Не удаётся открыть файл \"%1\": %2").arg(file.fileName(), FileErrorCause(file)),
                        file.fileName());
}

[[noreturn]] void throwReadError(const QFile &file)
{
    throw FileError(QStringLiteral("Ошибка чтения файла \"%1\": %2").arg(file.fileName(), FileErrorCause(file)), file.fileName());
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
    if (first < 0 || count <= 0)
        return {};
    const Mark mark = markOf(bytes.constData(), bytes.size());
    // In two-byte text a break is not one byte; such files are rare and
    // are decoded whole.
    if (mark.encoding == Encoding::Utf16LE || mark.encoding == Encoding::Utf16BE)
        return decode(bytes).mid(first, count);
    // In UTF-8 and in the ANSI code page CR and LF are single bytes that
    // never stand inside a character, so lines can be found before decoding.
    const char *end = bytes.constData() + bytes.size();
    const char *p = bytes.constData() + mark.size;
    for (qsizetype line = 0; line < first && p < end; ++line)
        p = LineBreaks::nextLine(p, end);
    const char *start = p;
    for (qsizetype line = 0; line < count && p < end; ++line)
        p = LineBreaks::nextLine(p, end);
    return splitLines(decodeBody(mark.encoding, start, p - start));
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
    const Mark mark = markOf(bytes.constData(), bytes.size());
    // In UTF-8 two lines are equal exactly when their bytes are, so the file
    // need not be decoded; a broken sequence reads as U+FFFD, which a word
    // holding that character has to be compared with.
    if (mark.encoding == Encoding::Utf8 && wanted.isValidUtf16() && !wanted.contains(QChar::ReplacementCharacter)) {
        const QByteArray key = wanted.toUtf8();
        const char *end = bytes.constData() + bytes.size();
        for (const char *p = bytes.constData() + mark.size; p < end;) {
            const char *brk = LineBreaks::find(p, end);
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
    // Read, not mapped: a map of a file that another program cuts short
    // while it is read ends the viewer with a bus error.
    return findLineRun(readBytes(path), wanted);
}

QStringList ListFile::readLines(const QString &path, qsizetype first, qsizetype count)
{
    // An article file is often many times the size of its headword file, and
    // the lines wanted may stand anywhere in it: it is looked at only as far
    // as the last of them, from where earlier reads found its lines to begin.
    return ListFileLines::Open(path).Lines(first, count);
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

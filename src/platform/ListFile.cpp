#include "ListFile.h"

#include "AppError.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <iconv.h>

namespace vocab {

namespace {

QString decodeUtf16(const char *data, qsizetype size, bool bigEndian)
{
    QStringDecoder decoder(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE);
    return decoder.decode(QByteArrayView(data, size));
}

} // namespace

QStringList ListFile::splitLines(const QString &text)
{
    QStringList lines;
    const QChar *p = text.constData();
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i].unicode();
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(QString(p + start, i - start));
        if (c == u'\r' && i + 1 < n && p[i + 1].unicode() == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(QString(p + start, n - start));
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
    return splitLines(text);
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

QStringList ListFile::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Не удаётся открыть файл \"%1\": %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("Ошибка чтения файла \"%1\": %2").arg(path, file.errorString()));
    return decode(bytes);
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

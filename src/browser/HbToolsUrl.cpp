#include "HbToolsUrl.h"

#include "FileErrorCause.h"
#include "ListFile.h"
#include "Registry.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSslCertificate>

namespace vocab::HbTools {

namespace {

bool keptAsIs(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'-' || c == u'.'
        || c == u'_';
}

void appendEscape(QString &out, unsigned code)
{
    out += u'%';
    out += QString::number(code, 16).toUpper().rightJustified(2, u'0');
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// A store name names one folder among the stores and nothing else.
bool isPlainStoreName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") && !name.contains(u'/')
        && !name.contains(u'\\') && !name.contains(QChar(0));
}

} // namespace

QString EncodeUrl(const QString &InputStr, bool bQueryStr)
{
    QString out;
    out.reserve(InputStr.size() * 3);
    for (qsizetype i = 0; i < InputStr.size(); ++i) {
        const char16_t c = InputStr.at(i).unicode();
        if (keptAsIs(c)) {
            out += QChar(c);
        } else if (c == u' ') {
            out += bQueryStr ? QStringLiteral("+") : QStringLiteral("%20");
        } else if (c <= 0xFF) {
            appendEscape(out, c);
        } else {
            // A code beyond one byte goes as the octets of its UTF-8 form,
            // as every server reads a URL; a pair of surrogates is one
            // character there.
            qsizetype end = i + 1;
            if (QChar::isHighSurrogate(c) && end < InputStr.size() && InputStr.at(end).isLowSurrogate())
                ++end;
            for (const char octet : InputStr.mid(i, end - i).toUtf8())
                appendEscape(out, static_cast<unsigned char>(octet));
            i = end - 1;
        }
    }
    return out;
}

QString DecodeUrl(const QString &InputStr)
{
    QString out;
    out.reserve(InputStr.size());
    for (qsizetype i = 0; i < InputStr.size(); ++i) {
        const QChar c = InputStr.at(i);
        if (c == u'%') {
            const int high = i + 2 < InputStr.size() ? hexDigit(InputStr.at(i + 1)) : -1;
            const int low = high >= 0 ? hexDigit(InputStr.at(i + 2)) : -1;
            if (low < 0)
                throw EConvertError(QStringLiteral("Invalid HEX digit in URL"));
            out += QChar(static_cast<char16_t>(high * 16 + low));
            i += 2;
        } else if (c == u'+') {
            out += u' ';
        } else {
            out += c;
        }
    }
    return out;
}

bool IsValidProtocol(const QString &URL)
{
    // Only ASCII letters are lowered, as the test is about ASCII prefixes.
    QString lowered = URL;
    for (QChar &c : lowered)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    for (const char *prefix : ProtocolPrefixes)
        if (lowered.contains(QLatin1String(prefix)))
            return true;
    return false;
}

bool ImportCertFile(const QString &FileName, const QString &StoreType)
{
    if (!QFileInfo(FileName).isFile())
        return false;
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Не удаётся открыть файл \"%1\": %2").arg(FileName, FileErrorCause(file)));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("Не удаётся прочитать файл \"%1\": %2").arg(FileName, FileErrorCause(file)));
    const QSslCertificate certificate(bytes, QSsl::Der);
    if (certificate.isNull() || !isPlainStoreName(StoreType))
        return false;
    const QString store = CertificateStorePath(StoreType);
    if (!QDir().mkpath(store))
        return false;
    // Named by its thumbprint, so the same certificate replaces itself.
    const QString target = store + u'/' + QString::fromLatin1(certificate.digest(QCryptographicHash::Sha1).toHex()) + QStringLiteral(".der");
    try {
        ListFile::writeBytes(target, certificate.toDer());
    } catch (const FileError &) {
        return false;
    }
    return true;
}

} // namespace vocab::HbTools

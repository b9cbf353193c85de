#include "MimeMessage.h"

#include "SimpleMapi.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QSysInfo>
#include <QUuid>

#include <cctype>

namespace vocab {

namespace {

// Header text on one line: line breaks and other controls become blanks.
QString oneLine(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        if (c.category() == QChar::Other_Control)
            c = u' ';
    return out;
}

bool isPlainAscii(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    return true;
}

QByteArray quotedString(const QString &text)
{
    QByteArray out = "\"";
    for (const char c : text.toLatin1()) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

QByteArray personText(const MailPerson &person)
{
    const QString name = oneLine(person.name).trimmed();
    const QByteArray address = person.address.toLatin1();
    if (name.isEmpty() || name == person.address)
        return address;
    const QByteArray shown = isPlainAscii(name) ? quotedString(name) : EncodeHeaderWords(name);
    return shown + " <" + address + '>';
}

QByteArray peopleHeader(const char *field, const QList<MailPerson> &people)
{
    QByteArray out = QByteArray(field) + ": ";
    for (qsizetype i = 0; i < people.size(); ++i)
        out += (i ? ",\n " : "") + personText(people[i]);
    return out + '\n';
}

QByteArray hostName()
{
    QByteArray host;
    for (const char c : QSysInfo::machineHostName().toLatin1())
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-')
            host += c;
    return host.isEmpty() ? QByteArrayLiteral("localhost") : host;
}

bool isAttrChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || QByteArrayView("!#$&+-.^_`|~").contains(c);
}

// The longest header line written, as mail wants it (RFC 5322).
constexpr qsizetype HeaderLineLimit = 78;

QByteArray percentEncoded(const QString &text)
{
    QByteArray out;
    for (const char c : text.toUtf8()) {
        if (isAttrChar(c))
            out += c;
        else
            out += '%' + QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0').toUpper();
    }
    return out;
}

// The file's name as the parameters of Content-Disposition, each on a line
// of its own after "attachment;". A name too long for one line is cut into
// numbered pieces (RFC 2231), whole characters each, so that no line is
// longer than mail allows.
QByteArray dispositionHeader(const QString &name)
{
    const QString clean = oneLine(name);
    const bool plain = isPlainAscii(clean);
    const QByteArray whole = plain ? "filename=" + quotedString(clean) : "filename*=UTF-8''" + percentEncoded(clean);
    QByteArray out = "Content-Disposition: attachment;";
    if (1 + whole.size() <= HeaderLineLimit)
        return out + "\n " + whole + '\n';
    QList<QByteArray> pieces;
    QByteArray piece;
    auto lead = [&](qsizetype number) {
        QByteArray text = "filename*" + QByteArray::number(number) + (plain ? "=" : "*=");
        if (!plain && number == 0)
            text += "UTF-8''";
        return text;
    };
    for (qsizetype i = 0; i < clean.size(); ++i) {
        const qsizetype n = clean[i].isHighSurrogate() && i + 1 < clean.size() ? 2 : 1;
        const QString character = clean.mid(i, n);
        i += n - 1;
        const QByteArray bytes = plain ? quotedString(character).chopped(1).mid(1) : percentEncoded(character);
        // A blank, the lead, the piece, its quotes and the ";" that ends it.
        const qsizetype width = 1 + lead(pieces.size()).size() + piece.size() + bytes.size() + (plain ? 2 : 0) + 1;
        if (!piece.isEmpty() && width > HeaderLineLimit) {
            pieces << piece;
            piece.clear();
        }
        piece += bytes;
    }
    pieces << piece;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        out += "\n " + lead(i) + (plain ? '"' + pieces[i] + '"' : pieces[i]);
        if (i + 1 < pieces.size())
            out += ';';
    }
    return out + '\n';
}

QByteArray textPart(const QString &body)
{
    QString text = body;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return "Content-Type: text/plain; charset=UTF-8\nContent-Transfer-Encoding: quoted-printable\n\n" +
           EncodeQuotedPrintable(text.toUtf8());
}

} // namespace

bool IsMailAddress(const QString &text)
{
    const qsizetype at = text.indexOf(u'@');
    if (at <= 0 || at != text.lastIndexOf(u'@') || at == text.size() - 1 || text.startsWith(u'-'))
        return false;
    for (const QChar c : text.left(at))
        if (c.unicode() <= 0x20 || c.unicode() >= 0x7F || QStringView(u"\",;<>()[]\\").contains(c))
            return false;
    // The domain is names of letters, digits and hyphens between dots, so
    // that no quote or other mark of a client's own syntax can follow it.
    for (const QStringView label : QStringView(text).mid(at + 1).split(u'.')) {
        if (label.isEmpty() || label.startsWith(u'-') || label.endsWith(u'-'))
            return false;
        for (const QChar c : label)
            if (c.unicode() >= 0x80 || !(c.isLetterOrNumber() || c == u'-'))
                return false;
    }
    return true;
}

QByteArray EncodeQuotedPrintable(const QByteArray &text)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype l = 0; l < lines.size(); ++l) {
        const QByteArray &line = lines[l];
        qsizetype width = 0;
        for (qsizetype i = 0; i < line.size(); ++i) {
            const auto c = static_cast<unsigned char>(line[i]);
            const bool atEnd = i == line.size() - 1;
            const bool literal = (c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !atEnd);
            QByteArray token(1, static_cast<char>(c));
            if (!literal)
                token = QByteArray("=") + hex[c >> 4] + hex[c & 15];
            // 76 characters a line at most, the soft break's "=" included.
            if (width + token.size() > 75) {
                out += "=\n";
                width = 0;
            }
            out += token;
            width += token.size();
        }
        if (l + 1 < lines.size())
            out += '\n';
    }
    return out;
}

QByteArray EncodeHeaderWords(const QString &text)
{
    // An encoded word holds at most 75 characters: 45 bytes of UTF-8 in
    // base64 fit, and no character is split between words.
    QByteArray out;
    QByteArray chunk;
    auto flush = [&] {
        if (chunk.isEmpty())
            return;
        out += (out.isEmpty() ? "" : "\n ") + QByteArray("=?UTF-8?B?") + chunk.toBase64() + "?=";
        chunk.clear();
    };
    const QString clean = oneLine(text);
    for (qsizetype i = 0; i < clean.size(); ++i) {
        const qsizetype n = clean[i].isHighSurrogate() && i + 1 < clean.size() ? 2 : 1;
        const QByteArray bytes = clean.mid(i, n).toUtf8();
        i += n - 1;
        if (chunk.size() + bytes.size() > 45)
            flush();
        chunk += bytes;
    }
    flush();
    return out;
}

QByteArray EncodeBase64Lines(const QByteArray &data)
{
    const QByteArray encoded = data.toBase64();
    QByteArray out;
    for (qsizetype i = 0; i < encoded.size(); i += 76)
        out += encoded.mid(i, 76) + '\n';
    return out;
}

std::uint32_t BuildMimeMessage(const OutgoingMail &mail, QByteArray &message)
{
    for (const QList<MailPerson> *people : {&mail.to, &mail.cc, &mail.bcc})
        for (const MailPerson &person : *people)
            if (!IsMailAddress(person.address))
                return MAPI_E_UNKNOWN_RECIPIENT;
    if (mail.from && !IsMailAddress(mail.from->address))
        return MAPI_E_UNKNOWN_RECIPIENT;

    QByteArray head;
    if (mail.from)
        head += "From: " + personText(*mail.from) + '\n';
    if (!mail.to.isEmpty())
        head += peopleHeader("To", mail.to);
    if (!mail.cc.isEmpty())
        head += peopleHeader("Cc", mail.cc);
    if (!mail.bcc.isEmpty())
        head += peopleHeader("Bcc", mail.bcc);
    const QString subject = oneLine(mail.subject);
    if (!subject.isEmpty())
        head += "Subject: " + (isPlainAscii(subject) && subject.size() < 900 ? subject.toLatin1() : EncodeHeaderWords(subject)) + '\n';
    head += "Date: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toLatin1() + '\n';
    head += "Message-ID: <" + QUuid::createUuid().toString(QUuid::WithoutBraces).toLatin1() + '@' + hostName() + ">\n";
    head += "MIME-Version: 1.0\n";

    if (mail.attachments.isEmpty()) {
        message = head + textPart(mail.body);
        return SUCCESS_SUCCESS;
    }
    // "=_" appears neither in quoted-printable nor in base64 text.
    const QByteArray boundary = "=_" + QUuid::createUuid().toString(QUuid::Id128).toLatin1();
    QByteArray body = "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\n\n";
    body += "--" + boundary + '\n' + textPart(mail.body) + '\n';
    const QMimeDatabase types;
    for (const MailAttachment &file : mail.attachments) {
        QFile source(file.path);
        if (!source.open(QIODevice::ReadOnly))
            return MAPI_E_ATTACHMENT_OPEN_FAILURE;
        const QByteArray data = source.readAll();
        if (source.error() != QFileDevice::NoError)
            return MAPI_E_ATTACHMENT_OPEN_FAILURE;
        const QString name = file.name.isEmpty() ? QFileInfo(file.path).fileName() : file.name;
        body += "--" + boundary + '\n';
        body += "Content-Type: " + types.mimeTypeForFileNameAndData(name, data).name().toLatin1() + '\n';
        body += "Content-Transfer-Encoding: base64\n";
        body += dispositionHeader(name) + '\n';
        body += EncodeBase64Lines(data);
    }
    body += "--" + boundary + "--\n";
    message = head + body;
    return SUCCESS_SUCCESS;
}

} // namespace vocab

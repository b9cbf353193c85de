#pragma once

// What the mail tests share: a transport that keeps what it is given, and a
// reader of the Internet messages the builder writes.

#include "MailTransport.h"
#include "SimpleMapi.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringDecoder>

#include <functional>
#include <mutex>
#include <vector>

namespace vocab::test {

// Keeps every mail with the way it went, and answers `answer`. `whileSending`
// runs inside each call, while the attached files are still there.
class CapturingTransport : public MailTransport {
public:
    struct Sent {
        bool composed = false;
        OutgoingMail mail;
        QList<QByteArray> contents; // of the attached files, in order
    };
    std::uint32_t compose(const OutgoingMail &mail) override { return keep(true, mail); }
    std::uint32_t deliver(const OutgoingMail &mail) override { return keep(false, mail); }

    std::vector<Sent> sent() const
    {
        const std::lock_guard lock(m_mutex);
        return m_sent;
    }

    std::uint32_t answer = SUCCESS_SUCCESS;
    std::function<void()> whileSending;

private:
    std::uint32_t keep(bool composed, const OutgoingMail &mail)
    {
        Sent s{composed, mail, {}};
        for (const MailAttachment &a : mail.attachments) {
            QFile f(a.path);
            s.contents << (f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
        }
        {
            const std::lock_guard lock(m_mutex);
            m_sent.push_back(s);
        }
        if (whileSending)
            whileSending();
        return answer;
    }

    mutable std::mutex m_mutex;
    std::vector<Sent> m_sent;
};

// Installs a transport for the span of the object.
class TransportScope {
public:
    explicit TransportScope(std::shared_ptr<MailTransport> transport) : m_previous(setMailTransport(std::move(transport))) {}
    ~TransportScope() { setMailTransport(m_previous); }

private:
    std::shared_ptr<MailTransport> m_previous;
};

// One part of an Internet message: its headers (names lower-cased, folded
// lines joined, encoded words decoded) and its body as written.
struct MessagePart {
    QMap<QString, QString> headers;
    QByteArray body;
    QList<MessagePart> parts; // of a multipart body
};

inline QString decodeWords(const QString &text)
{
    QString out;
    qsizetype pos = 0;
    while (true) {
        const qsizetype start = text.indexOf(QStringLiteral("=?UTF-8?B?"), pos);
        if (start < 0)
            break;
        const qsizetype end = text.indexOf(QStringLiteral("?="), start + 10);
        // Blanks between two encoded words are not part of the text.
        const QString between = text.mid(pos, start - pos);
        if (!(pos > 0 && between.trimmed().isEmpty()))
            out += between;
        out += QString::fromUtf8(QByteArray::fromBase64(text.mid(start + 10, end - start - 10).toLatin1()));
        pos = end + 2;
    }
    return out + text.mid(pos);
}

inline MessagePart parseMessage(const QByteArray &bytes)
{
    MessagePart part;
    const qsizetype split = bytes.indexOf("\n\n");
    const QByteArray head = split < 0 ? bytes : bytes.left(split);
    part.body = split < 0 ? QByteArray() : bytes.mid(split + 2);
    QString last;
    for (const QByteArray &line : head.split('\n')) {
        if (!line.isEmpty() && (line[0] == ' ' || line[0] == '\t')) {
            part.headers[last] += QString::fromUtf8(line);
            continue;
        }
        const qsizetype colon = line.indexOf(':');
        last = QString::fromUtf8(line.left(colon)).toLower();
        part.headers[last] = QString::fromUtf8(line.mid(colon + 1)).trimmed();
    }
    for (auto it = part.headers.begin(); it != part.headers.end(); ++it)
        *it = decodeWords(*it);
    const QString type = part.headers.value("content-type");
    const qsizetype b = type.indexOf(QStringLiteral("boundary=\""));
    if (b >= 0) {
        const QByteArray boundary = "--" + type.mid(b + 10, type.indexOf(u'"', b + 10) - b - 10).toLatin1();
        const QList<QByteArray> pieces = part.body.split('\n');
        QByteArray current;
        bool inside = false;
        for (const QByteArray &line : pieces) {
            if (line == boundary || line == boundary + "--") {
                if (inside)
                    part.parts << parseMessage(current.chopped(current.endsWith('\n') ? 1 : 0));
                current.clear();
                inside = line == boundary;
                continue;
            }
            if (inside)
                current += line + '\n';
        }
    }
    return part;
}

inline QByteArray decodeQuotedPrintable(const QByteArray &text)
{
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '=') {
            out += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
        } else {
            out += static_cast<char>(text.mid(i + 1, 2).toInt(nullptr, 16));
            i += 2;
        }
    }
    return out;
}

} // namespace vocab::test

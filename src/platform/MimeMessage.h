#pragma once

// An outgoing mail as an Internet message (RFC 5322 with MIME), the way a
// sendmail-compatible program takes it on its input: lines end in LF.
//
//  - From only when the mail has a sender; To, Cc and Bcc as "Name"
//    <address> or the bare address. Names that are not plain ASCII become
//    encoded words, the others quoted strings, so no name can add a
//    recipient. Line breaks in any header text are taken out, so no text can
//    add a header.
//  - Subject as encoded words when it is not plain ASCII; Date, Message-ID
//    and MIME-Version always.
//  - Without attachments: the text alone, UTF-8, quoted-printable. With them:
//    multipart/mixed, the text first, then each file in base64 with its type
//    from its content and name and its name (RFC 2231 when not ASCII),
//    cut into numbered pieces when too long for one line of 78.

#include "MailTransport.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace vocab {

// Whether the text is one address: a local part with no blanks, controls
// or characters that separate addresses in a header, "@", and a domain of
// ASCII letters, digits and hyphens between dots.
bool IsMailAddress(const QString &text);

// The message, or a Simple MAPI code when it cannot be made:
// MAPI_E_ATTACHMENT_OPEN_FAILURE for a file that cannot be read,
// MAPI_E_UNKNOWN_RECIPIENT for a person whose address is not one.
std::uint32_t BuildMimeMessage(const OutgoingMail &mail, QByteArray &message);

// The parts of the message builder, for the tests of the text rules.
QByteArray EncodeQuotedPrintable(const QByteArray &text);
QByteArray EncodeHeaderWords(const QString &text); // encoded words, folded
QByteArray EncodeBase64Lines(const QByteArray &data);

} // namespace vocab

#pragma once

// How a mail leaves the program: into the desktop's mail client, where the
// user finishes and sends it, or straight to a sendmail-compatible program.
// Our mail library (SimpleMapi.h) hands every mail to the current transport;
// tests install one of their own to see what would be sent.

#include <QList>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

namespace vocab {

struct MailPerson {
    QString name; // may be empty
    QString address;
};

struct MailAttachment {
    QString path; // the file to attach
    QString name; // the name the mail shows it under
};

struct OutgoingMail {
    std::optional<MailPerson> from; // none: the mail system's own user
    QList<MailPerson> to;
    QList<MailPerson> cc;
    QList<MailPerson> bcc;
    QString subject;
    QString body;
    QList<MailAttachment> attachments;
};

// Each answers a Simple MAPI result code (SimpleMapi.h); each may run on any
// thread and may take as long as the mail takes.
class MailTransport {
public:
    virtual ~MailTransport() = default;
    // Opens a new mail, filled in, in the desktop's mail client.
    virtual std::uint32_t compose(const OutgoingMail &mail) = 0;
    // Sends the mail without asking anyone.
    virtual std::uint32_t deliver(const OutgoingMail &mail) = 0;
};

// The desktop's ways, each program started with an argument vector, never
// through a shell:
//  - compose: `xdg-email --utf8 [--to a]... [--cc a]... [--bcc a]...
//    [--subject s] [--body b] [--attach f]...`. The files go to the client
//    as copies in a folder of ours, under the names the mail shows, since
//    the client may read them after the sender has deleted its own. A name
//    too long for a file is cut to 255 bytes of whole characters, its
//    extension kept. xdg-email returns once the client has opened its
//    compose window, which may read the files only when the user sends,
//    after this program has ended: the copies of a mail the client took
//    stay until the program's next start (removeCopies) or, in a program
//    that runs for days, the first compose a day later; those of a compose
//    still running are kept; those of a mail the client did not take go at
//    once. xdg-email's exit
//    codes: 0 → SUCCESS_SUCCESS, 2 → MAPI_E_ATTACHMENT_NOT_FOUND,
//    5 → MAPI_E_ATTACHMENT_OPEN_FAILURE, anything else and a start that
//    fails → MAPI_E_FAILURE. The client cannot tell us whether the user
//    sent or dropped the mail: a started client is success.
//  - deliver: `<sendmail> -t -i` with a MIME message of ours on its input
//    (MimeMessage.h); the recipients come from its To, Cc and Bcc headers,
//    and the program drops Bcc before it sends. Exit codes: 0 → success,
//    67 (no such user) and 68 (no such host) → MAPI_E_UNKNOWN_RECIPIENT,
//    77 (no permission) → MAPI_E_ACCESS_DENIED; anything else, a program
//    that does not start or that takes longer than two minutes →
//    MAPI_E_FAILURE. Without a sendmail program there is no mail system to
//    send through: MAPI_E_FAILURE.
class DesktopMailTransport : public MailTransport {
public:
    // The programs to start; an empty sendmail is the installed one, looked
    // for at each delivery.
    explicit DesktopMailTransport(QString sendmail = QString(), QString xdgEmail = QStringLiteral("xdg-email"));

    std::uint32_t compose(const OutgoingMail &mail) override;
    std::uint32_t deliver(const OutgoingMail &mail) override;

    // /usr/sbin/sendmail or /usr/lib/sendmail, the first that can be run; empty for none.
    static QString installedSendmail();
    // Where the copies for the mail client are kept.
    static QString spoolFolder();
    // The name of a file's copy for the mail client.
    static QString spoolName(const MailAttachment &file);
    // Removes every copy but those of a compose still running: at start,
    // what the runs before left.
    static void removeCopies();

private:
    // Copies the files into `folder` and starts the client on them.
    std::uint32_t handToClient(const OutgoingMail &mail, const QString &folder) const;

    QString m_sendmail;
    QString m_xdgEmail;
};

// The transport in use (a DesktopMailTransport unless one is installed).
std::shared_ptr<MailTransport> mailTransport();
// Installs a transport and returns the previous one; null restores the desktop's.
std::shared_ptr<MailTransport> setMailTransport(std::shared_ptr<MailTransport> transport);

} // namespace vocab

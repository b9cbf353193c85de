#include "MailTransport.h"

#include "MimeMessage.h"
#include "SimpleMapi.h"
#include "StandIn.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUuid>

#include <utility>

namespace vocab {

namespace {

constexpr int deliveryTimeoutMs = 120000;

// A name the mail client shows a file under, as a file name of its own in
// the copy's folder.
QString spoolName(const MailAttachment &file)
{
    QString name = file.name;
    for (QChar &c : name)
        if (c == u'/' || c.category() == QChar::Other_Control)
            c = u' ';
    name = name.trimmed();
    while (name.startsWith(u'.') || name.startsWith(u' '))
        name.remove(0, 1);
    if (name.isEmpty())
        name = QFileInfo(file.path).fileName();
    return name.isEmpty() ? QStringLiteral("attachment") : name;
}

void removeOldCopies(const QString &spool)
{
    const QDateTime dayAgo = QDateTime::currentDateTime().addDays(-1);
    for (const QFileInfo &entry : QDir(spool).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks))
        if (entry.lastModified() < dayAgo)
            QDir(entry.absoluteFilePath()).removeRecursively();
}

// Copies the files where the mail client can read them after the sender
// has deleted its own. A Simple MAPI code; the copies' paths in `copies`.
std::uint32_t copyForClient(const QList<MailAttachment> &files, QStringList &copies)
{
    if (files.isEmpty())
        return SUCCESS_SUCCESS;
    const QString spool = DesktopMailTransport::spoolFolder();
    removeOldCopies(spool);
    const QString folder = QDir(spool).filePath(QUuid::createUuid().toString(QUuid::Id128));
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (!QFileInfo(files[i].path).isFile())
            return MAPI_E_ATTACHMENT_NOT_FOUND;
        // One folder a file, so that two files may show the same name.
        const QString dir = QDir(folder).filePath(QString::number(i));
        const QString copy = QDir(dir).filePath(spoolName(files[i]));
        if (!QDir().mkpath(dir) || !QFile::copy(files[i].path, copy))
            return MAPI_E_ATTACHMENT_OPEN_FAILURE;
        copies << copy;
    }
    return SUCCESS_SUCCESS;
}

void addPeople(QStringList &args, const char *option, const QList<MailPerson> &people)
{
    for (const MailPerson &person : people) {
        if (person.address.isEmpty())
            continue;
        // Option and value in pairs: a value that looks like an option is
        // still taken as the value.
        args << QString::fromLatin1(option) << person.address;
    }
}

} // namespace

DesktopMailTransport::DesktopMailTransport(QString sendmail, QString xdgEmail)
    : m_sendmail(std::move(sendmail)), m_xdgEmail(std::move(xdgEmail))
{
}

QString DesktopMailTransport::installedSendmail()
{
    for (const char *path : {"/usr/sbin/sendmail", "/usr/lib/sendmail"}) {
        const QFileInfo program(QString::fromLatin1(path));
        if (program.isFile() && program.isExecutable())
            return program.filePath();
    }
    return {};
}

QString DesktopMailTransport::spoolFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)).filePath(QStringLiteral("vocabulinarum/mail"));
}

std::uint32_t DesktopMailTransport::compose(const OutgoingMail &mail)
{
    QStringList copies;
    if (const std::uint32_t code = copyForClient(mail.attachments, copies); code != SUCCESS_SUCCESS)
        return code;
    QStringList args{QStringLiteral("--utf8")};
    addPeople(args, "--to", mail.to);
    addPeople(args, "--cc", mail.cc);
    addPeople(args, "--bcc", mail.bcc);
    // xdg-email refuses an empty value.
    if (!mail.subject.isEmpty())
        args << QStringLiteral("--subject") << mail.subject;
    if (!mail.body.isEmpty())
        args << QStringLiteral("--body") << mail.body;
    for (const QString &copy : copies)
        args << QStringLiteral("--attach") << copy;

    QProcess client;
    client.setProcessChannelMode(QProcess::ForwardedChannels);
    client.start(m_xdgEmail, args);
    client.closeWriteChannel(); // nothing comes on its input
    // The client may stay until the user has done with the mail, as a
    // mail program's own compose window would.
    if (!client.waitForStarted() || !client.waitForFinished(-1) || client.exitStatus() != QProcess::NormalExit)
        return MAPI_E_FAILURE;
    switch (client.exitCode()) {
    case 0: return SUCCESS_SUCCESS;
    case 2: return MAPI_E_ATTACHMENT_NOT_FOUND;
    case 5: return MAPI_E_ATTACHMENT_OPEN_FAILURE;
    default: return MAPI_E_FAILURE;
    }
}

std::uint32_t DesktopMailTransport::deliver(const OutgoingMail &mail)
{
    if (mail.to.isEmpty() && mail.cc.isEmpty() && mail.bcc.isEmpty())
        return MAPI_E_INVALID_RECIPS;
    const QString program = m_sendmail.isEmpty() ? installedSendmail() : m_sendmail;
    if (program.isEmpty())
        return MAPI_E_FAILURE;
    QByteArray message;
    if (const std::uint32_t code = BuildMimeMessage(mail, message); code != SUCCESS_SUCCESS)
        return code;

    QProcess sendmail;
    sendmail.setProcessChannelMode(QProcess::ForwardedChannels);
    sendmail.start(program, {QStringLiteral("-t"), QStringLiteral("-i")});
    if (!sendmail.waitForStarted(10000))
        return MAPI_E_FAILURE;
    sendmail.write(message);
    while (sendmail.bytesToWrite() > 0 && sendmail.waitForBytesWritten(deliveryTimeoutMs)) {
    }
    sendmail.closeWriteChannel();
    if (!sendmail.waitForFinished(deliveryTimeoutMs)) {
        sendmail.kill();
        sendmail.waitForFinished(1000);
        return MAPI_E_FAILURE;
    }
    if (sendmail.exitStatus() != QProcess::NormalExit)
        return MAPI_E_FAILURE;
    switch (sendmail.exitCode()) {
    case 0: return SUCCESS_SUCCESS;
    case 67:
    case 68: return MAPI_E_UNKNOWN_RECIPIENT;
    case 77: return MAPI_E_ACCESS_DENIED;
    default: return MAPI_E_FAILURE;
    }
}

std::shared_ptr<MailTransport> mailTransport()
{
    if (std::shared_ptr<MailTransport> transport = StandIn<std::shared_ptr<MailTransport>>::Current())
        return transport;
    static const std::shared_ptr<MailTransport> desktop = std::make_shared<DesktopMailTransport>();
    return desktop;
}

std::shared_ptr<MailTransport> setMailTransport(std::shared_ptr<MailTransport> transport)
{
    return StandIn<std::shared_ptr<MailTransport>>::Install(std::move(transport));
}

} // namespace vocab

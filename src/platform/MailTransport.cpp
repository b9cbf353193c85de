#include "MailTransport.h"

#include "MimeMessage.h"
#include "SimpleMapi.h"
#include "StandIn.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QUuid>

#include <mutex>
#include <utility>

namespace vocab {

namespace {

constexpr int deliveryTimeoutMs = 120000;

// The longest file name the file systems take, in bytes.
constexpr qsizetype MaxFileNameBytes = 255;
// An extension longer than this is part of the name, not a type.
constexpr qsizetype MaxExtensionBytes = 32;

// The first characters of a text whose UTF-8 fits in `bytes`: whole
// characters only, a pair of surrogates counting as one.
QString headFitting(const QString &text, qsizetype bytes)
{
    qsizetype used = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const qsizetype size = text.mid(i, n).toUtf8().size();
        if (used + size > bytes)
            break;
        used += size;
        i += n;
    }
    return text.left(i);
}

// The copies of the mail client's compose windows now open: the sweep
// leaves them.
std::mutex copiesInUseMutex;
QSet<QString> copiesInUse;

class CopiesInUse {
public:
    explicit CopiesInUse(QString folder) : m_folder(std::move(folder))
    {
        const std::lock_guard lock(copiesInUseMutex);
        copiesInUse.insert(m_folder);
    }
    ~CopiesInUse()
    {
        const std::lock_guard lock(copiesInUseMutex);
        copiesInUse.remove(m_folder);
    }
    CopiesInUse(const CopiesInUse &) = delete;
    CopiesInUse &operator=(const CopiesInUse &) = delete;

private:
    QString m_folder;
};

void removeCopiesOlderThan(const QString &spool, const QDateTime &limit)
{
    const std::lock_guard lock(copiesInUseMutex);
    for (const QFileInfo &entry : QDir(spool).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks))
        if (entry.lastModified() < limit && !copiesInUse.contains(entry.absoluteFilePath()))
            QDir(entry.absoluteFilePath()).removeRecursively();
}

// Copies the files where the mail client can read them after the sender
// has deleted its own. A Simple MAPI code; the copies' paths in `copies`.
std::uint32_t copyForClient(const QList<MailAttachment> &files, const QString &folder, QStringList &copies)
{
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (!QFileInfo(files[i].path).isFile())
            return MAPI_E_ATTACHMENT_NOT_FOUND;
        // One folder a file, so that two files may show the same name.
        const QString dir = QDir(folder).filePath(QString::number(i));
        const QString copy = QDir(dir).filePath(DesktopMailTransport::spoolName(files[i]));
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

QString DesktopMailTransport::spoolName(const MailAttachment &file)
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
    if (name.isEmpty())
        return QStringLiteral("attachment");
    if (name.toUtf8().size() <= MaxFileNameBytes)
        return name;
    // Too long for a file name: the name is cut, its type kept.
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    const qsizetype extensionBytes = extension.toUtf8().size();
    if (extension.isEmpty() || extensionBytes > MaxExtensionBytes)
        return headFitting(name, MaxFileNameBytes);
    return headFitting(name.left(dot), MaxFileNameBytes - extensionBytes).trimmed() + extension;
}

void DesktopMailTransport::removeCopies()
{
    removeCopiesOlderThan(spoolFolder(), QDateTime::currentDateTime().addSecs(1));
}

std::uint32_t DesktopMailTransport::compose(const OutgoingMail &mail)
{
    const QString spool = spoolFolder();
    // A program that has run for days keeps no copies of its first mails.
    removeCopiesOlderThan(spool, QDateTime::currentDateTime().addDays(-1));
    const QString folder = QDir(spool).filePath(QUuid::createUuid().toString(QUuid::Id128));
    const CopiesInUse inUse(folder);
    const std::uint32_t code = handToClient(mail, folder);
    // Copies the client took stay: its compose window may read them only
    // when the user sends, long after xdg-email has returned, and even after
    // this program has ended. Those of a mail it never took go at once.
    if (code != SUCCESS_SUCCESS)
        QDir(folder).removeRecursively();
    return code;
}

std::uint32_t DesktopMailTransport::handToClient(const OutgoingMail &mail, const QString &folder) const
{
    QStringList copies;
    if (const std::uint32_t code = copyForClient(mail.attachments, folder, copies); code != SUCCESS_SUCCESS)
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

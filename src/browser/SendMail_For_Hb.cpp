#include "SendMail_For_Hb.h"

#include "AppError.h"
#include "Registry.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QWidget>

#include <exception>
#include <vector>

namespace vocab {

namespace {

QString asciiUpper(QStringView text)
{
    QString out = text.toString();
    for (QChar &c : out)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 'a' + 'A');
    return out;
}

// The class a recipient line names, and the line less its prefix.
std::uint32_t recipientClass(const QString &line, QString &rest)
{
    if (asciiUpper(QStringView(line).left(3)) == u"CC:") {
        rest = line.mid(3);
        return MAPI_CC;
    }
    if (asciiUpper(QStringView(line).left(4)) == u"BCC:") {
        rest = line.mid(4);
        return MAPI_BCC;
    }
    rest = line;
    return MAPI_TO;
}

// Posts WM_SENDMAILFAILED to the owner, when it is a window and still there.
// The owner lives on the user-interface thread, so it is looked at there.
void tellOwnerOfFailure(const QPointer<QObject> &owner)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    QMetaObject::invokeMethod(
        app,
        [owner] {
            if (auto *window = qobject_cast<QWidget *>(owner.data()))
                QCoreApplication::postEvent(window, new SendMailFailedEvent);
        },
        Qt::QueuedConnection);
}

} // namespace

QEvent::Type SendMailFailedEvent::eventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType(QEvent::User + 0x100));
    return type;
}

THbMapiMail::THbMapiMail(QObject *AOwner) : QObject(AOwner), FOwner(AOwner) {}

THbMapiMail::~THbMapiMail() = default;

bool THbMapiMail::Send()
{
    if (FSent)
        return false;
    FSent = true;
    // The worker has the component now: its owner must not free it meanwhile.
    setParent(nullptr);
    auto *thread = new TSendMailThread(this);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
    return true;
}

TSendMailThread::TSendMailThread(THbMapiMail *AMapiMail) : HbMapiMail(AMapiMail) {}

void TSendMailThread::Execute()
{
    THbMapiMail *mail = HbMapiMail;
    try {
        FReturnValue = SendMail(mail->SenderName(), mail->SenderAddress(), mail->Subject(), mail->Body(), mail->Recipients(),
                                mail->Attachments(), mail->AttachmentNames(), mail->EditDialog(), mail->ResolveNames(),
                                mail->RequestReceipt(), 0);
        if (FReturnValue == MAPI_E_FAILURE)
            tellOwnerOfFailure(mail->FOwner); // the guard itself: the owner may be going meanwhile
    } catch (const AppError &e) {
        FFatalException = e.message();
    } catch (const std::exception &e) {
        FFatalException = QString::fromLocal8Bit(e.what());
    }
    for (const QString &file : mail->Attachments())
        QFile::remove(file);
    // Freed on its own thread, where its owner and its signals live, and
    // also when the send failed with an error.
    HbMapiMail = nullptr;
    mail->deleteLater();
}

int SendMail(const QString &SenderName, const QString &SenderAddress, const QString &Subject, const QString &Body,
             const QStringList &Recipients, const QStringList &Attachments, const QStringList &AttachmentNames,
             bool EditDialog, bool ResolveNames, bool RequestReceipt, LHANDLE Session)
{
    return SendMapiMail(SenderName.toLocal8Bit(), SenderAddress.toLocal8Bit(), Subject.toLocal8Bit(), Body.toLocal8Bit(),
                        Recipients, Attachments, AttachmentNames, EditDialog, ResolveNames, RequestReceipt, Session);
}

int SendMapiMail(const QByteArray &SenderName, const QByteArray &SenderAddress, const QByteArray &Subject,
                 const QByteArray &Body, const QStringList &Recipients, const QStringList &Attachments,
                 const QStringList &AttachmentNames, bool EditDialog, bool ResolveNames, bool RequestReceipt,
                 LHANDLE Session)
{
    MapiMessage message;
    QByteArray profile;
    if (GetDefaultMapiProfile(profile)) {
        const std::uint32_t code = MAPILogon(0, profile, QByteArray(), MAPI_NEW_SESSION, 0, Session);
        if (code != SUCCESS_SUCCESS)
            throw AppError(QStringLiteral("MAPI Error %1: %2").arg(code).arg(MapiErrorText(static_cast<int>(code))));
    }

    MapiRecipDesc sender;
    if (!SenderAddress.isEmpty()) {
        sender.ulRecipClass = MAPI_ORIG;
        sender.lpszName = SenderName.isEmpty() ? SenderAddress : SenderName;
        sender.lpszAddress = SenderAddress;
        message.lpOriginator = &sender;
    }
    message.lpszSubject = Subject;
    message.lpszNoteText = Body;

    std::vector<MapiFileDesc> files(static_cast<std::size_t>(Attachments.size()));
    for (qsizetype i = 0; i < Attachments.size(); ++i) {
        MapiFileDesc &file = files[static_cast<std::size_t>(i)];
        file.nPosition = 0xFFFFFFFF;
        file.lpszPathName = Attachments[i].toLocal8Bit();
        file.lpszFileName = (AttachmentNames.size() > i ? AttachmentNames[i] : QFileInfo(Attachments[i]).fileName()).toLocal8Bit();
    }
    if (!files.empty()) {
        message.nFileCount = static_cast<std::uint32_t>(files.size());
        message.lpFiles = files.data();
    }

    std::vector<MapiRecipDesc> recipients(static_cast<std::size_t>(Recipients.size()));
    for (qsizetype i = 0; i < Recipients.size(); ++i) {
        MapiRecipDesc &recipient = recipients[static_cast<std::size_t>(i)];
        QString rest;
        recipient.ulRecipClass = recipientClass(Recipients[i], rest);
        const QByteArray text = rest.toLocal8Bit();
        // A recipient the address book cannot resolve keeps the text it was
        // given, rather than going without name and address.
        if (!ResolveNames || ResolveMapiRecipient(text, recipient) != SUCCESS_SUCCESS) {
            recipient.lpszName = text;
            recipient.lpszAddress = text;
        }
    }
    if (!recipients.empty()) {
        message.nRecipCount = static_cast<std::uint32_t>(recipients.size());
        message.lpRecips = recipients.data();
    }

    const int result = SendMapiMessage(message, EditDialog, RequestReceipt, Session);
    if (Session != 0)
        MAPILogoff(Session, 0, 0, 0);
    return result;
}

int SendMapiMessage(const MapiMessage &Message, bool EditDialog, bool RequestReceipt, LHANDLE Session)
{
    std::uint32_t flags = MAPI_LOGON_UI;
    if (EditDialog)
        flags |= MAPI_DIALOG;
    if (RequestReceipt)
        flags |= 2;
    if (Session == 0)
        flags |= MAPI_LOGON_UI | MAPI_NEW_SESSION;
    // The session of the logon is not the send's: the send opens its own.
    const auto application = reinterpret_cast<std::uintptr_t>(QCoreApplication::instance());
    return static_cast<int>(MAPISendMail(0, application, Message, flags, 0));
}

int ResolveMapiRecipient(const QByteArray &Text, MapiRecipDesc &Recipient)
{
    MapiRecipDesc *resolved = nullptr;
    std::uint32_t code = MAPIResolveName(0, 0, Text, 0, 0, resolved);
    if (code == MAPI_E_UNKNOWN_RECIPIENT || code == MAPI_E_AMBIGUOUS_RECIPIENT)
        code = MAPIResolveName(0, 0, Text, MAPI_DIALOG, 0, resolved);
    if (code == SUCCESS_SUCCESS && resolved) {
        Recipient.lpszAddress = resolved->lpszAddress.isEmpty() ? resolved->lpszName : resolved->lpszAddress;
        // Copied, so that the library's descriptor may go at once.
        Recipient.ulEIDSize = resolved->ulEIDSize;
        Recipient.lpEntryID = resolved->lpEntryID;
        MAPIFreeBuffer(resolved);
    }
    return static_cast<int>(code);
}

bool GetDefaultMapiProfile(QByteArray &ProfileName)
{
    ProfileName.clear();
    TRegistry reg(RegRoot::HKEY_CURRENT_USER);
    for (const char16_t *key : {u"Software\\Microsoft\\Windows Messaging Subsystem\\Profiles",
                                u"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles"}) {
        if (!reg.OpenKey(QString::fromUtf16(key), false))
            continue;
        bool found = false;
        try {
            ProfileName = reg.ReadString(QStringLiteral("DefaultProfile")).toLocal8Bit();
            found = true;
        } catch (const AppError &) {
        }
        reg.CloseKey();
        return found;
    }
    return false;
}

QString MapiErrorText(int Code)
{
    static const char *const texts[] = {
        nullptr,
        "User cancelled request",
        "General MAPI failure",
        "Logon failure",
        "Disk full",
        "Insufficient memory",
        "Access denied",
        nullptr,
        "Too many sessions",
        "Too many files open",
        "Too many recipients",
        "Attachment not found",
        "Failed to open attachment",
        "Failed to write attachment",
        "Unknown recipient",
        "Invalid recipient type",
        "No messages",
        "Invalid message",
        "Text too large.",
        "Invalid session",
        "Type not supported",
        "Ambiguous recipient",
        "Message in use",
        "Network failure",
        "Invalid edit fields",
        "Invalid recipients",
        "Not supported",
    };
    if (Code >= 0 && Code < static_cast<int>(std::size(texts)) && texts[Code])
        return QString::fromLatin1(texts[Code]);
    return QStringLiteral("Unknown Error Code: %1").arg(Code);
}

bool MailFileAsAttachment(QObject *aOwner, const QString &FileName, const QString &Subject, const QString &Body)
{
    auto *mail = new THbMapiMail(aOwner);
    mail->SetSubject(Subject);
    mail->SetBody(Body);
    mail->Attachments().append(FileName);
    mail->SetEditDialog(true);
    return mail->Send();
}

} // namespace vocab

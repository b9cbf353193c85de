#pragma once

// The mail sender: THbMapiMail sends one mail through Simple MAPI
// (SimpleMapi.h) on a worker thread of its own, TSendMailThread, which
// tells the owner of a general failure, deletes the attached files (they
// are the sender's temporary files) and then lets the component go.

#include "SimpleMapi.h"

#include <QByteArray>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QThread>

#include <cstdint>

namespace vocab {

inline constexpr std::uint32_t WM_SENDMAILFAILED = 0x500;

// WM_SENDMAILFAILED as the owner's window receives it, both parameters 0:
// the mail could not be sent (a general mail failure).
class SendMailFailedEvent : public QEvent {
public:
    SendMailFailedEvent() : QEvent(eventType()) {}
    // QEvent::User + 0x100, unless another part of the program took that number first.
    static QEvent::Type eventType();
    std::uint32_t Msg() const { return WM_SENDMAILFAILED; }
    std::uintptr_t WParam() const { return 0; }
    std::intptr_t LParam() const { return 0; }
};

class THbMapiMail : public QObject {
    Q_OBJECT
public:
    // The owner frees a component that was never sent; a sent one is the worker's.
    explicit THbMapiMail(QObject *AOwner);
    ~THbMapiMail() override;

    QObject *Owner() const { return FOwner; }

    const QString &Subject() const { return FSubject; }
    void SetSubject(const QString &value) { FSubject = value; }
    const QString &Body() const { return FBody; }
    void SetBody(const QString &value) { FBody = value; }
    const QString &SenderName() const { return FSenderName; }
    void SetSenderName(const QString &value) { FSenderName = value; }
    // The sender goes with the mail only when this is not empty.
    const QString &SenderAddress() const { return FSenderAddress; }
    void SetSenderAddress(const QString &value) { FSenderAddress = value; }
    // One a line; "CC:" or "BCC:" (any letter case) before the text makes a
    // copy or blind copy recipient.
    QStringList &Recipients() { return FRecipients; }
    const QStringList &Recipients() const { return FRecipients; }
    void SetRecipients(const QStringList &value) { FRecipients = value; }
    // Full paths of the files to attach. Every one of them is deleted once
    // sending ends, whatever its outcome.
    QStringList &Attachments() { return FAttachments; }
    const QStringList &Attachments() const { return FAttachments; }
    void SetAttachments(const QStringList &value) { FAttachments = value; }
    // Line i: the name attachment i is shown under; its own file name where there is no line i.
    QStringList &AttachmentNames() { return FAttachmentNames; }
    const QStringList &AttachmentNames() const { return FAttachmentNames; }
    void SetAttachmentNames(const QStringList &value) { FAttachmentNames = value; }
    bool EditDialog() const { return FEditDialog; }
    void SetEditDialog(bool value) { FEditDialog = value; }
    bool ResolveNames() const { return FResolveNames; }
    void SetResolveNames(bool value) { FResolveNames = value; }
    // Puts MAPI_NEW_SESSION (2) into the send call's flags, as it always has;
    // no receipt is asked for.
    bool RequestReceipt() const { return FRequestReceipt; }
    void SetRequestReceipt(bool value) { FRequestReceipt = value; }
    int LastError() const { return FLastError; }

    // Hands the component to a worker thread that sends the mail, and
    // answers True at once. From then on the caller neither changes nor
    // frees it; it is freed on this thread once the worker is done. A second
    // call answers False and does nothing.
    bool Send();

private:
    friend class TSendMailThread;
    QPointer<QObject> FOwner;
    QString FSubject;
    QString FBody;
    QString FSenderName;
    QString FSenderAddress;
    QStringList FRecipients;
    QStringList FAttachments;
    QStringList FAttachmentNames;
    bool FEditDialog = true;
    bool FResolveNames = false;
    bool FRequestReceipt = false;
    int FLastError = 0;
    bool FSent = false;
};

class TSendMailThread : public QThread {
    Q_OBJECT
public:
    // The thread, not yet started, for a component; it frees the component
    // (on the component's own thread) when it has sent.
    explicit TSendMailThread(THbMapiMail *AMapiMail);

    THbMapiMail *HbMapiMail;

    // SendMail's answer, once the thread has ended.
    int ReturnValue() const { return FReturnValue; }
    // The message of the error that ended the thread, or empty.
    const QString &FatalException() const { return FFatalException; }

protected:
    void run() override { Execute(); }

private:
    void Execute();

    int FReturnValue = 0;
    QString FFatalException;
};

// Sends one mail and answers the send call's code. The strings go to the
// mail library as 8-bit text of the system.
int SendMail(const QString &SenderName, const QString &SenderAddress, const QString &Subject, const QString &Body,
             const QStringList &Recipients, const QStringList &Attachments, const QStringList &AttachmentNames,
             bool EditDialog, bool ResolveNames, bool RequestReceipt, LHANDLE Session);
// The same with the strings already 8-bit text. Logs on first when the
// registry names a default profile, and throws AppError "MAPI Error %d: %s"
// when that fails, sending nothing.
int SendMapiMail(const QByteArray &SenderName, const QByteArray &SenderAddress, const QByteArray &Subject,
                 const QByteArray &Body, const QStringList &Recipients, const QStringList &Attachments,
                 const QStringList &AttachmentNames, bool EditDialog, bool ResolveNames, bool RequestReceipt,
                 LHANDLE Session);
// The send call of SendMapiMail, with its flags.
int SendMapiMessage(const MapiMessage &Message, bool EditDialog, bool RequestReceipt, LHANDLE Session);
// Resolves a recipient's text through the address book into Recipient's
// address and entry id; its name stays empty. The resolution's code.
int ResolveMapiRecipient(const QByteArray &Text, MapiRecipDesc &Recipient);
// The default profile the registry names; False when neither key of the
// profiles opens.
bool GetDefaultMapiProfile(QByteArray &ProfileName);
QString MapiErrorText(int Code);

// Mails one file as the attachment of a new mail, with the subject and the
// body, in the mail client's compose window; the owner is told of a failure
// as THbMapiMail tells it. The file is the sender's from then on: it is
// deleted when sending ends. Answers what THbMapiMail::Send answers.
bool MailFileAsAttachment(QObject *aOwner, const QString &FileName, const QString &Subject, const QString &Body);

} // namespace vocab

#include "SimpleMapi.h"

#include "MailTransport.h"
#include "MimeMessage.h"
#include "StandIn.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <atomic>
#include <utility>

namespace vocab {

namespace {

std::shared_ptr<ISimpleMapi> loadLibrary()
{
    if (const SimpleMapiLoader loader = StandIn<SimpleMapiLoader>::Current())
        return loader();
    static const auto ours = std::make_shared<DesktopSimpleMapi>();
    return ours;
}

QString text(const QByteArray &bytes) { return QString::fromLocal8Bit(bytes); }

// The address of a recipient: its address less any "SMTP:", else its name.
QString addressOf(const MapiRecipDesc &recip)
{
    QString address = text(recip.lpszAddress);
    if (address.startsWith(QStringLiteral("SMTP:"), Qt::CaseInsensitive))
        address.remove(0, 5);
    return address.isEmpty() ? text(recip.lpszName) : address;
}

MailPerson personOf(const MapiRecipDesc &recip)
{
    const QString address = addressOf(recip);
    const QString name = text(recip.lpszName);
    return {name == address ? QString() : name, address};
}

} // namespace

SimpleMapiLoader setSimpleMapiLoader(SimpleMapiLoader loader)
{
    return StandIn<SimpleMapiLoader>::Install(std::move(loader));
}

std::uint32_t MAPILogon(std::uintptr_t ulUIParam, const QByteArray &lpszProfileName, const QByteArray &lpszPassword,
                        std::uint32_t flFlags, std::uint32_t, LHANDLE &lplhSession)
{
    const auto library = loadLibrary();
    return library ? library->Logon(ulUIParam, lpszProfileName, lpszPassword, flFlags, lplhSession) : MAPI_USER_ABORT;
}

std::uint32_t MAPILogoff(LHANDLE lhSession, std::uintptr_t ulUIParam, std::uint32_t flFlags, std::uint32_t)
{
    const auto library = loadLibrary();
    return library ? library->Logoff(lhSession, ulUIParam, flFlags) : MAPI_USER_ABORT;
}

std::uint32_t MAPISendMail(LHANDLE lhSession, std::uintptr_t ulUIParam, const MapiMessage &lpMessage, std::uint32_t flFlags,
                           std::uint32_t)
{
    const auto library = loadLibrary();
    return library ? library->SendMail(lhSession, ulUIParam, lpMessage, flFlags) : MAPI_USER_ABORT;
}

std::uint32_t MAPIResolveName(LHANDLE lhSession, std::uintptr_t ulUIParam, const QByteArray &lpszName, std::uint32_t flFlags,
                              std::uint32_t, MapiRecipDesc *&lppRecip)
{
    const auto library = loadLibrary();
    return library ? library->ResolveName(lhSession, ulUIParam, lpszName, flFlags, lppRecip) : MAPI_USER_ABORT;
}

std::uint32_t MAPIFreeBuffer(MapiRecipDesc *pv)
{
    const auto library = loadLibrary();
    return library ? library->FreeBuffer(pv) : MAPI_USER_ABORT;
}

std::uint32_t DesktopSimpleMapi::Logon(std::uintptr_t, const QByteArray &, const QByteArray &, std::uint32_t,
                                       LHANDLE &lplhSession)
{
    static std::atomic<LHANDLE> lastSession{0};
    lplhSession = ++lastSession;
    return SUCCESS_SUCCESS;
}

std::uint32_t DesktopSimpleMapi::Logoff(LHANDLE, std::uintptr_t, std::uint32_t) { return SUCCESS_SUCCESS; }

std::uint32_t DesktopSimpleMapi::ResolveName(LHANDLE, std::uintptr_t, const QByteArray &lpszName, std::uint32_t,
                                             MapiRecipDesc *&lppRecip)
{
    static const QRegularExpression named(QStringLiteral("^\\s*(.*?)\\s*<([^<>]*)>\\s*$"));
    const QString given = text(lpszName);
    QString name = given.trimmed();
    QString address = name;
    if (const QRegularExpressionMatch m = named.match(given); m.hasMatch()) {
        name = m.captured(1);
        address = m.captured(2);
    }
    if (!IsMailAddress(address))
        return MAPI_E_UNKNOWN_RECIPIENT;
    auto *recip = new MapiRecipDesc;
    recip->ulRecipClass = MAPI_TO;
    recip->lpszName = (name.isEmpty() ? address : name).toLocal8Bit();
    recip->lpszAddress = QStringLiteral("SMTP:%1").arg(address).toLocal8Bit();
    lppRecip = recip;
    return SUCCESS_SUCCESS;
}

std::uint32_t DesktopSimpleMapi::FreeBuffer(MapiRecipDesc *pv)
{
    delete pv;
    return SUCCESS_SUCCESS;
}

std::uint32_t DesktopSimpleMapi::SendMail(LHANDLE, std::uintptr_t, const MapiMessage &lpMessage, std::uint32_t flFlags)
{
    OutgoingMail mail;
    for (std::uint32_t i = 0; i < lpMessage.nFileCount; ++i) {
        const MapiFileDesc &file = lpMessage.lpFiles[i];
        const QFileInfo info(text(file.lpszPathName));
        if (!info.isFile())
            return MAPI_E_ATTACHMENT_NOT_FOUND;
        if (!info.isReadable())
            return MAPI_E_ATTACHMENT_OPEN_FAILURE;
        const QString shown = text(file.lpszFileName);
        mail.attachments.append({info.filePath(), shown.isEmpty() ? info.fileName() : shown});
    }
    for (std::uint32_t i = 0; i < lpMessage.nRecipCount; ++i) {
        const MapiRecipDesc &recip = lpMessage.lpRecips[i];
        switch (recip.ulRecipClass) {
        case MAPI_TO: mail.to.append(personOf(recip)); break;
        case MAPI_CC: mail.cc.append(personOf(recip)); break;
        case MAPI_BCC: mail.bcc.append(personOf(recip)); break;
        default: return MAPI_E_BAD_RECIPTYPE;
        }
    }
    if (lpMessage.lpOriginator && !addressOf(*lpMessage.lpOriginator).isEmpty())
        mail.from = personOf(*lpMessage.lpOriginator);
    mail.subject = text(lpMessage.lpszSubject);
    mail.body = text(lpMessage.lpszNoteText);

    // Every recipient is one address, whichever way the mail goes: the mail
    // client takes the addresses into a text of its own, where one that is
    // not an address could name more than a recipient.
    for (const QList<MailPerson> *people : {&mail.to, &mail.cc, &mail.bcc})
        for (const MailPerson &person : *people)
            if (!IsMailAddress(person.address))
                return MAPI_E_UNKNOWN_RECIPIENT;
    if (flFlags & MAPI_DIALOG)
        return mailTransport()->compose(mail);
    if (mail.to.isEmpty() && mail.cc.isEmpty() && mail.bcc.isEmpty())
        return MAPI_E_INVALID_RECIPS;
    return mailTransport()->deliver(mail);
}

} // namespace vocab

#pragma once

// Simple MAPI: the platform's five mail calls, with their records, flags and
// result codes, as a mail sender uses them. The calls go to the mail library
// the platform has. Here that is our own, which hands a mail to the
// desktop's mail client or to a sendmail-compatible program (MailTransport.h);
// tests put a library of their own in its place, or none. With no library,
// every call answers MAPI_USER_ABORT, as the platform's calls do when its
// mail library cannot be loaded.
//
// Text in the records is 8-bit text of the system's code page (UTF-8 here).
// The records hold their text themselves, so no text is too long for them.

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <memory>

namespace vocab {

using LHANDLE = std::uintptr_t;

// Result codes.
enum : std::uint32_t {
    SUCCESS_SUCCESS = 0,
    MAPI_USER_ABORT = 1,
    MAPI_E_FAILURE = 2,
    MAPI_E_LOGIN_FAILURE = 3,
    MAPI_E_DISK_FULL = 4,
    MAPI_E_INSUFFICIENT_MEMORY = 5,
    MAPI_E_ACCESS_DENIED = 6,
    MAPI_E_TOO_MANY_SESSIONS = 8,
    MAPI_E_TOO_MANY_FILES = 9,
    MAPI_E_TOO_MANY_RECIPIENTS = 10,
    MAPI_E_ATTACHMENT_NOT_FOUND = 11,
    MAPI_E_ATTACHMENT_OPEN_FAILURE = 12,
    MAPI_E_ATTACHMENT_WRITE_FAILURE = 13,
    MAPI_E_UNKNOWN_RECIPIENT = 14,
    MAPI_E_BAD_RECIPTYPE = 15,
    MAPI_E_NO_MESSAGES = 16,
    MAPI_E_INVALID_MESSAGE = 17,
    MAPI_E_TEXT_TOO_LARGE = 18,
    MAPI_E_INVALID_SESSION = 19,
    MAPI_E_TYPE_NOT_SUPPORTED = 20,
    MAPI_E_AMBIGUOUS_RECIPIENT = 21,
    MAPI_E_MESSAGE_IN_USE = 22,
    MAPI_E_NETWORK_FAILURE = 23,
    MAPI_E_INVALID_EDITFIELDS = 24,
    MAPI_E_INVALID_RECIPS = 25,
    MAPI_E_NOT_SUPPORTED = 26,
};

// Flags of the calls.
enum : std::uint32_t {
    MAPI_LOGON_UI = 0x1,
    MAPI_NEW_SESSION = 0x2,
    MAPI_DIALOG = 0x8,
};

// Classes of a message's people.
enum : std::uint32_t { MAPI_ORIG = 0, MAPI_TO = 1, MAPI_CC = 2, MAPI_BCC = 3 };

// A sender or recipient. A null text is "none".
struct MapiRecipDesc {
    std::uint32_t ulReserved = 0;
    std::uint32_t ulRecipClass = MAPI_ORIG;
    QByteArray lpszName;
    QByteArray lpszAddress;
    std::uint32_t ulEIDSize = 0;
    QByteArray lpEntryID;
};

// An attached file. nPosition 0xFFFFFFFF: not placed in the text.
struct MapiFileDesc {
    std::uint32_t ulReserved = 0;
    std::uint32_t flFlags = 0;
    std::uint32_t nPosition = 0xFFFFFFFF;
    QByteArray lpszPathName;
    QByteArray lpszFileName;
    QByteArray lpFileType;
};

// A message; it points at arrays its maker keeps for the length of the call.
struct MapiMessage {
    std::uint32_t ulReserved = 0;
    QByteArray lpszSubject;
    QByteArray lpszNoteText;
    QByteArray lpszMessageType;
    QByteArray lpszDateReceived;
    QByteArray lpszConversationID;
    std::uint32_t flFlags = 0;
    const MapiRecipDesc *lpOriginator = nullptr;
    std::uint32_t nRecipCount = 0;
    const MapiRecipDesc *lpRecips = nullptr;
    std::uint32_t nFileCount = 0;
    const MapiFileDesc *lpFiles = nullptr;
};

// A mail library: what the five calls reach. `ulUIParam` names the window
// the library's dialogs belong to (0 for none); the library only passes it on.
class ISimpleMapi {
public:
    virtual ~ISimpleMapi() = default;
    virtual std::uint32_t Logon(std::uintptr_t ulUIParam, const QByteArray &lpszProfileName, const QByteArray &lpszPassword,
                                std::uint32_t flFlags, LHANDLE &lplhSession) = 0;
    virtual std::uint32_t Logoff(LHANDLE lhSession, std::uintptr_t ulUIParam, std::uint32_t flFlags) = 0;
    virtual std::uint32_t SendMail(LHANDLE lhSession, std::uintptr_t ulUIParam, const MapiMessage &lpMessage,
                                   std::uint32_t flFlags) = 0;
    // On success, *lppRecip is a descriptor of the library's, given back through FreeBuffer.
    virtual std::uint32_t ResolveName(LHANDLE lhSession, std::uintptr_t ulUIParam, const QByteArray &lpszName,
                                      std::uint32_t flFlags, MapiRecipDesc *&lppRecip) = 0;
    virtual std::uint32_t FreeBuffer(MapiRecipDesc *pv) = 0;
};

// Loads the mail library; null when there is none. Tests install a loader of
// their own; an empty one restores ours. Installs and returns the previous one.
using SimpleMapiLoader = std::function<std::shared_ptr<ISimpleMapi>()>;
SimpleMapiLoader setSimpleMapiLoader(SimpleMapiLoader loader);

// The calls. Each loads the library for its own use; without one, each
// answers MAPI_USER_ABORT and changes nothing. Safe from any thread.
std::uint32_t MAPILogon(std::uintptr_t ulUIParam, const QByteArray &lpszProfileName, const QByteArray &lpszPassword,
                        std::uint32_t flFlags, std::uint32_t ulReserved, LHANDLE &lplhSession);
std::uint32_t MAPILogoff(LHANDLE lhSession, std::uintptr_t ulUIParam, std::uint32_t flFlags, std::uint32_t ulReserved);
std::uint32_t MAPISendMail(LHANDLE lhSession, std::uintptr_t ulUIParam, const MapiMessage &lpMessage, std::uint32_t flFlags,
                           std::uint32_t ulReserved);
std::uint32_t MAPIResolveName(LHANDLE lhSession, std::uintptr_t ulUIParam, const QByteArray &lpszName, std::uint32_t flFlags,
                              std::uint32_t ulReserved, MapiRecipDesc *&lppRecip);
std::uint32_t MAPIFreeBuffer(MapiRecipDesc *pv);

// Our own mail library, over the current mail transport (MailTransport.h).
//  - Logon accepts any profile; Logoff ends any session.
//  - ResolveName knows the forms "address" and "Name <address>" (an address
//    holds one "@" and no blanks): the name, and "SMTP:" + the address.
//    Anything else is unknown; there is no address book to choose from, so
//    MAPI_DIALOG changes nothing.
//  - SendMail checks the message first and sends nothing when it fails:
//    every attached file must be there (else MAPI_E_ATTACHMENT_NOT_FOUND)
//    and readable (else MAPI_E_ATTACHMENT_OPEN_FAILURE), every recipient of
//    class MAPI_TO, MAPI_CC or MAPI_BCC (else MAPI_E_BAD_RECIPTYPE). With
//    MAPI_DIALOG the mail goes to the desktop's mail client for the user to
//    finish; without, each recipient needs an address (its address less any
//    "SMTP:", else its name) that is an address (else
//    MAPI_E_UNKNOWN_RECIPIENT), there must be one (else MAPI_E_INVALID_RECIPS),
//    and the mail is sent at once.
class DesktopSimpleMapi : public ISimpleMapi {
public:
    std::uint32_t Logon(std::uintptr_t ulUIParam, const QByteArray &lpszProfileName, const QByteArray &lpszPassword,
                        std::uint32_t flFlags, LHANDLE &lplhSession) override;
    std::uint32_t Logoff(LHANDLE lhSession, std::uintptr_t ulUIParam, std::uint32_t flFlags) override;
    std::uint32_t SendMail(LHANDLE lhSession, std::uintptr_t ulUIParam, const MapiMessage &lpMessage,
                           std::uint32_t flFlags) override;
    std::uint32_t ResolveName(LHANDLE lhSession, std::uintptr_t ulUIParam, const QByteArray &lpszName, std::uint32_t flFlags,
                              MapiRecipDesc *&lppRecip) override;
    std::uint32_t FreeBuffer(MapiRecipDesc *pv) override;
};

} // namespace vocab

// Our mail library: what it makes of a message, the message it writes, and
// the programs it hands mails to (fake ones from a temporary folder).

#include "MailFixtures.h"
#include "MimeMessage.h"
#include "TempDesktop.h"
#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>

using namespace vocab;
using namespace vocab::test;

namespace {

MapiRecipDesc person(std::uint32_t recipClass, const char *name, const char *address)
{
    MapiRecipDesc r;
    r.ulRecipClass = recipClass;
    r.lpszName = name;
    r.lpszAddress = address;
    return r;
}

// A message over arrays the caller keeps.
MapiMessage message(const std::vector<MapiRecipDesc> &recips, const std::vector<MapiFileDesc> &files)
{
    MapiMessage m;
    m.lpszSubject = "Subject";
    m.lpszNoteText = "Body";
    m.nRecipCount = static_cast<std::uint32_t>(recips.size());
    m.lpRecips = recips.empty() ? nullptr : recips.data();
    m.nFileCount = static_cast<std::uint32_t>(files.size());
    m.lpFiles = files.empty() ? nullptr : files.data();
    return m;
}

MapiFileDesc file(const QString &path, const char *name)
{
    MapiFileDesc f;
    f.lpszPathName = path.toLocal8Bit();
    f.lpszFileName = name;
    return f;
}

class OurMailLibrary : public ::testing::Test {
protected:
    std::shared_ptr<CapturingTransport> transport = std::make_shared<CapturingTransport>();
    TransportScope scope{transport};
    QTemporaryDir dir;
};

// A program of the test's own that keeps its arguments (each ended by NUL) and its
// input next to itself, and exits with the code in the file "code".
QString fakeProgram(const QTemporaryDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    writeBytes(path, "#!/bin/sh\nd=$(dirname \"$0\")\nprintf '%s\\0' \"$@\" > \"$d/argv\"\ncat > \"$d/stdin\"\n"
                     "[ -f \"$d/code\" ] && exit $(cat \"$d/code\")\nexit 0\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

} // namespace

TEST_F(OurMailLibrary, TheDialogFlagComposesInTheClientAndWithoutItTheMailIsDelivered)
{
    writeBytes(dir.filePath("page.htm"), "<p>page</p>");
    const std::vector<MapiRecipDesc> recips{person(MAPI_TO, "Anna", "SMTP:anna@example.org"),
                                            person(MAPI_CC, "bob@example.org", "bob@example.org"),
                                            person(MAPI_BCC, "ops@example.org", "")};
    const std::vector<MapiFileDesc> files{file(dir.filePath("page.htm"), "Страница.htm"), file(dir.filePath("page.htm"), "")};
    MapiRecipDesc sender = person(MAPI_ORIG, "Me", "me@example.org");
    MapiMessage m = message(recips, files);
    m.lpOriginator = &sender;

    DesktopSimpleMapi library;
    ASSERT_EQ(library.SendMail(0, 0, m, MAPI_LOGON_UI | MAPI_DIALOG), SUCCESS_SUCCESS);
    ASSERT_EQ(library.SendMail(0, 0, m, MAPI_LOGON_UI), SUCCESS_SUCCESS);
    const auto sent = transport->sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_TRUE(sent[0].composed);
    EXPECT_FALSE(sent[1].composed);
    const OutgoingMail &mail = sent[1].mail;
    ASSERT_TRUE(mail.from);
    EXPECT_EQ(mail.from->name, "Me");
    ASSERT_EQ(mail.to.size(), 1);
    EXPECT_EQ(mail.to[0].name, "Anna");
    EXPECT_EQ(mail.to[0].address, "anna@example.org") << "the address less SMTP:";
    ASSERT_EQ(mail.cc.size(), 1);
    EXPECT_EQ(mail.cc[0].name, QString()) << "a name that is the address is no name";
    ASSERT_EQ(mail.bcc.size(), 1);
    EXPECT_EQ(mail.bcc[0].address, "ops@example.org") << "no address: the name";
    EXPECT_EQ(mail.subject, "Subject");
    EXPECT_EQ(mail.body, "Body");
    ASSERT_EQ(mail.attachments.size(), 2);
    EXPECT_EQ(mail.attachments[0].name, u"Страница.htm"_qs);
    EXPECT_EQ(mail.attachments[1].name, "page.htm");
}

TEST_F(OurMailLibrary, ABadMessageIsRefusedWithItsCodeAndNothingIsSent)
{
    writeBytes(dir.filePath("a.txt"), "a");
    const QString unreadable = dir.filePath("secret.txt");
    writeBytes(unreadable, "s");
    QFile::setPermissions(unreadable, QFileDevice::Permissions());
    const std::vector<MapiRecipDesc> good{person(MAPI_TO, "", "x@example.org")};
    const struct {
        const char *what;
        std::vector<MapiRecipDesc> recips;
        std::vector<MapiFileDesc> files;
        std::uint32_t flags;
        std::uint32_t code;
    } cases[] = {
        {"missing file", good, {file(dir.filePath("none.txt"), "")}, MAPI_DIALOG, MAPI_E_ATTACHMENT_NOT_FOUND},
        {"folder as file", good, {file(dir.path(), "")}, 0, MAPI_E_ATTACHMENT_NOT_FOUND},
        {"bad class", {person(7, "", "x@example.org")}, {}, MAPI_DIALOG, MAPI_E_BAD_RECIPTYPE},
        {"sender as recipient", {person(MAPI_ORIG, "", "x@example.org")}, {}, 0, MAPI_E_BAD_RECIPTYPE},
        {"no recipient, no dialog", {}, {}, 0, MAPI_E_INVALID_RECIPS},
        {"no address", {person(MAPI_TO, "Anna", "")}, {}, 0, MAPI_E_UNKNOWN_RECIPIENT},
        {"two addresses in one", {person(MAPI_TO, "", "a@x.org, b@y.org")}, {}, 0, MAPI_E_UNKNOWN_RECIPIENT},
    };
    DesktopSimpleMapi library;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(library.SendMail(0, 0, message(c.recips, c.files), c.flags), c.code);
    }
    if (!QFileInfo(unreadable).isReadable()) { // root reads every file
        EXPECT_EQ(library.SendMail(0, 0, message(good, {file(unreadable, "")}), 0), MAPI_E_ATTACHMENT_OPEN_FAILURE);
    }
    EXPECT_TRUE(transport->sent().empty());
    EXPECT_EQ(library.SendMail(0, 0, message({}, {}), MAPI_DIALOG), SUCCESS_SUCCESS) << "the user adds recipients in the client";
}

TEST(OurMailLibraryNames, ResolvesAddressesAndNamedAddressesOnly)
{
    const struct {
        const char *text;
        std::uint32_t code;
        const char *name;
        const char *address;
    } cases[] = {
        {"anna@example.org", SUCCESS_SUCCESS, "anna@example.org", "SMTP:anna@example.org"},
        {"Anna Petrova <anna@example.org>", SUCCESS_SUCCESS, "Anna Petrova", "SMTP:anna@example.org"},
        {"<anna@example.org>", SUCCESS_SUCCESS, "anna@example.org", "SMTP:anna@example.org"},
        {"Anna", MAPI_E_UNKNOWN_RECIPIENT, nullptr, nullptr},
        {"a b@example.org", MAPI_E_UNKNOWN_RECIPIENT, nullptr, nullptr},
        {"", MAPI_E_UNKNOWN_RECIPIENT, nullptr, nullptr},
    };
    DesktopSimpleMapi library;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        MapiRecipDesc *resolved = nullptr;
        ASSERT_EQ(library.ResolveName(0, 0, c.text, MAPI_DIALOG, resolved), c.code);
        if (!c.name) {
            EXPECT_EQ(resolved, nullptr);
            continue;
        }
        ASSERT_NE(resolved, nullptr);
        EXPECT_EQ(resolved->lpszName, c.name);
        EXPECT_EQ(resolved->lpszAddress, c.address);
        EXPECT_EQ(library.FreeBuffer(resolved), SUCCESS_SUCCESS);
    }
}

TEST(OurMailLibraryLoading, WithoutAMailLibraryEveryCallAnswersUserAbort)
{
    const SimpleMapiLoader previous = setSimpleMapiLoader([] { return std::shared_ptr<ISimpleMapi>(); });
    LHANDLE session = 0;
    MapiRecipDesc *resolved = nullptr;
    EXPECT_EQ(MAPILogon(0, "profile", {}, MAPI_NEW_SESSION, 0, session), MAPI_USER_ABORT);
    EXPECT_EQ(session, 0u);
    EXPECT_EQ(MAPISendMail(0, 0, MapiMessage{}, MAPI_DIALOG, 0), MAPI_USER_ABORT);
    EXPECT_EQ(MAPIResolveName(0, 0, "a@b.org", 0, 0, resolved), MAPI_USER_ABORT);
    EXPECT_EQ(resolved, nullptr);
    EXPECT_EQ(MAPILogoff(1, 0, 0, 0), MAPI_USER_ABORT);
    EXPECT_EQ(MAPIFreeBuffer(nullptr), MAPI_USER_ABORT);
    setSimpleMapiLoader(previous);
    EXPECT_EQ(MAPILogon(0, "profile", {}, MAPI_NEW_SESSION, 0, session), SUCCESS_SUCCESS) << "ours again";
    EXPECT_NE(session, 0u);
}

TEST(MimeMessageText, EncodingsKeepTheTextAndItsLimits)
{
    const QByteArray text = (u"Строка с пробелом в конце \nи = знак, "_qs + QString(60, u'ж')).toUtf8();
    const QByteArray qp = EncodeQuotedPrintable(text);
    EXPECT_EQ(decodeQuotedPrintable(qp), text);
    for (const QByteArray &line : qp.split('\n'))
        EXPECT_LE(line.size(), 76);
    EXPECT_TRUE(qp.contains("=20\n")) << "a blank at a line's end is written out";

    const QString subject = u"Тема письма 😀 "_qs + QString(40, u'ё');
    const QByteArray words = EncodeHeaderWords(subject);
    EXPECT_EQ(decodeWords(QString::fromLatin1(words).replace(QStringLiteral("\n "), QStringLiteral(" "))), subject);
    for (const QByteArray &word : words.split('\n'))
        EXPECT_LE(word.trimmed().size(), 75);

    const QByteArray data(200, '\xAB');
    const QByteArray b64 = EncodeBase64Lines(data);
    EXPECT_EQ(QByteArray::fromBase64(QByteArray(b64).replace('\n', "")), data);
    EXPECT_EQ(b64.split('\n').first().size(), 76);
}

TEST(MimeMessageText, HeadersCarryThePeopleAndNoTextCanAddAHeaderOrARecipient)
{
    OutgoingMail mail;
    mail.to = {{QStringLiteral("Mallory, <evil@x.org>"), QStringLiteral("anna@example.org")},
               {QString(), QStringLiteral("bob@example.org")}};
    mail.cc = {{u"Ольга"_qs, QStringLiteral("olga@example.org")}};
    mail.bcc = {{QString(), QStringLiteral("ops@example.org")}};
    mail.subject = QStringLiteral("Hello\r\nBcc: evil@x.org");
    mail.body = QStringLiteral("line one\r\nline two");
    QByteArray bytes;
    ASSERT_EQ(BuildMimeMessage(mail, bytes), SUCCESS_SUCCESS);
    const MessagePart m = parseMessage(bytes);
    EXPECT_FALSE(m.headers.contains("from")) << "no sender given: the mail system's user";
    EXPECT_EQ(m.headers.value("to"), "\"Mallory, <evil@x.org>\" <anna@example.org>, bob@example.org");
    EXPECT_EQ(m.headers.value("cc"), u"Ольга <olga@example.org>"_qs);
    EXPECT_EQ(m.headers.value("bcc"), "ops@example.org");
    EXPECT_EQ(m.headers.value("subject"), "Hello  Bcc: evil@x.org");
    EXPECT_EQ(m.headers.value("mime-version"), "1.0");
    EXPECT_TRUE(m.headers.contains("date"));
    EXPECT_TRUE(m.headers.value("message-id").startsWith(u'<'));
    EXPECT_EQ(m.headers.value("content-type"), "text/plain; charset=UTF-8");
    EXPECT_EQ(decodeQuotedPrintable(m.body), "line one\nline two");

    mail.from = MailPerson{QString(), QStringLiteral("me@example.org")};
    mail.to = {{QString(), QStringLiteral("-oQ/tmp@x.org")}};
    EXPECT_EQ(BuildMimeMessage(mail, bytes), MAPI_E_UNKNOWN_RECIPIENT) << "not an address";
}

TEST_F(OurMailLibrary, AFakeSendmailGetsTheMimeMessageOnItsInputAndItsExitCodeIsTheAnswer)
{
    const QString program = fakeProgram(dir, QStringLiteral("sendmail"));
    writeBytes(dir.filePath("report.pdf"), QByteArray("%PDF-1.4\n\x00\x01\xFF", 12));
    writeBytes(dir.filePath("notes.txt"), "notes");
    OutgoingMail mail;
    mail.from = MailPerson{QStringLiteral("Me"), QStringLiteral("me@example.org")};
    mail.to = {{QString(), QStringLiteral("anna@example.org")}};
    mail.bcc = {{QString(), QStringLiteral("ops@example.org")}};
    mail.subject = u"Отчёт"_qs;
    mail.body = u"См. вложение."_qs;
    mail.attachments = {{dir.filePath("report.pdf"), u"Отчёт.pdf"_qs}, {dir.filePath("notes.txt"), QStringLiteral("notes.txt")}};

    DesktopMailTransport sendmail(program);
    ASSERT_EQ(sendmail.deliver(mail), SUCCESS_SUCCESS);
    EXPECT_EQ(readBytes(dir.filePath("argv")), QByteArray("-t\0-i\0", 6));
    const MessagePart m = parseMessage(readBytes(dir.filePath("stdin")));
    EXPECT_EQ(m.headers.value("from"), "\"Me\" <me@example.org>");
    EXPECT_EQ(m.headers.value("to"), "anna@example.org");
    EXPECT_EQ(m.headers.value("bcc"), "ops@example.org") << "sendmail -t takes it and drops it";
    EXPECT_EQ(m.headers.value("subject"), u"Отчёт"_qs);
    ASSERT_EQ(m.parts.size(), 3);
    EXPECT_EQ(QString::fromUtf8(decodeQuotedPrintable(m.parts[0].body)), u"См. вложение."_qs);
    EXPECT_EQ(m.parts[1].headers.value("content-type"), "application/pdf");
    EXPECT_EQ(m.parts[1].headers.value("content-disposition"),
              "attachment; filename*=UTF-8''%D0%9E%D1%82%D1%87%D1%91%D1%82.pdf");
    EXPECT_EQ(QByteArray::fromBase64(QByteArray(m.parts[1].body).replace('\n', "")), readBytes(dir.filePath("report.pdf")));
    EXPECT_EQ(m.parts[2].headers.value("content-disposition"), "attachment; filename=\"notes.txt\"");

    const struct {
        const char *exit;
        std::uint32_t code;
    } codes[] = {{"67", MAPI_E_UNKNOWN_RECIPIENT}, {"68", MAPI_E_UNKNOWN_RECIPIENT}, {"77", MAPI_E_ACCESS_DENIED},
                 {"75", MAPI_E_FAILURE}, {"1", MAPI_E_FAILURE}};
    for (const auto &c : codes) {
        SCOPED_TRACE(c.exit);
        writeBytes(dir.filePath("code"), c.exit);
        EXPECT_EQ(sendmail.deliver(mail), c.code);
    }
    EXPECT_EQ(DesktopMailTransport(dir.filePath("no-such-sendmail")).deliver(mail), MAPI_E_FAILURE) << "no mail system";
}

TEST_F(OurMailLibrary, AFakeXdgEmailGetsTheMailAsOptionPairsAndCopiesOfTheFilesUnderTheirNames)
{
    TempDesktop desktop;
    const QString program = fakeProgram(dir, QStringLiteral("xdg-email"));
    writeBytes(dir.filePath("tmp123.htm"), "<p>page</p>");
    OutgoingMail mail;
    mail.to = {{QString(), QStringLiteral("--attach")}, {QString(), QStringLiteral("anna@example.org")}};
    mail.cc = {{QString(), QStringLiteral("bob@example.org")}};
    mail.bcc = {{QString(), QStringLiteral("ops@example.org")}};
    mail.subject = QStringLiteral("Page");
    mail.body = QStringLiteral("Look:\nhttp://example.org/");
    mail.attachments = {{dir.filePath("tmp123.htm"), QStringLiteral("../Page.htm")}};

    DesktopMailTransport client(QString(), program);
    ASSERT_EQ(client.compose(mail), SUCCESS_SUCCESS);
    QStringList argv = QString::fromUtf8(readBytes(dir.filePath("argv"))).split(u'\0');
    argv.removeLast();
    ASSERT_EQ(argv.size(), 15);
    const QString copy = argv.takeLast();
    EXPECT_EQ(argv, (QStringList{"--utf8", "--to", "--attach", "--to", "anna@example.org", "--cc", "bob@example.org", "--bcc",
                                 "ops@example.org", "--subject", "Page", "--body", "Look:\nhttp://example.org/", "--attach"}));
    EXPECT_TRUE(copy.startsWith(DesktopMailTransport::spoolFolder() + u'/')) << copy.toStdString();
    EXPECT_EQ(QFileInfo(copy).fileName(), "Page.htm") << "the shown name, as one file name";
    QFile::remove(dir.filePath("tmp123.htm"));
    EXPECT_EQ(readBytes(copy), "<p>page</p>") << "the client's copy outlives the sender's file";

    writeBytes(dir.filePath("code"), "2");
    EXPECT_EQ(client.compose(OutgoingMail{}), MAPI_E_ATTACHMENT_NOT_FOUND);
    writeBytes(dir.filePath("code"), "3");
    EXPECT_EQ(client.compose(OutgoingMail{}), MAPI_E_FAILURE) << "no mail client";
    EXPECT_EQ(DesktopMailTransport(QString(), dir.filePath("none")).compose(OutgoingMail{}), MAPI_E_FAILURE);
    EXPECT_EQ(readBytes(dir.filePath("argv")), QByteArray("--utf8\0", 7)) << "an empty mail: no empty option values";
}

TEST_F(OurMailLibrary, EveryRecipientIsOneAddressWhicheverWayTheMailGoes)
{
    const struct {
        const char *address;
        bool taken;
    } cases[] = {
        {"a@b',attachment='/etc/passwd", false},
        {"a@b'attachment='/etc/passwd", false},
        {"a@example.org\",to=\"b@example.org", false},
        {"a@example.org b@example.org", false},
        {"a@-example.org", false},
        {"a@example..org", false},
        {"a@example.org.", false},
        {"a@пример.рф", false},
        {"Anna", false},
        {"o'brien@example.org", true},
        {"first.last+tag@mail-1.example.org", true},
    };
    for (const std::uint32_t flags : {std::uint32_t(MAPI_LOGON_UI | MAPI_DIALOG), std::uint32_t(MAPI_LOGON_UI)}) {
        for (const auto &c : cases) {
            SCOPED_TRACE(std::string(c.address) + (flags & MAPI_DIALOG ? " composed" : " delivered"));
            const std::size_t before = transport->sent().size();
            for (const std::uint32_t recipClass : {MAPI_TO, MAPI_CC, MAPI_BCC}) {
                const std::vector<MapiRecipDesc> recips{person(MAPI_TO, "", "x@example.org"), person(recipClass, "", c.address)};
                DesktopSimpleMapi library;
                EXPECT_EQ(library.SendMail(0, 0, message(recips, {}), flags), c.taken ? SUCCESS_SUCCESS : MAPI_E_UNKNOWN_RECIPIENT);
            }
            EXPECT_EQ(transport->sent().size(), before + (c.taken ? 3 : 0));
        }
    }
}

TEST(MailCopies, ANameTooLongForAFileIsCutToWholeCharactersKeepingItsType)
{
    const struct {
        const char *what;
        QString name;
        QString extension;
    } cases[] = {
        {"Cyrillic with a type", QString(300, u'ж') + QStringLiteral(".pdf"), QStringLiteral(".pdf")},
        {"pictures of four bytes", QString(200, u'x').replace(u'x', u"😀"_qs) + QStringLiteral(".txt"), QStringLiteral(".txt")},
        {"no type", QString(300, u'a'), QString()},
        {"a type too long to be one", QStringLiteral("a.") + QString(300, u'b'), QString()},
        {"odd bytes before the type", QStringLiteral("a") + QString(200, u'ж') + QStringLiteral(".htm"), QStringLiteral(".htm")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QString cut = DesktopMailTransport::spoolName({QStringLiteral("/tmp/x"), c.name});
        const QByteArray bytes = cut.toUtf8();
        EXPECT_LE(bytes.size(), 255);
        EXPECT_GE(bytes.size(), 250) << "as much of the name as fits";
        EXPECT_EQ(QString::fromUtf8(bytes), cut);
        EXPECT_FALSE(cut.contains(QChar::ReplacementCharacter));
        EXPECT_FALSE(cut.back().isHighSurrogate());
        EXPECT_TRUE(cut.endsWith(c.extension));
        EXPECT_TRUE(c.name.startsWith(cut.left(cut.size() - c.extension.size()))) << "the name's own beginning";
    }
    const QString shortName = u"Отчёт за год.pdf"_qs;
    EXPECT_EQ(DesktopMailTransport::spoolName({QStringLiteral("/tmp/x"), shortName}), shortName);
}

TEST_F(OurMailLibrary, AFileWithANameTooLongForAFileReachesTheClientUnderItsCutName)
{
    TempDesktop desktop;
    const QString program = fakeProgram(dir, QStringLiteral("xdg-email"));
    writeBytes(dir.filePath("tmp1.pdf"), "%PDF");
    OutgoingMail mail;
    mail.attachments = {{dir.filePath("tmp1.pdf"), QString(300, u'ж') + QStringLiteral(".pdf")}};
    ASSERT_EQ(DesktopMailTransport(QString(), program).compose(mail), SUCCESS_SUCCESS);
    QStringList argv = QString::fromUtf8(readBytes(dir.filePath("argv"))).split(u'\0');
    argv.removeLast();
    ASSERT_EQ(argv.size(), 3);
    EXPECT_EQ(readBytes(argv[2]), "%PDF");
    EXPECT_TRUE(argv[2].endsWith(QStringLiteral(".pdf")));
}

TEST(MimeMessageText, ALongFileNameIsCutIntoNumberedPiecesOnLinesMailTakes)
{
    QTemporaryDir dir;
    writeBytes(dir.filePath("a.bin"), "a");
    const QString names[] = {
        QString(200, u'ж') + QStringLiteral(".pdf"),
        QStringLiteral("A \"quoted\" \\ name ") + QString(300, u'n') + QStringLiteral(".txt"),
        QString(30, u'x').replace(u'x', u"😀"_qs),
        u"Отчёт.pdf"_qs,
    };
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        OutgoingMail mail;
        mail.to = {{QString(), QStringLiteral("anna@example.org")}};
        mail.attachments = {{dir.filePath("a.bin"), name}};
        QByteArray bytes;
        ASSERT_EQ(BuildMimeMessage(mail, bytes), SUCCESS_SUCCESS);
        for (const QByteArray &line : bytes.split('\n'))
            EXPECT_LE(line.size(), 78) << line.toStdString();
        const MessagePart m = parseMessage(bytes);
        ASSERT_EQ(m.parts.size(), 2);
        // The pieces, in order, make the name again.
        const QStringList parameters = m.parts[1].headers.value("content-disposition").split(QStringLiteral("; "));
        ASSERT_EQ(parameters.first(), QStringLiteral("attachment"));
        QByteArray joined;
        bool encoded = false;
        for (qsizetype i = 1; i < parameters.size(); ++i) {
            const QString &p = parameters[i];
            const qsizetype eq = p.indexOf(u'=');
            const QString key = p.left(eq);
            QString value = p.mid(eq + 1);
            encoded = key.endsWith(u'*');
            if (parameters.size() > 2) {
                EXPECT_TRUE(key.startsWith(QStringLiteral("filename*%1").arg(i - 1))) << key.toStdString();
            }
            if (encoded && value.startsWith(QStringLiteral("UTF-8''")))
                value.remove(0, 7);
            if (!encoded) {
                value = value.mid(1, value.size() - 2);
                value.replace(QStringLiteral("\\\""), QStringLiteral("\"")).replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
            }
            joined += value.toLatin1();
        }
        EXPECT_EQ(encoded ? QString::fromUtf8(QByteArray::fromPercentEncoding(joined)) : QString::fromLatin1(joined), name);
    }
}

// The client's compose window may read its copies only when the user sends:
// those of a mail it took stay after xdg-email has returned; those of a
// mail it never took go at once.
TEST_F(OurMailLibrary, OnlyTheCopiesOfAMailTheClientTookOutliveTheCompose)
{
    TempDesktop desktop;
    const QString program = fakeProgram(dir, QStringLiteral("xdg-email"));
    writeBytes(dir.filePath("page.htm"), "<p>page</p>");
    const QString spool = DesktopMailTransport::spoolFolder();
    auto folders = [&] { return QDir(spool).entryList(QDir::Dirs | QDir::NoDotAndDotDot); };
    const struct {
        const char *what;
        const char *exit;
        QString program;
        bool secondFileThere;
        std::uint32_t code;
        bool kept;
    } cases[] = {
        {"taken", "0", program, true, SUCCESS_SUCCESS, true},
        {"an attachment the client could not find", "2", program, true, MAPI_E_ATTACHMENT_NOT_FOUND, false},
        {"no mail client", "3", program, true, MAPI_E_FAILURE, false},
        {"an attachment the client could not open", "5", program, true, MAPI_E_ATTACHMENT_OPEN_FAILURE, false},
        {"no xdg-email", "0", dir.filePath("none"), true, MAPI_E_FAILURE, false},
        {"the second file gone before it was copied", "0", program, false, MAPI_E_ATTACHMENT_NOT_FOUND, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(QDir(spool).removeRecursively());
        writeBytes(dir.filePath("code"), c.exit);
        OutgoingMail mail;
        mail.attachments = {{dir.filePath("page.htm"), QStringLiteral("Page.htm")},
                            {dir.filePath(c.secondFileThere ? "page.htm" : "gone.htm"), QStringLiteral("Copy.htm")}};
        EXPECT_EQ(DesktopMailTransport(QString(), c.program).compose(mail), c.code);
        const QStringList left = folders();
        if (!c.kept) {
            EXPECT_EQ(left, QStringList());
            continue;
        }
        ASSERT_EQ(left.size(), 1);
        QStringList argv = QString::fromUtf8(readBytes(dir.filePath("argv"))).split(u'\0');
        ASSERT_EQ(argv.size(), 6);
        for (const QString &copy : {argv[2], argv[4]}) {
            EXPECT_TRUE(copy.startsWith(QDir(spool).filePath(left[0]) + u'/')) << copy.toStdString();
            EXPECT_EQ(readBytes(copy), "<p>page</p>");
        }
    }
}

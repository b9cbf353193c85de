// The mail sender: what it hands the mail library (a spy of the test's, or
// ours over a capturing transport), the worker thread's report of a failure
// to the owner, the attachments' and the component's end.

#include "AppError.h"
#include "HostedBrowser.h"
#include "Registry.h"
#include "SendMail_For_Hb.h"
#include "SpyControl.h"
#include "TempDesktop.h"
#include "TestSupport.h"
#include "platform/MailFixtures.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSemaphore>
#include <QTest>

#include <mutex>
#include <thread>

using namespace vocab;
using namespace vocab::test;

namespace {

// A mail library that keeps every call and answers as told.
class SpyMapi : public ISimpleMapi {
public:
    struct Recip {
        std::uint32_t cls = 0;
        QByteArray name;
        QByteArray address;
        QByteArray entryId;
    };
    struct Sent {
        LHANDLE session = 0;
        std::uintptr_t uiParam = 0;
        std::uint32_t flags = 0;
        QByteArray subject;
        QByteArray body;
        std::optional<Recip> originator;
        std::optional<std::vector<Recip>> recips; // none: no array
        std::optional<std::vector<std::pair<QByteArray, QByteArray>>> files; // path and name
        std::vector<std::uint32_t> positions;
    };

    std::uint32_t Logon(std::uintptr_t, const QByteArray &profile, const QByteArray &, std::uint32_t flags, LHANDLE &session) override
    {
        const std::lock_guard lock(mutex);
        logons.push_back({profile, flags});
        if (logonAnswer == SUCCESS_SUCCESS)
            session = 77;
        return logonAnswer;
    }
    std::uint32_t Logoff(LHANDLE session, std::uintptr_t, std::uint32_t) override
    {
        const std::lock_guard lock(mutex);
        logoffs.push_back(session);
        return SUCCESS_SUCCESS;
    }
    std::uint32_t SendMail(LHANDLE session, std::uintptr_t uiParam, const MapiMessage &m, std::uint32_t flags) override
    {
        Sent s{session, uiParam, flags, m.lpszSubject, m.lpszNoteText, {}, {}, {}, {}};
        auto recip = [](const MapiRecipDesc &r) { return Recip{r.ulRecipClass, r.lpszName, r.lpszAddress, r.lpEntryID}; };
        if (m.lpOriginator)
            s.originator = recip(*m.lpOriginator);
        if (m.lpRecips) {
            s.recips.emplace();
            for (std::uint32_t i = 0; i < m.nRecipCount; ++i)
                s.recips->push_back(recip(m.lpRecips[i]));
        }
        if (m.lpFiles) {
            s.files.emplace();
            for (std::uint32_t i = 0; i < m.nFileCount; ++i) {
                s.files->push_back({m.lpFiles[i].lpszPathName, m.lpFiles[i].lpszFileName});
                s.positions.push_back(m.lpFiles[i].nPosition);
            }
        }
        {
            const std::lock_guard lock(mutex);
            sent.push_back(s);
        }
        if (whileSending)
            whileSending();
        return sendAnswer;
    }
    std::uint32_t ResolveName(LHANDLE, std::uintptr_t, const QByteArray &text, std::uint32_t flags, MapiRecipDesc *&out) override
    {
        resolves.push_back({text, flags});
        return resolver ? resolver(text, flags, out) : MAPI_E_UNKNOWN_RECIPIENT;
    }
    std::uint32_t FreeBuffer(MapiRecipDesc *pv) override
    {
        ++freed;
        delete pv;
        return SUCCESS_SUCCESS;
    }

    std::mutex mutex;
    std::vector<Sent> sent;
    std::vector<std::pair<QByteArray, std::uint32_t>> logons;
    std::vector<LHANDLE> logoffs;
    std::vector<std::pair<QByteArray, std::uint32_t>> resolves;
    int freed = 0;
    std::uint32_t logonAnswer = SUCCESS_SUCCESS;
    std::uint32_t sendAnswer = SUCCESS_SUCCESS;
    std::function<std::uint32_t(const QByteArray &, std::uint32_t, MapiRecipDesc *&)> resolver;
    std::function<void()> whileSending;
};

// A window that counts the failure messages it is sent.
class OwnerWindow : public QWidget {
public:
    bool event(QEvent *e) override
    {
        if (e->type() == SendMailFailedEvent::eventType()) {
            const auto *failed = static_cast<SendMailFailedEvent *>(e);
            EXPECT_EQ(failed->Msg(), 0x500u);
            EXPECT_EQ(failed->WParam(), 0u);
            EXPECT_EQ(failed->LParam(), 0);
            ++failures;
            return true;
        }
        return QWidget::event(e);
    }
    int failures = 0;
};

// Counts failure messages to anyone, the gone included.
class FailureWatch : public QObject {
public:
    FailureWatch() { QCoreApplication::instance()->installEventFilter(this); }
    ~FailureWatch() override { QCoreApplication::instance()->removeEventFilter(this); }
    bool eventFilter(QObject *, QEvent *e) override
    {
        count += e->type() == SendMailFailedEvent::eventType();
        return false;
    }
    int count = 0;
};

void writeProfile(const char16_t *key)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(QString::fromUtf16(key), true));
    reg.WriteString("DefaultProfile", "Outlook");
}

constexpr const char16_t profilesKey[] = u"Software\\Microsoft\\Windows Messaging Subsystem\\Profiles";
constexpr const char16_t ntProfilesKey[] = u"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles";

class MailSender : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = setSimpleMapiLoader([spy = spy] { return std::static_pointer_cast<ISimpleMapi>(spy); });
    }
    void TearDown() override { setSimpleMapiLoader(previous); }

    QString tempFile(const QString &name, const QByteArray &bytes = "data")
    {
        const QString path = desktop.path(name);
        writeBytes(path, bytes);
        return path;
    }

    // Sends and waits until the component is gone; the thread it went on.
    QThread *sendAndWait(THbMapiMail *mail)
    {
        const QPointer<THbMapiMail> alive(mail);
        QThread *freedOn = nullptr;
        QObject::connect(mail, &QObject::destroyed, mail, [&freedOn] { freedOn = QThread::currentThread(); }, Qt::DirectConnection);
        EXPECT_TRUE(mail->Send());
        EXPECT_EQ(mail->parent(), nullptr) << "the worker's from now on";
        EXPECT_FALSE(mail->Send()) << "sent once only";
        EXPECT_TRUE(QTest::qWaitFor([&] { return alive.isNull(); }, 10000));
        QTest::qWait(50); // what the worker posted arrives
        return freedOn;
    }

    TempDesktop desktop;
    std::shared_ptr<SpyMapi> spy = std::make_shared<SpyMapi>();
    SimpleMapiLoader previous;
};

int sendLines(const QStringList &recipients, bool resolve = false)
{
    return SendMail({}, {}, {}, {}, recipients, {}, {}, true, resolve, false, 0);
}

} // namespace

TEST_F(MailSender, RecipientPrefixesGiveTheClassAndAreTakenOff)
{
    ASSERT_EQ(sendLines({"cc:anna", "Bcc:ops", "CCanna", "BCC:", " cc:x", "to@x.org", u"сс:кириллица"_qs}), 0);
    ASSERT_EQ(spy->sent.size(), 1u);
    ASSERT_TRUE(spy->sent[0].recips);
    const std::vector<SpyMapi::Recip> &r = *spy->sent[0].recips;
    const std::vector<std::pair<std::uint32_t, QByteArray>> expected{
        {MAPI_CC, "anna"}, {MAPI_BCC, "ops"}, {MAPI_TO, "CCanna"}, {MAPI_BCC, ""}, {MAPI_TO, " cc:x"}, {MAPI_TO, "to@x.org"},
        {MAPI_TO, u"сс:кириллица"_qs.toUtf8()}};
    ASSERT_EQ(r.size(), expected.size());
    for (std::size_t i = 0; i < r.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(r[i].cls, expected[i].first);
        EXPECT_EQ(r[i].name, expected[i].second);
        EXPECT_EQ(r[i].address, expected[i].second);
    }
}

TEST_F(MailSender, ALogonOnlyWithADefaultProfileAndTheSendFlagsFollowTheOptions)
{
    const struct {
        const char16_t *profileKey;
        bool editDialog;
        bool receipt;
        std::uint32_t flags;
    } cases[] = {
        {nullptr, true, false, 1 | 3 | 8},
        {nullptr, false, false, 1 | 3},
        {nullptr, false, true, 1 | 3},
        {profilesKey, true, false, 1 | 8},
        {profilesKey, false, true, 1 | 2},
        {ntProfilesKey, false, false, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.flags);
        TRegistry().DeleteKey("\\Software\\Microsoft");
        if (c.profileKey)
            writeProfile(c.profileKey);
        spy->sent.clear();
        spy->logons.clear();
        spy->logoffs.clear();
        EXPECT_EQ(SendMail({}, {}, "s", "b", {"a@x.org"}, {}, {}, c.editDialog, false, c.receipt, 0), 0);
        ASSERT_EQ(spy->sent.size(), 1u);
        EXPECT_EQ(spy->sent[0].flags, c.flags);
        EXPECT_EQ(spy->sent[0].session, 0u) << "the logon's session is not the send's";
        EXPECT_EQ(spy->sent[0].uiParam, reinterpret_cast<std::uintptr_t>(QCoreApplication::instance()));
        if (c.profileKey) {
            ASSERT_EQ(spy->logons.size(), 1u);
            EXPECT_EQ(spy->logons[0], (std::pair<QByteArray, std::uint32_t>{"Outlook", MAPI_NEW_SESSION}));
            EXPECT_EQ(spy->logoffs, std::vector<LHANDLE>{77});
        } else {
            EXPECT_TRUE(spy->logons.empty());
            EXPECT_TRUE(spy->logoffs.empty());
        }
    }
}

TEST_F(MailSender, TheSenderAndTheFilesAreDescribedAsGiven)
{
    const struct {
        const char *name;
        const char *address;
        bool hasSender;
        const char *shownName;
    } senders[] = {{"Me", "", false, nullptr}, {"", "me@x.org", true, "me@x.org"}, {"Me", "me@x.org", true, "Me"}};
    for (const auto &s : senders) {
        SCOPED_TRACE(s.address);
        spy->sent.clear();
        SendMail(s.name, s.address, {}, {}, {}, {}, {}, true, false, false, 0);
        ASSERT_EQ(spy->sent.size(), 1u);
        ASSERT_EQ(spy->sent[0].originator.has_value(), s.hasSender);
        EXPECT_FALSE(spy->sent[0].recips) << "no recipients: no array";
        EXPECT_FALSE(spy->sent[0].files);
        if (s.hasSender) {
            EXPECT_EQ(spy->sent[0].originator->cls, MAPI_ORIG);
            EXPECT_EQ(spy->sent[0].originator->name, s.shownName);
            EXPECT_EQ(spy->sent[0].originator->address, s.address);
        }
    }
    spy->sent.clear();
    SendMail({}, {}, {}, {}, {}, {"/tmp/a/one.htm", "/tmp/b/two.pdf", "/tmp/c/три.txt"}, {"Page.htm"}, true, false, false, 0);
    ASSERT_TRUE(spy->sent.at(0).files);
    EXPECT_EQ(*spy->sent[0].files, (std::vector<std::pair<QByteArray, QByteArray>>{
                                       {"/tmp/a/one.htm", "Page.htm"}, {"/tmp/b/two.pdf", "two.pdf"},
                                       {u"/tmp/c/три.txt"_qs.toUtf8(), u"три.txt"_qs.toUtf8()}}));
    EXPECT_EQ(spy->sent[0].positions, (std::vector<std::uint32_t>(3, 0xFFFFFFFF)));
}

TEST_F(MailSender, ResolvedRecipientsGetTheirAddressAndEntryAndUnresolvedOnesKeepTheirText)
{
    spy->resolver = [](const QByteArray &text, std::uint32_t flags, MapiRecipDesc *&out) -> std::uint32_t {
        if (text == "anna" && flags == 0)
            return MAPI_E_AMBIGUOUS_RECIPIENT;
        if (text != "anna" && text != "bob")
            return MAPI_E_UNKNOWN_RECIPIENT;
        out = new MapiRecipDesc;
        out->lpszName = text == "anna" ? "Anna Petrova" : "Bob";
        out->lpszAddress = text == "anna" ? "" : "SMTP:bob@x.org";
        out->lpEntryID = "EID-" + text;
        out->ulEIDSize = 4 + static_cast<std::uint32_t>(text.size());
        return SUCCESS_SUCCESS;
    };
    ASSERT_EQ(sendLines({"anna", "cc:bob", "nobody"}, true), 0);
    EXPECT_EQ(spy->resolves, (std::vector<std::pair<QByteArray, std::uint32_t>>{
                                 {"anna", 0}, {"anna", MAPI_DIALOG}, {"bob", 0}, {"nobody", 0}, {"nobody", MAPI_DIALOG}}));
    EXPECT_EQ(spy->freed, 2);
    const std::vector<SpyMapi::Recip> &r = *spy->sent.at(0).recips;
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].cls, MAPI_TO);
    EXPECT_EQ(r[0].name, "") << "a resolved recipient has no name of its own";
    EXPECT_EQ(r[0].address, "Anna Petrova") << "no resolved address: the resolved name";
    EXPECT_EQ(r[0].entryId, "EID-anna");
    EXPECT_EQ(r[1].cls, MAPI_CC);
    EXPECT_EQ(r[1].address, "SMTP:bob@x.org");
    EXPECT_EQ(r[2].name, "nobody") << "not lost for want of an address book";
    EXPECT_EQ(r[2].address, "nobody");
}

TEST_F(MailSender, AFailedLogonThrowsItsTextAndSendsNothing)
{
    writeProfile(profilesKey);
    spy->logonAnswer = MAPI_E_LOGIN_FAILURE;
    try {
        sendLines({"a@x.org"});
        ADD_FAILURE() << "no error";
    } catch (const AppError &e) {
        EXPECT_EQ(e.message(), "MAPI Error 3: Logon failure");
    }
    EXPECT_TRUE(spy->sent.empty());
}

TEST_F(MailSender, WithoutAMailLibraryTheSendAnswersUserAbortAndALogonFailsWithIt)
{
    setSimpleMapiLoader([] { return std::shared_ptr<ISimpleMapi>(); });
    EXPECT_EQ(sendLines({"a@x.org"}), 1);
    writeProfile(profilesKey);
    try {
        sendLines({"a@x.org"});
        ADD_FAILURE() << "no error";
    } catch (const AppError &e) {
        EXPECT_EQ(e.message(), "MAPI Error 1: User cancelled request");
    }
}

TEST(MapiErrorTexts, EveryCodeHasItsTextAndTheOthersTheirNumber)
{
    const std::pair<int, const char *> cases[] = {
        {1, "User cancelled request"},    {2, "General MAPI failure"},     {3, "Logon failure"},
        {4, "Disk full"},                 {5, "Insufficient memory"},      {6, "Access denied"},
        {8, "Too many sessions"},         {9, "Too many files open"},      {10, "Too many recipients"},
        {11, "Attachment not found"},     {12, "Failed to open attachment"}, {13, "Failed to write attachment"},
        {14, "Unknown recipient"},        {15, "Invalid recipient type"},  {16, "No messages"},
        {17, "Invalid message"},          {18, "Text too large."},         {19, "Invalid session"},
        {20, "Type not supported"},       {21, "Ambiguous recipient"},     {22, "Message in use"},
        {23, "Network failure"},          {24, "Invalid edit fields"},     {25, "Invalid recipients"},
        {26, "Not supported"},            {0, "Unknown Error Code: 0"},    {7, "Unknown Error Code: 7"},
        {27, "Unknown Error Code: 27"},   {-1, "Unknown Error Code: -1"},
    };
    for (const auto &[code, text] : cases)
        EXPECT_EQ(MapiErrorText(code), text) << code;
}

TEST_F(MailSender, AGeneralFailureReachesAWindowOwnerOnceAndNothingElse)
{
    const struct {
        std::uint32_t answer;
        int failures;
    } cases[] = {{MAPI_E_FAILURE, 1}, {MAPI_USER_ABORT, 0}, {SUCCESS_SUCCESS, 0}, {MAPI_E_ATTACHMENT_NOT_FOUND, 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.answer);
        spy->sendAnswer = c.answer;
        OwnerWindow owner;
        auto *mail = new THbMapiMail(&owner);
        const QString attachment = tempFile("page.htm");
        mail->Attachments().append(attachment);
        QThread *freedOn = sendAndWait(mail);
        EXPECT_EQ(owner.failures, c.failures);
        EXPECT_EQ(freedOn, QThread::currentThread()) << "freed where it lives, not on the worker";
        EXPECT_FALSE(QFileInfo::exists(attachment)) << "the sender's file goes whatever the outcome";
    }

    spy->sendAnswer = MAPI_E_FAILURE;
    FailureWatch watch;
    QObject plainOwner;
    sendAndWait(new THbMapiMail(&plainOwner));
    sendAndWait(new THbMapiMail(nullptr));
    EXPECT_EQ(watch.count, 0) << "an owner that is no window, or none, hears nothing";
}

TEST_F(MailSender, AnOwnerGoneBeforeTheSendEndsGetsNothing)
{
    QSemaphore sending;
    QSemaphore proceed;
    spy->sendAnswer = MAPI_E_FAILURE;
    spy->whileSending = [&] {
        sending.release();
        proceed.acquire();
    };
    FailureWatch watch;
    auto *owner = new OwnerWindow;
    auto *mail = new THbMapiMail(owner);
    const QPointer<THbMapiMail> alive(mail);
    ASSERT_TRUE(mail->Send());
    ASSERT_TRUE(sending.tryAcquire(1, 10000));
    delete owner;
    EXPECT_FALSE(alive.isNull()) << "the owner no longer frees a mail on its way";
    proceed.release();
    EXPECT_TRUE(QTest::qWaitFor([&] { return alive.isNull(); }, 10000));
    QTest::qWait(50);
    EXPECT_EQ(watch.count, 0);
}

TEST_F(MailSender, AFailedLogonOnTheWorkerEndsItWithTheErrorDeletesTheFilesAndFreesTheMail)
{
    writeProfile(profilesKey);
    spy->logonAnswer = MAPI_E_LOGIN_FAILURE;
    FailureWatch watch;
    OwnerWindow owner;
    auto *mail = new THbMapiMail(&owner);
    const QPointer<THbMapiMail> alive(mail);
    const QString attachment = tempFile("page.htm");
    mail->Attachments().append(attachment);
    TSendMailThread thread(mail);
    thread.start();
    ASSERT_TRUE(thread.wait(10000));
    EXPECT_EQ(thread.FatalException(), "MAPI Error 3: Logon failure");
    EXPECT_EQ(thread.HbMapiMail, nullptr);
    EXPECT_FALSE(QFileInfo::exists(attachment));
    EXPECT_TRUE(QTest::qWaitFor([&] { return alive.isNull(); }, 10000));
    EXPECT_TRUE(spy->sent.empty());
    EXPECT_EQ(watch.count, 0);
}

TEST_F(MailSender, OurLibraryHandsTheMailToTheTransportWhileTheAttachmentIsThere)
{
    setSimpleMapiLoader({});
    const auto transport = std::make_shared<CapturingTransport>();
    TransportScope scope(transport);
    transport->answer = MAPI_E_FAILURE; // e.g. no mail client
    OwnerWindow owner;
    const QString page = tempFile("tmp-page.htm", "<html>page</html>");
    ASSERT_TRUE(MailFileAsAttachment(&owner, page, u"Страница"_qs, "See it."));
    EXPECT_TRUE(QTest::qWaitFor([&] { return owner.failures == 1; }, 10000));
    const auto sent = transport->sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(sent[0].composed) << "in the compose window";
    EXPECT_EQ(sent[0].mail.subject, u"Страница"_qs);
    EXPECT_EQ(sent[0].mail.body, "See it.");
    ASSERT_EQ(sent[0].mail.attachments.size(), 1);
    EXPECT_EQ(sent[0].mail.attachments[0].name, "tmp-page.htm");
    EXPECT_EQ(sent[0].contents.at(0), "<html>page</html>");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !QFileInfo::exists(page); }, 10000));
}

TEST_F(MailSender, TheComponentMailsThePagesAddressUnderItsTitle)
{
    setSimpleMapiLoader({});
    const auto transport = std::make_shared<CapturingTransport>();
    TransportScope scope(transport);
    SpyControl *control = nullptr;
    auto browser = makeWithSpy<THostedBrowser>(control);
    control->locationUrl = "http://example.org/page?a=1&b=2";
    control->locationName = u"Заголовок"_qs;
    browser->SendURLInMail();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !transport->sent().empty(); }, 10000));
    const auto sent = transport->sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(sent[0].composed);
    EXPECT_EQ(sent[0].mail.subject, u"Заголовок"_qs);
    EXPECT_EQ(sent[0].mail.body, "http://example.org/page?a=1&b=2");
    EXPECT_TRUE(sent[0].mail.to.isEmpty());
    EXPECT_FALSE(sent[0].mail.from);
}

namespace {

// An xdg-email of the test's own, first on PATH for the span of the object,
// that keeps the last file it is given in "attached" beside itself. It
// returns at once, as xdg-email does once the desktop's mail client has
// opened its compose window; that window reads the file only when the user
// sends.
class ComposeWindowOnPath {
public:
    ComposeWindowOnPath() : m_path(qgetenv("PATH"))
    {
        const QString program = m_dir.filePath(QStringLiteral("xdg-email"));
        writeBytes(program, "#!/bin/sh\nd=$(dirname \"$0\")\nfor a; do f=\"$a\"; done\nprintf '%s' \"$f\" > \"$d/attached\"\nexit 0\n");
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(m_dir.path()) + ':' + m_path);
    }
    ~ComposeWindowOnPath() { qputenv("PATH", m_path); }
    ComposeWindowOnPath(const ComposeWindowOnPath &) = delete;
    ComposeWindowOnPath &operator=(const ComposeWindowOnPath &) = delete;

    // The copy the compose window was handed; empty before.
    QString attached() const { return QString::fromUtf8(readBytes(m_dir.filePath(QStringLiteral("attached")))); }

private:
    QTemporaryDir m_dir;
    QByteArray m_path;
};

QStringList spoolEntries()
{
    return QDir(DesktopMailTransport::spoolFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

} // namespace

// A page mailed from the browser reaches the desktop's mail client as a
// copy that the compose window still finds when the user sends, after the
// program has ended; the program's next start sweeps it, with whatever
// else the runs before left.
TEST(MailCopiesSweep, ACopyHandedToAComposeWindowOutlivesTheModuleAndGoesAtTheNextStart)
{
    TempDesktop desktop;
    // Our own mail library, on the desktop's transport.
    const SimpleMapiLoader previous = setSimpleMapiLoader({});
    const auto restoreLoader = qScopeGuard([&] { setSimpleMapiLoader(previous); });
    ComposeWindowOnPath client;
    const QString spool = DesktopMailTransport::spoolFolder();
    const QString left = QDir(spool).filePath(QStringLiteral("left/0/page.htm"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(left).path()));
    writeBytes(left, "<p>left</p>");
    const QString page = desktop.path(QStringLiteral("tmp-page.htm"));
    writeBytes(page, "<html>page</html>");
    QString copy;
    {
        HostedBrowserModuleScope module;
        EXPECT_FALSE(QFileInfo::exists(QFileInfo(left).path())) << "left by a run before";
        OwnerWindow owner;
        ASSERT_TRUE(MailFileAsAttachment(&owner, page, u"Страница"_qs, "See it."));
        // The sender deletes its own file once the client has the mail.
        ASSERT_TRUE(QTest::qWaitFor([&] { return !QFileInfo::exists(page); }, 20000));
        QTest::qWait(50); // what the worker posted arrives
        EXPECT_EQ(owner.failures, 0);
        copy = client.attached();
        ASSERT_TRUE(copy.startsWith(spool + u'/')) << copy.toStdString();
        EXPECT_EQ(QFileInfo(copy).fileName(), "tmp-page.htm");
    }
    EXPECT_EQ(readBytes(copy), "<html>page</html>") << "the compose window reads it when the user sends";
    {
        HostedBrowserModuleScope nextStart;
        EXPECT_EQ(spoolEntries(), QStringList()) << "swept at the next start";
    }
}

// A compose whose client is still running keeps its copies through a sweep
// meanwhile (a compose a day later sweeps the copies of the day before).
TEST(MailCopiesSweep, ACopyStaysWhileItsComposeRuns)
{
    TempDesktop desktop;
    QTemporaryDir dir;
    const QString spool = DesktopMailTransport::spoolFolder();
    // A mail client that keeps its compose window until it is told to go.
    const QString program = dir.filePath(QStringLiteral("xdg-email"));
    writeBytes(program, "#!/bin/sh\nd=$(dirname \"$0\")\nfor a; do f=\"$a\"; done\n: > \"$d/started\"\n"
                        "while [ ! -f \"$d/go\" ]; do sleep 0.05; done\n[ -f \"$f\" ] && : > \"$d/read\"\nexit 0\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    writeBytes(dir.filePath(QStringLiteral("tmp.htm")), "<p>page</p>");
    OutgoingMail mail;
    mail.attachments = {{dir.filePath(QStringLiteral("tmp.htm")), QStringLiteral("Page.htm")}};
    {
        HostedBrowserModuleScope module;
        std::uint32_t composed = 0xFFFF;
        std::thread compose([&] { composed = DesktopMailTransport(QString(), program).compose(mail); });
        const bool started = QTest::qWaitFor([&] { return QFileInfo::exists(dir.filePath(QStringLiteral("started"))); }, 20000);
        DesktopMailTransport::removeCopies(); // a sweep meanwhile
        writeBytes(dir.filePath(QStringLiteral("go")), "");
        compose.join();
        ASSERT_TRUE(started);
        EXPECT_EQ(composed, SUCCESS_SUCCESS);
        EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("read")))) << "an open compose keeps its copy";
        EXPECT_EQ(spoolEntries().size(), 1);
    }
    EXPECT_EQ(spoolEntries().size(), 1) << "the client took it: it stays past the module's end";
}

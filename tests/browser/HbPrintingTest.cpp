// The printing routines and THostedBrowser's print methods against a control
// of the tests' own: which commands go to the control or the document, with
// which execute option and header and footer; the page-setup pre-fill flag;
// errors; the wait for the preview window; and starting a default program.

#include "DesktopDefaults.h"
#include "HbDialogRules.h"
#include "HbToolsPrinting.h"
#include "HostedBrowser.h"
#include "OleError.h"
#include "Registry.h"
#include "SpyControl.h"
#include "StartProgram.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <ctime>

using namespace vocab;
using namespace vocab::test;

namespace {

struct Command {
    std::uint32_t id;
    std::uint32_t option;
    QVariant in;
};

// Where the commands went, in order: "control" or "document", and the id.
using Trail = std::vector<std::pair<QString, std::uint32_t>>;

class PrintTarget : public IOleCommandTarget {
public:
    HRESULT QueryStatus(const QUuid *, std::span<OLECMD>, OLECMDTEXT *) override { return S_OK; }
    HRESULT Exec(const QUuid *group, std::uint32_t id, std::uint32_t option, const QVariant &in, QVariant *) override
    {
        EXPECT_TRUE(!group || group->isNull()) << "the standard group";
        calls.push_back({id, option, in});
        trail->push_back({QStringLiteral("document"), id});
        return answer;
    }
    std::vector<Command> calls;
    Trail *trail = nullptr;
    HRESULT answer = S_OK;
};

class PrintDocument : public SpyDocument {
public:
    IOleCommandTarget *commandTarget() override { return &target; }
    PrintTarget target;
};

class PrintControl : public SpyControl {
public:
    using SpyControl::SpyControl;
    HRESULT ExecWB(std::uint32_t id, std::uint32_t option, const QVariant &in, QVariant *) override
    {
        calls.push_back({id, option, in});
        trail->push_back({QStringLiteral("control"), id});
        if (onExec)
            onExec(id);
        return answer;
    }
    std::vector<Command> calls;
    Trail *trail = nullptr;
    HRESULT answer = S_OK;
    std::function<void(std::uint32_t)> onExec;
};

class Printing : public ::testing::Test {
protected:
    void SetUp() override
    {
        Emb = std::make_unique<THostedBrowser>(nullptr, [this](QWidget *container, IOleClientSite *site, DWebBrowserEvents2 *) {
            auto control = std::make_unique<PrintControl>(container, site);
            spy = control.get();
            spy->trail = &trail;
            return control;
        });
        loadDocument();
        hostedBrowserModule().PageSetupPrefillPending = false;
    }
    void TearDown() override { hostedBrowserModule().PageSetupPrefillPending = false; }

    void loadDocument()
    {
        spy->loadDocument();
        auto doc = std::make_unique<PrintDocument>();
        doc->target.trail = &trail;
        document = doc.get();
        spy->document = std::move(doc);
    }

    Trail trail;
    PrintControl *spy = nullptr;
    PrintDocument *document = nullptr;
    std::unique_ptr<THostedBrowser> Emb;
};

const QVariant NoHeaderFooter;

} // namespace

TEST_F(Printing, PrintSendsThePrintOptionsHeaderAndFooterOnlyWhileTheyAreNotEnabled)
{
    struct Case {
        bool enabled;
        bool hideSetup;
        const char *header;
        const char *footer;
        std::uint32_t option;
        QVariant in;
    };
    const Case cases[] = {
        {false, false, "", "", OLECMDEXECOPT_PROMPTUSER, QVariantList{QString(), QString()}},
        {false, true, "&w", "&u&b&d", OLECMDEXECOPT_DONTPROMPTUSER, QVariantList{u"&w"_qs, u"&u&b&d"_qs}},
        {true, false, "&w", "&u", OLECMDEXECOPT_PROMPTUSER, NoHeaderFooter},
        {true, true, "&w", "&u", OLECMDEXECOPT_DONTPROMPTUSER, NoHeaderFooter},
    };
    for (const Case &c : cases) {
        spy->calls.clear();
        TPrintOptions &options = Emb->PrintOptions();
        options.Enabled = c.enabled;
        options.HideSetup = c.hideSetup;
        options.Header = QString::fromUtf8(c.header);
        options.Footer = QString::fromUtf8(c.footer);
        Emb->Print();
        ASSERT_EQ(spy->calls.size(), 1u) << c.enabled << c.hideSetup;
        EXPECT_EQ(spy->calls[0].id, OLECMDID_PRINT);
        EXPECT_EQ(spy->calls[0].option, c.option) << c.enabled << c.hideSetup;
        EXPECT_EQ(spy->calls[0].in, c.in) << c.enabled << c.hideSetup;
    }
}

TEST_F(Printing, ThePreviewNeverPromptsAndThePageSetupThroughTheControlFollowsHideSetup)
{
    for (bool hide : {false, true}) {
        spy->calls.clear();
        Emb->PrintOptions().HideSetup = hide;
        Emb->PrintPreview();
        Emb->PrintSetup();
        ASSERT_EQ(spy->calls.size(), 2u);
        EXPECT_EQ(spy->calls[0].id, OLECMDID_PRINTPREVIEW);
        EXPECT_EQ(spy->calls[0].option, OLECMDEXECOPT_DONTPROMPTUSER);
        EXPECT_EQ(spy->calls[1].id, OLECMDID_PAGESETUP);
        EXPECT_EQ(spy->calls[1].option, hide ? OLECMDEXECOPT_DONTPROMPTUSER : OLECMDEXECOPT_PROMPTUSER);
    }
    EXPECT_FALSE(hostedBrowserModule().PageSetupPrefillPending) << "the control's page setup is never pre-filled";
}

TEST_F(Printing, NothingIsPrintedWithoutADocument)
{
    spy->document.reset();
    Emb->PrintOptions().Enabled = true;
    Emb->Print();
    Emb->PrintOptions().Enabled = false;
    Emb->Print();
    Emb->PrintSetup();
    Emb->PrintPreview();
    Emb->PrintPreviewExtended(SW_SHOWMAXIMIZED);
    Emb->PrintWithOptions();
    Emb->PrintPreviewFromTemplate(u"t.htm"_qs);
    EXPECT_FALSE(Emb->PageSetup(true));
    EXPECT_TRUE(trail.empty());
    EXPECT_FALSE(hostedBrowserModule().PageSetupPrefillPending);
}

TEST_F(Printing, ARefusedCommandIsAnErrorUnlessItCarriedAHeaderAndFooterOrTheUserCancelled)
{
    TPrintOptions &options = Emb->PrintOptions();
    spy->answer = E_FAIL;
    options.Enabled = true;
    try {
        Emb->Print();
        ADD_FAILURE() << "a refused print is reported";
    } catch (const EOleException &e) {
        EXPECT_EQ(e.ErrorCode(), E_FAIL);
    }
    EXPECT_THROW(Emb->PrintSetup(), EOleException);
    EXPECT_THROW(Emb->PrintPreview(), EOleException);
    EXPECT_THROW(Emb->PrintPreviewExtended(SW_SHOW), EOleException);
    options.Enabled = false;
    EXPECT_NO_THROW(Emb->Print()) << "with header and footer the refusal goes unreported";

    spy->answer = OLECMDERR_E_CANCELED;
    options.Enabled = true;
    EXPECT_NO_THROW(Emb->Print());
    EXPECT_NO_THROW(Emb->PrintSetup());
}

TEST_F(Printing, PageSetupRaisesThePreFillOnlyForEnabledPrintOptionsAndAnswersWhetherTheDocumentDidIt)
{
    struct Case {
        bool use;
        bool enabled;
        HRESULT answer;
        bool pending;
        bool result;
    };
    const Case cases[] = {
        {true, true, S_OK, true, true},
        {true, false, S_OK, false, true},
        {false, true, S_OK, false, true},
        {true, true, OLECMDERR_E_CANCELED, true, false}, // left raised for the next page-setup dialog
        {false, false, OLECMDERR_E_NOTSUPPORTED, false, false},
    };
    HostedBrowserModuleState &state = hostedBrowserModule();
    for (const Case &c : cases) {
        state.PageSetupPrefillPending = false;
        document->target.calls.clear();
        document->target.answer = c.answer;
        Emb->PrintOptions().Enabled = c.enabled;
        EXPECT_EQ(Emb->PageSetup(c.use), c.result) << c.use << c.enabled;
        EXPECT_EQ(state.PageSetupPrefillPending, c.pending) << c.use << c.enabled;
        ASSERT_EQ(document->target.calls.size(), 1u);
        EXPECT_EQ(document->target.calls[0].id, OLECMDID_PAGESETUP);
        EXPECT_EQ(document->target.calls[0].option, OLECMDEXECOPT_DODEFAULT);
    }
    state.PageSetupPrefillPending = true;
    Emb->PageSetup(false);
    EXPECT_TRUE(state.PageSetupPrefillPending) << "never lowered here";
    EXPECT_TRUE(spy->calls.empty());
}

TEST_F(Printing, PrintWithOptionsSetsUpThePageThenPrintsWithoutHeaderAndFooter)
{
    TPrintOptions &options = Emb->PrintOptions();
    options.Enabled = true;
    options.HideSetup = true;
    options.Header = u"&w"_qs;
    document->target.answer = OLECMDERR_E_CANCELED; // the page setup's answer changes nothing
    Emb->PrintWithOptions();
    const Trail expected{{u"document"_qs, OLECMDID_PAGESETUP}, {u"control"_qs, OLECMDID_PRINT}};
    EXPECT_EQ(trail, expected);
    EXPECT_TRUE(hostedBrowserModule().PageSetupPrefillPending);
    EXPECT_EQ(spy->calls[0].option, OLECMDEXECOPT_DONTPROMPTUSER);
    EXPECT_EQ(spy->calls[0].in, NoHeaderFooter);
}

TEST_F(Printing, APreviewFromATemplateIsAskedOfTheDocumentAndItsAnswerIgnored)
{
    document->target.answer = OLECMDERR_E_NOTSUPPORTED;
    Emb->PrintPreviewFromTemplate(u"/tmp/template.htm"_qs);
    ASSERT_EQ(document->target.calls.size(), 1u);
    EXPECT_EQ(document->target.calls[0].id, OLECMDID_PRINTPREVIEW);
    EXPECT_EQ(document->target.calls[0].option, OLECMDEXECOPT_PROMPTUSER);
    EXPECT_EQ(document->target.calls[0].in, QVariant(u"/tmp/template.htm"_qs));
    EXPECT_TRUE(spy->calls.empty());
}

TEST_F(Printing, TheExtendedPreviewShowsThePreviewWindowAsAskedOnceItIsTheActiveOne)
{
    QDialog preview;
    setWindowClassName(&preview, WindowClass::EngineDialog);
    // The window comes up a little after the command has returned.
    spy->onExec = [&](std::uint32_t) {
        QTimer::singleShot(100, &preview, [&] {
            preview.show();
            QApplication::setActiveWindow(&preview);
        });
    };
    Emb->PrintOptions().HideSetup = true;
    Emb->PrintPreviewExtended(SW_SHOWMAXIMIZED);
    ASSERT_EQ(spy->calls.size(), 1u);
    EXPECT_EQ(spy->calls[0].option, OLECMDEXECOPT_DONTPROMPTUSER) << "follows HideSetup";
    EXPECT_TRUE(preview.isMaximized());
}

TEST(PreviewWait, EndsAtItsTimeWithoutKeepingTheProcessorBusy)
{
    const std::clock_t cpuBefore = std::clock();
    QElapsedTimer wall;
    wall.start();
    EXPECT_EQ(HbTools::WaitForActiveWindowOfClass(u"No such class"_qs, 300), nullptr);
    EXPECT_GT(wall.elapsed(), 300);
    const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
    EXPECT_LT(cpuMs, 100) << "a wait that spins uses the whole 300 ms";
}

TEST(OpenClient, StartsTheStoredProgramWithItsArgumentsAndNoShell)
{
    QTemporaryDir dir;
    qputenv("VOCABULINARUM_REGISTRY", QFile::encodeName(dir.filePath(u"registry.json"_qs)));
    std::vector<QStringList> started; // program first, then the arguments
    const ProgramStarter previous = setProgramStarter([&](const QString &program, const QStringList &arguments) {
        started.push_back(QStringList{program} + arguments);
        return QProcess::startDetached(program, arguments);
    });
    // This desktop names no default programs, so only the store counts.
    const DesktopDefaultQuery previousQuery = setDesktopDefaultQuery([](const QString &) { return QString(); });
    const auto store = [](const QString &kind, const QString &name, const QString &commandLine) {
        TRegistry registry(RegRoot::HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(registry.OpenKey(u"Software\\Clients\\"_qs + kind, true));
        registry.WriteString(QString(), name);
        if (!commandLine.isNull()) {
            ASSERT_TRUE(registry.OpenKey(u"\\Software\\Clients\\"_qs + kind + u'\\' + name + u"\\shell\\open\\command"_qs, true));
            registry.WriteString(QString(), commandLine);
        }
    };
    EXPECT_FALSE(HbTools::OpenClient(u"Mail"_qs)) << "no default program of the kind";
    store(u"News"_qs, u"Чтец"_qs, QString());
    EXPECT_FALSE(HbTools::OpenClient(u"News"_qs)) << "a program without a command line";
    EXPECT_TRUE(started.empty());

    store(u"Mail"_qs, u"Почта"_qs, u"/bin/true"_qs);
    EXPECT_TRUE(HbTools::OpenClient(u"Mail"_qs));
    store(u"Mail"_qs, u"Почта"_qs, u"\"/bin/true\" -compose \"два слова; rm x\" /mail"_qs);
    EXPECT_TRUE(HbTools::OpenClient(u"Mail"_qs));
    store(u"Calendar"_qs, u"Нет"_qs, u"/no/such/program --now"_qs);
    EXPECT_FALSE(HbTools::OpenClient(u"Calendar"_qs)) << "a program that cannot start is not reported as started";
    const std::vector<QStringList> expected{
        {u"/bin/true"_qs},
        {u"/bin/true"_qs, u"-compose"_qs, u"два слова; rm x"_qs, u"/mail"_qs},
        {u"/no/such/program"_qs, u"--now"_qs},
    };
    EXPECT_EQ(started, expected);
    setDesktopDefaultQuery(previousQuery);
    setProgramStarter(previous);
    qunsetenv("VOCABULINARUM_REGISTRY");
}

// Without a program of the store, each kind opens the program this desktop
// gives the same kind of data, started as its desktop entry says.
TEST(OpenClient, FallsBackToTheDesktopsDefaultProgramOfTheKind)
{
    QTemporaryDir dir;
    qputenv("VOCABULINARUM_REGISTRY", QFile::encodeName(dir.filePath(u"registry.json"_qs)));
    const QByteArray oldDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(u"data"_qs)));
    const auto entry = [&](const QString &relative, const QByteArray &text) {
        const QString path = dir.filePath(u"data/applications/"_qs + relative);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    };
    entry(u"mailer.desktop"_qs, "[Desktop Entry]\nType=Application\nName=Mailer\nExec=mailer --compose %u\n");
    entry(u"kde/browser.desktop"_qs, "[Desktop Action New]\nExec=wrong\n[Desktop Entry]\nName=Web\n"
                                     "Exec=\"/opt/web browser/run\" --new-window %U \"50%%\" --title=%c\n");
    entry(u"noexec.desktop"_qs, "[Desktop Entry]\nName=Nothing\n");

    QStringList asked;
    const DesktopDefaultQuery previousQuery = setDesktopDefaultQuery([&](const QString &mimeType) {
        asked.append(mimeType);
        if (mimeType == u"x-scheme-handler/mailto"_qs)
            return u"mailer.desktop"_qs;
        if (mimeType == u"x-scheme-handler/http"_qs)
            return u"kde-browser.desktop"_qs;
        if (mimeType == u"text/calendar"_qs)
            return u"noexec.desktop"_qs;
        return QString();
    });
    std::vector<QStringList> started; // program first, then the arguments
    const ProgramStarter previous = setProgramStarter([&](const QString &program, const QStringList &arguments) {
        started.push_back(QStringList{program} + arguments);
        return true;
    });

    struct Case {
        QString kind;
        bool opened;
        QStringList command; // empty: nothing started
    };
    const Case cases[] = {
        {u"Mail"_qs, true, {u"mailer"_qs, u"--compose"_qs}},
        {u"StartMenuInternet"_qs, true, {u"/opt/web browser/run"_qs, u"--new-window"_qs, u"50%"_qs, u"--title="_qs}},
        {u"News"_qs, false, {}},
        {u"Calendar"_qs, false, {}},
        {u"Games"_qs, false, {}},
    };
    for (const Case &c : cases) {
        started.clear();
        EXPECT_EQ(HbTools::OpenClient(c.kind), c.opened) << c.kind.toStdString();
        const std::vector<QStringList> expected = c.command.isEmpty() ? std::vector<QStringList>{}
                                                                      : std::vector<QStringList>{c.command};
        EXPECT_EQ(started, expected) << c.kind.toStdString();
    }
    EXPECT_EQ(asked, (QStringList{u"x-scheme-handler/mailto"_qs, u"x-scheme-handler/http"_qs,
                                  u"x-scheme-handler/news"_qs, u"text/calendar"_qs}))
        << "a kind the desktop has no counterpart of is not asked";

    // The mail program the desktop names but whose entry is gone: the
    // desktop's own mail tool opens it.
    setDesktopDefaultQuery([](const QString &) { return u"gone.desktop"_qs; });
    started.clear();
    EXPECT_TRUE(HbTools::OpenClient(u"Mail"_qs));
    EXPECT_EQ(started, (std::vector<QStringList>{{u"xdg-email"_qs}}));
    EXPECT_FALSE(HbTools::OpenClient(u"StartMenuInternet"_qs));

    // A program of the store comes first.
    {
        TRegistry registry(RegRoot::HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(registry.OpenKey(u"Software\\Clients\\Mail"_qs, true));
        registry.WriteString(QString(), u"Почта"_qs);
        ASSERT_TRUE(registry.OpenKey(u"\\Software\\Clients\\Mail\\Почта\\shell\\open\\command"_qs, true));
        registry.WriteString(QString(), u"/usr/bin/stored -x"_qs);
    }
    started.clear();
    EXPECT_TRUE(HbTools::OpenClient(u"Mail"_qs));
    EXPECT_EQ(started, (std::vector<QStringList>{{u"/usr/bin/stored"_qs, u"-x"_qs}}));

    setProgramStarter(previous);
    setDesktopDefaultQuery(previousQuery);
    if (oldDataHome.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", oldDataHome);
    qunsetenv("VOCABULINARUM_REGISTRY");
}

TEST(PrintDialogs, AreStandardDialogsToTheDialogWatch)
{
    QPrinter printer;
    QPrintDialog print(&printer);
    QPageSetupDialog setup(&printer);
    EXPECT_EQ(DialogWindowClass(&print), QString::fromLatin1(StandardDialogClass));
    EXPECT_EQ(DialogWindowClass(&setup), QString::fromLatin1(StandardDialogClass));
}

// The registry places of the browser tools (the main window's geometry, the
// last page, the start page, the navigation sound), the command helper, and
// the commands sent to the component's window.

#include "AppError.h"
#include "HbToolsRegistry.h"
#include "HbWindowCommand.h"
#include "HostedBrowser.h"
#include "MessageBoxes.h"
#include "Registry.h"
#include "SpyControl.h"
#include "TestSupport.h"

#include <QMainWindow>

using namespace vocab;
using namespace vocab::test;

namespace {

// A registry file of the test's own, somewhere it can be written or not.
class RegistryFile {
public:
    explicit RegistryFile(const QString &path) { qputenv("VOCABULINARUM_REGISTRY", QFile::encodeName(path)); }
    ~RegistryFile() { qunsetenv("VOCABULINARUM_REGISTRY"); }
};

class HbRegistryPlaces : public ::testing::Test {
protected:
    QString formKey() const { return QStringLiteral("SOFTWARE\\") + HbTools::ApplicationTitle() + QStringLiteral("\\FormSize"); }
    int formValue(const char *name)
    {
        TRegistry registry(RegRoot::HKEY_LOCAL_MACHINE);
        EXPECT_TRUE(registry.OpenKey(formKey(), false));
        return registry.ReadInteger(QLatin1String(name));
    }
    static QStringList keysOf(const QString &path)
    {
        TRegistry registry;
        return registry.OpenKey(path, false) ? registry.GetKeyNames() : QStringList{QStringLiteral("(no key)")};
    }

    QTemporaryDir dir;
    RegistryFile file{dir.filePath(QStringLiteral("registry.json"))};
};

const QString Navigating = QStringLiteral("AppEvents\\Schemes\\Apps\\Explorer\\Navigating");

// The scheme's current sound, with a value and a key inside it.
void writeCurrentSound()
{
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(Navigating + QStringLiteral("\\.Current"), true));
    registry.WriteString(QString(), QStringLiteral("nav.wav"));
    ASSERT_TRUE(registry.OpenKey(QStringLiteral("Inner"), true));
    registry.WriteInteger(QStringLiteral("Volume"), 3);
}

} // namespace

TEST_F(HbRegistryPlaces, TheMainWindowsGeometryAndStateComeBackAsSaved)
{
    // The bounds saved are those the window has in its state.
    const struct {
        Qt::WindowState state;
        int stored;
    } cases[] = {{Qt::WindowNoState, 0}, {Qt::WindowMaximized, 2}, {Qt::WindowMinimized, 1}};
    for (const auto &c : cases) {
        QRect saved;
        {
            QMainWindow form;
            form.move(30, 40);
            form.resize(300, 200);
            form.setWindowState(c.state);
            saved = QRect(form.x(), form.y(), form.width(), form.height());
            HbTools::SaveApplicationFormSize();
        }
        EXPECT_EQ(QRect(formValue("Left"), formValue("Top"), formValue("Width"), formValue("Height")), saved) << c.stored;
        EXPECT_EQ(formValue("WindowState"), c.stored);
        QMainWindow form;
        form.move(5, 6);
        form.resize(100, 100);
        HbTools::RestoreApplicationFormSize();
        EXPECT_EQ(form.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized), c.state) << c.stored;
        if (c.state == Qt::WindowNoState) {
            EXPECT_EQ(QRect(form.pos(), form.size()), QRect(30, 40, 300, 200));
        }
    }
}

TEST_F(HbRegistryPlaces, APartlySavedGeometryAppliesWhatIsThere)
{
    QMainWindow form;
    form.move(5, 6);
    form.resize(100, 110);
    HbTools::RestoreApplicationFormSize();
    EXPECT_EQ(form.pos(), QPoint(5, 6)) << "no key: nothing changes";

    TRegistry registry(RegRoot::HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(registry.OpenKey(formKey(), true));
    registry.WriteInteger(QStringLiteral("Left"), 70);
    registry.WriteInteger(QStringLiteral("Top"), 80);
    registry.WriteInteger(QStringLiteral("Height"), 500);
    registry.WriteInteger(QStringLiteral("WindowState"), 2);
    HbTools::RestoreApplicationFormSize();
    EXPECT_EQ(form.pos(), QPoint(70, 80));
    EXPECT_EQ(form.size(), QSize(100, 110)) << "the reading ends at the missing width";
    EXPECT_FALSE(form.isMaximized());
}

TEST_F(HbRegistryPlaces, TheLastPageIsAnAddressOnlyWithADot)
{
    SpyControl *spy = nullptr;
    auto browser = makeWithSpy<THostedBrowser>(spy);
    QString page = QStringLiteral("stale");
    EXPECT_FALSE(browser->GetLastVisitedPage(page));
    EXPECT_EQ(page, QString()) << "no key";
    const struct {
        const char *saved;
        bool address;
    } cases[] = {{"about:blank", false}, {"http://x.y/", true}, {"", false}};
    for (const auto &c : cases) {
        spy->locationUrl = QLatin1String(c.saved);
        EXPECT_TRUE(browser->SaveLastVisitedPage());
        EXPECT_EQ(browser->GetLastVisitedPage(page), c.address) << c.saved;
        EXPECT_EQ(page, QLatin1String(c.saved)) << "handed back either way";
    }
    TRegistry registry(RegRoot::HKEY_LOCAL_MACHINE);
    EXPECT_TRUE(registry.KeyExists(QStringLiteral("SOFTWARE\\") + HbTools::ApplicationTitle() + QStringLiteral("\\WebPages")));

    browser->SetNewHomePage(QStringLiteral("http://home.example/"));
    EXPECT_EQ(browser->GetIEHomePage(), QStringLiteral("http://home.example/"));
}

TEST_F(HbRegistryPlaces, WritersThatCannotWriteSayNothingAndRaiseNothing)
{
    writeBytes(dir.filePath(QStringLiteral("plain-file")), "not a folder");
    RegistryFile unwritable(dir.filePath(QStringLiteral("plain-file/registry.json")));
    SpyControl *spy = nullptr;
    auto browser = makeWithSpy<THostedBrowser>(spy);
    spy->locationUrl = QStringLiteral("http://x.y/");
    QMainWindow form;
    EXPECT_FALSE(browser->SaveLastVisitedPage());
    EXPECT_NO_THROW(browser->SaveApplicationFormSize());
    EXPECT_NO_THROW(HbTools::DisableNavSound(true));
    EXPECT_NO_THROW(HbTools::DisableNavSound(false));
}

TEST_F(HbRegistryPlaces, TheSoundSchemeMovesAwayOnceAndComesBackOnce)
{
    writeCurrentSound();
    HbTools::DisableNavSound(true);
    EXPECT_EQ(keysOf(Navigating), QStringList{QStringLiteral("Old_Current")});
    HbTools::DisableNavSound(true);
    EXPECT_EQ(keysOf(Navigating), QStringList{QStringLiteral("Old_Current")}) << "nothing left to move";
    TRegistry saved;
    ASSERT_TRUE(saved.OpenKey(Navigating + QStringLiteral("\\Old_Current\\Inner"), false));
    EXPECT_EQ(saved.ReadInteger(QStringLiteral("Volume")), 3);

    HbTools::DisableNavSound(false);
    EXPECT_EQ(keysOf(Navigating), QStringList{QStringLiteral(".Current")});
    HbTools::DisableNavSound(false);
    TRegistry current;
    ASSERT_TRUE(current.OpenKey(Navigating + QStringLiteral("\\.Current"), false));
    EXPECT_EQ(current.ReadString(QString()), QStringLiteral("nav.wav"));
    EXPECT_EQ(current.GetKeyNames(), QStringList{QStringLiteral("Inner")});
}

TEST_F(HbRegistryPlaces, TheBrowsersVersionDecidesHowTheSoundIsSwitched)
{
    // Below 7, or no number: the registry; from 7 on the browser's feature
    // switch, which this system does not have.
    const struct {
        const char *version;
        bool registry;
    } cases[] = {{"", true}, {"abc", true}, {"6", true}, {"7", false}, {"108", false}};
    for (const auto &c : cases) {
        writeCurrentSound();
        HbTools::SwitchNavSound(true, QLatin1String(c.version));
        EXPECT_EQ(keysOf(Navigating).contains(QStringLiteral("Old_Current")), c.registry) << c.version;
        HbTools::SwitchNavSound(false, QLatin1String(c.version));
        EXPECT_EQ(keysOf(Navigating), QStringList{QStringLiteral(".Current")}) << c.version;
    }
}

TEST_F(HbRegistryPlaces, ASoundSwitchedOffByLoadingComesBackWithTheModulesEnd)
{
    writeCurrentSound();
    {
        HostedBrowserModuleScope module;
        SpyControl *spy = nullptr;
        auto browser = makeWithSpy<THostedBrowser>(spy);
        browser->VisualEffects().DisableSounds = true;
        browser->LoadSettings();
        EXPECT_TRUE(hostedBrowserModule().NavSoundDisabled);
        EXPECT_EQ(keysOf(Navigating), QStringList{QStringLiteral("Old_Current")});
    }
    EXPECT_FALSE(hostedBrowserModule().NavSoundDisabled);
    EXPECT_EQ(keysOf(Navigating), QStringList{QStringLiteral(".Current")});
}

namespace {

// A document whose command target the test chooses; none makes it throw.
class TargetDocument : public SpyDocument {
public:
    IOleCommandTarget *commandTarget() override
    {
        if (!target)
            throw AppError(QStringLiteral("no target"));
        return target;
    }
    IOleCommandTarget *target = nullptr;
};

class GroupTarget : public IOleCommandTarget {
public:
    HRESULT QueryStatus(const QUuid *, std::span<OLECMD>, OLECMDTEXT *) override { return S_OK; }
    HRESULT Exec(const QUuid *group, std::uint32_t id, std::uint32_t option, const QVariant &in, QVariant *out) override
    {
        groups.push_back(group ? *group : QUuid());
        if (out)
            *out = QStringLiteral("%1/%2/%3").arg(id).arg(option).arg(in.toString());
        return id == 99 ? OLECMDERR_E_NOTSUPPORTED : S_OK;
    }
    std::vector<QUuid> groups;
};

} // namespace

TEST(HbToolsExecCommand, RunsOnHtmlDocumentsOnlyInTheGroupAskedFor)
{
    GroupTarget target;
    TargetDocument doc;
    doc.target = &target;
    QVariant out;
    EXPECT_EQ(HbTools::ExecCommand(&doc, true, 2, OLECMDEXECOPT_DONTPROMPTUSER, QStringLiteral("in"), &out), S_OK);
    EXPECT_EQ(out, QVariant(QStringLiteral("2/2/in")));
    EXPECT_EQ(HbTools::ExecCommand(&doc, false, 99, 0, {}, nullptr), OLECMDERR_E_NOTSUPPORTED);
    EXPECT_EQ(target.groups, (std::vector<QUuid>{CGID_IWebBrowser, QUuid()}));

    SpyDispatch notADocument;
    EXPECT_EQ(HbTools::ExecCommand(nullptr, false, 2, 0, {}, &out), S_FALSE);
    EXPECT_EQ(HbTools::ExecCommand(&notADocument, false, 2, 0, {}, &out), S_FALSE);
    doc.target = nullptr;
    EXPECT_EQ(HbTools::ExecCommand(&doc, false, 2, 0, {}, &out), S_FALSE) << "a failure is swallowed";
}

namespace {

// The component loaded over a spy, the commands its window procedure sees,
// the message boxes shown, and a desktop of the test's own.
class HbWindowCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_home = qgetenv("HOME");
        m_config = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
        browser = makeWithSpy<THostedBrowser>(spy);
        browser->LoadSettings();
        browser->OnMessage = [this](QObject *, TMessage &Msg, bool &) {
            if (Msg.Msg == WM_COMMAND)
                commands.push_back(static_cast<int>(Msg.WParam));
        };
        m_previous = setMessageBoxResponder([this](const MessageBoxRequest &request) {
            boxes << request.text;
            return IDOK;
        });
    }
    void TearDown() override
    {
        setMessageBoxResponder(m_previous);
        browser.reset();
        qputenv("HOME", m_home);
        if (m_config.isEmpty())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", m_config);
    }
    QStringList desktopFiles() const { return QDir(home.filePath(QStringLiteral("Desktop"))).entryList(QDir::Files); }

    QTemporaryDir home;
    SpyControl *spy = nullptr;
    std::unique_ptr<THostedBrowser> browser;
    std::vector<int> commands;
    QStringList boxes;

private:
    QByteArray m_home;
    QByteArray m_config;
    MessageBoxResponder m_previous;
};

} // namespace

TEST_F(HbWindowCommands, TheWindowProcedureSeesEachCommandAndTheTableAnswersTheKnownOnes)
{
    browser->ShowIEVersionInfo();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes.first().startsWith(browser->About())) << "the about box";
    browser->InvokeIEServerCommand(IE_CMD_ABOUT);
    EXPECT_EQ(boxes.size(), 2);

    browser->ShowImportExportFavoritesAndCookies();
    browser->InvokeIEServerCommand(IE_CMD_ADDRESS);
    EXPECT_EQ(boxes.size(), 2) << "nothing answers the others";
    EXPECT_EQ(commands, (std::vector<int>{IE_CMD_ABOUT, IE_CMD_ABOUT, IE_CMD_IMPORTEXPORT, IE_CMD_ADDRESS}));
    EXPECT_EQ(SendCommandMessage(nullptr, IE_CMD_ABOUT), 0);
}

TEST_F(HbWindowCommands, ADesktopShortcutIsALinkEntryNamedAfterThePage)
{
    browser->CreateDesktopShortcut();
    EXPECT_TRUE(desktopFiles().isEmpty()) << "no page, no shortcut";

    spy->locationUrl = QStringLiteral("http://example.org/a%20b?x=1&y=2");
    spy->locationName = QStringLiteral("../Пример/страница\nдва");
    browser->CreateDesktopShortcut();
    browser->CreateDesktopShortcut();
    EXPECT_EQ(commands, (std::vector<int>{IE_CMD_DESKTOPSHORTCUT, IE_CMD_DESKTOPSHORTCUT, IE_CMD_DESKTOPSHORTCUT}));
    const QString name = QStringLiteral("Пример страница два");
    ASSERT_EQ(desktopFiles(), (QStringList{name + QStringLiteral(" (2).desktop"), name + QStringLiteral(".desktop")}));
    const QString entry = QString::fromUtf8(readBytes(home.filePath(QStringLiteral("Desktop/") + name + QStringLiteral(".desktop"))));
    EXPECT_EQ(entry, QStringLiteral("[Desktop Entry]\nType=Link\nName=../Пример/страница\\nдва\n"
                                    "URL=http://example.org/a%20b?x=1&y=2\nIcon=text-html\n"));
}

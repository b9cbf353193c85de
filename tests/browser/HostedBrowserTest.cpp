// The browser component: its defaults, the settings applied once its
// properties are set, its user agent, its destruction and its module.

#include "HbControlComponent.h"
#include "HostedBrowser.h"
#include "SpyControl.h"

#include "Registry.h"
#include "TestSupport.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

using namespace vocab;
using namespace vocab::test;

TEST(HostedBrowserCreate, StartsWithItsDefaults)
{
    SpyControl *spy = nullptr;
    auto b = makeWithSpy<THostedBrowser>(spy);
    EXPECT_EQ(b->DisableCtrlShortcuts(), QStringLiteral("N"));
    EXPECT_EQ(b->DownloadOptions(), (TDownloadControlOptions{DownloadImages, DownloadVideos, DownloadBGSounds}));
    EXPECT_EQ(b->UserInterfaceOptions(), (TUserInterfaceOptions{EnablesFormsAutoComplete, EnableThemes}));
    EXPECT_EQ(b->DropHandlingType(), ddtMS);
    EXPECT_TRUE(b->DisabledPopupMenus().empty());
    EXPECT_TRUE(b->DisabledPopupMenuItems().empty());
    EXPECT_EQ(b->ScriptErrorAction(), eaContinue);
    EXPECT_TRUE(b->CanGrabFocus());
    EXPECT_FALSE(b->FloatingHosting());
    EXPECT_EQ(b->ZoomPercent(), 0);
    EXPECT_TRUE(b->EnableMessageHandler());
    EXPECT_TRUE(b->Visible());
    EXPECT_EQ(b->UserAgentMode(), uaDefault);
    EXPECT_FALSE(b->Silent()) << "the control keeps its own setting";

    EXPECT_FALSE(b->PrintOptions().Enabled);
    EXPECT_EQ(b->PrintOptions().HTMLHeader, QStringList{QStringLiteral("<HTML></HTML>")});
    EXPECT_EQ(b->PrintOptions().Orientation, poPortrait);
    EXPECT_EQ(b->PrintOptions().Margins.Left + b->PrintOptions().Margins.Bottom, 0.0);
    EXPECT_EQ(b->ProxySettings().Port, 80);
    EXPECT_FALSE(b->ProxySettings().AutoLoadProxy);
    EXPECT_FALSE(b->DialogBoxes().DisableAll);
    EXPECT_TRUE(b->DialogBoxes().ReplaceCaption && b->DialogBoxes().ReplaceIcon);
    EXPECT_TRUE(b->DisableErrors().EnableDDE && b->DisableErrors().fpExceptions() && b->DisableErrors().ScriptErrorsSuppressed);
    EXPECT_FALSE(b->VisualEffects().DisableSounds);
    EXPECT_EQ(b->VisualEffects().TextSize, 2);

    const QString about = b->About();
    EXPECT_FALSE(about.isEmpty());
    b->SetAbout(QStringLiteral("other"));
    EXPECT_EQ(b->About(), about);
}

TEST(HostedBrowserLoadSettings, AppliesTheRunTimeSettings)
{
    SpyControl *spy = nullptr;
    auto b = makeWithSpy<THostedBrowser>(spy);
    b->SetEnableMessageHandler(false);
    b->SetScriptErrorAction(eaAskUser);
    b->LoadSettings();
    EXPECT_TRUE(b->EnableMessageHandler());
    EXPECT_EQ(b->ScriptErrorAction(), eaContinue) << "script errors are suppressed";
    EXPECT_EQ(b->PrintOptions().Measure(), mMetric) << "margins stay in millimetres";
    // Applied before the module's start-up, the starting environment is still the default one.
    EXPECT_EQ(fegetexcept(), 0);

    b->DisableErrors().ScriptErrorsSuppressed = false;
    b->SetScriptErrorAction(eaAskUser);
    b->LoadSettings();
    EXPECT_EQ(b->ScriptErrorAction(), eaAskUser);
}

TEST(HostedBrowserFloatingPoint, ExceptionsStayMaskedEitherWayAndShutdownRestoresTheStart)
{
    InitializeHostedBrowser();
    SpyControl *spy = nullptr;
    auto b = makeWithSpy<THostedBrowser>(spy);
    for (bool enabled : {false, true}) {
        b->DisableErrors().SetfpExceptions(enabled);
        EXPECT_EQ(b->DisableErrors().fpExceptions(), enabled);
        EXPECT_EQ(fegetexcept(), 0) << "the engine needs every exception masked";
        volatile double zero = 0;
        EXPECT_TRUE(std::isinf(1.0 / zero));
    }
    std::fesetround(FE_UPWARD); // changed by someone in the meantime
    b.reset();
    FinalizeHostedBrowser();
    EXPECT_EQ(fegetexcept(), 0);
    EXPECT_EQ(std::fegetround(), FE_TONEAREST) << "shutdown puts the starting environment back";
}

TEST(HostedBrowserModule, MakesTheGlobalControlOncePerOutermostPair)
{
    HostedBrowserModuleState &module = hostedBrowserModule();
    EXPECT_EQ(module.GlobalHbControl, nullptr);
    {
        HostedBrowserModuleScope outer;
        ASSERT_NE(module.GlobalHbControl, nullptr);
        THbControl *control = module.GlobalHbControl.get();
        EXPECT_TRUE(control->FocusControl().Active());
        EXPECT_TRUE(control->MouseWheelFix().Active());
        EXPECT_TRUE(module.OleInitializedByUnit);
        {
            HostedBrowserModuleScope inner;
            EXPECT_EQ(module.GlobalHbControl.get(), control);
        }
        EXPECT_EQ(module.GlobalHbControl.get(), control) << "the inner pair does no work";
    }
    EXPECT_EQ(module.GlobalHbControl, nullptr);
    EXPECT_FALSE(module.OleInitializedByUnit);
    FinalizeHostedBrowser(); // an unmatched shutdown is harmless
    EXPECT_FALSE(module.Initialized);
}

TEST(HostedBrowserModified, BecomesTrueOnceTheDocumentCanUndoAndStaysSo)
{
    SpyControl *spy = nullptr;
    auto b = makeWithSpy<THostedBrowser>(spy);
    b->SetModified(true);
    EXPECT_FALSE(b->Modified()) << "no document";
    spy->loadDocument();
    b->SetModified(true);
    EXPECT_FALSE(b->Modified()) << "nothing to undo";
    spy->document->enabledCommands << QStringLiteral("Undo");
    b->SetModified(false);
    EXPECT_TRUE(b->Modified());
    spy->document->enabledCommands.clear();
    b->SetModified(false);
    EXPECT_TRUE(b->Modified());
}

TEST(HostedBrowserProperties, NameVisibilityWindowAndEditMode)
{
    QWidget window;
    SpyControl *spy = nullptr;
    auto b = makeWithSpy<THostedBrowser>(spy, &window);
    b->SetName(QStringLiteral("Emb"));
    EXPECT_EQ(b->Name(), QStringLiteral("Emb"));
    EXPECT_EQ(b->objectName(), QStringLiteral("Emb"));
    EXPECT_EQ(b->Parent(), &window);
    EXPECT_EQ(b->HWND(), nullptr);
    spy->loadDocument();
    EXPECT_EQ(b->HWND(), spy->DocumentWindow());
    EXPECT_FALSE(b->DesignMode());
    b->SetDesignMode(true);
    EXPECT_EQ(spy->document->designModeText, QStringLiteral("On"));
    EXPECT_TRUE(b->DesignMode());
    EXPECT_FALSE(b->TCustomHostedBrowser::DesignMode()) << "the ambient user mode is another thing";
    b->SetSilent(true);
    EXPECT_TRUE(spy->silent);
    window.show();
    b->SetVisible(false);
    EXPECT_FALSE(b->isVisible());
    EXPECT_FALSE(b->Visible());
}

TEST(HostedBrowserVariantIsObject, TellsObjectsFromPlainData)
{
    SpyControl *spy = nullptr;
    auto b = makeWithSpy<THostedBrowser>(spy);
    spy->loadDocument();
    const std::pair<QVariant, bool> cases[] = {
        {QVariant(), false},
        {QVariant(42), false},
        {QVariant(QStringLiteral("текст")), false},
        {QVariantMap{{QStringLiteral("a"), 1}}, false},
        {QVariant::fromValue(b->Document()), true},
        {QVariant::fromValue(static_cast<QObject *>(b.get())), true},
    };
    for (const auto &[value, isObject] : cases)
        EXPECT_EQ(THostedBrowser::VariantIsObject(value), isObject) << value.metaType().name();
}

namespace {

class HostedBrowserUserAgent : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("VOCABULINARUM_REGISTRY", QFile::encodeName(dir.filePath(QStringLiteral("registry.json"))));
        browser = makeWithSpy<THostedBrowser>(spy);
    }
    void TearDown() override
    {
        browser.reset();
        qunsetenv("VOCABULINARUM_REGISTRY");
    }

    QStringList postPlatform() const
    {
        TRegistry registry;
        if (!registry.OpenKeyReadOnly(QStringLiteral(
                "\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\User Agent\\Post Platform")))
            return {};
        return registry.GetValueNames();
    }
    QVariant askedAgent()
    {
        spy->announced.clear();
        spy->OnAmbientPropertyChange(DISPID_AMBIENT_USERAGENT);
        return spy->ambient.value(DISPID_AMBIENT_USERAGENT);
    }

    QTemporaryDir dir;
    SpyControl *spy = nullptr;
    std::unique_ptr<THostedBrowser> browser;
};

const QString RegistryEntry = QStringLiteral("User-agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)(Vocab/2)");
const QString RestoredEntry = QStringLiteral("User-agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)");

} // namespace

TEST_F(HostedBrowserUserAgent, DefaultModeWritesNothingAndTheControlKeepsItsOwn)
{
    browser->SetUserAgent(QStringLiteral("Vocab/2"));
    EXPECT_TRUE(postPlatform().isEmpty());
    EXPECT_FALSE(askedAgent().isValid());
}

TEST_F(HostedBrowserUserAgent, InternalModeAnswersTheTextAndAnnouncesItOnce)
{
    browser->SetUserAgentMode(uaInternal);
    EXPECT_FALSE(askedAgent().isValid()) << "an empty text leaves the control's own";
    spy->announced.clear();
    browser->SetUserAgent(QStringLiteral("Vocab/2"));
    EXPECT_EQ(spy->announced, std::vector<int>{DISPID_AMBIENT_USERAGENT});
    EXPECT_EQ(spy->ambient.value(DISPID_AMBIENT_USERAGENT).toString(), QStringLiteral("Vocab/2\r\n"));
    spy->announced.clear();
    browser->SetUserAgent(QStringLiteral("Vocab/2"));
    EXPECT_TRUE(spy->announced.empty()) << "the same text twice";
    EXPECT_TRUE(postPlatform().isEmpty());
}

TEST_F(HostedBrowserUserAgent, RegistryModeAddsItsEntryAndTakesItBackWhenLeftOrDestroyed)
{
    browser->SetUserAgent(QStringLiteral("Vocab/2"));
    browser->SetUserAgentMode(uaRegistry);
    EXPECT_EQ(postPlatform(), QStringList{RegistryEntry});

    // Switching to the internal mode takes the entry back before announcing the text.
    spy->announced.clear();
    browser->SetUserAgentMode(uaInternal);
    EXPECT_EQ(postPlatform(), QStringList{RestoredEntry});
    EXPECT_EQ(spy->announced, std::vector<int>{DISPID_AMBIENT_USERAGENT});

    browser->SetUserAgentMode(uaRegistry);
    EXPECT_TRUE(postPlatform().contains(RegistryEntry));
    browser.reset();
    EXPECT_FALSE(postPlatform().contains(RegistryEntry)) << "destruction takes the entry back";
}

TEST(HostedBrowserDestroy, PutsTheTextSizeBackOnlyWhenItWasChanged)
{
    for (int textSize : {2, 3}) {
        SpyControl *spy = nullptr;
        auto b = makeWithSpy<THostedBrowser>(spy);
        spy->loadDocument();
        b->VisualEffects().TextSize = textSize;
        std::vector<SpyCommands::Call> log;
        spy->document->commands.sharedLog = &log;
        b.reset();
        const bool zoomed = std::any_of(log.begin(), log.end(), [](const SpyCommands::Call &c) {
            return c.id == OLECMDID_ZOOM && c.in == QVariant(2);
        });
        EXPECT_EQ(zoomed, textSize != 2) << textSize;
    }
}


// The host's operations on the document: with none there is nothing to do,
// and each says so without waiting; with one, zoom is kept in range, the
// edit mode is read exactly, and the focus goes to the document.

#include "SpyControl.h"

#include "TestSupport.h"

using namespace vocab;
using namespace vocab::test;

TEST(WithoutADocument, EveryOperationAnswersAtOnce)
{
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<TCustomHostedBrowser>(spy);
    int zoomEvents = 0;
    host->OnZoomPercentChange = [&](TCustomHostedBrowser *, std::uint32_t) { ++zoomEvents; return S_OK; };

    EXPECT_EQ(host->Doc2(), nullptr);
    EXPECT_EQ(host->Doc3(), nullptr);
    EXPECT_EQ(host->Body(), nullptr);
    EXPECT_EQ(host->Cookie(), QString());
    EXPECT_EQ(host->CharactersSet(), QString());
    EXPECT_EQ(host->InvokeCommand(nullptr, OLECMDID_COPY), E_UNEXPECTED);
    OLECMD cmd{OLECMDID_COPY, 0};
    EXPECT_EQ(host->QueryCommandStatus(nullptr, std::span<OLECMD>(&cmd, 1), nullptr), E_UNEXPECTED);
    EXPECT_FALSE(host->QueryCMDEnabled(nullptr, OLECMDID_COPY));
    EXPECT_EQ(host->QueryCMDStatus(nullptr, OLECMDID_COPY), 0u);
    EXPECT_FALSE(host->QueryCMDArrayStatus(nullptr, std::span<OLECMD>(&cmd, 1)));
    EXPECT_EQ(host->Zoom(), 0);
    host->SetZoom(3);
    host->SetZoomPercent(150);
    EXPECT_EQ(host->ZoomPercent(), 150) << "kept as written";
    EXPECT_EQ(zoomEvents, 0) << "nothing zoomed, nothing announced";
    EXPECT_EQ(host->DocDesignMode(), ddmUnknown);
    host->SetDocDesignMode(ddmOn);
    host->SetFocusToDoc();
    host->SetFocusToBody();
    EXPECT_TRUE(spy->verbs.empty());
    host->SetCharactersSet(QStringLiteral("windows-1251"));
    EXPECT_TRUE(spy->refreshes.empty());
}

TEST(Zoom, IsClampedIntoTheRangeTheDocumentReports)
{
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<TCustomHostedBrowser>(spy);
    spy->loadDocument();
    EXPECT_EQ(host->ZoomRangeLow(), 0);
    EXPECT_EQ(host->ZoomRangeHigh(), 4);
    const std::pair<int, int> textSizes[] = {{-1, 0}, {0, 0}, {2, 2}, {4, 4}, {10, 4}};
    for (const auto &[written, applied] : textSizes) {
        host->SetZoom(written);
        EXPECT_EQ(host->Zoom(), applied) << written;
    }
}

TEST(ZoomPercent, KeepsTheValueWrittenAndAppliesItClamped)
{
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<TCustomHostedBrowser>(spy);
    spy->loadDocument();
    SpyCommands &commands = spy->document->commands;
    std::vector<std::uint32_t> announced;
    host->OnZoomPercentChange = [&](TCustomHostedBrowser *, std::uint32_t percent) {
        announced.push_back(percent);
        return S_OK;
    };
    struct Case {
        int written;
        int applied;
    };
    for (const Case c : {Case{150, 150}, Case{5, 10}, Case{2000, 1000}}) {
        host->SetZoomPercent(c.written);
        EXPECT_EQ(host->ZoomPercent(), c.written);
        EXPECT_EQ(commands.optical, c.applied);
        EXPECT_EQ(announced.back(), std::uint32_t(c.applied));
    }
    // The value in force again: no command, no event.
    const auto calls = commands.calls.size();
    host->SetZoomPercent(2000);
    EXPECT_EQ(commands.calls.size(), calls);
    EXPECT_EQ(announced.size(), 3u);
}

TEST(CommandStatus, ReadsTheFlagsOfTheDocument)
{
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<TCustomHostedBrowser>(spy);
    spy->loadDocument();
    EXPECT_TRUE(host->QueryCMDEnabled(nullptr, OLECMDID_COPY));
    EXPECT_TRUE(host->QueryCMDLatched(nullptr, OLECMDID_COPY));
    EXPECT_FALSE(host->QueryCMDEnabled(nullptr, OLECMDID_PASTE));
    std::vector<OLECMD> cmds{{OLECMDID_COPY, 0}, {OLECMDID_PASTE, 0}};
    EXPECT_TRUE(host->QueryCMDArrayStatus(nullptr, cmds));
    EXPECT_NE(cmds[0].cmdf, 0u);
    EXPECT_EQ(cmds[1].cmdf, 0u);
    const int queries = spy->document->commands.statusQueries;
    EXPECT_FALSE(host->QueryCMDArrayStatus(nullptr, {})) << "an empty array has nothing to ask about";
    EXPECT_EQ(spy->document->commands.statusQueries, queries);
    EXPECT_EQ(host->InvokeCommand(nullptr, 9999), OLECMDERR_E_NOTSUPPORTED);
}

TEST(DocDesignMode, ReadsTheListedTextsExactly)
{
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<TCustomHostedBrowser>(spy);
    spy->loadDocument();
    const std::pair<QString, TDocDesignMode> cases[] = {
        {QStringLiteral("On"), ddmOn},        {QStringLiteral("Off"), ddmOff},    {QStringLiteral("Inherit"), ddmInherit},
        {QStringLiteral("on"), ddmUnknown},   {QString(), ddmUnknown},
    };
    for (const auto &[text, mode] : cases) {
        spy->document->designModeText = text;
        EXPECT_EQ(host->DocDesignMode(), mode) << text.toStdString();
    }
    host->SetDocDesignMode(ddmInherit);
    EXPECT_EQ(spy->document->designModeText, QStringLiteral("Inherit"));
    host->SetDocDesignMode(ddmUnknown);
    EXPECT_EQ(spy->document->designModeText, QStringLiteral("Inherit"));
}

TEST(SetFocusToDoc, UiActivatesTheControlLettingThePageTakeTheFocusMeanwhile)
{
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<TCustomHostedBrowser>(spy);
    spy->loadDocument();
    host->SetCanGrabFocus(false);
    host->SetFocusToDoc();
    EXPECT_EQ(spy->verbs, std::vector<int>{OLEIVERB_UIACTIVATE});
    EXPECT_EQ(spy->focusAllowedDuringVerb, std::vector<bool>{true});
    EXPECT_FALSE(host->CanGrabFocus()) << "the former setting comes back";
}

TEST(HostOperations, ReachTheDocumentAndItsWindows)
{
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<TCustomHostedBrowser>(spy);
    EXPECT_EQ(host->GetIEWin(QStringLiteral("Internet Explorer_Server")), nullptr);
    EXPECT_EQ(host->GetIEWin(QStringLiteral("Shell DocObject View")), spy->ViewWindow());
    spy->loadDocument();
    EXPECT_EQ(host->GetIEWin(QStringLiteral("Internet Explorer_Server")), spy->DocumentWindow());
    EXPECT_EQ(host->GetIEWin(QStringLiteral("SysListView32")), nullptr);

    EXPECT_FALSE(host->ScrollToElement(nullptr));
    EXPECT_TRUE(spy->document->window.scrolls.empty());
    SpyElement element(QRect(30, 400, 10, 10));
    EXPECT_TRUE(host->ScrollToElement(&element));
    EXPECT_EQ(spy->document->window.scrolls, std::vector<QPoint>{QPoint(30, 400)});

    EXPECT_EQ(host->Cookie(), QStringLiteral("a=1"));
    host->SetCharactersSet(QStringLiteral("windows-1251"));
    EXPECT_EQ(host->CharactersSet(), QStringLiteral("windows-1251"));
    EXPECT_EQ(spy->refreshes, std::vector<int>{7});

    host->SetDesignMode(true);
    EXPECT_EQ(spy->announced.back(), DISPID_AMBIENT_USERMODE);
    EXPECT_FALSE(spy->ambient.value(DISPID_AMBIENT_USERMODE).toBool());
    IElementNamespaceTable *table = nullptr;
    EXPECT_FALSE(host->GetElementNamespaceTable(table));
}

TEST(Client2HostWin, AddsWhatTheFormHasAroundTheBrowser)
{
    QWidget form;
    form.resize(800, 600);
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<TCustomHostedBrowser>(spy, &form);
    host->setGeometry(10, 10, 500, 400);
    int cx = 300, cy = 200;
    host->Client2HostWin(cx, cy);
    EXPECT_EQ(cx, 600);
    EXPECT_EQ(cy, 400);
    SpyControl *alone = nullptr;
    auto single = makeWithSpy<TCustomHostedBrowser>(alone);
    cx = 300;
    single->Client2HostWin(cx, cy);
    EXPECT_EQ(cx, 300) << "no form around it";
}

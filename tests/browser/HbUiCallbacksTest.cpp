// The document host UI answers: each works out its default, then lets its
// event change it.

#include "HostedBrowser.h"
#include "SpyControl.h"

#include "MessageBoxes.h"
#include "ShellOpen.h"
#include "TestSupport.h"

#include <QMimeData>

using namespace vocab;
using namespace vocab::test;

TEST(DefaultThenEvent, TheEventWinsWhenItChangesTheAnswer)
{
    struct Case {
        const char *what;
        HRESULT defaultAnswer;
        std::function<void(TCustomHostedBrowser &, HRESULT)> assign;
        std::function<HRESULT(TCustomHostedBrowser &)> call;
    };
    const Case cases[] = {
        {"ShowUI", S_FALSE,
         [](TCustomHostedBrowser &h, HRESULT r) { h.OnShowUI = [r](auto *, std::uint32_t, auto *, auto *, auto *, auto *, HRESULT &Rezult) { if (r != -1) Rezult = r; }; },
         [](TCustomHostedBrowser &h) { return h.ShowUI(DOCHOSTUITYPE_BROWSE, nullptr, nullptr, nullptr, nullptr); }},
        {"HideUI", S_FALSE,
         [](TCustomHostedBrowser &h, HRESULT r) { h.OnHideUI = [r](QObject *, HRESULT &Rezult) { if (r != -1) Rezult = r; }; },
         [](TCustomHostedBrowser &h) { return h.HideUI(); }},
        {"UpdateUI", S_FALSE,
         [](TCustomHostedBrowser &h, HRESULT r) { h.OnUpdateUI = [r](QObject *, HRESULT &Rezult) { if (r != -1) Rezult = r; }; },
         [](TCustomHostedBrowser &h) { return h.UpdateUI(); }},
        {"EvaluateNewWindow", E_FAIL,
         [](TCustomHostedBrowser &h, HRESULT r) { h.OnEvaluateNewWindow = [r](auto *, auto &, auto &, auto &, auto &, bool, std::uint32_t, std::uint32_t, HRESULT &Rezult) { if (r != -1) Rezult = r; }; },
         [](TCustomHostedBrowser &h) { return h.EvaluateNewWindow({}, {}, {}, {}, false, 0, 0); }},
        {"Download", E_NOTIMPL,
         [](TCustomHostedBrowser &h, HRESULT r) { h.OnFileDownload = [r](auto *, auto &, auto *, std::uint32_t, std::uint32_t, auto *, auto &, auto &, std::uint32_t, HRESULT &Rezult) { if (r != -1) Rezult = r; }; },
         [](TCustomHostedBrowser &h) { return h.Download({}, nullptr, 0, 0, nullptr, {}, {}, 0); }},
        {"DragEnter", S_OK,
         [](TCustomHostedBrowser &h, HRESULT r) { h.OnDragEnter = [r](QObject *, auto *, int, QPoint, int &, HRESULT &Rezult) { if (r != -1) Rezult = r; }; },
         [](TCustomHostedBrowser &h) { int e = 0; return h.DragEnter(nullptr, 0, {}, e); }},
    };
    for (const Case &c : cases) {
        SpyControl *spy = nullptr;
        auto host = makeWithSpy<TCustomHostedBrowser>(spy);
        EXPECT_EQ(c.call(*host), c.defaultAnswer) << c.what << ": no event";
        c.assign(*host, -1);
        EXPECT_EQ(c.call(*host), c.defaultAnswer) << c.what << ": an event that leaves the answer";
        c.assign(*host, E_UNEXPECTED);
        EXPECT_EQ(c.call(*host), E_UNEXPECTED) << c.what << ": an event that changes it";
    }
}

TEST(NotificationCallbacks, AnswerSOkAndPassTheirArgumentsOn)
{
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<TCustomHostedBrowser>(spy);
    QStringList heard;
    host->OnEnableModeless = [&](TCustomHostedBrowser *, bool f) { heard << QStringLiteral("modeless %1").arg(f); };
    host->OnOnDocWindowActivate = [&](TCustomHostedBrowser *, bool f) { heard << QStringLiteral("doc %1").arg(f); };
    host->OnOnFrameWindowActivate = [&](TCustomHostedBrowser *, bool f) { heard << QStringLiteral("frame %1").arg(f); };
    host->OnResizeBorder = [&](TCustomHostedBrowser *, const QRect *r, IInterface *, bool f) {
        heard << QStringLiteral("border %1 %2").arg(r->width()).arg(f);
    };
    const QRect border(0, 0, 300, 200);
    EXPECT_EQ(host->EnableModeless(false), S_OK);
    EXPECT_EQ(host->OnDocWindowActivate(true), S_OK);
    EXPECT_EQ(host->OnFrameWindowActivate(false), S_OK);
    EXPECT_EQ(host->ResizeBorder(&border, nullptr, true), S_OK);
    EXPECT_EQ(heard, QStringList({QStringLiteral("modeless 0"), QStringLiteral("doc 1"), QStringLiteral("frame 0"),
                                  QStringLiteral("border 300 1")}));
}

TEST(GetHostInfo, AnswersTheHostFlagsThenTheEventThenTheComponentsStyleSheet)
{
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<THostedBrowser>(spy);
    DOCHOSTUIINFO info;
    info.pchHostCss = QStringLiteral("left over");
    EXPECT_EQ(host->GetHostInfo(info), S_OK);
    EXPECT_EQ(info.cbSize, 20u);
    EXPECT_EQ(info.dwFlags, 0x44000u);
    EXPECT_EQ(info.dwDoubleClick, DOCHOSTUIDBLCLK_DEFAULT);
    EXPECT_TRUE(info.pchHostCss.isEmpty()) << "the structure is cleared first";

    host->SetHostCSS(QStringLiteral("body{color:red}"));
    host->SetHostNS(QStringLiteral("ns"));
    host->GetHostInfo(info);
    EXPECT_EQ(info.pchHostCss, QStringLiteral("body{color:red}"));
    EXPECT_EQ(info.pchHostNS, QStringLiteral("ns"));

    // A style sheet the event gives is never replaced by the component's.
    host->OnGetHostInfo = [](TCustomHostedBrowser *, DOCHOSTUIINFO &pInfo) {
        pInfo.dwFlags |= DOCHOSTUIFLAG_SCROLL_NO;
        pInfo.pchHostCss = QStringLiteral("p{}");
    };
    host->GetHostInfo(info);
    EXPECT_EQ(info.dwFlags, 0x44008u);
    EXPECT_EQ(info.pchHostCss, QStringLiteral("p{}"));
    EXPECT_EQ(info.pchHostNS, QStringLiteral("ns"));
}

TEST(OptionKeyPaths, NeverBothGiveThePath)
{
    struct Case {
        QString path;
        bool override;
        HRESULT option;
        HRESULT overrideAnswer;
    };
    const Case cases[] = {
        {QString(), false, S_FALSE, S_FALSE},
        {QString(), true, S_FALSE, S_FALSE},
        {QStringLiteral("Software\\Vocabulinarum"), false, S_OK, S_FALSE},
        {QStringLiteral("Software\\Vocabulinarum"), true, S_FALSE, S_OK},
    };
    for (const Case &c : cases) {
        SpyControl *spy = nullptr;
        auto host = makeWithSpy<TCustomHostedBrowser>(spy);
        host->SetOptionKeyPath(c.path);
        host->SetOverrideOptionKeyPath(c.override);
        QString option, overridden;
        EXPECT_EQ(host->GetOptionKeyPath(option, 0), c.option);
        EXPECT_EQ(host->GetOverrideKeyPath(overridden, 0), c.overrideAnswer);
        EXPECT_EQ(option, c.option == S_OK ? c.path : QString());
        EXPECT_EQ(overridden, c.overrideAnswer == S_OK ? c.path : QString());
    }
}

TEST(GetDropTarget, FollowsTheDropHandlingType)
{
    struct Case {
        TDragDropHandlingType type;
        HRESULT result;
        bool hostTarget;
        bool acceptDrops;
    };
    const Case cases[] = {
        {ddtMS, E_NOTIMPL, false, true},
        {ddtMy, S_OK, true, false},
        {ddtCustom, S_OK, true, false},
        {ddtNo, S_OK, false, false},
    };
    for (const Case &c : cases) {
        SpyControl *spy = nullptr;
        auto host = makeWithSpy<TCustomHostedBrowser>(spy);
        host->SetDropHandlingType(c.type);
        spy->acceptDrops = false;
        IDropTarget *target = reinterpret_cast<IDropTarget *>(1);
        EXPECT_EQ(host->GetDropTarget(nullptr, target), c.result) << c.type;
        EXPECT_EQ(target, c.hostTarget ? static_cast<IDropTarget *>(host.get()) : nullptr) << c.type;
        EXPECT_EQ(spy->acceptDrops, c.acceptDrops) << c.type;
    }
}

TEST(SetDropHandlingType, RegistersTheHostOnlyOnADocumentWindow)
{
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<TCustomHostedBrowser>(spy);
    int customAsked = 0;
    host->OnGetDropTarget = [&](TCustomHostedBrowser *, IDropTarget *&) { ++customAsked; };

    // Before the document window: stored, and the browser's own drops switched.
    host->SetDropHandlingType(ddtNo);
    EXPECT_FALSE(spy->acceptDrops);
    host->SetDropHandlingType(ddtCustom);
    EXPECT_EQ(customAsked, 0);
    EXPECT_TRUE(spy->registeredTargets.empty());
    EXPECT_EQ(spy->revokes, 0);

    spy->loadDocument();
    host->SetDropHandlingType(ddtMy);
    ASSERT_EQ(spy->registeredTargets.size(), 1u);
    EXPECT_EQ(spy->registeredTargets[0], static_cast<IDropTarget *>(host.get()));
    EXPECT_EQ(spy->revokes, 1);

    // The same value again: nothing at all.
    host->SetDropHandlingType(ddtMy);
    EXPECT_EQ(spy->revokes, 1);

    IDropTarget *own = nullptr;
    host->OnGetDropTarget = [&](TCustomHostedBrowser *, IDropTarget *&target) {
        ++customAsked;
        own = target;
    };
    host->SetDropHandlingType(ddtCustom);
    EXPECT_EQ(customAsked, 1);
    EXPECT_EQ(own, static_cast<IDropTarget *>(host.get())) << "the event starts from the host's own target";
    host->SetDropHandlingType(ddtMS);
    EXPECT_TRUE(spy->acceptDrops);
    EXPECT_EQ(spy->registeredTargets.size(), 2u);
}

TEST(ObjectAnswers, AreSOkOnlyWhenTheEventGaveAnObject)
{
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<TCustomHostedBrowser>(spy);
    QString url = QStringLiteral("untouched");
    EXPECT_EQ(host->TranslateUrl(0, QStringLiteral("http://a.test/"), url), S_FALSE);
    EXPECT_EQ(url, QStringLiteral("untouched"));
    IInterface *external = nullptr;
    EXPECT_EQ(host->GetExternal(external), S_FALSE);
    QMimeData data;
    const QMimeData *filtered = &data;
    EXPECT_EQ(host->FilterDataObject(&data, filtered), S_FALSE);
    EXPECT_EQ(filtered, nullptr);

    host->OnTranslateUrl = [](TCustomHostedBrowser *, const QString &in, QString &out) {
        if (in.contains(QLatin1String("a.test")))
            out = QStringLiteral("http://b.test/");
    };
    SpyElement object;
    host->OnGetExternal = [&](TCustomHostedBrowser *, IInterface *&pp) { pp = &object; };
    QMimeData replacement;
    host->OnFilterDataObject = [&](TCustomHostedBrowser *, const QMimeData *, const QMimeData *&ret) { ret = &replacement; };
    EXPECT_EQ(host->TranslateUrl(0, QStringLiteral("http://a.test/"), url), S_OK);
    EXPECT_EQ(url, QStringLiteral("http://b.test/"));
    EXPECT_EQ(host->TranslateUrl(0, QStringLiteral("http://c.test/"), url), S_FALSE);
    EXPECT_EQ(host->GetExternal(external), S_OK);
    EXPECT_EQ(external, &object);
    EXPECT_EQ(host->FilterDataObject(&data, filtered), S_OK);
    EXPECT_EQ(filtered, &replacement);
}

TEST(MessagesAndHelp, AreTheBrowsersOwnUnlessTheHostTakesThem)
{
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<TCustomHostedBrowser>(spy);
    int result = -1;
    EXPECT_EQ(host->ShowMessage(nullptr, QStringLiteral("text"), QStringLiteral("caption"), 0x30, {}, 0, result), S_FALSE);
    const QString pageHelp = QStringLiteral("page.chm");
    EXPECT_EQ(host->ShowHelp(nullptr, nullptr, HELP_CONTEXT, 0, {}, nullptr), S_FALSE) << "no help file of the host";

    // The host's help file opens with the desktop's program for it; one that
    // is missing, or that no program opens, leaves the help to the browser.
    QTemporaryDir dir;
    const QString helpFile = dir.filePath(QStringLiteral("help.chm"));
    QList<QUrl> opened;
    bool opens = true;
    const ShellOpener previous = setShellOpener([&](const QUrl &url) {
        opened << url;
        return opens;
    });
    host->SetHelpFile(helpFile);
    EXPECT_EQ(host->ShowHelp(nullptr, nullptr, HELP_CONTEXT, 0, {}, nullptr), S_FALSE) << "the file is missing";
    EXPECT_TRUE(opened.isEmpty());
    writeBytes(helpFile, "help");
    EXPECT_EQ(host->ShowHelp(nullptr, &pageHelp, HELP_CONTEXT, 0, {}, nullptr), S_FALSE) << "the page names its own";
    EXPECT_EQ(host->ShowHelp(nullptr, nullptr, HELP_CONTEXT, 0, {}, nullptr), S_OK) << "the host's help file";
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(helpFile)});
    opens = false;
    EXPECT_EQ(host->ShowHelp(nullptr, nullptr, HELP_CONTEXT, 0, {}, nullptr), S_FALSE) << "no program opens it";
    setShellOpener(previous);

    host->OnShowMessage = [](QObject *, QWidget *, const QString &text, const QString &, std::uint32_t, const QString &,
                             std::uint32_t, int &plResult) {
        plResult = text == QLatin1String("ok?") ? IDOK : IDCANCEL;
        return S_OK;
    };
    host->OnShowHelpRequest = [](QObject *, QWidget *, const QString *, std::uint32_t, std::uint32_t, QPoint, IInterface *&) {
        return E_FAIL;
    };
    EXPECT_EQ(host->ShowMessage(nullptr, QStringLiteral("ok?"), {}, 0x21, {}, 0, result), S_OK);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(host->ShowHelp(nullptr, nullptr, HELP_CONTEXT, 0, {}, nullptr), E_FAIL);
}

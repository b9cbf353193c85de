// The services the host offers, its command target, script errors, focus,
// window moves and the drop helpers.

#include "SpyControl.h"

#include "TestSupport.h"

using namespace vocab;
using namespace vocab::test;

namespace {

// A host whose pre-refresh handler the test sets, as the component sets its own.
class RefreshingHost : public TCustomHostedBrowser {
public:
    using TCustomHostedBrowser::TCustomHostedBrowser;
    void onPreRefresh(std::function<void(QObject *)> handler) { FOnPreRefresh = std::move(handler); }
};

HRESULT query(TCustomHostedBrowser &host, const QUuid &service, const QUuid &iid, IInterface *&obj)
{
    return host.QueryService(service, iid, obj);
}

} // namespace

TEST(QueryService, OffersAServiceOnlyWhileItsEventIsAssigned)
{
    struct Case {
        const char *what;
        QUuid service;
        QUuid iid;
        std::function<void(TCustomHostedBrowser &)> assign;
    };
    const auto move = [](TCustomHostedBrowser *, int, int) {};
    const Case cases[] = {
        {"new windows", INewWindowManager::IID, INewWindowManager::IID,
         [](TCustomHostedBrowser &h) { h.OnEvaluateNewWindow = [](auto *, auto &, auto &, auto &, auto &, bool, std::uint32_t, std::uint32_t, HRESULT &) {}; }},
        {"downloads", IDownloadManager::IID, IDownloadManager::IID,
         [](TCustomHostedBrowser &h) { h.OnFileDownload = [](auto *, auto &, auto *, std::uint32_t, std::uint32_t, auto *, auto &, auto &, std::uint32_t, HRESULT &) {}; }},
        {"behaviours", IHostBehaviorInit::IID, IHostBehaviorInit::IID,
         [](TCustomHostedBrowser &h) { h.OnPopulateNSTable = [](QObject *) {}; }},
        {"window moves by an event", IHTMLOMWindowServices::IID, IHTMLOMWindowServices::IID,
         [move](TCustomHostedBrowser &h) { h.OnResizeBy = move; }},
        {"window moves by floating hosting", IHTMLOMWindowServices::IID, IHTMLOMWindowServices::IID,
         [](TCustomHostedBrowser &h) { h.SetFloatingHosting(true); }},
        {"credentials, whatever the service", QUuid::createUuid(), IAuthenticate::IID,
         [](TCustomHostedBrowser &h) { h.OnAuthenticate = [](auto *, QWidget *&, QString &, QString &, HRESULT &) {}; }},
    };
    for (const Case &c : cases) {
        SpyControl *spy = nullptr;
        auto host = makeWithSpy<TCustomHostedBrowser>(spy);
        IInterface *obj = reinterpret_cast<IInterface *>(1);
        EXPECT_EQ(query(*host, c.service, c.iid, obj), E_NOINTERFACE) << c.what;
        EXPECT_EQ(obj, nullptr) << c.what;
        c.assign(*host);
        EXPECT_EQ(query(*host, c.service, c.iid, obj), S_OK) << c.what;
        EXPECT_NE(obj, nullptr) << c.what;
    }
}

TEST(QueryService, AlwaysOffersFocusProtectionAndLetsTheEventSupplyTheRest)
{
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<TCustomHostedBrowser>(spy);
    IInterface *obj = nullptr;
    EXPECT_EQ(query(*host, IProtectFocus::IID, IProtectFocus::IID, obj), S_OK);
    EXPECT_NE(dynamic_cast<IProtectFocus *>(obj), nullptr);

    SpyElement other;
    const QUuid unknown = QUuid::createUuid();
    EXPECT_EQ(query(*host, unknown, unknown, obj), E_NOINTERFACE);
    host->OnQueryService = [&](QObject *, const QUuid &rsid, const QUuid &, IInterface *&Obj) {
        if (rsid == unknown)
            Obj = &other;
    };
    EXPECT_EQ(query(*host, unknown, unknown, obj), S_OK);
    EXPECT_EQ(obj, &other);
    // A service the host gives itself never reaches the event.
    EXPECT_EQ(query(*host, IProtectFocus::IID, IProtectFocus::IID, obj), S_OK);
    EXPECT_NE(dynamic_cast<IProtectFocus *>(obj), nullptr);
}

TEST(CommandTarget, RoutesUnloadRefreshAndTheRestAsTheHostHasEvents)
{
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<RefreshingHost>(spy);
    QList<std::uint32_t> reachedExec;
    host->OnCommandExec = [&](QObject *, const QUuid *, std::uint32_t nCmdID, std::uint32_t, const QVariant &, QVariant *,
                              HRESULT &) { reachedExec << nCmdID; };
    int preRefreshes = 0;
    host->onPreRefresh([&](QObject *) { ++preRefreshes; });

    // Unload: without its event it goes on to the general one.
    EXPECT_EQ(host->Exec(&CGID_Explorer, OLECMDID_ONUNLOAD, 0, {}, nullptr), OLECMDERR_E_NOTSUPPORTED);
    int unloads = 0;
    host->OnUnload = [&](QObject *) { ++unloads; };
    EXPECT_EQ(host->Exec(&CGID_Explorer, OLECMDID_ONUNLOAD, 0, {}, nullptr), S_OK);
    EXPECT_EQ(unloads, 1);

    // Pre-refresh: only with a document window, and then on to the general event too.
    host->Exec(&CGID_Explorer, OLECMDID_PREREFRESH, 0, {}, nullptr);
    EXPECT_EQ(preRefreshes, 0);
    spy->loadDocument();
    host->Exec(&CGID_Explorer, OLECMDID_PREREFRESH, 0, {}, nullptr);
    EXPECT_EQ(preRefreshes, 1);

    // Refreshes: cancelled by the event, never handed on.
    EXPECT_EQ(host->Exec(&CGID_DocHostCommandHandler, IDM_REFRESH_TOP, 0, {}, nullptr), OLECMDERR_E_NOTSUPPORTED);
    host->OnRefresh = [](TCustomHostedBrowser *, int CmdID, bool &Cancel) { Cancel = CmdID == IDM_REFRESH_TOP_FULL; };
    EXPECT_EQ(host->Exec(&CGID_DocHostCommandHandler, IDM_REFRESH_TOP_FULL, 0, {}, nullptr), S_OK);
    EXPECT_EQ(host->Exec(&CGID_DocHostCommandHandler, IDM_REFRESH, 0, {}, nullptr), OLECMDERR_E_NOTSUPPORTED);

    // Anything else, a missing group included.
    EXPECT_EQ(host->Exec(nullptr, 2, 0, {}, nullptr), OLECMDERR_E_NOTSUPPORTED);
    EXPECT_EQ(reachedExec, (QList<std::uint32_t>{OLECMDID_ONUNLOAD, OLECMDID_PREREFRESH, OLECMDID_PREREFRESH, 2}));

    OLECMD cmd{OLECMDID_COPY, 0};
    EXPECT_EQ(host->QueryStatus(nullptr, std::span<OLECMD>(&cmd, 1), nullptr), S_OK);
    EXPECT_EQ(cmd.cmdf, 0u);
}

TEST(ScriptErrors, AnswerByTheActionInForceAndReportTheError)
{
    SpyDocument document;
    SpyEvent error;
    error.properties = {{QStringLiteral("errorline"), 12},
                        {QStringLiteral("errorcharacter"), QString()},
                        {QStringLiteral("errorcode"), QString()},
                        {QStringLiteral("errormessage"), QStringLiteral("Uncaught ReferenceError: x is not defined")},
                        {QStringLiteral("errorurl"), QStringLiteral("file:///prog/")}};
    document.window.currentEvent = &error;
    const QVariant in = QVariant::fromValue(static_cast<IHTMLDocument2 *>(&document));

    struct Case {
        TScriptErrorAction action;
        HRESULT result;
        QVariant out;
    };
    for (const Case &c : {Case{eaContinue, S_OK, true}, Case{eaCancel, S_OK, false}, Case{eaAskUser, S_FALSE, QVariant()}}) {
        SpyControl *spy = nullptr;
        auto host = makeWithSpy<TCustomHostedBrowser>(spy);
        host->SetScriptErrorAction(c.action);
        QVariant out;
        EXPECT_EQ(host->Exec(&CGID_DocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0, in, &out), c.result);
        EXPECT_EQ(out, c.out);
    }

    // The handler hears of the error and may change the action, for the errors after this one.
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<TCustomHostedBrowser>(spy);
    QStringList reported;
    host->OnScriptError = [&](QObject *, const QString &line, const QString &, const QString &, const QString &message,
                              const QString &url, TScriptErrorAction &action) {
        reported << line << message << url;
        action = eaCancel;
    };
    QVariant out;
    EXPECT_EQ(host->Exec(&CGID_DocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0, in, &out), S_OK);
    EXPECT_EQ(out, QVariant(true));
    EXPECT_EQ(reported, QStringList({QStringLiteral("12"), QStringLiteral("Uncaught ReferenceError: x is not defined"),
                                     QStringLiteral("file:///prog/")}));
    EXPECT_EQ(host->ScriptErrorAction(), eaCancel);
    host->Exec(&CGID_DocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0, in, &out);
    EXPECT_EQ(out, QVariant(false));

    // An error that cannot be described is answered as decided, unreported.
    error.properties.remove(QStringLiteral("errorurl"));
    reported.clear();
    host->SetScriptErrorAction(eaContinue);
    EXPECT_EQ(host->Exec(&CGID_DocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0, in, &out), S_OK);
    EXPECT_EQ(out, QVariant(true));
    EXPECT_TRUE(reported.isEmpty());
}

TEST(Services, DefaultAnswersAndTheirEvents)
{
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<TCustomHostedBrowser>(spy);
    EXPECT_EQ(host->EvaluateNewWindow(QStringLiteral("http://a.test/"), {}, {}, {}, false, 0, 0), E_FAIL);
    EXPECT_EQ(host->Download(QUrl(QStringLiteral("http://a.test/f.zip")), nullptr, 0, 0, nullptr, {}, {}, 0), E_NOTIMPL);
    EXPECT_EQ(host->OnZoomPercentChanged(150), S_FALSE);
    EXPECT_EQ(host->PopulateNamespaceTable(), S_OK);
    QWidget *window = nullptr;
    QString user = QStringLiteral("x"), password = QStringLiteral("y");
    EXPECT_EQ(host->Authenticate(window, user, password), S_OK);
    EXPECT_EQ(window, host.get());
    EXPECT_TRUE(user.isEmpty() && password.isEmpty());

    host->OnEvaluateNewWindow = [](TCustomHostedBrowser *, const QString &url, const QString &, const QString &,
                                   const QString &, bool, std::uint32_t, std::uint32_t, HRESULT &Rezult) {
        Rezult = url.contains(QLatin1String("ads")) ? S_FALSE : S_OK;
    };
    host->OnFileDownload = [](TCustomHostedBrowser *, const QUrl &, IInterface *, std::uint32_t, std::uint32_t, IInterface *,
                              const QString &, const QString &, std::uint32_t, HRESULT &Rezult) { Rezult = S_OK; };
    std::uint32_t zoomed = 0;
    host->OnZoomPercentChange = [&](TCustomHostedBrowser *, std::uint32_t percent) {
        zoomed = percent;
        return S_OK;
    };
    host->OnAuthenticate = [](TCustomHostedBrowser *, QWidget *&, QString &name, QString &secret, HRESULT &) {
        name = QStringLiteral("reader");
        secret = QStringLiteral("secret");
    };
    EXPECT_EQ(host->EvaluateNewWindow(QStringLiteral("http://ads.test/"), {}, {}, {}, false, 0, 0), S_FALSE);
    EXPECT_EQ(host->EvaluateNewWindow(QStringLiteral("http://a.test/"), {}, {}, {}, false, 0, 0), S_OK);
    EXPECT_EQ(host->Download(QUrl(QStringLiteral("http://a.test/f.zip")), nullptr, 0, 0, nullptr, {}, {}, 0), S_OK);
    EXPECT_EQ(host->OnZoomPercentChanged(150), S_OK);
    EXPECT_EQ(zoomed, 150u);
    EXPECT_EQ(host->Authenticate(window, user, password), S_OK);
    EXPECT_EQ(user, QStringLiteral("reader"));
    EXPECT_EQ(password, QStringLiteral("secret"));
}

TEST(AllowFocusChange, FollowsCanGrabFocusThenTheEvent)
{
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<TCustomHostedBrowser>(spy);
    bool allow = false;
    EXPECT_EQ(host->AllowFocusChange(allow), S_OK);
    EXPECT_TRUE(allow);
    host->SetCanGrabFocus(false);
    host->AllowFocusChange(allow);
    EXPECT_FALSE(allow);
    host->OnAllowFocusChange = [](QObject *, bool &Value) { Value = !Value; };
    host->AllowFocusChange(allow);
    EXPECT_TRUE(allow);
}

TEST(WindowServices, MoveAndSizeTheParentFormOnlyWhenFloating)
{
    QWidget form;
    form.setGeometry(100, 120, 500, 400);
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<TCustomHostedBrowser>(spy, &form);
    QStringList events;
    host->OnMove = [&](TCustomHostedBrowser *, int x, int y) { events << QStringLiteral("move %1 %2").arg(x).arg(y); };
    host->OnResizeBy = [&](TCustomHostedBrowser *, int x, int y) { events << QStringLiteral("resizeBy %1 %2").arg(x).arg(y); };

    EXPECT_EQ(host->moveTo(50, 60), S_OK);
    EXPECT_EQ(form.pos(), QPoint(100, 120)) << "not floating: the form stays";
    host->SetFloatingHosting(true);
    host->moveTo(50, 60);
    EXPECT_EQ(form.pos(), QPoint(50, 60));
    EXPECT_EQ(form.size(), QSize(500, 400));
    host->moveBy(0, 0);
    EXPECT_EQ(form.pos(), QPoint(50, 60));
    host->moveBy(5, -10);
    EXPECT_EQ(form.pos(), QPoint(55, 50));
    host->resizeTo(600, 450);
    EXPECT_EQ(form.size(), QSize(600, 450));
    EXPECT_EQ(form.pos(), QPoint(55, 50));
    host->resizeBy(-100, 50);
    EXPECT_EQ(form.size(), QSize(500, 500));
    EXPECT_EQ(events, QStringList({QStringLiteral("move 50 60"), QStringLiteral("move 50 60"), QStringLiteral("resizeBy -100 50")}));
}

TEST(DropHelpers, ChooseOneEffectAndNameIt)
{
    struct Case {
        int keys;
        int allowed;
        int chosen;
    };
    const Case cases[] = {
        {0, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, DROPEFFECT_COPY},
        {MK_SHIFT, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, DROPEFFECT_MOVE},
        {MK_SHIFT | MK_CONTROL, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, DROPEFFECT_LINK},
        {MK_CONTROL, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, DROPEFFECT_COPY},
        {MK_SHIFT, DROPEFFECT_COPY, DROPEFFECT_COPY},
        {MK_SHIFT | MK_CONTROL, DROPEFFECT_COPY, DROPEFFECT_COPY},
        {0, DROPEFFECT_MOVE | DROPEFFECT_LINK, DROPEFFECT_MOVE},
        {0, DROPEFFECT_LINK, DROPEFFECT_LINK},
        {MK_SHIFT, DROPEFFECT_NONE, DROPEFFECT_NONE},
    };
    for (const Case &c : cases) {
        int effect = c.allowed;
        TCustomHostedBrowser::DropEffect(c.keys, effect);
        EXPECT_EQ(effect, c.chosen) << c.keys << " " << c.allowed;
    }
    EXPECT_EQ(TCustomHostedBrowser::dwEffectToStr(3), QStringLiteral("Unknown."));
    EXPECT_EQ(TCustomHostedBrowser::dwEffectToStr(DROPEFFECT_COPY), QStringLiteral("Drag source should copy the data."));
    EXPECT_EQ(TCustomHostedBrowser::dwEffectToStr(DRAGDROP_S_CANCEL), QStringLiteral("The drag-and-drop operation was canceled."));
    EXPECT_EQ(TCustomHostedBrowser::dwEffectToStr(E_OUTOFMEMORY), QStringLiteral("Out of memory."));
}

TEST(DropTarget, AnswersNoEffectUnlessItsEventsChooseOne)
{
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<TCustomHostedBrowser>(spy);
    int effect = DROPEFFECT_COPY;
    EXPECT_EQ(host->DragEnter(nullptr, 0, {}, effect), S_OK);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    host->OnDragOver2 = [](QObject *, int grfKeyState, QPoint, int &dwEffect, HRESULT &) {
        dwEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        TCustomHostedBrowser::DropEffect(grfKeyState, dwEffect);
    };
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(host->DragOver(MK_SHIFT, {}, effect), S_OK);
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(host->Drop(nullptr, 0, {}, effect), S_OK);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
}

// The browser component over the real engine, set up as the main window
// carries it: the window's menu in place of the browser's, Ctrl+N kept
// from the page, focus and zoom from code and from the user, the host's
// style sheet, user agent and URL translation, script errors and messages.

#include "HostedBrowser.h"
#include "platform/web/EngineTestSupport.h"
#include "platform/web/LocalHttpServer.h"

#include "MessageBoxes.h"
#include "PageWriter.h"
#include "Registry.h"
#include "ScriptRunner.h"
#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDropEvent>
#include <QMimeData>
#include <QLineEdit>
#include <QMenu>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <QWheelEvent>

using namespace vocab;
using namespace vocab::test;

namespace {

// A window like the main one: a search box above the article view.
class ArticleWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto *layout = new QVBoxLayout(&window);
        searchBox = new QLineEdit(&window);
        layout->addWidget(searchBox);
        menu = new QMenu(&window);
        menu->addAction(QStringLiteral("Копировать"));
        Emb = CreateArticleView(&window, menu);
        layout->addWidget(Emb, 1);
        window.resize(640, 480);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        searchBox->setFocus();
        loadBlank(*Emb);
    }

    void write(const QString &body, const QString &title = QStringLiteral("Статья"))
    {
        writePage(*Emb, QStringLiteral("<html><head><title>%1</title></head><body>%2</body></html>").arg(title, body));
        // The engine makes the document window with the first page it shows.
        ASSERT_TRUE(waitUntil([&] { return Emb->HWND() != nullptr; }));
    }

    QWidget *documentWindow() const { return Emb->HWND(); }
    // Clicks the middle of an element of the page.
    void click(const QString &id)
    {
        const QRect box = Emb->Doc3()->getElementById(id)->getBoundingClientRect();
        QTest::mouseClick(documentWindow(), Qt::LeftButton, {}, box.center());
    }
    QWebEngineView *view() const { return static_cast<QWebEngineView *>(Emb->Control()->ViewWindow()); }
    QString inputValue() const
    {
        const auto input = Emb->Doc3()->getElementById(QStringLiteral("box"));
        return input ? input->outerHTML() : QString();
    }

    HostedBrowserModuleScope module;
    QWidget window;
    QLineEdit *searchBox = nullptr;
    QMenu *menu = nullptr;
    THostedBrowser *Emb = nullptr;
};

// Stands in for the user's web browser, which opens the windows a page
// asks for when the host lets it.
class DesktopBrowser : public QObject {
    Q_OBJECT
public:
    DesktopBrowser() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~DesktopBrowser() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    Q_INVOKABLE void open(const QUrl &url) { opened << url.fileName(); }
    QStringList opened;
};

} // namespace

TEST_F(ArticleWindow, IsSetUpAsTheMainWindowCarriesIt)
{
    EXPECT_EQ(Emb->objectName(), QStringLiteral("Emb"));
    EXPECT_EQ(Emb->PopupMenu(), menu);
    EXPECT_TRUE(Emb->DisabledPopupMenus().contains(rcmAll));
    EXPECT_EQ(Emb->DisableCtrlShortcuts(), QStringLiteral("N"));
    EXPECT_EQ(Emb->UserInterfaceValue(), 0x44000u);
    EXPECT_EQ(Emb->DownloadOptionValue(), 0x70u);
    write(QStringLiteral("<p>Текст</p>"));
    EXPECT_EQ(Emb->Document()->title(), QStringLiteral("Статья"));
}

TEST_F(ArticleWindow, ARightClickShowsTheWindowsMenuAndNeverTheBrowsersOwn)
{
    write(QStringLiteral("<p style='font-size:40px'>Берёза</p>"));
    std::vector<std::uint32_t> kinds;
    Emb->OnShowContextMenu = [&](TCustomHostedBrowser *, std::uint32_t dwID, const QPoint *, IInterface *,
                                 const ContextMenuContext *, HRESULT &) { kinds.push_back(dwID); };
    QTest::mouseClick(documentWindow(), Qt::RightButton, {}, QPoint(30, 30));
    ASSERT_TRUE(waitUntil([&] { return menu->isVisible(); }));
    EXPECT_EQ(kinds, std::vector<std::uint32_t>{CONTEXT_MENU_DEFAULT});
    EXPECT_EQ(QApplication::activePopupWidget(), menu);
    menu->hide();
}

TEST_F(ArticleWindow, TheBrowsersOwnMenuLosesTheItemsTheComponentTakesOut)
{
    Emb->SetDisabledPopupMenus({});
    Emb->SetDisabledPopupMenuItems({rcsBack, rcsForward, rcsRefresh, rcsViewSource});
    write(QStringLiteral("<p style='font-size:40px'>Берёза</p>"));
    QTest::mouseClick(documentWindow(), Qt::RightButton, {}, QPoint(30, 30));
    ASSERT_TRUE(waitUntil([] { return QApplication::activePopupWidget() != nullptr; }));
    auto *shown = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(shown, nullptr);
    EXPECT_NE(shown, menu);
    for (QAction *action : shown->actions())
        EXPECT_FALSE(action->data() == IDM_GOBACKWARD || action->data() == IDM_GOFORWARD
                     || action->data() == IDM_REFRESH || action->data() == IDM_VIEWSOURCE)
            << action->text().toStdString();
    shown->close();
}

TEST_F(ArticleWindow, CtrlNNeverReachesThePageUnderAnyLayoutWhileOtherKeysDo)
{
    // The page notes every character key it gets with Ctrl held.
    write(QStringLiteral("<input id=box data-ctrl='' onkeydown=\"if(event.ctrlKey&&event.key.length==1)"
                         "this.setAttribute('data-ctrl',this.getAttribute('data-ctrl')+event.key)\">"));
    Emb->Doc3()->getElementById(QStringLiteral("box"))->focus();
    Emb->SetFocusToDoc();
    ASSERT_TRUE(waitUntil([&] { return Emb->Doc4()->hasFocus(); }));
    QString masked;
    Emb->OnMaskedCtrlChar = [&](TCustomHostedBrowser *, QChar c) { masked += c; };

    QTest::keyClick(documentWindow(), Qt::Key_N, Qt::ControlModifier);
    // Ctrl with the key where N is, typed under a Russian layout.
    QKeyEvent press(QEvent::KeyPress, 0x0422, Qt::ControlModifier, 57, 0, 0, QStringLiteral("т"));
    QApplication::sendEvent(documentWindow(), &press);
    QTest::keyClick(documentWindow(), Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(masked, QStringLiteral("NN"));
    ASSERT_TRUE(waitUntil([&] { return inputValue().contains(QLatin1String("data-ctrl=\"b")); }));
    EXPECT_TRUE(inputValue().contains(QLatin1String("data-ctrl=\"b\""))) << inputValue().toStdString();
}

TEST_F(ArticleWindow, SetFocusToDocTakesTheFocusFromTheSearchBox)
{
    write(QStringLiteral("<p>Текст</p>"));
    ASSERT_TRUE(searchBox->hasFocus());
    const bool couldGrab = Emb->CanGrabFocus();
    Emb->SetFocusToDoc();
    EXPECT_EQ(QApplication::focusWidget(), documentWindow());
    EXPECT_TRUE(waitUntil([&] { return Emb->Doc4()->hasFocus(); }));
    EXPECT_EQ(Emb->CanGrabFocus(), couldGrab);
}

TEST_F(ArticleWindow, ZoomsFromCodeAndFromTheUserTellingTheHost)
{
    write(QStringLiteral("<p>Текст</p>"));
    std::vector<std::uint32_t> changes;
    Emb->OnZoomPercentChange = [&](TCustomHostedBrowser *, std::uint32_t percent) {
        changes.push_back(percent);
        return S_OK;
    };
    Emb->SetZoomPercent(150);
    EXPECT_DOUBLE_EQ(view()->zoomFactor(), 1.5);
    Emb->SetZoomPercent(900);
    EXPECT_DOUBLE_EQ(view()->zoomFactor(), 5.0);
    Emb->SetZoomPercent(100);
    Emb->SetZoom(4);
    EXPECT_EQ(Emb->Zoom(), 4);
    EXPECT_DOUBLE_EQ(view()->zoomFactor(), 1.3);
    Emb->SetZoom(2);

    // Ctrl and the wheel: the engine would zoom by itself without a word.
    // Over the document that has the focus: elsewhere the turn only gives it the focus.
    documentWindow()->setFocus();
    const QPointF at(20, 20);
    QWheelEvent up(at, documentWindow()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::ControlModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(documentWindow(), &up);
    EXPECT_DOUBLE_EQ(view()->zoomFactor(), 1.1);
    EXPECT_EQ(changes, (std::vector<std::uint32_t>{150, 500, 100, 110}));
    EXPECT_EQ(Emb->ZoomPercent(), 100) << "the value last written";
}

TEST_F(ArticleWindow, TheHostStyleSheetShapesEveryPageAndCannotBreakOut)
{
    Emb->SetHostCSS(QStringLiteral("#box{width:123px;height:7px}</style><script>document.title='hacked'</script>"));
    write(QStringLiteral("<div id=box></div>"), QStringLiteral("short"));
    const auto box = Emb->Doc3()->getElementById(QStringLiteral("box"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(waitUntil([&] { return box->getBoundingClientRect().width() == 123; }));
    // A page too long to go inline, and no longer, its text not shown: laying
    // out more only keeps a busy machine from answering the reads in time.
    QString longPage;
    for (int i = 0; i < 32000; ++i)
        longPage += QStringLiteral("<p>Строка %1 длинной статьи</p>").arg(i);
    ASSERT_GT(PageWriter::inlineAddressLength(longPage.toUtf8()), PageWriter::EngineInlineLimit);
    write(QStringLiteral("<div id=box></div><div hidden>") + longPage + QStringLiteral("</div>"), QStringLiteral("long"));
    const auto longBox = Emb->Doc3()->getElementById(QStringLiteral("box"));
    ASSERT_NE(longBox, nullptr);
    EXPECT_TRUE(waitUntil([&] { return longBox->getBoundingClientRect().width() == 123; }));
    EXPECT_EQ(Emb->Document()->title(), QStringLiteral("long"));
}

TEST_F(ArticleWindow, TheUserAgentGoesOutAsOneHeaderAndTranslatedUrlsAreFollowed)
{
    LocalHttpServer server;
    Emb->SetUserAgent(QStringLiteral("Vocabulinarum/2\r\nX-Evil: 1"));
    Emb->SetUserAgentMode(uaInternal);
    Emb->OnTranslateUrl = [&](TCustomHostedBrowser *, const QString &in, QString &out) {
        if (in.endsWith(QLatin1String("/old")))
            out = server.url(QStringLiteral("/new")).toString();
    };
    Emb->Navigate(server.url(QStringLiteral("/old")).toString());
    ASSERT_TRUE(waitUntil([&] { return !server.requests().isEmpty(); }));
    const QByteArray request = server.requests().first().head;
    EXPECT_TRUE(request.startsWith("GET /new ")) << request.toStdString();
    EXPECT_TRUE(request.contains("\r\nUser-Agent: Vocabulinarum/2\r\n"));
    EXPECT_FALSE(request.contains("X-Evil"));

    // A NUL would stop the engine from starting any page at all.
    Emb->SetUserAgent(QStringLiteral("Vocabulinarum/3") + QChar(0) + QStringLiteral("X-Evil: 1"));
    Emb->Navigate(server.url(QStringLiteral("/nul")).toString());
    ASSERT_TRUE(Emb->Wait(10000));
    EXPECT_EQ(Emb->Document()->title(), QStringLiteral("served"));
    const QList<LocalHttpServer::Request> sent = server.requestsOf("/nul");
    ASSERT_FALSE(sent.isEmpty());
    EXPECT_TRUE(sent.first().head.contains("\r\nUser-Agent: Vocabulinarum/3\r\n")) << sent.first().head.toStdString();
}

// In the registry mode the engine's own agent goes out with the user's
// additions, the component's among them, until the component takes its back.
TEST_F(ArticleWindow, TheRegistryModeAddsItsTokenToTheEnginesOwnAgent)
{
    QTemporaryDir dir;
    qputenv("VOCABULINARUM_REGISTRY", QFile::encodeName(dir.filePath(QStringLiteral("registry.json"))));
    const auto restore = qScopeGuard([] { qunsetenv("VOCABULINARUM_REGISTRY"); });
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(QStringLiteral("\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings"
                                                    "\\User Agent\\Post Platform"),
                                     true));
        registry.WriteString(QStringLiteral("Other.Tool/1"), QString());
    }
    LocalHttpServer server;
    const auto agentOf = [&](const char *path) -> QByteArray {
        Emb->Navigate(server.url(QString::fromLatin1(path)).toString());
        if (!waitUntil([&] { return !server.requestsOf(path).isEmpty(); }))
            return {};
        const QByteArray head = server.requestsOf(path).first().head;
        const qsizetype at = head.indexOf("\r\nUser-Agent: ");
        return at < 0 ? QByteArray() : head.mid(at + 14, head.indexOf("\r\n", at + 2) - at - 14);
    };
    Emb->SetUserAgent(QStringLiteral("Vocab/2"));
    Emb->SetUserAgentMode(uaRegistry);
    const QByteArray withToken = agentOf("/registry");
    EXPECT_TRUE(withToken.startsWith("Mozilla/5.0 (")) << withToken.toStdString();
    EXPECT_TRUE(withToken.contains("; Other.Tool/1; Vocab/2) ")) << withToken.toStdString();
    EXPECT_TRUE(withToken.contains("Chrome/")) << "the engine's own agent: " << withToken.toStdString();

    Emb->SetUserAgentMode(uaDefault);
    const QByteArray taken = agentOf("/default");
    EXPECT_TRUE(taken.contains("; Other.Tool/1) ")) << taken.toStdString();
    EXPECT_FALSE(taken.contains("Vocab/2")) << taken.toStdString();
}

// The document window's activation follows its focus, and what the page
// copies goes past the host's data filter, which may put its own in place;
// a clipboard changed by another part of the program is left alone.
TEST_F(ArticleWindow, TheDocumentsActivationAndTheDataItCopiesReachTheHost)
{
    std::vector<bool> activations;
    Emb->OnOnDocWindowActivate = [&](TCustomHostedBrowser *, bool fActivate) { activations.push_back(fActivate); };
    QStringList filtered;
    QMimeData replacement;
    replacement.setText(QStringLiteral("заменено хозяином"));
    Emb->OnFilterDataObject = [&](TCustomHostedBrowser *, const QMimeData *pDO, const QMimeData *&ppDORet) {
        filtered << pDO->text();
        ppDORet = &replacement;
    };
    write(QStringLiteral("<p id=text>исходный текст</p>"));
    QWebEnginePage *page = view()->page();
    ASSERT_NE(Emb->Doc3()->getElementById(QStringLiteral("text")), nullptr); // the page has landed
    runScriptAndWait(page, QStringLiteral("document.addEventListener('mouseup', function() { window.clicked = true; }, true)"), 5000);
    click(QStringLiteral("text"));
    // The page has the whole click before its text is selected below: a click
    // that reached it later would put its caret in place of the selection.
    ASSERT_TRUE(waitUntil([&] { return runScriptAndWait(page, QStringLiteral("window.clicked === true"), 5000).toBool(); }));
    ASSERT_TRUE(waitUntil([&] { return !activations.empty(); }));
    EXPECT_EQ(activations, std::vector<bool>{true});
    searchBox->setFocus();
    ASSERT_TRUE(waitUntil([&] { return activations.size() == 2; }));
    EXPECT_EQ(activations, (std::vector<bool>{true, false}));

    // Copied by command while the search box has the focus.
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("до копирования"));
    ASSERT_EQ(Emb->InvokeCommand(nullptr, OLECMDID_SELECTALL), S_OK);
    ASSERT_EQ(Emb->InvokeCommand(nullptr, OLECMDID_COPY), S_OK);
    ASSERT_TRUE(waitUntil([&] { return clipboard->text() == QStringLiteral("заменено хозяином"); }))
        << clipboard->text().toStdString();
    ASSERT_EQ(filtered.size(), 1);
    EXPECT_TRUE(filtered.first().contains(QStringLiteral("исходный текст"))) << filtered.first().toStdString();

    clipboard->setText(QStringLiteral("из поля поиска"));
    EXPECT_EQ(clipboard->text(), QStringLiteral("из поля поиска"));
    EXPECT_EQ(filtered.size(), 1) << "not the page's data";

    // Without a replacement the page's data stays as it is.
    Emb->OnFilterDataObject = [&](TCustomHostedBrowser *, const QMimeData *pDO, const QMimeData *&) {
        filtered << pDO->text();
    };
    ASSERT_EQ(Emb->InvokeCommand(nullptr, OLECMDID_COPY), S_OK);
    ASSERT_TRUE(waitUntil([&] { return filtered.size() == 2; }));
    EXPECT_TRUE(clipboard->text().contains(QStringLiteral("исходный текст"))) << clipboard->text().toStdString();
}

TEST_F(ArticleWindow, ScriptErrorsAreReportedAndMessagesGoThroughTheHost)
{
    QStringList errors;
    Emb->OnScriptError = [&](QObject *, const QString &line, const QString &, const QString &, const QString &message,
                             const QString &, TScriptErrorAction &) { errors << line + u' ' + message; };
    QStringList messages;
    Emb->OnShowMessage = [&](QObject *, QWidget *, const QString &text, const QString &, std::uint32_t dwType,
                             const QString &, std::uint32_t, int &plResult) {
        messages << QStringLiteral("%1 %2").arg(text).arg(dwType, 0, 16);
        plResult = IDOK;
        return S_OK;
    };
    write(QStringLiteral("<script>\nalert('внимание');\ndocument.title=confirm('да?')?'yes':'no';\nnoSuchFunction();\n</script>"));
    ASSERT_TRUE(waitUntil([&] { return !errors.isEmpty(); }));
    EXPECT_TRUE(errors.first().startsWith(QLatin1String("4 Uncaught ReferenceError"))) << errors.first().toStdString();
    EXPECT_EQ(messages, QStringList({QStringLiteral("внимание 30"), QStringLiteral("да? 21")}));
    EXPECT_EQ(Emb->Document()->title(), QStringLiteral("yes"));

    // Without a handler the control shows its own box.
    Emb->OnShowMessage = nullptr;
    QStringList boxes;
    const auto previous = setMessageBoxResponder([&](const MessageBoxRequest &r) {
        boxes << r.text;
        return IDCANCEL;
    });
    write(QStringLiteral("<script>document.title=confirm('ещё?')?'yes':'no';</script>"));
    EXPECT_EQ(Emb->Document()->title(), QStringLiteral("no"));
    EXPECT_EQ(boxes, QStringList{QStringLiteral("ещё?")});
    setMessageBoxResponder(previous);
}

TEST_F(ArticleWindow, MovingTheComponentToAnotherWindowKeepsItsPage)
{
    write(QStringLiteral("<p id=kept>Текст</p>"), QStringLiteral("kept"));
    ASSERT_EQ(Emb->Document()->title(), QStringLiteral("kept"));
    int loads = 0;
    Emb->OnDownloadBegin = [&](THB *) { ++loads; };
    QWidget other;
    auto *layout = new QVBoxLayout(&other);
    layout->addWidget(Emb);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    EXPECT_EQ(Emb->Document()->title(), QStringLiteral("kept"));
    EXPECT_NE(Emb->Doc3()->getElementById(QStringLiteral("kept")), nullptr);
    EXPECT_EQ(loads, 0);
    window.layout()->addWidget(Emb);
}

TEST_F(ArticleWindow, NewWindowsOpenOnlyWhereTheHostLetsThem)
{
    DesktopBrowser desktop;
    QStringList evaluated;
    Emb->OnEvaluateNewWindow = [&](TCustomHostedBrowser *, const QString &url, const QString &, const QString &,
                                   const QString &, bool, std::uint32_t dwFlags, std::uint32_t, HRESULT &Rezult) {
        evaluated << QUrl(url).fileName() + (dwFlags & NWMF_USERINITIATED ? u'!' : u'?');
        Rezult = url.endsWith(QLatin1String("blocked.htm")) ? S_FALSE : E_FAIL;
    };
    write(QStringLiteral("<a id=blocked href='file:///nowhere/blocked.htm' target=_blank style='font-size:40px'>первая</a><br>"
                         "<a id=allowed href='file:///nowhere/allowed.htm' target=_blank style='font-size:40px'>вторая</a>"));
    click(QStringLiteral("blocked"));
    click(QStringLiteral("allowed"));
    ASSERT_TRUE(waitUntil([&] { return !desktop.opened.isEmpty(); }));
    EXPECT_EQ(evaluated, QStringList({QStringLiteral("blocked.htm!"), QStringLiteral("allowed.htm!")}));
    EXPECT_EQ(desktop.opened, QStringList{QStringLiteral("allowed.htm")});
}

TEST_F(ArticleWindow, ADownloadTheHostTakesIsLeftToIt)
{
    QStringList taken;
    Emb->OnFileDownload = [&](TCustomHostedBrowser *, const QUrl &pmk, IInterface *, std::uint32_t, std::uint32_t,
                              IInterface *, const QString &, const QString &, std::uint32_t, HRESULT &Rezult) {
        taken << pmk.toString();
        Rezult = S_OK;
    };
    write(QStringLiteral("<a id=file href='data:text/plain,word' download='word.txt' style='font-size:40px'>скачать</a>"));
    click(QStringLiteral("file"));
    ASSERT_TRUE(waitUntil([&] { return !taken.isEmpty(); }));
    EXPECT_EQ(taken, QStringList{QStringLiteral("data:text/plain,word")});
}

TEST_F(ArticleWindow, DropsGoToTheHostWhenItHandlesThemAndNowhereWhenRefused)
{
    write(QStringLiteral("<p>Текст</p>"));
    QMimeData data;
    data.setText(QStringLiteral("слово"));
    const QPointF at(20, 20);
    const auto dragEnter = [&] {
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(documentWindow(), &enter);
        return enter.isAccepted() ? enter.dropAction() : Qt::IgnoreAction;
    };

    Emb->SetDropHandlingType(ddtNo);
    EXPECT_EQ(dragEnter(), Qt::IgnoreAction);

    QStringList heard;
    Emb->OnDragEnter = [&](QObject *, const QMimeData *dataObj, int grfKeyState, QPoint, int &dwEffect, HRESULT &) {
        heard << dataObj->text();
        TCustomHostedBrowser::DropEffect(grfKeyState, dwEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE);
    };
    Emb->OnDropEvent = [&](QObject *, const QMimeData *dataObj, int, QPoint, int &dwEffect, HRESULT &) {
        heard << QStringLiteral("dropped ") + dataObj->text();
        dwEffect = DROPEFFECT_COPY;
    };
    Emb->SetDropHandlingType(ddtMy);
    EXPECT_EQ(dragEnter(), Qt::MoveAction) << "Shift held: move";
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(documentWindow(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(heard, QStringList({QStringLiteral("слово"), QStringLiteral("dropped слово")}));
}

#include "HostedBrowserEngineTest.moc"

// A page written reaches the host through the calls a page navigated to
// does, in the same order: the host's information as the page begins, then
// the focus rule, the drop target and the update of the interface once it
// is there. Each page makes them once.
TEST_F(ArticleWindow, AWrittenPageGetsTheHostsCallsOfANavigatedOne)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("page.htm"));
    writeBytes(file, QByteArrayLiteral("<html><head><title>Файл</title></head><body><p>Файл</p></body></html>"));
    Emb->SetDropHandlingType(ddtCustom);
    QStringList calls;
    Emb->OnGetHostInfo = [&](TCustomHostedBrowser *, DOCHOSTUIINFO &) { calls << QStringLiteral("host info"); };
    Emb->OnAllowFocusChange = [&](QObject *, bool &) { calls << QStringLiteral("focus"); };
    Emb->OnGetDropTarget = [&](TCustomHostedBrowser *, IDropTarget *&) { calls << QStringLiteral("drop target"); };
    Emb->OnUpdateUI = [&](QObject *, HRESULT &) {
        if (calls.isEmpty() || calls.constLast() != QLatin1String("update"))
            calls << QStringLiteral("update");
    };
    const auto callsOf = [&](const std::function<void()> &show) {
        calls.clear();
        show();
        EXPECT_TRUE(waitInLoop([&] { return !Emb->Busy() && calls.contains(QStringLiteral("update")); }));
        return calls;
    };
    const QStringList navigated = callsOf([&] { Emb->Navigate(file); });
    EXPECT_EQ(navigated, (QStringList{QStringLiteral("host info"), QStringLiteral("focus"), QStringLiteral("drop target"),
                                      QStringLiteral("update")}));
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE(page);
        EXPECT_EQ(callsOf([&] { write(QStringLiteral("<p>Страница</p>"), QStringLiteral("Страница %1").arg(page)); }), navigated);
    }
}

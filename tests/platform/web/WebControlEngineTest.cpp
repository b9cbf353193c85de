// The browser control over the real engine, without a host: its document,
// page writing, navigation and its events.

#include "EngineTestSupport.h"
#include "LocalHttpServer.h"
#include "NavigationTracker.h"
#include "OleCommands.h"
#include "OleError.h"
#include "PageWriter.h"
#include "ScriptRunner.h"
#include "WebPage.h"
#include "TestSupport.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <csignal>
#include <ctime>
#include <functional>

using namespace vocab;
using namespace vocab::test;

namespace {

class WebControlEngine : public ::testing::Test {
protected:
    void SetUp() override
    {
        browser.resize(600, 400);
        browser.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&browser));
    }

    THB browser;
};

QString pageWithTitle(const QString &title, const QString &body)
{
    return QStringLiteral("<html><head><title>%1</title></head><body>%2</body></html>").arg(title, body);
}

// Processor time this thread has used.
qint64 threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// Paragraphs of Cyrillic text, as an article has.
QString lines(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("<p>Строка номер %1 из длинной статьи</p>").arg(i);
    return text;
}

} // namespace

TEST_F(WebControlEngine, HasNoDocumentUntilAPageIsLoaded)
{
    EXPECT_EQ(browser.Document(), nullptr);
    EXPECT_EQ(browser.ReadyState(), READYSTATE_UNINITIALIZED);
    EXPECT_TRUE(browser.LocationURL().isEmpty());
    // No page asked for: the wait ends at its time, and sleeps meanwhile.
    const qint64 cpuBefore = threadCpuMs();
    EXPECT_FALSE(browser.WaitForDocument(500));
    EXPECT_LT(threadCpuMs() - cpuBefore, 200) << "the wait kept the processor busy";
    loadBlank(browser);
    EXPECT_NE(browser.Document(), nullptr);
    EXPECT_TRUE(waitUntil([&] { return browser.ReadyState() == READYSTATE_COMPLETE; }));
}

TEST_F(WebControlEngine, ReadsTitleBodyAndElementsOfAWrittenPage)
{
    loadBlank(browser);
    writePage(browser, pageWithTitle(QStringLiteral("Статья"), QStringLiteral("<p id=word>Берёза белая</p>")));
    IHTMLDocument2 *doc = browser.Document();
    EXPECT_EQ(doc->title(), QStringLiteral("Статья"));
    const auto body = doc->body();
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->innerText(), QStringLiteral("Берёза белая"));
    EXPECT_EQ(body->innerHTML(), QStringLiteral("<p id=\"word\">Берёза белая</p>"));
    auto *doc3 = dynamic_cast<IHTMLDocument3 *>(doc);
    ASSERT_NE(doc3, nullptr);
    const auto word = doc3->getElementById(QStringLiteral("word"));
    ASSERT_NE(word, nullptr);
    EXPECT_EQ(word->tagName(), QStringLiteral("P"));
    EXPECT_EQ(doc3->getElementById(QStringLiteral("nothing")), nullptr);
    EXPECT_EQ(doc->charset(), QStringLiteral("UTF-8"));
    EXPECT_EQ(doc->designMode(), QStringLiteral("Off"));
}

TEST_F(WebControlEngine, ReadsTheSelectionOfThePage)
{
    loadBlank(browser);
    // The page selects its first word itself, as a double click would.
    writePage(browser, pageWithTitle(QStringLiteral("s"), QStringLiteral(
        "<p><span id=w>Слово</span> и ещё</p><script>var r=document.createRange();"
        "r.selectNodeContents(document.getElementById('w'));getSelection().addRange(r);</script>")));
    const auto selection = browser.Document()->selection();
    EXPECT_EQ(selection->type(), QStringLiteral("Text"));
    EXPECT_EQ(selection->createRange()->text(), QStringLiteral("Слово"));
    EXPECT_EQ(browser.QueryStatusWB(OLECMDID_COPY), OLECMDF_SUPPORTED | OLECMDF_ENABLED);

    writePage(browser, pageWithTitle(QStringLiteral("s"), QStringLiteral("<p>без выделения</p>")));
    EXPECT_EQ(browser.Document()->selection()->type(), QStringLiteral("None"));
    EXPECT_EQ(browser.Document()->selection()->createRange()->text(), QString());
    EXPECT_EQ(browser.QueryStatusWB(OLECMDID_COPY), OLECMDF_SUPPORTED);
    EXPECT_EQ(browser.QueryStatusWB(OLECMDID_ZOOM), OLECMDF_SUPPORTED | OLECMDF_ENABLED);
    EXPECT_EQ(browser.QueryStatusWB(9999), 0u);
}

TEST_F(WebControlEngine, EachWrittenPageReplacesTheLastWhole)
{
    loadBlank(browser);
    bool navigated = false;
    browser.OnBeforeNavigate2 = [&](THB *, const QString &, int, const QString &, const QByteArray &, const QString &,
                                    bool &) { navigated = true; };
    writePage(browser, pageWithTitle(QStringLiteral("A"), QStringLiteral("<p id=a>first</p>")));
    // Pages written in a row before the first has landed: only the last counts.
    writePage(browser, pageWithTitle(QStringLiteral("B"), QStringLiteral("<p id=b>second</p>")));
    writePage(browser, pageWithTitle(QStringLiteral("C"), QStringLiteral("<p id=c>third</p>")));
    auto *doc3 = dynamic_cast<IHTMLDocument3 *>(browser.Document());
    EXPECT_EQ(browser.Document()->title(), QStringLiteral("C"));
    EXPECT_EQ(doc3->getElementById(QStringLiteral("a")), nullptr);
    EXPECT_EQ(doc3->getElementById(QStringLiteral("b")), nullptr);
    EXPECT_NE(doc3->getElementById(QStringLiteral("c")), nullptr);
    // The empty page is written the same way.
    writePage(browser, QString());
    EXPECT_EQ(browser.Document()->body()->innerText(), QString());
    EXPECT_FALSE(navigated) << "a written page is no navigation of the user's";
}

// A page far above the engine's limit for inline content shows whole, and
// its picture resolves against the program's folder as a short page's does.
TEST_F(WebControlEngine, WritesPagesOfAnySizeWithPicturesFromTheBaseFolder)
{
    QTemporaryDir folder;
    QImage picture(7, 5, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(folder.filePath(QStringLiteral("pic.png"))));
    const QUrl base = QUrl::fromLocalFile(folder.path() + u'/');
    engineOf(browser).SetDocumentBaseUrl(base);
    loadBlank(browser);

    // The middle one is under 1.6 MB of UTF-8, but over the engine's limit
    // once coded as the engine takes a page inline.
    const QString middleBody = lines(23000);
    const QString longBody = lines(40000);
    for (const QString &filler : {QString(), middleBody, longBody}) {
        // Each page a title of its own, so that the one before cannot pass for it.
        const QString title = QStringLiteral("Картинка %1").arg(filler.size());
        // The filler is not shown: laying out so much text would only keep a
        // busy machine from answering the reads in time.
        const QString page = pageWithTitle(title, QStringLiteral("<img id=pic src=\"pic.png\"><div hidden>") + filler
                                                      + QStringLiteral("</div><p id=last>КОНЕЦ</p>"));
        SCOPED_TRACE(page.toUtf8().size());
        writePage(browser, page);
        auto *doc3 = dynamic_cast<IHTMLDocument3 *>(browser.Document());
        const auto last = doc3->getElementById(QStringLiteral("last"));
        ASSERT_NE(last, nullptr);
        EXPECT_EQ(last->innerText(), QStringLiteral("КОНЕЦ"));
        EXPECT_EQ(browser.Document()->title(), title);
        EXPECT_EQ(browser.Document()->url(), base.toString());
        const auto pic = doc3->getElementById(QStringLiteral("pic"));
        EXPECT_TRUE(waitUntil([&] { return pic->getBoundingClientRect().size() == QSize(7, 5); }))
            << pic->getBoundingClientRect().width();
    }
    EXPECT_GT(longBody.toUtf8().size(), 2 * 1024 * 1024);
    EXPECT_LT(middleBody.toUtf8().size(), 1600 * 1000);
    EXPECT_GT(PageWriter::inlineAddressLength(middleBody.toUtf8()), 2 * 1024 * 1024);
}

// Whether a page goes inline is told by the length of the address the
// engine makes of it: a page right at the limit goes inline without the
// engine refusing it, and a page the engine refuses inline all the same is
// written the other way and shows whole.
TEST_F(WebControlEngine, APageTheEngineRefusesInlineIsWrittenTheOtherWay)
{
    loadBlank(browser);
    int refused = 0;
    QObject::connect(engineOf(browser).page(), &QWebEnginePage::loadFinished, [&](bool ok) { refused += ok ? 0 : 1; });
    PageWriter &writer = engineOf(browser).writer();

    // The longest page of its kind that goes inline: one letter more, and
    // its address is over the limit.
    const QString head = pageWithTitle(QStringLiteral("edge"), QStringLiteral("<p hidden>"));
    const auto withRoom = [&](qsizetype letters) { return head + QString(letters, u'a') + QStringLiteral("</p>"); };
    const auto addressOf = [&](qsizetype letters) { return PageWriter::inlineAddressLength(withRoom(letters).toUtf8()); };
    // Three bytes take four characters of the address.
    qsizetype room = (PageWriter::EngineInlineLimit - addressOf(0)) * 3 / 4;
    while (addressOf(room + 1) <= PageWriter::EngineInlineLimit)
        ++room;
    while (addressOf(room) > PageWriter::EngineInlineLimit)
        --room;
    const QString edge = withRoom(room);
    ASSERT_GT(addressOf(room), PageWriter::EngineInlineLimit - 4);
    ASSERT_GT(addressOf(room + 1), PageWriter::EngineInlineLimit);
    writePage(browser, edge);
    EXPECT_GT(writer.landingLimitMs(), 2 * PageWriter::LandingLimitMs) << "a long page may take longer to land";
    EXPECT_EQ(browser.Document()->title(), QStringLiteral("edge"));
    EXPECT_EQ(writer.landingLimitMs(), PageWriter::LandingLimitMs);
    EXPECT_TRUE(writer.landed());
    EXPECT_EQ(refused, 0);

    writer.setInlineLimit(100 * 1024 * 1024);
    const QString page = pageWithTitle(QStringLiteral("Отказ"), QStringLiteral("<div hidden>") + lines(23000)
                                                                   + QStringLiteral("</div><p id=last>КОНЕЦ</p>"));
    writePage(browser, page);
    EXPECT_EQ(browser.Document()->title(), QStringLiteral("Отказ"));
    const auto last = dynamic_cast<IHTMLDocument3 *>(browser.Document())->getElementById(QStringLiteral("last"));
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->innerText(), QStringLiteral("КОНЕЦ"));
    EXPECT_TRUE(writer.landed());
    EXPECT_EQ(refused, 1);
}

// Each page written comes in a window of its own, whichever way it goes to
// the engine: a page declaring the same top-level names as the one before
// runs, and nothing the pages before left running (timers, globals, a
// title set later) acts in it.
TEST_F(WebControlEngine, EveryWrittenPageStartsInAWindowOfItsOwn)
{
    loadBlank(browser);
    QWebEnginePage *page = engineOf(browser).page();
    PageWriter &writer = engineOf(browser).writer();
    const auto inPage = [&](const QString &script) {
        return runScriptAndWait(page, QWebEngineScript::MainWorld, script, 5000);
    };
    const auto pageNumber = [](int n) {
        return pageWithTitle(QStringLiteral("Страница %1").arg(n), QStringLiteral(R"(<p>Текст</p><script>
let shared = %1; const fixed = '%1'; class Thing { static n() { return %1; } }
var only%1 = true;
document.documentElement.setAttribute('data-ran', String(shared) + fixed + Thing.n());
var ticks = 0;
setInterval(function () { ++ticks; document.title = 'Страница %1, ' + ticks;
    document.documentElement.setAttribute('data-ticks-%1', ticks); }, 5);
setTimeout(function () { document.documentElement.setAttribute('data-timeout-%1', '1'); }, 20);
</script>)").arg(n));
    };
    // The second page goes the way of a long one.
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        writer.setInlineLimit(n == 2 ? 0 : PageWriter::EngineInlineLimit);
        writePage(browser, pageNumber(n));
        ASSERT_TRUE(writer.waitUntilWritten());
        EXPECT_EQ(inPage(QStringLiteral("document.documentElement.getAttribute('data-ran')")).toString(),
                  QStringLiteral("%1%1%1").arg(n))
            << "the page's script did not run";
        const QString root = QStringLiteral("document.documentElement.getAttribute('%1-%2')");
        ASSERT_TRUE(waitUntil([&] {
            return inPage(root.arg(QLatin1String("data-ticks")).arg(n)).toInt() >= 10
                && inPage(root.arg(QLatin1String("data-timeout")).arg(n)).toString() == QLatin1String("1");
        })) << "the page's own timers did not run";
        for (int earlier = 1; earlier < n; ++earlier) {
            SCOPED_TRACE(earlier);
            EXPECT_EQ(inPage(QStringLiteral("typeof only%1").arg(earlier)).toString(), QStringLiteral("undefined"));
            EXPECT_TRUE(inPage(root.arg(QLatin1String("data-ticks")).arg(earlier)).isNull());
            EXPECT_TRUE(inPage(root.arg(QLatin1String("data-timeout")).arg(earlier)).isNull());
        }
        EXPECT_TRUE(browser.Document()->title().startsWith(QStringLiteral("Страница %1,").arg(n)))
            << browser.Document()->title().toStdString();
    }
    EXPECT_EQ(inPage(QStringLiteral("window.scrollY")).toInt(), 0);
}

// Back and Forward step through the pages written, each shown again as it
// was (a long one too), with the events of a navigation of the user's.
TEST_F(WebControlEngine, BackAndForwardStepThroughThePagesWritten)
{
    loadBlank(browser);
    PageWriter &writer = engineOf(browser).writer();
    QStringList events;
    browser.OnBeforeNavigate2 = [&](THB *, const QString &, int, const QString &, const QByteArray &, const QString &,
                                    bool &) { events << QStringLiteral("before"); };
    browser.OnNavigateComplete2 = [&](THB *, const QString &) { events << QStringLiteral("navigated"); };
    browser.OnDocumentComplete = [&](THB *, const QString &) { events << QStringLiteral("complete"); };
    for (int n = 1; n <= 3; ++n) {
        writer.setInlineLimit(n == 2 ? 0 : PageWriter::EngineInlineLimit);
        writePage(browser, pageWithTitle(QStringLiteral("Страница %1").arg(n), QStringLiteral("<p>Текст %1</p>").arg(n)));
        ASSERT_TRUE(writer.waitUntilWritten());
    }
    writer.setInlineLimit(PageWriter::EngineInlineLimit);
    EXPECT_TRUE(events.isEmpty()) << "a written page is no navigation of the user's";

    struct Step {
        const char *what;
        void (THB::*go)();
        int shown;
    };
    const Step steps[] = {
        {"back", &THB::GoBack, 2}, {"back", &THB::GoBack, 1}, {"forward", &THB::GoForward, 2}, {"forward", &THB::GoForward, 3},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(testing::Message() << step.what << " to " << step.shown);
        events.clear();
        (browser.*step.go)();
        ASSERT_TRUE(waitInLoop([&] { return !browser.Busy() && events.contains(QStringLiteral("complete")); }));
        EXPECT_EQ(browser.Document()->body()->innerText(), QStringLiteral("Текст %1").arg(step.shown));
        EXPECT_EQ(browser.Document()->title(), QStringLiteral("Страница %1").arg(step.shown));
        EXPECT_EQ(events, (QStringList{QStringLiteral("before"), QStringLiteral("navigated"), QStringLiteral("complete")}));
        EXPECT_EQ(browser.ReadyState(), READYSTATE_COMPLETE);
    }
}

// A page written is loading from the moment it is written until it has
// landed; a text range taken from the page before then fails as gone.
TEST_F(WebControlEngine, AWrittenPageIsLoadingUntilItLandsAndTakesThePageBeforeAlong)
{
    loadBlank(browser);
    writePage(browser, pageWithTitle(QStringLiteral("Первая"), QStringLiteral("<p>Первая страница</p>")));
    ASSERT_TRUE(browser.WaitForDocument());
    const auto bodyElement = browser.Document()->body();
    const auto *body = dynamic_cast<const IHTMLBodyElement *>(bodyElement.get());
    ASSERT_NE(body, nullptr);
    const auto range = body->createTextRange();
    ASSERT_EQ(range->text(), QStringLiteral("Первая страница"));

    writePage(browser, pageWithTitle(QStringLiteral("Вторая"), QStringLiteral("<p>Вторая страница</p>")));
    EXPECT_EQ(browser.ReadyState(), READYSTATE_LOADING);
    EXPECT_TRUE(browser.Busy());
    ASSERT_TRUE(browser.WaitForDocument());
    EXPECT_EQ(browser.ReadyState(), READYSTATE_COMPLETE);
    EXPECT_EQ(browser.Document()->title(), QStringLiteral("Вторая"));
    EXPECT_THROW(range->text(), EOleException);
}

// A render process that ends while a page is being written takes that page
// along at once: nothing waits out the page's limit, and the next page comes
// in a new process.
TEST_F(WebControlEngine, APageWhoseRenderProcessEndsFailsAtOnceAndTheNextComesInANewOne)
{
    loadBlank(browser);
    QWebEnginePage *page = engineOf(browser).page();
    PageWriter &writer = engineOf(browser).writer();
    writePage(browser, pageWithTitle(QStringLiteral("А"), QStringLiteral("<p>А</p>")));
    ASSERT_TRUE(writer.waitUntilWritten());
    const qint64 first = page->renderProcessPid();
    ASSERT_GT(first, 0);
    writePage(browser, pageWithTitle(QStringLiteral("Б"), QStringLiteral("<p>Б</p>")));
    ASSERT_EQ(::kill(pid_t(first), SIGKILL), 0);
    QElapsedTimer waited;
    waited.start();
    EXPECT_FALSE(writer.waitUntilWritten());
    EXPECT_LT(waited.elapsed(), PageWriter::LandingLimitMs / 2);

    writePage(browser, pageWithTitle(QStringLiteral("В"), QStringLiteral("<p>В</p>")));
    EXPECT_TRUE(writer.waitUntilWritten());
    EXPECT_EQ(browser.Document()->title(), QStringLiteral("В"));
    EXPECT_NE(page->renderProcessPid(), first);
}

// Inside the host's handler of a navigation about to begin, nothing waits
// for the engine, which cannot answer before the handler returns: a page
// written there, and a move back or a refresh asked for there, begin right
// after it; a read there fails at once.
TEST_F(WebControlEngine, WhatAHandlerOfTheNavigationAsksForBeginsRightAfterIt)
{
    QTemporaryDir folder;
    const QString other = folder.filePath(QStringLiteral("other.htm"));
    writeBytes(other, pageWithTitle(QStringLiteral("Другая"), QStringLiteral("<p>Другая</p>")).toUtf8());
    loadBlank(browser);
    PageWriter &writer = engineOf(browser).writer();

    struct Case {
        const char *what;
        std::function<void()> inHandler;
        QString title;
    };
    const Case cases[] = {
        {"a page written", [&] { writePage(browser, pageWithTitle(QStringLiteral("Из обработчика"), QString())); },
         QStringLiteral("Из обработчика")},
        {"back", [&] { browser.GoBack(); }, QStringLiteral("Первая")},
        {"refresh", [&] { browser.Refresh2(REFRESH_NORMAL); }, QStringLiteral("Вторая")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        for (const char *title : {"Первая", "Вторая"}) {
            writePage(browser, pageWithTitle(QString::fromUtf8(title), QString()));
            ASSERT_TRUE(writer.waitUntilWritten());
        }
        bool inside = true;
        qint64 handlerMs = -1;
        QString read;
        browser.OnBeforeNavigate2 = [&](THB *, const QString &url, int, const QString &, const QByteArray &,
                                        const QString &, bool &Cancel) {
            if (!inside || !url.endsWith(QLatin1String("other.htm")))
                return;
            inside = false;
            Cancel = true;
            QElapsedTimer timer;
            timer.start();
            c.inHandler();
            read = browser.Document()->title();
            handlerMs = timer.elapsed();
        };
        browser.Navigate(other);
        ASSERT_TRUE(waitInLoop([&] { return handlerMs >= 0; }));
        EXPECT_LT(handlerMs, 1000) << "the handler waited";
        EXPECT_TRUE(read.isEmpty()) << "a read inside the handler is answered by no page";
        ASSERT_TRUE(waitInLoop([&] { return !browser.Busy() && browser.Document()->title() == c.title; }))
            << browser.Document()->title().toStdString();
        EXPECT_TRUE(writer.landed());
        browser.OnBeforeNavigate2 = nullptr;
    }
}

// A link the user clicks as a page is being written is followed, with the
// events of a navigation, and the page written gives way to it.
TEST_F(WebControlEngine, ALinkClickedAsAPageIsWrittenIsFollowed)
{
    QTemporaryDir folder;
    const QString target = folder.filePath(QStringLiteral("target.htm"));
    writeBytes(target, pageWithTitle(QStringLiteral("Цель"), QStringLiteral("<p>Цель</p>")).toUtf8());
    const QString targetUrl = QUrl::fromLocalFile(target).toString();
    loadBlank(browser);
    QStringList events;
    browser.OnBeforeNavigate2 = [&](THB *, const QString &url, int, const QString &, const QByteArray &, const QString &,
                                    bool &) { events << QStringLiteral("before ") + url; };
    browser.OnNavigateComplete2 = [&](THB *, const QString &url) { events << QStringLiteral("navigated ") + url; };
    browser.OnDocumentComplete = [&](THB *, const QString &url) { events << QStringLiteral("complete ") + url; };
    QWidget *documentWindow = engineOf(browser).DocumentWindow();
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        const QString link = QStringLiteral("<a id=link href=\"%1\" style=\"display:block;width:100%;height:300px\">Ссылка</a>")
                                 .arg(targetUrl);
        writePage(browser, pageWithTitle(QStringLiteral("Ссылка"), link));
        ASSERT_TRUE(engineOf(browser).writer().waitUntilWritten());
        ASSERT_TRUE(waitInLoop([&] {
            return dynamic_cast<IHTMLDocument3 *>(browser.Document())->getElementById(QStringLiteral("link"))
                       ->getBoundingClientRect().height() == 300;
        }));
        events.clear();
        documentWindow = engineOf(browser).DocumentWindow();
        QTest::mouseClick(documentWindow, Qt::LeftButton, {}, QPoint(50, 50));
        writePage(browser, pageWithTitle(QStringLiteral("Другая"), lines(200)));
        ASSERT_TRUE(waitInLoop([&] { return !browser.Busy() && events.contains(QStringLiteral("complete ") + targetUrl); }))
            << events.join(u'|').toStdString();
        EXPECT_TRUE(events.contains(QStringLiteral("before ") + targetUrl));
        EXPECT_TRUE(events.contains(QStringLiteral("navigated ") + targetUrl)) << events.join(u'|').toStdString();
        EXPECT_EQ(browser.LocationURL(), targetUrl);
        EXPECT_EQ(browser.Document()->title(), QStringLiteral("Цель"));
    }
}

// A read made inside a call queued from one of the engine's callbacks is
// answered: the engine's next work, posted as that callback ends, stands
// behind the call in the queue.
TEST_F(WebControlEngine, AReadInsideACallQueuedByTheEngineIsAnswered)
{
    loadBlank(browser);
    QWebEnginePage *page = engineOf(browser).page();
    for (int i = 0; i < 5; ++i) {
        bool ran = false;
        bool ok = false;
        qint64 readMs = -1;
        page->runJavaScript(QStringLiteral("0"), [&](const QVariant &) {
            QMetaObject::invokeMethod(page, [&] {
                QElapsedTimer timer;
                timer.start();
                runScriptAndWait(page, QStringLiteral("1+1"), 5000, &ok);
                readMs = timer.elapsed();
                ran = true;
            }, Qt::QueuedConnection);
            page->runJavaScript(QStringLiteral("0"));
        });
        ASSERT_TRUE(QTest::qWaitFor([&] { return ran; }, 20000));
        EXPECT_TRUE(ok) << "the read inside the queued call went unanswered, round " << i;
        EXPECT_LT(readMs, 2500) << "the read waited past its answer, round " << i;
    }
}

TEST_F(WebControlEngine, NavigatesToLocalPathsAndReportsItsEvents)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("start.htm"));
    writeBytes(path, pageWithTitle(QStringLiteral("Начало"), QStringLiteral("start")).toUtf8());
    QStringList events;
    browser.OnBeforeNavigate2 = [&](THB *, const QString &url, int, const QString &, const QByteArray &,
                                    const QString &, bool &) { events << QStringLiteral("before ") + url; };
    browser.OnTitleChange = [&](THB *, const QString &text) { events << QStringLiteral("title ") + text; };
    browser.OnDocumentComplete = [&](THB *, const QString &url) { events << QStringLiteral("complete ") + url; };

    browser.Navigate(path);
    ASSERT_TRUE(waitUntil([&] { return events.contains(QStringLiteral("complete ") + QUrl::fromLocalFile(path).toString()); }));
    EXPECT_EQ(events.first(), QStringLiteral("before ") + QUrl::fromLocalFile(path).toString());
    EXPECT_TRUE(events.contains(QStringLiteral("title Начало"))) << events.join(u'|').toStdString();
    EXPECT_EQ(browser.LocationURL(), QUrl::fromLocalFile(path).toString());
    EXPECT_EQ(browser.LocationName(), QStringLiteral("Начало"));
}

TEST_F(WebControlEngine, ACancelledNavigationLeavesThePageAsItWas)
{
    loadBlank(browser);
    writePage(browser, pageWithTitle(QStringLiteral("kept"), QString()));
    browser.OnBeforeNavigate2 = [](THB *, const QString &url, int, const QString &, const QByteArray &, const QString &,
                                   bool &Cancel) { Cancel = url.endsWith(QLatin1String("/blocked")); };
    LocalHttpServer server;
    browser.Navigate(server.url(QStringLiteral("/blocked")).toString());
    EXPECT_EQ(browser.Document()->title(), QStringLiteral("kept"));
    // Requests reach the server in order: once the next one has come, the
    // cancelled one would have been there first.
    browser.Navigate(server.url(QStringLiteral("/allowed")).toString());
    ASSERT_TRUE(waitUntil([&] { return !server.requests().isEmpty(); }));
    const QByteArray request = server.requests().first().head;
    EXPECT_TRUE(request.startsWith("GET /allowed ")) << request.toStdString();
}

// The engine begins a navigation only a moment after it is asked for; the
// page before must not pass for the new one meanwhile. One refused by the
// host, or a move within the page, is over as soon as the engine says so,
// well before the time a navigation may take to begin.
TEST_F(WebControlEngine, ANavigationIsOnItsWayFromTheMomentItIsAskedForUntilItsPageIsThere)
{
    QTemporaryDir folder;
    const QString first = folder.filePath(QStringLiteral("first.htm"));
    const QString second = folder.filePath(QStringLiteral("second.htm"));
    writeBytes(first, pageWithTitle(QStringLiteral("Первая"), QString()).toUtf8());
    writeBytes(second, pageWithTitle(QStringLiteral("Вторая"), QStringLiteral("<p id=x>x</p>")).toUtf8());
    LocalHttpServer server;
    browser.OnBeforeNavigate2 = [](THB *, const QString &url, int, const QString &, const QByteArray &, const QString &,
                                   bool &Cancel) { Cancel = url.endsWith(QLatin1String("/blocked")); };
    int completes = 0;
    browser.OnDocumentComplete = [&](THB *, const QString &) { ++completes; };
    int begun = 0;
    browser.OnDownloadBegin = [&](THB *) { ++begun; };
    loadBlank(browser);
    ASSERT_TRUE(waitUntil([&] { return browser.ReadyState() == READYSTATE_COMPLETE; }));

    struct Case {
        const char *what;
        std::function<void()> ask;
        QString title; // empty: the page stays
        bool ownLoad = true; // a load of its own, that ends with a document complete
    };
    const Case cases[] = {
        {"Navigate", [&] { browser.Navigate(first); }, QStringLiteral("Первая")},
        {"Navigate2", [&] { browser.Navigate2(QUrl::fromLocalFile(second)); }, QStringLiteral("Вторая")},
        {"back", [&] { browser.GoBack(); }, QStringLiteral("Первая")},
        {"forward", [&] { browser.GoForward(); }, QStringLiteral("Вторая")},
        {"refresh", [&] { browser.Refresh(); }, QStringLiteral("Вторая")},
        {"refresh command", [&] { browser.ExecWB(OLECMDID_REFRESH, OLECMDEXECOPT_DODEFAULT); }, QStringLiteral("Вторая")},
        {"asked while another load is under way",
         [&] {
             const int before = begun;
             browser.Navigate(first);
             ASSERT_TRUE(waitUntil([&] { return begun > before; }));
             browser.Navigate(second);
         },
         QStringLiteral("Вторая"), false},
        {"refused by the host", [&] { browser.Navigate(server.url(QStringLiteral("/blocked")).toString()); }, {}, false},
        {"a move within the page",
         [&] { browser.Navigate(QUrl::fromLocalFile(second).toString() + QStringLiteral("#x")); }, {}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const int before = completes;
        c.ask();
        EXPECT_EQ(browser.ReadyState(), READYSTATE_LOADING);
        EXPECT_TRUE(browser.Busy());
        ASSERT_TRUE(waitUntil([&] { return !browser.Busy(); }, NavigationTracker::StartLimitMs / 2));
        EXPECT_EQ(browser.ReadyState(), READYSTATE_COMPLETE);
        EXPECT_EQ(browser.LocationName(), c.title.isEmpty() ? QStringLiteral("Вторая") : c.title);
        if (c.ownLoad) {
            EXPECT_EQ(completes, before + 1) << "the wait ended on the page before";
        }
    }
}

// Header text given to a navigation is taken line by line: a value cannot
// carry a line break that would begin a header of its own.
TEST_F(WebControlEngine, NavigationHeadersCannotSmuggleInOtherHeaders)
{
    LocalHttpServer server;
    browser.Navigate2(server.url(), {}, {}, {}, QStringLiteral("X-One: 1\r\nX-Two: 2\rX-Evil: 3\nBad Name: 4\r\n"));
    ASSERT_TRUE(waitUntil([&] { return !server.requests().isEmpty(); }));
    const QByteArray request = server.requests().first().head;
    EXPECT_TRUE(request.contains("X-One: 1\r\n")) << request.toStdString();
    EXPECT_TRUE(request.contains("X-Two: 2\r\n"));
    EXPECT_TRUE(request.contains("X-Evil: 3\r\n"));
    EXPECT_FALSE(request.contains("Bad Name"));
}

TEST_F(WebControlEngine, ZoomsByTextSizeAndOpticalPercentWithinTheEnginesRange)
{
    loadBlank(browser);
    auto *view = static_cast<QWebEngineView *>(browser.Control()->ViewWindow());
    struct Case {
        std::uint32_t command;
        int value;
        int answer;
        double factor;
    };
    const Case cases[] = {
        {OLECMDID_OPTICAL_ZOOM, 150, 150, 1.5},
        {OLECMDID_OPTICAL_ZOOM, 1000, 500, 5.0},
        {OLECMDID_OPTICAL_ZOOM, 5, 25, 0.25},
        {OLECMDID_OPTICAL_ZOOM, 100, 100, 1.0},
        {OLECMDID_ZOOM, 4, 4, 1.3},
        {OLECMDID_ZOOM, 9, 4, 1.3},
        {OLECMDID_ZOOM, 2, 2, 1.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.command << " " << c.value);
        QVariant out;
        ASSERT_EQ(browser.ExecWB(c.command, OLECMDEXECOPT_DONTPROMPTUSER, c.value, &out), S_OK);
        EXPECT_EQ(out.toInt(), c.answer);
        EXPECT_NEAR(view->zoomFactor(), c.factor, 1e-9);
    }
    QVariant range;
    browser.ExecWB(OLECMDID_OPTICAL_GETZOOMRANGE, OLECMDEXECOPT_DONTPROMPTUSER, {}, &range);
    EXPECT_EQ(range.toUInt(), 25u | (500u << 16));
    EXPECT_EQ(browser.ExecWB(9999, OLECMDEXECOPT_DODEFAULT), OLECMDERR_E_NOTSUPPORTED);
}


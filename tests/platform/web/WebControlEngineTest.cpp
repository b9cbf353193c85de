// The browser control over the real engine, without a host: its document,
// page writing, navigation and its events.

#include "EngineTestSupport.h"
#include "LocalHttpServer.h"
#include "NavigationTracker.h"
#include "OleCommands.h"
#include "PageWriter.h"
#include "ScriptRunner.h"
#include "WebPage.h"
#include "TestSupport.h"

#include <QImage>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <ctime>

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

    // The middle one is under 1.5 MB of UTF-8, but over the engine's limit
    // once percent-encoded as the engine takes a page inline.
    const QString middleBody = lines(16000);
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
    EXPECT_LT(middleBody.toUtf8().size(), 1500 * 1000);
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

    const QString head = pageWithTitle(QStringLiteral("edge"), QStringLiteral("<p hidden>"));
    const qsizetype room = PageWriter::EngineInlineLimit - PageWriter::inlineAddressLength((head + QStringLiteral("</p>")).toUtf8());
    const QString edge = head + QString(room, u'a') + QStringLiteral("</p>");
    ASSERT_EQ(PageWriter::inlineAddressLength(edge.toUtf8()), PageWriter::EngineInlineLimit);
    writePage(browser, edge);
    EXPECT_GT(writer.landingLimitMs(), 2 * PageWriter::LandingLimitMs) << "a long page may take longer to land";
    EXPECT_EQ(browser.Document()->title(), QStringLiteral("edge"));
    EXPECT_EQ(writer.landingLimitMs(), PageWriter::LandingLimitMs);
    EXPECT_TRUE(writer.landed());
    EXPECT_EQ(refused, 0);

    // Away from the page written, so that the next comes inline again
    // rather than into the document shown.
    loadBlank(browser);
    writer.setInlineLimit(100 * 1024 * 1024);
    const QString page = pageWithTitle(QStringLiteral("Отказ"), QStringLiteral("<div hidden>") + lines(16000)
                                                                   + QStringLiteral("</div><p id=last>КОНЕЦ</p>"));
    writePage(browser, page);
    EXPECT_EQ(browser.Document()->title(), QStringLiteral("Отказ"));
    const auto last = dynamic_cast<IHTMLDocument3 *>(browser.Document())->getElementById(QStringLiteral("last"));
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->innerText(), QStringLiteral("КОНЕЦ"));
    EXPECT_TRUE(writer.landed());
    EXPECT_EQ(refused, 1);
}

// Once a page has landed the next is written into the document shown, with
// no load of the engine's: nothing of the page before stays, its scroll
// position included, and the page's scripts run. After a navigation
// elsewhere the next page comes by a load again.
TEST_F(WebControlEngine, APageFollowingAWrittenOneIsWrittenIntoTheSameDocument)
{
    loadBlank(browser);
    QWebEnginePage *page = engineOf(browser).page();
    int loads = 0;
    QObject::connect(page, &QWebEnginePage::loadStarted, [&] { ++loads; });
    const auto read = [&](const char *script) { return runScriptAndWait(page, QString::fromLatin1(script), 5000); };

    writePage(browser, pageWithTitle(QStringLiteral("Первая"), QStringLiteral("<p id=first>А</p>") + lines(300)));
    ASSERT_EQ(browser.Document()->title(), QStringLiteral("Первая"));
    const int loadsAfterFirst = loads;
    read("window.scrollTo(0, 2000)");
    ASSERT_TRUE(QTest::qWaitFor([&] { return read("window.scrollY").toInt() > 0; }, 10000));

    writePage(browser, pageWithTitle(QStringLiteral("Вторая"), QStringLiteral("<p id=second>Б</p>") + lines(300)
                                                                    + QStringLiteral("<script>document.body.setAttribute('data-ran','1')</script>")));
    EXPECT_EQ(browser.Document()->title(), QStringLiteral("Вторая"));
    EXPECT_TRUE(engineOf(browser).writer().landed());
    EXPECT_EQ(loads, loadsAfterFirst) << "the second page came by a load";
    EXPECT_FALSE(read("document.getElementById('first') != null").toBool());
    EXPECT_EQ(read("document.getElementById('second').textContent").toString(), QStringLiteral("Б"));
    EXPECT_EQ(read("document.body.getAttribute('data-ran')").toString(), QStringLiteral("1"));
    EXPECT_EQ(read("window.scrollY").toInt(), 0);

    loadBlank(browser);
    const int loadsAfterBlank = loads;
    writePage(browser, pageWithTitle(QStringLiteral("Третья"), QStringLiteral("<p id=third>В</p>")));
    EXPECT_EQ(browser.Document()->title(), QStringLiteral("Третья"));
    EXPECT_GT(loads, loadsAfterBlank) << "a page after a navigation elsewhere comes by a load";
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
        page->runJavaScript(QStringLiteral("0"), [&](const QVariant &) {
            QMetaObject::invokeMethod(page, [&] {
                runScriptAndWait(page, QStringLiteral("1+1"), 5000, &ok);
                ran = true;
            }, Qt::QueuedConnection);
            page->runJavaScript(QStringLiteral("0"));
        });
        ASSERT_TRUE(QTest::qWaitFor([&] { return ran; }, 20000));
        EXPECT_TRUE(ok) << "the read inside the queued call went unanswered, round " << i;
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

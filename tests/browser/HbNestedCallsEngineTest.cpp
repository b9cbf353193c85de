// Host calls made from inside the engine's own callbacks: handlers of the
// navigation about to begin, of the address translation and of the unload
// read the document and navigate elsewhere. The navigation asked for there
// is the one that ends up shown, begun once the engine has its answer. The
// engine cannot answer a read while it waits on such a callback: the read
// fails at once instead of stalling the page for its time-out.

#include "BrowserEngineFixture.h"
#include "ScriptRunner.h"

#include <QElapsedTimer>

#include <algorithm>
#include <QWebEnginePage>

using namespace vocab;
using namespace vocab::test;

namespace {

class NestedCalls : public ServedBrowserEngineTest {
protected:
    void SetUp() override
    {
        ServedBrowserEngineTest::SetUp();
        for (const char *name : {"start", "asked", "instead", "translated", "after-unload"})
            server.page(QByteArray("/") + name, name);
        go(QStringLiteral("/start"));
    }

    QString titleNow() const { return Emb->Document() ? Emb->Document()->title() : QString(); }
    QString url(const char *path) const { return server.url(QString::fromLatin1(path)).toString(); }
    // Waits until the page at the path is shown whole.
    bool shown(const char *path)
    {
        return waitUntil([&] { return Emb->LocationURL() == url(path) && titleNow() == QString::fromLatin1(path + 1); },
                         20000);
    }
};

TEST_F(NestedCalls, BeforeNavigateMayAskForTheDocumentAndNavigateElsewhere)
{
    QStringList seen;
    qint64 readMs = -1;
    Emb->OnBeforeNavigate2 = [&](THB *, const QString &URL, int, const QString &, const QByteArray &, const QString &,
                                 bool &Cancel) {
        if (!URL.endsWith(QLatin1String("/asked")))
            return;
        QElapsedTimer reading;
        reading.start();
        const auto body = Emb->Document()->body();
        seen << titleNow() << (body ? body->innerText() : QString());
        readMs = reading.elapsed();
        Cancel = true;
        Emb->Navigate(url("/instead"));
    };
    Emb->Navigate(url("/asked"));
    ASSERT_TRUE(shown("/instead")) << Emb->LocationURL().toStdString();
    EXPECT_EQ(seen, (QStringList{QString(), QString()})) << "no read can be answered there";
    EXPECT_LT(readMs, DocumentReadTimeoutMs) << "the reads waited for an answer that cannot come";
    EXPECT_TRUE(server.requestsOf("/asked").isEmpty()) << "the cancelled navigation went out";
}

TEST_F(NestedCalls, TheTranslationMayAskForTheDocumentAndNavigateElsewhere)
{
    QStringList seen;
    qint64 readMs = -1;
    Emb->OnTranslateUrl = [&](TCustomHostedBrowser *, const QString &in, QString &out) {
        if (!in.endsWith(QLatin1String("/asked")))
            return;
        QElapsedTimer reading;
        reading.start();
        seen << titleNow();
        readMs = reading.elapsed();
        out = url("/translated");
        Emb->Navigate(url("/instead"));
    };
    Emb->Navigate(url("/asked"));
    ASSERT_TRUE(shown("/instead")) << Emb->LocationURL().toStdString();
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen.first(), QString());
    EXPECT_LT(readMs, DocumentReadTimeoutMs);
}

TEST_F(NestedCalls, TheUnloadMayAskForTheDocumentAndNavigateElsewhere)
{
    QStringList seen;
    bool once = false;
    qint64 readMs = -1;
    Emb->OnUnload = [&](QObject *) {
        QElapsedTimer reading;
        reading.start();
        seen << titleNow();
        readMs = std::max(readMs, reading.elapsed());
        if (std::exchange(once, true))
            return;
        Emb->Navigate(url("/after-unload"));
    };
    Emb->Navigate(url("/asked"));
    ASSERT_TRUE(shown("/after-unload")) << Emb->LocationURL().toStdString();
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen.first(), QString());
    EXPECT_LT(readMs, DocumentReadTimeoutMs);
}

} // namespace

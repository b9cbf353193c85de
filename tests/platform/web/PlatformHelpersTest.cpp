// The window and string helpers of the browser host, and the platform
// functions it uses only when the system has them (this one has none).

#include "EngineDialogs.h"
#include "PlatformLibraries.h"
#include "Registry.h"
#include "ScriptRunner.h"
#include "UserAgentTokens.h"
#include "WindowHelpers.h"

#include "TestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWidget>

using namespace vocab;

TEST(FindAncestorWindowByClass, LooksAboveTheWindowOnly)
{
    QWidget top;
    setWindowClassName(&top, WindowClass::ShellEmbedding);
    auto *middle = new QWidget(&top);
    auto *inner = new QWidget(middle);
    setWindowClassName(inner, WindowClass::ShellEmbedding);

    EXPECT_EQ(FindAncestorWindowByClass(inner, QStringLiteral("Shell Embedding")), &top) << "never the window itself";
    EXPECT_EQ(FindAncestorWindowByClass(inner, QStringLiteral("QWidget")), middle);
    EXPECT_EQ(FindAncestorWindowByClass(inner, QStringLiteral("shell embedding")), nullptr) << "case counts";
    EXPECT_EQ(FindAncestorWindowByClass(&top, QStringLiteral("Shell Embedding")), nullptr);
    EXPECT_EQ(FindAncestorWindowByClass(nullptr, QStringLiteral("QWidget")), nullptr);
}

TEST(GetWindowClassName, GivesTheNameGivenElseTheQtClass)
{
    QWidget plain;
    QWidget named;
    setWindowClassName(&named, WindowClass::InternetExplorerServer);
    EXPECT_EQ(GetWindowClassName(&plain), QStringLiteral("QWidget"));
    EXPECT_EQ(GetWindowClassName(&named), QStringLiteral("Internet Explorer_Server"));
    EXPECT_EQ(GetWindowClassName(nullptr), QString());
}

TEST(StringHelpers, FindCharactersAndStringsExactly)
{
    EXPECT_EQ(PosOfChar(u'N', QString()), 0);
    EXPECT_EQ(PosOfChar(u'N', QStringLiteral("ABC")), 0);
    EXPECT_EQ(PosOfChar(u'N', QStringLiteral("MNN")), 2);
    EXPECT_EQ(PosOfChar(u'n', QStringLiteral("N")), 0);

    const QStringList modes{QStringLiteral("On"), QStringLiteral("Off"), QStringLiteral("Inherit")};
    EXPECT_EQ(IndexOfString(QStringLiteral("Off"), modes), 1);
    EXPECT_EQ(IndexOfString(QStringLiteral("off"), modes), -1);
    EXPECT_EQ(IndexOfString(QStringLiteral("On"), {}), -1);
}

TEST(PlatformLibraries, AnswerAsForAMissingLibraryEveryTime)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_EQ(SetInternetFeatureEnabled(21, 2, true), E_NOTIMPL);
        EXPECT_EQ(IsInternetFeatureEnabled(21, 2), E_NOTIMPL);
    }
    EXPECT_FALSE(CallHtmlHelp(nullptr, QStringLiteral("no-such-help.chm"), 1, 0)) << "no file, no help";
    EXPECT_FALSE(IsWinXPSP2OrLater());
}

TEST(PlatformLibraries, OleInitializationPairsUp)
{
    EXPECT_EQ(OleInitialize(), S_OK);
    EXPECT_EQ(OleInitialize(), S_FALSE);
    OleUninitialize();
    OleUninitialize();
    EXPECT_EQ(OleInitialize(), S_OK);
    OleUninitialize();
}

TEST(CredentialsDialog, TheServersRealmIsShownAsItStands)
{
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    // The dialog is looked for while it runs, and closed once seen.
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        for (const QLabel *label : dialog->findChildren<QLabel *>())
            if (label->text().contains(QLatin1String("realm"))) {
                shown = label->text();
                format = label->textFormat();
            }
        dialog->reject();
    });
    look.start(10);
    QString user;
    QString password;
    EXPECT_FALSE(askCredentials(nullptr, QUrl(QStringLiteral("http://site.example/")), QStringLiteral("<b>realm</b>"), user,
                                password));
    EXPECT_TRUE(shown.contains(QLatin1String("<b>realm</b>"))) << shown.toStdString();
    EXPECT_EQ(format, Qt::PlainText);
}

TEST(UserAgentTokens, AreTheUsersEntriesAddedInsideTheAgentsFirstComment)
{
    QTemporaryDir dir;
    qputenv("VOCABULINARUM_REGISTRY", QFile::encodeName(dir.filePath(QStringLiteral("registry.json"))));
    EXPECT_EQ(PostPlatformTokens(), QStringList()) << "no key at all";
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(QStringLiteral("\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings"
                                                    "\\User Agent\\Post Platform"),
                                     true));
        for (const char *name : {"Other.Tool/1", "User-agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)",
                                 "User-agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)(Vocab/2)",
                                 "bad; token", "bad)", "Other.Tool/1"})
            registry.WriteString(QString::fromUtf8(name), QString());
        registry.WriteString(QStringLiteral("line\r\nX-Evil: 1"), QString());
    }
    EXPECT_EQ(PostPlatformTokens(), (QStringList{QStringLiteral("Other.Tool/1"), QStringLiteral("Vocab/2")}))
        << "the plain form without a token, text that would break the comment and repeats add nothing";
    qunsetenv("VOCABULINARUM_REGISTRY");

    struct Case {
        const char *agent;
        QStringList tokens;
        const char *expected;
    };
    const Case cases[] = {
        {"Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/90",
         {QStringLiteral("A/1"), QStringLiteral("B")},
         "Mozilla/5.0 (X11; Linux x86_64; A/1; B) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/90"},
        {"Mozilla/5.0 (X11) Tail", {}, "Mozilla/5.0 (X11) Tail"},
        {"Product/1 Other/2", {QStringLiteral("A")}, "Product/1 (A) Other/2"},
        {"Product/1", {QStringLiteral("A")}, "Product/1 (A)"},
        {"Product/1 () Rest", {QStringLiteral("A")}, "Product/1 (A) Rest"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(AgentWithTokens(QString::fromUtf8(c.agent), c.tokens), QString::fromUtf8(c.expected)) << c.agent;
}

// A wait whose answer comes in a call queued before it began, delivered as
// the wait begins, ends there: it does not sleep on until its time-out.
TEST(LocalWait, EndsOnAnAnswerAlreadyQueuedAsItBegins)
{
    for (const bool queuedInsideACall : {false, true}) {
        SCOPED_TRACE(queuedInsideACall);
        bool finished = false;
        qint64 waitedMs = -1;
        const auto waitOnce = [&] {
            LocalWait wait(3000);
            QMetaObject::invokeMethod(qApp, [&wait] { wait.finish(); }, Qt::QueuedConnection);
            QElapsedTimer timer;
            timer.start();
            finished = wait.wait();
            waitedMs = timer.elapsed();
        };
        if (queuedInsideACall) {
            QMetaObject::invokeMethod(qApp, waitOnce, Qt::QueuedConnection);
            ASSERT_TRUE(QTest::qWaitFor([&] { return waitedMs >= 0; }, 10000));
        } else {
            waitOnce();
        }
        EXPECT_TRUE(finished);
        EXPECT_LT(waitedMs, 100);
    }
}

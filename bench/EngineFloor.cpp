// engine_floor: the least the engine costs here, at the start and for each
// page. A bare window of the viewer's caption and size holding nothing but
// the engine's view, set up as the viewer sets up the engine, which loads the
// start page ConfigFiles/references.htm of the current folder. It notes its
// moments in the file VOCABULINARUM_STARTUP_TIMES names, with the viewer's
// names ("shown", "startup-load-done" at once, "page-loaded <address>",
// "page-written <characters>"), so that bench/engine-floor.sh times it
// exactly as it times the viewer.
//
//   engine_floor [--blank-first] [--pages write|inline|scheme] [--start-by-scheme] [--path-scheme]
//
// --blank-first   the view loads about:blank and, once that has loaded, the
//                 start page: the viewer's first two loads, without the rest
// --pages HOW     each Enter shows the next article page, of the viewer's
//                 head and an article of a real one's size, another each time:
//                 write   written into the document shown (document.open,
//                         write, close), as the viewer writes its pages now
//                 inline  loaded as an inline address (setHtml) at the
//                         program's folder: a navigation, as the viewer's first
//                         page after the start page goes
//                 scheme  a navigation to an address of the program's own
//                         scheme, served from memory (--path-scheme: a
//                         scheme of paths alone, without a host)
// --start-by-scheme  the start page too comes through that scheme
#include "EngineSetup.h"
#include "PageHead.h"
#include "RealisticArticles.h"

#include <QApplication>
#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>
#include <QWindow>

#include <map>

namespace {

const QByteArray SchemeName = "vocabpage";

void note(const QByteArray &what)
{
    QFile file(qEnvironmentVariable("VOCABULINARUM_STARTUP_TIMES"));
    if (file.fileName().isEmpty() || !file.open(QIODevice::Append))
        return;
    file.write(QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + ' ' + what + '\n');
}

// Pages held in memory by their path, each handed out once asked for.
class MemoryPages : public QWebEngineUrlSchemeHandler {
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    void put(const QString &path, const QByteArray &html) { m_pages[path] = html; }

    void requestStarted(QWebEngineUrlRequestJob *job) override
    {
        const auto found = m_pages.find(job->requestUrl().path());
        if (found == m_pages.end()) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        auto *body = new QBuffer(job);
        body->setData(found->second);
        body->open(QIODevice::ReadOnly);
        job->reply("text/html", body);
    }

private:
    std::map<QString, QByteArray> m_pages;
};

// Enter in the window, seen once as the window gets it.
class EnterWatch : public QObject {
public:
    explicit EnterWatch(std::function<void()> onEnter) : m_onEnter(std::move(onEnter)) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && watched->isWindowType()) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                m_onEnter();
                return true;
            }
        }
        return false;
    }

private:
    std::function<void()> m_onEnter;
};

QString articlePage(vocab::bench::RealisticArticles &articles, int n)
{
    static const QString head = vocab::ComposePageHead({vocab::DefaultFontFamily, vocab::DefaultFontSize});
    QByteArray article;
    articles.AppendArticle(article, "WORD" + QByteArray::number(n));
    return head + QStringLiteral("<div class=zag>Big English</div><B>WORD%1</B>").arg(n)
        + QString::fromUtf8(article.mid(article.indexOf(' '))) + QStringLiteral("</body></html>");
}

} // namespace

int main(int argc, char **argv)
{
    bool pathScheme = false;
    for (int i = 1; i < argc; ++i)
        pathScheme = pathScheme || QByteArray(argv[i]) == "--path-scheme";
    QWebEngineUrlScheme scheme(SchemeName);
    // With a host, every page of the scheme is of one origin: a page that
    // follows another stays in its renderer (a scheme of paths alone gives
    // each address an origin of its own, and each page a new renderer).
    scheme.setSyntax(pathScheme ? QWebEngineUrlScheme::Syntax::Path : QWebEngineUrlScheme::Syntax::Host);
    scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(scheme);
    vocab::prepareWebEngine();
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool blankFirst = args.contains(QStringLiteral("--blank-first"));
    const QString pages = args.indexOf(QStringLiteral("--pages")) > 0 ? args.value(args.indexOf(QStringLiteral("--pages")) + 1) : QString();
    const bool startByScheme = args.contains(QStringLiteral("--start-by-scheme"));

    const QString startFile = QDir::current().absoluteFilePath(QStringLiteral("ConfigFiles/references.htm"));
    const QString schemeRoot = QString::fromLatin1(SchemeName) + (pathScheme ? QStringLiteral(":") : QStringLiteral("://app"));
    const QUrl folderUrl = QUrl::fromLocalFile(QDir::currentPath() + u'/');
    const std::unique_ptr<QWebEngineProfile> profile = vocab::makeBrowserProfile();
    MemoryPages memory;
    profile->installUrlSchemeHandler(SchemeName, &memory);
    QUrl startPage = QUrl::fromLocalFile(startFile);
    if (startByScheme) {
        QFile file(startFile);
        file.open(QIODevice::ReadOnly);
        memory.put(QStringLiteral("/ConfigFiles/references.htm"), file.readAll());
        startPage = QUrl(schemeRoot + QStringLiteral("/ConfigFiles/references.htm"));
    }

    QWebEngineView view;
    auto *page = new QWebEnginePage(profile.get(), &view);
    view.setPage(page);
    view.setWindowTitle(QStringLiteral(" Vocabulinarum"));
    view.resize(772, 516);
    QObject::connect(page, &QWebEnginePage::loadFinished, &view, [&](bool ok) {
        note((ok ? "page-loaded " : "page-failed ") + page->url().toEncoded());
        if (blankFirst && page->url() == QUrl(QStringLiteral("about:blank")))
            page->load(startPage);
    });

    vocab::bench::RealisticArticles articles;
    int shown = 0;
    EnterWatch enter([&] {
        const QString html = articlePage(articles, ++shown);
        if (pages == QLatin1String("write")) {
            const QString quoted = QString::fromUtf8(QJsonDocument(QJsonArray{html}).toJson(QJsonDocument::Compact));
            page->runJavaScript(QStringLiteral("document.open(); document.write(%1[0]); document.close(); 1").arg(quoted),
                                [size = html.size()](const QVariant &) { note("page-written " + QByteArray::number(size)); });
        } else if (pages == QLatin1String("inline")) {
            page->setHtml(html, folderUrl);
        } else if (pages == QLatin1String("scheme")) {
            const QString path = QStringLiteral("/page/%1").arg(shown);
            memory.put(path, html.toUtf8());
            page->load(QUrl(schemeRoot + path));
        }
    });
    if (!pages.isEmpty())
        app.installEventFilter(&enter);

    view.show();
    note("shown");
    note("startup-load-done");
    page->load(blankFirst ? QUrl(QStringLiteral("about:blank")) : startPage);
    const int result = app.exec();
    // The page goes before its profile.
    delete page;
    return result;
}

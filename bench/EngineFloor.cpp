// engine_floor: the least a start with the engine can cost here. A bare
// window of the viewer's caption and size holding nothing but the engine's
// view, set up as the viewer sets up the engine, which loads the start page
// ConfigFiles/references.htm of the current folder. It notes its moments in
// the file VOCABULINARUM_STARTUP_TIMES names, with the viewer's names
// ("shown", "startup-load-done" at once, "page-loaded <address>"), so that
// bench/engine-floor.sh times it exactly as it times the viewer.
//
//   engine_floor [--blank-first]
//
// With --blank-first the view loads about:blank and, once that has loaded,
// the start page: the viewer's first two loads, without the rest of it.
#include "EngineSetup.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace {

void note(const QByteArray &what)
{
    QFile file(qEnvironmentVariable("VOCABULINARUM_STARTUP_TIMES"));
    if (file.fileName().isEmpty() || !file.open(QIODevice::Append))
        return;
    file.write(QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + ' ' + what + '\n');
}

} // namespace

int main(int argc, char **argv)
{
    vocab::prepareWebEngine();
    QApplication app(argc, argv);
    const bool blankFirst = app.arguments().contains(QStringLiteral("--blank-first"));
    const QUrl startPage = QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("ConfigFiles/references.htm")));

    const std::unique_ptr<QWebEngineProfile> profile = vocab::makeBrowserProfile();
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
    view.show();
    note("shown");
    note("startup-load-done");
    page->load(blankFirst ? QUrl(QStringLiteral("about:blank")) : startPage);
    const int result = app.exec();
    // The page goes before its profile.
    delete page;
    return result;
}

#include "StartupTimes.h"

#include "HostedBrowser.h"
#include "PageWriter.h"
#include "ip.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QTimer>
#include <QWebEngineView>

namespace vocab {

namespace {

void note(const QString &path, const QByteArray &what)
{
    QFile file(path);
    if (file.open(QIODevice::Append))
        file.write(QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + ' ' + what + '\n');
}

} // namespace

void WatchStartupTimes(TForm1 &form)
{
    const QString path = qEnvironmentVariable("VOCABULINARUM_STARTUP_TIMES");
    if (path.isEmpty())
        return;
    note(path, "shown");
    if (auto *view = form.Emb ? form.Emb->findChild<QWebEngineView *>() : nullptr) {
        QWebEnginePage *page = view->page();
        QObject::connect(page, &QWebEnginePage::loadFinished, &form, [path, page](bool ok) {
            note(path, (ok ? "page-loaded " : "page-failed ") + page->url().toEncoded());
        });
        // The moment a written page has landed; its length in characters
        // tells an empty page from an article.
        if (auto *writer = page->findChild<PageWriter *>())
            QObject::connect(writer, &PageWriter::settled, &form, [path, writer, &form] {
                note(path, (writer->landed() ? "page-written " : "page-write-failed ")
                               + QByteArray::number(form.ShownPage().size()));
            });
    }
    // The load runs in nested event loops of its own; a look every few
    // milliseconds sees it end closely enough.
    // Then the moment the search box first holds the keyboard focus, which
    // it takes on a timer once the window has it.
    auto *poll = new QTimer(&form);
    QObject::connect(poll, &QTimer::timeout, &form, [path, poll, &form, loadDone = false]() mutable {
        if (!loadDone) {
            if (!form.StartupDone)
                return;
            note(path, "startup-load-done");
            loadDone = true;
        }
        const QWidget *focus = QApplication::focusWidget();
        if (!focus || (focus != form.ComboBox1 && !form.ComboBox1->isAncestorOf(focus)))
            return;
        note(path, "search-box-focused");
        poll->deleteLater();
    });
    poll->start(2);
}

} // namespace vocab

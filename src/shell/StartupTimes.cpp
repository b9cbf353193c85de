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

#include <memory>

namespace vocab {

namespace {

void note(const QString &path, const QByteArray &what)
{
    QFile file(path);
    if (file.open(QIODevice::Append))
        file.write(QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + ' ' + what + '\n');
}

// Where the article view and the dictionary tree lie in the window, in the
// window's own pixels, for the tools that watch what the view shows and click
// into the tree; noted again whenever they have moved.
class PlaceNotes {
public:
    PlaceNotes(const QString &path, const TForm1 &form, const QWidget &view) : m_path(path), m_form(form), m_view(view) {}

    void noteMoved()
    {
        notePlace("article-view ", m_view, m_viewPlace);
        notePlace("dictionary-tree ", *m_form.TreeView1, m_treePlace);
    }

private:
    void notePlace(const char *what, const QWidget &widget, QRect &noted)
    {
        const qreal ratio = widget.devicePixelRatioF();
        const QPoint at = widget.mapTo(widget.window(), QPoint(0, 0));
        const QRect place(QPoint(qRound(at.x() * ratio), qRound(at.y() * ratio)), widget.size() * ratio);
        if (place == noted)
            return;
        noted = place;
        note(m_path, what + QByteArray::number(place.x()) + ' ' + QByteArray::number(place.y()) + ' '
                         + QByteArray::number(place.width()) + ' ' + QByteArray::number(place.height()));
    }

    const QString m_path;
    const TForm1 &m_form;
    const QWidget &m_view;
    QRect m_viewPlace, m_treePlace;
};

} // namespace

void WatchStartupTimes(TForm1 &form)
{
    const QString path = qEnvironmentVariable("VOCABULINARUM_STARTUP_TIMES");
    if (path.isEmpty())
        return;
    note(path, "shown");
    if (auto *view = form.Emb ? form.Emb->findChild<QWebEngineView *>() : nullptr) {
        QWebEnginePage *page = view->page();
        auto places = std::make_shared<PlaceNotes>(path, form, *view);
        QObject::connect(page, &QWebEnginePage::loadFinished, &form, [path, page, places](bool ok) {
            note(path, (ok ? "page-loaded " : "page-failed ") + page->url().toEncoded());
            places->noteMoved();
        });
        // The moment a written page has landed; its length in characters
        // tells an empty page from an article.
        if (auto *writer = page->findChild<PageWriter *>())
            QObject::connect(writer, &PageWriter::settled, &form, [path, writer, &form, places] {
                note(path, (writer->landed() ? "page-written " : "page-write-failed ")
                               + QByteArray::number(form.ShownPage().size()));
                places->noteMoved();
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

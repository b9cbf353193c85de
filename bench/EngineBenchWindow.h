#pragma once

// The real main window over a working folder of generated dictionaries, made
// once for every engine benchmark of the run, and a watch on the pages the
// window writes into its article view.

#include "ip.h"

#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <utility>

class QWebEnginePage;

namespace vocab {
class PageWriter;
}

namespace vocab::bench {

class EngineBenchWindow {
public:
    static inline const QString RootCaption = QStringLiteral("Все словари");
    static inline const QString BigCaption = QStringLiteral("English Big");
    // The word every Russian dictionary holds, and how many of them do.
    static inline const QString CommonWord = QStringLiteral("КОТ");
    static constexpr int DictionariesWithWord = 30;

    // Made on first use; ends with end().
    static EngineBenchWindow &instance();
    static void end();

    bool ready() const { return m_form && m_failure.isEmpty(); }
    const QString &failure() const { return m_failure; }
    TForm1 &form() { return *m_form; }
    const QStringList &bigHeadwords() const { return m_bigHeadwords; }
    const QStringList &boxes() const { return m_boxes; }

    // Selects the tree node with this caption, as a click on it does, and
    // lets what that writes settle.
    void select(const QString &caption);
    // Waits until no page is on its way and the engine has ended its load.
    bool settle();
    // A page has just been written: waits until it has landed and the engine
    // has ended its load, if it began one. False when no page was written or
    // it failed.
    bool waitForWrittenPage();
    // The text of the document the engine shows.
    QString shownText() const;
    // How long the engine's end of the load came after the page had landed,
    // in milliseconds summed over the waits since the last call.
    double takeLateLoadEnds() { return std::exchange(m_lateLoadMs, 0.0); }

private:
    EngineBenchWindow();
    ~EngineBenchWindow();
    void makeFolder();
    bool waitUntil(const std::function<bool()> &done, int timeoutMs);

    QTemporaryDir m_dir;
    QString m_previousDir;
    QStringList m_bigHeadwords;
    QStringList m_boxes;
    QString m_failure;
    std::unique_ptr<TForm1> m_form;
    QPointer<QWebEnginePage> m_page;
    QPointer<PageWriter> m_writer;
    bool m_loading = false;
    int m_loadEnds = 0;
    int m_loadEndsAtSettle = 0;
    int m_loadStarts = 0;
    int m_loadStartsAtSettle = 0;
    double m_lateLoadMs = 0;
};

} // namespace vocab::bench

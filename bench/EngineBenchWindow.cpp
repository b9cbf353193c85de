#include "EngineBenchWindow.h"

#include "GeneratedLists.h"
#include "HeadwordMerge.h"
#include "HostedBrowser.h"
#include "LetterIndex.h"
#include "MessageBoxes.h"
#include "PageWriter.h"
#include "ScriptRunner.h"

#include <QApplication>
#include <QEventLoop>
#include <QRandomGenerator>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEngineView>

#include <set>

namespace vocab::bench {

namespace {

constexpr int BigHeadwords = 100000;
constexpr int LetterLines = 20000;
constexpr int WaitLimitMs = 20000;

EngineBenchWindow *made = nullptr;

// English-looking words: syllables of Latin letters, upper case as stored.
QString englishWord(QRandomGenerator &random)
{
    static const char *const syllables[] = {"ab", "ac", "al", "an", "ar", "be", "ca", "co", "de", "di", "el", "en",
                                            "er", "fo", "ga", "hi", "in", "is", "ka", "la", "le", "li", "ma", "me",
                                            "mo", "na", "ne", "no", "on", "or", "pa", "pe", "ra", "re", "ri", "ro",
                                            "sa", "se", "so", "st", "ta", "te", "ti", "to", "un", "ur", "va", "ve"};
    QString word;
    const int count = 2 + int(random.bounded(3));
    for (int i = 0; i < count; ++i)
        word += QLatin1String(syllables[random.bounded(int(std::size(syllables)))]);
    return word.toUpper();
}

// An article of 300 to 2 000 bytes of UTF-8, mostly Latin with a Cyrillic
// gloss in about one sentence of four, as a bilingual dictionary has.
QString articleOf(const QString &headword, QRandomGenerator &random)
{
    static const QStringList latin = {
        QStringLiteral(" [ˈwɜːd] n. a unit of language that carries meaning;"),
        QStringLiteral(" to speak or write in a particular way, as in the phrase given;"),
        QStringLiteral(" <i>syn.</i> term, expression, name, designation;"),
        QStringLiteral(" (informal) a short remark or conversation with somebody;"),
        QStringLiteral(" <b>1.</b> the act of doing so; <b>2.</b> the result of that act;"),
    };
    static const QStringList cyrillic = {
        QStringLiteral(" — слово, выражение; речь, разговор;"),
        QStringLiteral(" <i>перен.</i> обещание, честное слово;"),
    };
    const int target = 300 + int(random.bounded(1700));
    QString text = headword;
    int bytes = int(text.toUtf8().size());
    while (bytes < target) {
        const QString &piece = random.bounded(4) == 0 ? cyrillic.at(random.bounded(int(cyrillic.size())))
                                                      : latin.at(random.bounded(int(latin.size())));
        text += piece;
        bytes += int(piece.toUtf8().size());
    }
    return text;
}

QString russianArticle(const QString &word, QRandomGenerator &random)
{
    static const QString sentence = QStringLiteral(" — пример статьи словаря, с толкованием и примерами употребления.");
    QString text = word;
    const int target = 300 + int(random.bounded(1700));
    while (text.toUtf8().size() < target)
        text += sentence;
    return text;
}

} // namespace

EngineBenchWindow &EngineBenchWindow::instance()
{
    if (!made)
        made = new EngineBenchWindow;
    return *made;
}

void EngineBenchWindow::end()
{
    delete made;
    made = nullptr;
}

EngineBenchWindow::EngineBenchWindow()
{
    m_previousDir = QDir::currentPath();
    setMessageBoxResponder([this](const MessageBoxRequest &r) {
        m_boxes.append(r.text);
        return IDOK;
    });
    makeFolder();
    QDir::setCurrent(m_dir.path());
    qputenv("VOCABULINARUM_REGISTRY", QFile::encodeName(m_dir.filePath(QStringLiteral("registry.json"))));

    m_form = std::make_unique<TForm1>();
    m_form->show();
    if (auto *view = m_form->Emb->findChild<QWebEngineView *>())
        m_page = view->page();
    if (m_page)
        m_writer = m_page->findChild<PageWriter *>();
    if (!m_writer) {
        m_failure = QStringLiteral("the article view has no page writer");
        return;
    }
    QObject::connect(m_page, &QWebEnginePage::loadStarted, [this] {
        m_loading = true;
        ++m_loadStarts;
    });
    QObject::connect(m_page, &QWebEnginePage::loadFinished, [this] {
        m_loading = false;
        ++m_loadEnds;
    });
    if (!waitUntil([this] { return m_form->StartupDone || !m_boxes.isEmpty(); }, WaitLimitMs)
        || !m_boxes.isEmpty()) {
        m_failure = QStringLiteral("the window did not start: ") + m_boxes.value(0);
        return;
    }
    if (!settle())
        m_failure = QStringLiteral("the start page did not load");
}

EngineBenchWindow::~EngineBenchWindow()
{
    m_form.reset();
    qunsetenv("VOCABULINARUM_REGISTRY");
    QDir::setCurrent(m_previousDir);
    setMessageBoxResponder({});
}

void EngineBenchWindow::makeFolder()
{
    const QString base = m_dir.path() + u'/';
    QDir().mkpath(base + QStringLiteral("ConfigFiles/dictionaries"));
    ListFile::writeBytes(base + QStringLiteral("ConfigFiles/references.htm"),
                         "<html><body><p>Start page</p></body></html>");
    QRandomGenerator random(2024);
    QStringList tree{RootCaption, u'\t' + BigCaption + QStringLiteral("=big")};
    HeadwordMerge merge;

    // The whole list: sorted, each word once.
    std::set<QString> unique;
    while (int(unique.size()) < BigHeadwords)
        unique.insert(englishWord(random));
    m_bigHeadwords = QStringList(unique.begin(), unique.end());
    QStringList articles;
    articles.reserve(m_bigHeadwords.size());
    for (const QString &h : m_bigHeadwords)
        articles.append(articleOf(h, random));
    WriteListPair(base + QStringLiteral("dic/big/big"), m_bigHeadwords, articles);
    ListFile::write(base + QStringLiteral("dic/big/about.info"), {QStringLiteral("A big whole list."), BigCaption});
    merge.Add(m_bigHeadwords);
    articles.clear();

    // Thirty per-letter dictionaries; К's file holds the word in the middle
    // of its letter, the two beside it are small.
    for (int d = 0; d < DictionariesWithWord; ++d) {
        const QString folder = QStringLiteral("rus") + QString::number(d);
        const QString caption = QStringLiteral("Русский ") + QString::number(d);
        tree.append(u'\t' + caption + u'=' + folder);
        QDir().mkpath(base + QStringLiteral("dic/") + folder);
        ListFile::write(base + QStringLiteral("dic/") + folder + QStringLiteral("/about.info"),
                        {QStringLiteral("Толковый словарь."), caption});
        for (int letter = 10; letter <= 12; ++letter) {
            const bool k = letter == 11;
            const int count = k ? LetterLines : 100;
            QStringList headwords;
            QStringList texts;
            for (int i = 0; i < count; ++i) {
                const QString word = NumberedWord(QChar(char16_t(0x040F + letter)), i, 3);
                headwords.append(word);
                texts.append(russianArticle(word, random));
                if (k && i == count / 2) {
                    headwords.append(CommonWord);
                    texts.append(russianArticle(CommonWord, random));
                }
            }
            WriteListPair(base + QStringLiteral("dic/%1/base/%2").arg(folder).arg(letter), headwords, texts);
            merge.Add(headwords);
        }
    }
    ListFile::write(base + QStringLiteral("ConfigFiles/TreeView.trv"), tree);
    const LineList combined = merge.Lines();
    QStringList lines = combined.ToStringList();
    ListFile::write(base + QStringLiteral("ConfigFiles/dictionaries/dictionaries.ogl"), lines);
    LetterIndexTable::Build(lines).WriteFile(base + QStringLiteral("ConfigFiles/dictionaries/dictionaries.dvc"));
}

bool EngineBenchWindow::waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer since;
    since.start();
    // Every event the engine sends wakes the loop; the timer only bounds it.
    QTimer tick;
    tick.start(50);
    while (!done()) {
        if (since.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
    }
    return true;
}

bool EngineBenchWindow::settle()
{
    const bool settled = waitUntil([this] { return m_writer && !m_writer->writing() && !m_loading; }, WaitLimitMs);
    m_loadEndsAtSettle = m_loadEnds;
    m_loadStartsAtSettle = m_loadStarts;
    return settled;
}

bool EngineBenchWindow::waitForWrittenPage()
{
    if (!m_writer || !m_writer->writing())
        return false;
    const bool ended = waitUntil([this] { return !m_writer->writing(); }, WaitLimitMs);
    if (!ended || !m_writer->landed())
        return false;
    // A page written into the document shown makes the engine no load of
    // its own; one that came by a navigation has ended when its load has.
    QElapsedTimer sinceLanding;
    sinceLanding.start();
    if (m_loadStarts > m_loadStartsAtSettle
        && !waitUntil([this] { return m_loadEnds > m_loadEndsAtSettle && !m_loading; }, WaitLimitMs))
        return false;
    m_lateLoadMs += double(sinceLanding.nsecsElapsed()) / 1e6;
    m_loadEndsAtSettle = m_loadEnds;
    m_loadStartsAtSettle = m_loadStarts;
    return true;
}

QString EngineBenchWindow::shownText() const
{
    return m_page ? runScriptAndWait(m_page, QStringLiteral("document.body ? document.body.textContent : ''"), 5000).toString()
                  : QString();
}

void EngineBenchWindow::select(const QString &caption)
{
    const auto found = m_form->TreeView1->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
    if (found.size() != 1) {
        m_failure = QStringLiteral("no single tree node named ") + caption;
        return;
    }
    m_form->TreeView1->setCurrentItem(found[0]);
    if (!settle())
        m_failure = QStringLiteral("opening ") + caption + QStringLiteral(" did not settle");
    m_form->ComboBox1->setFocus();
}

} // namespace vocab::bench

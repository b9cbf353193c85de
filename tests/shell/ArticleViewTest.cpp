// Article pages in the real engine: what the page shows once written.
#include "CombinedFixtures.h"
#include "DictionaryFixtures.h"
#include "HostedBrowser.h"
#include "ScriptRunner.h"
#include "ShellPaths.h"
#include "ShellTexts.h"
#include "WebEngineControl.h"
#include "WindowFixture.h"

#include "WebPage.h"

#include <QImage>
#include <QWebEnginePage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QUrl>

using namespace vocab;
using vocab::test::FixtureFolder;
using vocab::test::Merged;

namespace {

// A dictionary whose articles carry a picture and a quoted headword. Its
// lists lie under the working folder; its picture under the program's
// folder, where article pages look for pictures.
class ArticleView : public vocab::test::WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        dir.writeTree({texts::RootNodeCaption, u"Мои"_qs, u"\tПример с картинкой="_qs + folder});
        dir.writeList("dic/" + folder + "/" + folder + ".ogl", {u"ДОМ"_qs, u"КОТ"_qs});
        dir.writeList("dic/" + folder + "/" + folder + ".uvs",
                      {u"ДОМ, -а. Здание. <img id=pic src=\"##&dom.png\">"_qs, u"\"КОТ\" - зверь."_qs});
        QDir().mkpath(pictureFolder());
        QImage picture(7, 5, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        ASSERT_TRUE(picture.save(pictureFolder() + "/dom.png"));
    }

    void TearDown() override
    {
        WindowFixture::TearDown();
        QDir(ProgramDir() + "/dic/" + folder).removeRecursively();
    }

    QString pictureFolder() const { return ProgramDir() + "/dic/" + folder + "/img"; }

    QVariant evaluate(const QString &script)
    {
        auto *control = dynamic_cast<WebEngineControl *>(form->Emb->Control());
        return control ? runScriptAndWait(control->page(), script, 5000) : QVariant();
    }

    void search(const QString &text)
    {
        form->ComboBox1->lineEdit()->setText(text);
        Q_EMIT form->ComboBox1->userTextChanged(text);
    }

    const QString folder = QStringLiteral("article_view_%1").arg(QCoreApplication::applicationPid());
    vocab::test::FixtureFolder dir{work.path()};
};

// A window that waits no time at all for its first blank document: to it
// every engine is as slow as a stalled one.
class ImpatientForm : public TForm1 {
public:
    ImpatientForm() { DocumentWaitMs = 0; }
    void WriteHtmlToBrowser(const QString &page) override
    {
        TForm1::WriteHtmlToBrowser(page);
        waited = waited || PageWaitingForDocument();
    }
    // A page was left waiting for its document.
    bool waited = false;
};

} // namespace

TEST_F(ArticleView, AFirstDocumentSlowToComeHoldsNothingUpAndThePagesFollowIt)
{
    writeOptions("[options]\r\nBrowserLoad=1\r\n");
    start<ImpatientForm>();
    ASSERT_TRUE(form->StartupDone);
    EXPECT_TRUE(boxes.empty()) << boxes.front().toStdString();
    EXPECT_EQ(form->TreeView1->topLevelItemCount(), 2) << "the tree was loaded";
    // The empty page of the start-up waited and went in once there was a document.
    EXPECT_TRUE(static_cast<const ImpatientForm &>(*form).waited);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->PageWaitingForDocument(); }, 30000));

    // From then on each page goes in as it is asked for.
    select(u"Пример с картинкой"_qs);
    search(u"до"_qs);
    search(u"кот"_qs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return evaluate("document.querySelector('b') ? document.querySelector('b').textContent : ''") == u"\"КОТ\""_qs; }, 30000));
    EXPECT_FALSE(form->PageWaitingForDocument());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ArticleView, HeadwordBoldHeadingAndPictureInTheLoadedPage)
{
    start();
    select(u"Пример с картинкой"_qs);
    search(u"до"_qs);

    ASSERT_TRUE(QTest::qWaitFor([&] { return evaluate("document.querySelector('b') ? document.querySelector('b').textContent : ''") == u"ДОМ"_qs; }, 10000));
    EXPECT_EQ(evaluate("document.querySelector('.zag').textContent").toString(), u"Пример с картинкой"_qs);
    // The heading's fonts are found as a sans-serif face, not left to the
    // engine's serif default: the same text is wider or narrower in it.
    const QVariantList widths = evaluate(
        "(function() { function width(family) { var s = document.createElement('span');"
        " s.style.cssText = 'position:absolute; white-space:nowrap; font-size:9pt; font-family:' + family;"
        " s.textContent = 'Пример с картинкой Heading'; document.body.appendChild(s);"
        " var w = s.getBoundingClientRect().width; s.remove(); return w; }"
        " return [width(getComputedStyle(document.querySelector('.zag')).fontFamily), width('serif')]; })()").toList();
    ASSERT_EQ(widths.size(), 2);
    EXPECT_NE(widths[0].toDouble(), widths[1].toDouble()) << "the heading fell back to the serif face";
    EXPECT_TRUE(QTest::qWaitFor([&] { return evaluate("document.getElementById('pic').naturalWidth").toInt() == 7; }, 10000))
        << "the picture of the article did not load";

    search(u"кот"_qs);
    EXPECT_TRUE(QTest::qWaitFor([&] { return evaluate("document.querySelector('b').textContent") == u"\"КОТ\""_qs; }, 10000))
        << "the quoted headword is bold with its quotes";
    EXPECT_TRUE(boxes.empty());
}

// Articles whose markup the engine would never close. Each page is written
// whole: the heading above such an article still shows, and the next page
// leaves nothing of it behind.
TEST_F(ArticleView, MarkupLeftOpenByAnArticleEndsWithItsPage)
{
    dir.writeTree({texts::RootNodeCaption, u"Мои"_qs, u"\tРазметка=markup"_qs});
    dir.writeList("dic/markup/markup.ogl", {u"АЛЬФА"_qs, u"БЕТА"_qs, u"ВЕГА"_qs, u"ГАММА"_qs});
    dir.writeList("dic/markup/markup.uvs", {u"АЛЬФА <!-- не закрыт"_qs, u"БЕТА <textarea>не закрыт"_qs,
                                            u"ВЕГА <script>не закрыт"_qs, u"ГАММА, -ы. Буква."_qs});
    start();
    select(u"Разметка"_qs);
    const auto bold = [&] { return evaluate("document.querySelector('b') ? document.querySelector('b').textContent : ''").toString(); };
    const auto count = [&](const char *selector) {
        return evaluate(QStringLiteral("document.querySelectorAll('%1').length").arg(selector)).toInt();
    };
    const auto heading = [&] { return evaluate("document.querySelector('.zag').textContent").toString(); };

    search(u"а"_qs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bold() == u"АЛЬФА"_qs; }, 10000));
    EXPECT_EQ(heading(), u"Разметка"_qs);
    EXPECT_FALSE(evaluate("document.body.innerText").toString().contains(u"не закрыт"_qs)) << "the rest is a comment";

    search(u"б"_qs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bold() == u"БЕТА"_qs; }, 10000));
    EXPECT_EQ(heading(), u"Разметка"_qs);
    EXPECT_EQ(count("textarea"), 1) << "the page's own end stands inside the text box";

    search(u"в"_qs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bold() == u"ВЕГА"_qs; }, 10000));
    EXPECT_EQ(heading(), u"Разметка"_qs);
    EXPECT_EQ(count("textarea"), 0) << "nothing of the page before";

    search(u"г"_qs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bold() == u"ГАММА"_qs; }, 10000));
    EXPECT_EQ(count("script"), 1) << "the head's own script alone";
    EXPECT_EQ(evaluate("document.body.innerText").toString().trimmed(), u"Разметка\nГАММА, -ы. Буква."_qs);
    EXPECT_TRUE(boxes.empty());
}

// The program installed where an address would break at a "#", "%", "?" or a
// blank, with a Cyrillic name, its dictionary folder written in another letter
// case than the tree has it and the picture folder in capitals.
TEST_F(ArticleView, PicturesLoadFromAnAwkwardInstallFolderWhateverTheLetterCase)
{
    QTemporaryDir installed;
    ASSERT_TRUE(installed.isValid());
    const QString program = installed.filePath(u"Программы #2 100% a?b c"_qs);
    dir.writeTree({texts::RootNodeCaption, u"Мои"_qs, u"\tКартинки=Pics"_qs});
    dir.writeList("dic/Pics/Pics.ogl", {u"ДОМ"_qs});
    dir.writeList("dic/Pics/Pics.uvs", {u"ДОМ, -а. Здание. <img id=pic src=\"##&dom.png\">"_qs});
    ASSERT_TRUE(QDir().mkpath(program + "/dic/PICS/IMG"));
    QImage picture(9, 4, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    ASSERT_TRUE(picture.save(program + "/dic/PICS/IMG/dom.png"));
    SetProgramDirForTests(program);
    struct Restore {
        ~Restore() { SetProgramDirForTests(QString()); }
    } restore;
    start();
    select(u"Картинки"_qs);
    search(u"до"_qs);
    const bool loaded = QTest::qWaitFor([&] {
        return evaluate("(function() { var p = document.getElementById('pic');"
                        " return p && p.complete ? p.naturalWidth : -1; })()").toInt() == 9;
    }, 20000);
    const QString src = evaluate("document.getElementById('pic') ? document.getElementById('pic').src : ''").toString();
    EXPECT_TRUE(loaded) << "the picture did not load from " << src.toStdString();
    EXPECT_EQ(QUrl(src).toLocalFile(), program + "/dic/PICS/IMG/dom.png");
    EXPECT_TRUE(boxes.empty());
}

namespace {

// The combined list of the words of these dictionaries, with its index, as
// the start-up finds it.
void writeCombinedList(const FixtureFolder &dir, std::initializer_list<QStringList> dictionaries)
{
    const QStringList list = Merged(dictionaries);
    dir.writeList("ConfigFiles/dictionaries/dictionaries.ogl", list);
    LetterIndexTable::Build(list).WriteFile(dir.path("ConfigFiles/dictionaries/dictionaries.dvc"));
}

} // namespace

// Names that read as markup, in the headings the engine shows: the one
// dictionary's page and the page of all of them, where a name beginning "<!"
// once greyed every dictionary after it (its heading left open) and one
// beginning "<!--" made a comment of them.
TEST_F(ArticleView, DictionaryNamesAreShownAsTheyAreOnBothPages)
{
    const QStringList names{u"<!Первый"_qs, u"Словарь <beta> & Co"_qs, u"<!-- Третий"_qs, u"Четвёртый"_qs};
    const QStringList texts{u"ЛЕС <i>первый</i>"_qs, u"ЛЕС второй"_qs, u"ЛЕС третий"_qs, u"ЛЕС четвёртый"_qs};
    QStringList tree{texts::RootNodeCaption, u"Мои"_qs};
    for (int i = 0; i < names.size(); ++i) {
        const QString own = u"names%1"_qs.arg(i);
        tree.append(u'\t' + names[i] + u'=' + own);
        dir.writeList("dic/" + own + "/" + own + ".ogl", {u"ЛЕС"_qs});
        dir.writeList("dic/" + own + "/" + own + ".uvs", {texts[i]});
    }
    dir.writeTree(tree);
    writeCombinedList(dir, {{u"ЛЕС"_qs}, {u"ЛЕС"_qs}, {u"ЛЕС"_qs}, {u"ЛЕС"_qs}});
    start();
    const auto headings = [&] {
        return evaluate("Array.from(document.querySelectorAll('.zag')).map(function(e) { return e.textContent; })")
            .toStringList();
    };
    const auto comments = [&] {
        return evaluate("(function() { var w = document.createTreeWalker(document.body, NodeFilter.SHOW_COMMENT), n = 0;"
                        " while (w.nextNode()) ++n; return n; })()").toInt();
    };
    // The text of each article and whether it is drawn in the heading's grey.
    const auto articles = [&] {
        return evaluate("Array.from(document.querySelectorAll('div[align=justify]')).map(function(e) {"
                        " return e.textContent + (e.closest('.zag') ? ' (grey)' : ''); })").toStringList();
    };

    for (const int i : {0, 1, 2}) {
        select(names[i]);
        search(u"лес"_qs);
        ASSERT_TRUE(QTest::qWaitFor([&] { return headings() == QStringList{names[i]}; }, 10000))
            << headings().join(u'|').toStdString();
        EXPECT_EQ(articles(), QStringList{QString(texts[i]).remove(u"<i>"_qs).remove(u"</i>"_qs)});
    }
    select(names[0]);
    search(u"лес"_qs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return evaluate("document.querySelector('i') ? document.querySelector('i').textContent : ''") == u"первый"_qs; }, 10000))
        << "the article stays HTML";

    select(texts::RootNodeCaption);
    typeAfterClearing(u"лес"_qs);
    ASSERT_EQ(form->PickedHeadword, u"ЛЕС"_qs);
    QTest::keyClick(box(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return headings() == names; }, 10000)) << headings().join(u'|').toStdString();
    EXPECT_EQ(comments(), 0);
    EXPECT_EQ(articles(), (QStringList{u"ЛЕС первый"_qs, u"ЛЕС второй"_qs, u"ЛЕС третий"_qs, u"ЛЕС четвёртый"_qs}));
    EXPECT_TRUE(boxes.empty());
}

// An article file cut off in the middle: the words past its end show, in the
// article view of both pages, that the file is damaged and which it is; the
// words before it show their articles, and no box comes up.
TEST_F(ArticleView, AnArticleFileCutOffShowsThatItIsDamaged)
{
    const QString name = u"Обрезанный"_qs;
    dir.writeTree({texts::RootNodeCaption, u"Мои"_qs, u"\t"_qs + name + u"=cut"_qs});
    dir.writeList("dic/cut/cut.ogl", {u"ДОМ"_qs, u"КОТ"_qs, u"ЛЕС"_qs});
    const QByteArray whole = ListFile::encode({u"ДОМ, -а. Здание."_qs, u"КОТ, -а. Зверь."_qs, u"ЛЕС, -а. Деревья."_qs});
    vocab::test::writeBytes(dir.path("dic/cut/cut.uvs"), whole.left(whole.indexOf(u"Зверь"_qs.toUtf8())));
    writeCombinedList(dir, {{u"ДОМ"_qs, u"КОТ"_qs, u"ЛЕС"_qs}});
    start();
    const QString damaged = texts::DamagedArticleFile.arg(name, QDir::currentPath() + u"/dic/cut/cut.uvs"_qs);
    const auto text = [&] { return evaluate("document.body.innerText").toString().trimmed(); };

    select(name);
    search(u"лес"_qs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return text() == name + u'\n' + damaged; }, 10000)) << text().toStdString();
    search(u"до"_qs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return text() == name + u"\nДОМ, -а. Здание."_qs; }, 10000)) << text().toStdString();
    search(u"кот"_qs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return text() == name + u"\nКОТ, -а."_qs; }, 10000))
        << "what is left of the last line: " << text().toStdString();

    select(texts::RootNodeCaption);
    typeAfterClearing(u"лес"_qs);
    ASSERT_EQ(form->PickedHeadword, u"ЛЕС"_qs);
    QTest::keyClick(box(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return text() == name + u'\n' + damaged; }, 10000)) << text().toStdString();
    EXPECT_TRUE(boxes.empty());
}

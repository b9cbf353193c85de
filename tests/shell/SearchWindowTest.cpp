// The search box and the headword grid of the real main window, typed into.
#include "DictionaryFixtures.h"
#include "ShellTexts.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

using namespace vocab;
using vocab::test::FixtureFolder;

namespace {

// Three dictionaries: Russian per letter, English per letter, one whole list.
class SearchWindow : public vocab::test::WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        dir.writeTree({texts::RootNodeCaption, u"Мои"_qs, u"\tРусский=rus"_qs,
                                                   u"\tEnglish=eng"_qs, u"\tЦелый=whole"_qs});
        // Russian: А (1), Б (2), Е (6), Л (12); no file for Щ (26).
        dir.writePair("dic/rus/base/1", {u"АИСТ"_qs, u"АРБУЗ"_qs});
        dir.writePair("dic/rus/base/2", {u"БАРСУК"_qs, u"БЕРЕЗА"_qs, u"БУКВА"_qs});
        dir.writePair("dic/rus/base/6", {u"ЕЖ"_qs, u"ЕЛКА"_qs});
        dir.writePair("dic/rus/base/12", {u"ЛЕС"_qs, u"-ЛОГ"_qs, u"ЛУНА"_qs});
        // English: no 100 file; A (101), T (120).
        dir.writePair("dic/eng/base/101", {"ACORN", "APPLE"});
        dir.writePair("dic/eng/base/120", {"TABLE", "'TIS", "TREE"});
        QStringList whole;
        for (int i = 0; i < 300; ++i)
            whole.append(QStringLiteral("WORD%1").arg(i, 3, 10, QChar('0')));
        dir.writePair("dic/whole/whole", whole);
    }




    FixtureFolder dir{work.path()};
};

} // namespace

TEST_F(SearchWindow, RussianDictionaryByLetterAsTheUserTypes)
{
    start();
    select(u"Русский"_qs);
    // Opening shows the first headword of the first letter file there is.
    EXPECT_EQ(form->lookup.List().CurrentLetterFile, 1);
    EXPECT_EQ(form->grid.RowCount(), 2);
    EXPECT_EQ(selectedHeadword(), u"АИСТ"_qs);
    EXPECT_TRUE(pageShows(u"АИСТ"_qs));
    EXPECT_TRUE(form->ShownPage().contains(u"<div class=zag>Русский</div>"_qs));

    type(u"бе"_qs);
    EXPECT_EQ(edit()->text(), u"бе"_qs);
    EXPECT_EQ(form->lookup.List().CurrentLetterFile, 2);
    EXPECT_EQ(selectedHeadword(), u"БЕРЕЗА"_qs);
    EXPECT_EQ(form->StringGrid1->currentIndex().row(), form->grid.Row());
    EXPECT_TRUE(pageShows(u"БЕРЕЗА"_qs));
    EXPECT_EQ(textColour(), 0x000000u);

    type(u"я"_qs); // "бея" matches nothing: the grid stays, the text turns grey
    EXPECT_EQ(selectedHeadword(), u"БЕРЕЗА"_qs);
    EXPECT_EQ(textColour(), 0x808080u);

    struct Case { QString typed; int letterFile; QString headword; };
    for (const Case &c : {Case{u"Ёж"_qs, 6, u"ЕЖ"_qs}, Case{u"ёл"_qs, 6, u"ЕЛКА"_qs}, Case{u"-л"_qs, 12, u"-ЛОГ"_qs},
                          Case{u"лу"_qs, 12, u"ЛУНА"_qs}}) {
        typeAfterClearing(c.typed);
        EXPECT_EQ(form->lookup.List().CurrentLetterFile, c.letterFile) << c.typed.toStdString();
        EXPECT_EQ(selectedHeadword(), c.headword) << c.typed.toStdString();
        EXPECT_EQ(textColour(), 0x000000u) << c.typed.toStdString();
    }
    EXPECT_EQ(edit()->text(), u"лу"_qs) << "the box shows what was typed, in lower case";

    // A letter without a file empties the grid and the page.
    typeAfterClearing(u"щ"_qs);
    EXPECT_EQ(form->grid.RowCount(), 0);
    EXPECT_TRUE(form->ShownPage().isEmpty());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SearchWindow, EnglishDictionaryWithTheApostrophe)
{
    start();
    select("English");
    EXPECT_EQ(form->lookup.List().CurrentLetterFile, 101);
    EXPECT_EQ(selectedHeadword(), "ACORN");
    type("'t");
    EXPECT_EQ(form->lookup.List().CurrentLetterFile, 120);
    EXPECT_EQ(selectedHeadword(), "'TIS");
    typeAfterClearing("TR");
    EXPECT_EQ(edit()->text(), "tr");
    EXPECT_EQ(selectedHeadword(), "TREE");
}

TEST_F(SearchWindow, WholeListIsCentredAroundTheMatchAndArrowsMoveTheRow)
{
    start();
    select(u"Целый"_qs);
    EXPECT_EQ(form->grid.RowCount(), 300) << "a whole list goes into the grid once";
    type("word150");
    EXPECT_EQ(form->grid.Row(), 150);
    EXPECT_EQ(selectedHeadword(), "WORD150");
    // The match stands in the middle of the view.
    const int visible = form->grid.VisibleRowCount();
    ASSERT_GE(visible, 3);
    EXPECT_NEAR(form->grid.TopRow(), 150 - visible / 2, 1);

    QTest::keyClick(box(), Qt::Key_Down);
    EXPECT_EQ(selectedHeadword(), "WORD151");
    EXPECT_EQ(edit()->text(), "word151") << "the row's headword goes into the box";
    EXPECT_EQ(edit()->cursorPosition(), 7);
    EXPECT_TRUE(pageShows("WORD151"));
    QTest::keyClick(box(), Qt::Key_Up);
    QTest::keyClick(box(), Qt::Key_Up);
    EXPECT_EQ(selectedHeadword(), "WORD149");
    EXPECT_EQ(form->ComboBox1->count(), 0) << "the arrows never walk the history";

    typeAfterClearing("word000");
    QTest::keyClick(box(), Qt::Key_Up);
    EXPECT_EQ(form->grid.Row(), 0) << "nothing above the first row";
}

TEST_F(SearchWindow, EraseKeyClearsTheBoxAndReopensTheDictionary)
{
    vocab::test::writeBytes(path("ConfigFiles/options.ini"), "[options]\r\nEraseStr=0\r\n");
    start();
    select(u"Русский"_qs);
    type(u"лес"_qs);
    EXPECT_EQ(selectedHeadword(), u"ЛЕС"_qs);
    QTest::keyClick(box(), Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_EQ(edit()->text(), QString());
    EXPECT_EQ(selectedHeadword(), u"АИСТ"_qs);
    EXPECT_EQ(form->lookup.List().CurrentLetterFile, 1);

    // With another value neither key clears.
    vocab::test::writeBytes(path("ConfigFiles/options.ini"), "[options]\r\nEraseStr=7\r\n");
    type(u"лес"_qs);
    QTest::keyClick(box(), Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_EQ(edit()->text(), u"лес"_qs);
}

TEST_F(SearchWindow, HistoryPickMovesToTheTopSearchesAndIsSaved)
{
    dir.writeList("ConfigFiles/history.trv", {u"лес"_qs, u"БУКВА"_qs, u"аист"_qs});
    start();
    EXPECT_EQ(form->ComboBox1->itemsText(), (QStringList{u"лес"_qs, u"буква"_qs, u"аист"_qs})) << "items are lower case";
    select(u"Русский"_qs);
    // The user picks "буква" from the list.
    form->ComboBox1->setCurrentIndex(1);
    Q_EMIT form->ComboBox1->activated(1);
    EXPECT_EQ(form->ComboBox1->itemsText(), (QStringList{u"буква"_qs, u"лес"_qs, u"аист"_qs}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return selectedHeadword() == u"БУКВА"_qs; }, 2000));

    form->AddToHistory(u"Ёлка"_qs);
    form->AddToHistory(u"ЛЕС"_qs);
    form->close();
    EXPECT_EQ(ListFile::read(path("ConfigFiles/history.trv")), (QStringList{u"лес"_qs, u"ёлка"_qs, u"буква"_qs, u"аист"_qs}));
}

TEST_F(SearchWindow, DroppedDownListShowsBlackText)
{
    start();
    select(u"Русский"_qs);
    type(u"бя"_qs);
    ASSERT_EQ(textColour(), 0x808080u);
    form->ComboBox1->setItemsInCode({"x"});
    form->ComboBox1->showPopup();
    EXPECT_EQ(form->ComboBox1->Tag, 2);
    EXPECT_EQ(textColour(), 0x000000u);
    form->ComboBox1->hidePopup();
    EXPECT_EQ(form->ComboBox1->Tag, 1);
    EXPECT_EQ(textColour(), 0x808080u);
    EXPECT_EQ(edit()->text(), u"бя"_qs) << "repainting fired no search and kept the text";
}

namespace {

// Keeps every page the window writes into the article view.
class PageKeepingForm : public TForm1 {
public:
    void WriteHtmlToBrowser(const QString &page) override
    {
        pages.append(page);
        TForm1::WriteHtmlToBrowser(page);
    }
    QStringList pages;
};

} // namespace

TEST_F(SearchWindow, DescriptionPageEmptiesTheGrid)
{
    dir.writeList("dic/rus/about.info", {u"Русские слова для проверки."_qs, u"Русский"_qs});
    start<PageKeepingForm>();
    select(u"Русский"_qs);
    type(u"бе"_qs);
    ASSERT_EQ(selectedHeadword(), u"БЕРЕЗА"_qs);
    QStringList &pages = static_cast<PageKeepingForm &>(*form).pages;
    pages.clear();
    Q_EMIT form->TreeView1->itemDoubleClicked(form->TreeView1->currentItem(), 0);
    EXPECT_EQ(pages, QStringList{form->PageHead + u"<div align=\"justify\">Русские слова для проверки.</div></body> </html>"_qs})
        << "the description alone is written, no blank page before it";
    EXPECT_EQ(form->grid.RowCount(), 0);
    // The same word typed again shows its article again.
    typeAfterClearing(u"бе"_qs);
    EXPECT_TRUE(pageShows(u"БЕРЕЗА"_qs));

    // The description went away while the program ran.
    ASSERT_TRUE(QFile::remove(dir.path("dic/eng/about.info")));
    select("English");
    form->CM_aboutClick();
    EXPECT_EQ(form->ShownPage(), form->PageHead + u"<div align=\"justify\">Файл описания не найден</div></body> </html>"_qs);
    select(u"Мои"_qs);
    const QString before = form->ShownPage();
    form->CM_aboutClick();
    EXPECT_EQ(form->ShownPage(), before) << "a folder has no description";
}

namespace {

void copyTree(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    const QDir source(from);
    for (const QFileInfo &entry : source.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (entry.isDir())
            copyTree(entry.filePath(), to + u'/' + entry.fileName());
        else
            QFile::copy(entry.filePath(), to + u'/' + entry.fileName());
    }
}

// The bundled sample folder, as a first run installs it.
class SampleFolder : public vocab::test::WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        copyTree(qEnvironmentVariable("VOCABULINARUM_SOURCE_DIR") + "/sample", work.path());
    }
};

} // namespace

TEST_F(SampleFolder, BothSampleDictionariesOpenAndCanBeSearched)
{
    start();
    ASSERT_TRUE(boxes.empty());
    // A first start installs both dictionaries and merges their headwords.
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->TreeView1->findItems(texts::NewDictionariesFolder, Qt::MatchExactly).size() == 1; }, 20000));
    auto typeInto = [&](const QString &text) {
        form->ComboBox1->lineEdit()->setText(text);
        Q_EMIT form->ComboBox1->userTextChanged(text);
    };
    typeInto(u"бер"_qs);
    EXPECT_EQ(selectedHeadword(), u"БЕРЕЗА"_qs) << "the root searches the combined list";
    QTest::keyClick(box(), Qt::Key_Return);
    EXPECT_TRUE(form->ShownPage().contains(u"<div class=zag>Малый толковый словарь</div>"_qs)) << form->ShownPage().toStdString();
    typeInto("zeb");
    EXPECT_EQ(selectedHeadword(), "ZEBRA");


    select(u"Малый толковый словарь"_qs);
    EXPECT_EQ(form->grid.Cell(form->grid.Row()), u"АБРИКОС"_qs);
    EXPECT_EQ(form->ListBox1->count(), 4) << "the name, an empty line and two categories";
    typeInto(u"бер"_qs);
    EXPECT_EQ(form->grid.Cell(form->grid.Row()), u"БЕРЕЗА"_qs);
    EXPECT_TRUE(form->ShownPage().contains(u"/dic/ruslex/img/bereza.png"_qs));
    typeInto(u"ёж"_qs);
    EXPECT_EQ(form->grid.Cell(form->grid.Row()), u"ЕЖ"_qs);

    select("English Words");
    EXPECT_EQ(form->grid.RowCount(), 34);
    typeInto("o'c");
    EXPECT_EQ(form->grid.Cell(form->grid.Row()), "O'CLOCK");
    typeInto("self-");
    EXPECT_EQ(form->grid.Cell(form->grid.Row()), "SELF-PORTRAIT");
    EXPECT_TRUE(boxes.empty());
}

// The search box and the headword grid of the real main window, typed into.
#include "DictionaryFixtures.h"
#include "ShellTexts.h"
#include "WindowFixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <functional>

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
        dir.writePair("dic/eng/base/120", {"TABLE", "'TIS", "TREE", "-TION"});
        QStringList whole;
        for (int i = 0; i < 300; ++i)
            whole.append(QStringLiteral("WORD%1").arg(i, 3, 10, QChar('0')));
        dir.writePair("dic/whole/whole", whole);
    }

    // One notch of the mouse wheel (120 a notch; dy < 0 turns it towards the user).
    static void turnWheel(QWidget *target, int dy)
    {
        QWheelEvent event(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, dy), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    }

    // Focus moves between widgets only in the active window.
    void activate()
    {
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
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
    EXPECT_EQ(form->grid.RowCount(), 2);
    type("'t");
    EXPECT_EQ(form->lookup.List().CurrentLetterFile, 120);
    EXPECT_EQ(form->grid.RowCount(), 4);
    EXPECT_EQ(selectedHeadword(), "'TIS");
    EXPECT_EQ(textColour(), 0x000000u);
    typeAfterClearing("TR");
    EXPECT_EQ(edit()->text(), "tr");
    EXPECT_EQ(selectedHeadword(), "TREE");
    typeAfterClearing("-t");
    EXPECT_EQ(form->lookup.List().CurrentLetterFile, 120) << "a hyphen goes by the letter after it";
    EXPECT_EQ(selectedHeadword(), "-TION");
    type("x"); // "-tx" matches nothing
    EXPECT_EQ(selectedHeadword(), "-TION");
    EXPECT_EQ(textColour(), 0x808080u);
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
    EXPECT_EQ(textColour(), 0x000000u);
    type("x");
    EXPECT_EQ(textColour(), 0x808080u);
    EXPECT_EQ(selectedHeadword(), "WORD150") << "a failed key leaves the row";
    clearBox();
    type("word150");

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
    start();
    select(u"Русский"_qs);
    // The option is read at every key press.
    struct Case { QByteArray eraseStr; Qt::Key key; bool clears; };
    const Case cases[] = {
        {"0", Qt::Key_Shift, true},   {"1", Qt::Key_Delete, true}, {"0", Qt::Key_Delete, false},
        {"1", Qt::Key_Shift, false},  {"7", Qt::Key_Shift, false}, {"7", Qt::Key_Delete, false},
    };
    for (const Case &c : cases) {
        const std::string what = "EraseStr=" + c.eraseStr.toStdString() + " key " + std::to_string(c.key);
        writeOptions("[options]\r\nEraseStr=" + c.eraseStr + "\r\n");
        typeAfterClearing(u"лес"_qs);
        ASSERT_EQ(selectedHeadword(), u"ЛЕС"_qs) << what;
        QTest::keyClick(box(), c.key, c.key == Qt::Key_Shift ? Qt::ShiftModifier : Qt::NoModifier);
        // Delete with the caret at the end deletes nothing by itself.
        EXPECT_EQ(edit()->text(), c.clears ? QString() : u"лес"_qs) << what;
        EXPECT_EQ(selectedHeadword(), c.clears ? u"АИСТ"_qs : u"ЛЕС"_qs) << what;
        EXPECT_EQ(form->lookup.List().CurrentLetterFile, c.clears ? 1 : 12) << what;
    }
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
    // Picking the first item leaves the list as it was and still searches.
    typeAfterClearing(u"ле"_qs);
    ASSERT_EQ(selectedHeadword(), u"ЛЕС"_qs);
    form->ComboBox1->setCurrentIndex(0);
    Q_EMIT form->ComboBox1->activated(0);
    EXPECT_EQ(form->ComboBox1->itemsText(), (QStringList{u"буква"_qs, u"лес"_qs, u"аист"_qs}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return selectedHeadword() == u"БУКВА"_qs; }, 2000));

    form->AddToHistory(u"Ёлка"_qs);
    form->AddToHistory(u"ЛЕС"_qs);
    form->close();
    EXPECT_EQ(ListFile::read(path("ConfigFiles/history.trv")), (QStringList{u"лес"_qs, u"ёлка"_qs, u"буква"_qs, u"аист"_qs}));
}

TEST_F(SearchWindow, LeavingTheBoxOnAHistoryWordIsNoPick)
{
    dir.writeList("ConfigFiles/history.trv", {u"лес"_qs, u"буква"_qs, u"аист"_qs});
    start();
    activate();
    select(u"Русский"_qs);
    form->ComboBox1->setFocus();
    type(u"аист"_qs);
    ASSERT_EQ(selectedHeadword(), u"АИСТ"_qs);
    form->StringGrid1->setFocus();
    QTest::qWait(20);
    EXPECT_EQ(form->ComboBox1->itemsText(), (QStringList{u"лес"_qs, u"буква"_qs, u"аист"_qs}));
    EXPECT_FALSE(form->TimerSelect->isActive());
    EXPECT_EQ(QApplication::focusWidget(), form->StringGrid1) << "no search took the focus back";

    // A pick in the open list still counts.
    form->ComboBox1->showPopup();
    QAbstractItemView *list = form->ComboBox1->view();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(1, 0)).center());
    EXPECT_EQ(form->ComboBox1->itemsText(), (QStringList{u"буква"_qs, u"лес"_qs, u"аист"_qs}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return selectedHeadword() == u"БУКВА"_qs; }, 2000));
    form->close();
    EXPECT_EQ(ListFile::read(path("ConfigFiles/history.trv")), (QStringList{u"буква"_qs, u"лес"_qs, u"аист"_qs}));
}

TEST_F(SearchWindow, ArrowsAndWheelInTheBoxMoveTheGridOneRow)
{
    start();
    select(u"Целый"_qs);
    type("word150");
    ASSERT_EQ(form->grid.Row(), 150);
    auto key = [&](Qt::Key k, Qt::KeyboardModifiers m) { return [=, this] { QTest::keyClick(box(), k, m); }; };
    auto wheel = [&](bool onEdit, int dy) { return [=, this] { turnWheel(onEdit ? edit() : box(), dy); }; };
    struct Case { const char *what; std::function<void()> act; int row; };
    const Case cases[] = {
        {"wheel towards the user, on the edit field", wheel(true, -120), 151},
        {"two notches at once are one row", wheel(false, 240), 150},
        {"Up", key(Qt::Key_Up, Qt::NoModifier), 149},
        {"the keypad's Down", key(Qt::Key_Down, Qt::KeypadModifier), 149},
        {"Alt+Down", key(Qt::Key_Down, Qt::AltModifier), 149},
        {"Alt+Up", key(Qt::Key_Up, Qt::AltModifier), 149},
    };
    for (const Case &c : cases) {
        c.act();
        EXPECT_EQ(form->grid.Row(), c.row) << c.what;
    }
    EXPECT_EQ(form->ComboBox1->currentIndex(), -1) << "the box's own item never changed";

    // With the history list open the wheel is the list's.
    form->ComboBox1->setItemsInCode({"x", "y"});
    form->ComboBox1->showPopup();
    turnWheel(form->ComboBox1->view()->viewport(), -120);
    turnWheel(box(), -120);
    EXPECT_EQ(form->grid.Row(), 149);
    form->ComboBox1->hidePopup();

    typeAfterClearing("word299");
    ASSERT_EQ(form->grid.Row(), 299);
    QTest::keyClick(box(), Qt::Key_Down);
    turnWheel(box(), -120);
    EXPECT_EQ(form->grid.Row(), 299) << "nothing below the last row";
    EXPECT_EQ(form->grid.RowCount(), 300);
    EXPECT_EQ(edit()->text(), "word299");
}

TEST_F(SearchWindow, FineWheelTurnsAddUpToOneRowPerNotch)
{
    start();
    select(u"Целый"_qs);
    type("word150");
    ASSERT_EQ(form->grid.Row(), 150);
    struct Case {
        const char *what;
        std::vector<int> turns;
        int row;
    };
    const Case cases[] = {
        {"seven fifteenths of a notch move nothing", {-15, -15, -15, -15, -15, -15, -15}, 150},
        {"the eighth makes the notch", {-15}, 151},
        {"a touchpad's run of small turns", std::vector<int>(24, -10), 153},
        {"what is left below a notch waits", {-100, -30}, 154},
        {"the remainder counts towards the next row", {-110}, 155},
        {"a turn back starts afresh", {-60, 60, 60}, 154},
        {"the remainder of a turn back is not carried over", {-119, 1, 119}, 153},
        {"a whole notch in one event", {120}, 152},
        {"a mouse wheel's notches, one row each", {-120, -120, -120}, 155},
    };
    for (const Case &c : cases) {
        for (const int dy : c.turns)
            turnWheel(box(), dy);
        EXPECT_EQ(form->grid.Row(), c.row) << c.what;
    }
}

TEST_F(SearchWindow, EnterInTheBoxAndTheHiddenButtonSearchTheDictionary)
{
    start();
    select(u"Целый"_qs);
    struct Case { const char *what; std::function<void()> act; QString text; QString headword; };
    const Case cases[] = {
        {"Enter", [this] { QTest::keyClick(box(), Qt::Key_Return); }, "word200", "WORD200"},
        {"Button1", [this] { form->Button1->click(); }, "word042", "WORD042"},
    };
    for (const Case &c : cases) {
        // Text put there by code has not been searched yet.
        form->ComboBox1->setTextInCode(c.text);
        ASSERT_NE(selectedHeadword(), c.headword) << c.what;
        c.act();
        EXPECT_EQ(selectedHeadword(), c.headword) << c.what;
        EXPECT_EQ(edit()->text(), c.text) << c.what << ": nothing inserted";
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SearchWindow, MissingArticleFileIsReportedAndNothingShown)
{
    ASSERT_TRUE(QFile::remove(dir.path("dic/eng/base/101.uvs")));
    start();
    select("English");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].startsWith(u"Файл \""_qs) && boxes[0].endsWith(u"/dic/eng/base/101.uvs\" не найден"_qs))
        << boxes[0].toStdString();
    EXPECT_EQ(form->grid.RowCount(), 0);
    EXPECT_TRUE(form->ShownPage().isEmpty());
    EXPECT_TRUE(form->lookup.List().CurrentHeadwords.isEmpty());
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
    QTreeWidget *tree = form->TreeView1;
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(tree->currentItem()).center());
    EXPECT_EQ(pages, QStringList{form->PageHead + u"<div align=\"justify\">Русские слова для проверки.</div></body> </html>"_qs})
        << "the description alone is written, no blank page before it";
    EXPECT_EQ(form->grid.RowCount(), 0);
    // The same word typed again shows its article again.
    typeAfterClearing(u"бе"_qs);
    EXPECT_TRUE(pageShows(u"БЕРЕЗА"_qs));

    // A double click on the empty space below the nodes is the tree's too:
    // the selected dictionary's description again, and the selection stays.
    const QRect last = tree->visualItemRect(TreeNodes::at(tree, TreeNodes::count(tree) - 1));
    const QPoint below(last.left() + 5, last.bottom() + 10);
    ASSERT_LT(below.y(), tree->viewport()->height()) << "room below the nodes";
    ASSERT_EQ(tree->itemAt(below), nullptr);
    pages.clear();
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, below);
    EXPECT_EQ(tree->currentItem()->text(0), u"Русский"_qs);
    EXPECT_EQ(pages, QStringList{form->PageHead + u"<div align=\"justify\">Русские слова для проверки.</div></body> </html>"_qs});
    EXPECT_EQ(form->grid.RowCount(), 0);

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

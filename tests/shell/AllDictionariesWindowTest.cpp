// The page of one headword from all dictionaries in the real main window:
// the root selected, a word typed, Enter or a double click.
#include "CombinedFixtures.h"
#include "ShellTexts.h"
#include "WindowFixture.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace vocab;
using namespace vocab::test;

namespace {

const QString End = QStringLiteral("</div></body> </html>");

class AllDictionariesWindow : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        dir.writeTree({texts::RootNodeCaption, u"Мои"_qs, u"\tТолковый=tolk"_qs,
                                                   u"\tПо буквам=letters"_qs, u"\tСерый=gray"_qs});
        dir.writePair("dic/tolk/tolk", {u"ДОМ"_qs, u"КОТ"_qs, u"КОТ"_qs, u"ЛЕС"_qs});
        dir.writePair("dic/letters/base/11", {u"КИТ"_qs, u"КОТ"_qs});
        dir.writePair("dic/gray/gray", {u"КОТ"_qs});
        dir.writeList("ConfigFiles/graylist.trv", {u"Серый"_qs, u"Ушедший"_qs});
        // ПЁС stayed in the combined list after its dictionary went away.
        const QStringList list = Merged({{u"ДОМ"_qs, u"КОТ"_qs, u"ЛЕС"_qs}, {u"КИТ"_qs, u"КОТ"_qs}, {u"ПЕС"_qs}});
        dir.writeList("ConfigFiles/dictionaries/dictionaries.ogl", list);
        LetterIndexTable::Build(list).WriteFile(path("ConfigFiles/dictionaries/dictionaries.dvc"));
    }

    void pressEnter(QWidget *widget) { QTest::keyClick(widget, Qt::Key_Return); }

    FixtureFolder dir{work.path()};
};

} // namespace

TEST_F(AllDictionariesWindow, EnterInTheBoxShowsTheWordFromEveryDictionary)
{
    start();
    ASSERT_TRUE(form->SelectedNodeIsRoot());
    type(u"ко"_qs);
    ASSERT_EQ(form->PickedHeadword, u"КОТ"_qs);
    pressEnter(box());
    EXPECT_EQ(form->ShownPage(),
              form->PageHead
                  + u"<div class=zag>Толковый</div><div align=\"justify\"><B>КОТ</B> — статья</div><br>"
                    u"<div align=\"justify\"><B>КОТ</B> — статья</div><br><br>"
                    u"<div class=zag>По буквам</div><div align=\"justify\"><B>КОТ</B> — статья</div><br><br>"_qs
                  + End);
    EXPECT_TRUE(form->TimerFocusWB->isActive());
    EXPECT_EQ(form->ProgressBar1->value(), 100);
    EXPECT_TRUE(form->PickedHeadword.isEmpty()) << "the row's word is used up by its page";
    EXPECT_EQ(form->GrayList, QStringList{u"Серый"_qs}) << "a grey name no dictionary bears is dropped";
    EXPECT_EQ(form->GrayListWork, QStringList{u"Ушедший"_qs});
    EXPECT_EQ(form->ComboBox1->itemText(0), u"кот"_qs) << "the word goes into the history";
    EXPECT_EQ(edit()->text(), u"ко"_qs);
    EXPECT_EQ(QApplication::focusWidget(), form->ComboBox1);
    EXPECT_EQ(edit()->cursorPosition(), 2);
    EXPECT_TRUE(boxes.empty());

    // Enter again builds nothing until a row is picked.
    form->WriteHtmlToBrowser(QString());
    pressEnter(box());
    EXPECT_TRUE(form->ShownPage().isEmpty());
}

TEST_F(AllDictionariesWindow, TheFirstWordOfAnEmptyHistoryLeavesTheTypedText)
{
    // A fresh profile: no history yet.
    ASSERT_FALSE(QFileInfo::exists(path("ConfigFiles/history.trv")));
    start();
    ASSERT_EQ(form->ComboBox1->count(), 0);
    type(u"ко"_qs);
    pressEnter(box());
    ASSERT_TRUE(form->ShownPage().contains(u"<B>КОТ</B>"_qs));
    EXPECT_EQ(form->ComboBox1->itemsText(), QStringList{u"кот"_qs});
    EXPECT_EQ(form->ComboBox1->currentIndex(), -1) << "adding is no choice from the list";
    EXPECT_EQ(edit()->text(), u"ко"_qs);
    // Nor does the text change while the focus timer runs over the page, or
    // when the box gets a later word.
    const QSignalSpy ticks(form->TimerFocusWB, &QTimer::timeout);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks.count() >= 2; }, 5000));
    EXPECT_EQ(edit()->text(), u"ко"_qs);
    form->ComboBox1->setFocus();
    typeAfterClearing(u"д"_qs);
    pressEnter(box());
    EXPECT_EQ(form->ComboBox1->itemsText(), (QStringList{u"дом"_qs, u"кот"_qs}));
    EXPECT_EQ(edit()->text(), u"д"_qs);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(AllDictionariesWindow, TheGridsEnterAndDoubleClickToo)
{
    start();
    type(u"д"_qs);
    ASSERT_EQ(selectedHeadword(), u"ДОМ"_qs);
    form->StringGrid1->setFocus();
    pressEnter(form->StringGrid1);
    EXPECT_EQ(form->ShownPage(),
              form->PageHead + u"<div class=zag>Толковый</div><div align=\"justify\"><B>ДОМ</B> — статья</div><br><br>"_qs + End);
    EXPECT_EQ(QApplication::focusWidget(), form->StringGrid1) << "the grid keeps the focus";

    // A double click on another row picks it, puts it into the box and shows its page.
    const int row = form->grid.Row() + 1;
    ASSERT_EQ(form->grid.Cell(row), u"КИТ"_qs);
    const QPoint at = form->StringGrid1->visualRect(form->StringGrid1->model()->index(row, 0)).center();
    QTest::mouseClick(form->StringGrid1->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(form->StringGrid1->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(edit()->text(), u"кит"_qs);
    EXPECT_EQ(form->ShownPage(),
              form->PageHead + u"<div class=zag>По буквам</div><div align=\"justify\"><B>КИТ</B> — статья</div><br><br>"_qs + End);
}

TEST_F(AllDictionariesWindow, ADoubleClickBelowTheRowsCountsAsTheGrids)
{
    start();
    type(u"д"_qs);
    ASSERT_EQ(selectedHeadword(), u"ДОМ"_qs);
    const int row = form->grid.Row();
    const QRect last = form->StringGrid1->visualRect(form->StringGrid1->model()->index(form->grid.RowCount() - 1, 0));
    const QPoint below(last.center().x(), last.bottom() + HeadwordGrid::DefaultRowHeight);
    ASSERT_LT(below.y(), form->StringGrid1->viewport()->height());
    QTest::mouseDClick(form->StringGrid1->viewport(), Qt::LeftButton, {}, below);
    EXPECT_EQ(form->ShownPage(),
              form->PageHead + u"<div class=zag>Толковый</div><div align=\"justify\"><B>ДОМ</B> — статья</div><br><br>"_qs + End);
    EXPECT_EQ(form->grid.Row(), row);
}

TEST_F(AllDictionariesWindow, AWordNoDictionaryHasAndABoxThatMovedOn)
{
    start();
    type(u"п"_qs);
    ASSERT_EQ(form->PickedHeadword, u"ПЕС"_qs);
    pressEnter(box());
    EXPECT_TRUE(form->ShownPage().startsWith(form->PageHead + u"Ничего не найдено. Возможные причины: <br><br>"_qs));
    EXPECT_TRUE(form->ShownPage().contains(u"<b>ПЕС</b> отмечена опция"_qs));
    EXPECT_FALSE(form->TimerFocusWB->isActive()) << "the nothing-found page keeps the focus in the box";
    EXPECT_EQ(form->ComboBox1->itemText(0), u"пес"_qs);

    // The box holds another letter than the row picked: no page.
    typeAfterClearing(u"д"_qs);
    ASSERT_EQ(form->PickedHeadword, u"ДОМ"_qs);
    form->ComboBox1->setTextInCode(u"лес"_qs);
    form->WriteHtmlToBrowser(QString());
    pressEnter(box());
    EXPECT_TRUE(form->ShownPage().isEmpty());
    EXPECT_EQ(form->PickedHeadword, u"ДОМ"_qs) << "kept for a page that can still be built";
}

TEST_F(AllDictionariesWindow, AMissingArticleFileIsShownAndNoPageWritten)
{
    QFile::remove(path("dic/letters/base/11.uvs"));
    start();
    type(u"кот"_qs);
    form->WriteHtmlToBrowser(QString());
    pressEnter(box());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].contains(u"11.uvs"_qs)) << boxes[0].toStdString();
    EXPECT_TRUE(form->ShownPage().isEmpty());
    EXPECT_EQ(form->GrayList, (QStringList{u"Серый"_qs, u"Ушедший"_qs})) << "nothing after the failure was done";
    EXPECT_EQ(form->ComboBox1->count(), 0) << "nor is the word added to the history";
}

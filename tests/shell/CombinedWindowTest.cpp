// The root of the real main window: the combined list and its letter index
// read at start, and typed into.
#include "CombinedFixtures.h"
#include "ShellTexts.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

using namespace vocab;
using namespace vocab::test;

namespace {

// Three hundred numbered words of Б and of Л, which sort before the words
// of those letters, and a few words of every kind.
QStringList combinedList()
{
    QStringList numbered;
    for (int i = 0; i < 300; ++i) {
        numbered.append(u"Б%1"_qs.arg(i, 3, 10, QChar(u'0')));
        numbered.append(u"Л%1"_qs.arg(i, 3, 10, QChar(u'0')));
    }
    return Merged({numbered, {u"ЛЕС"_qs, u"-ЛОГ"_qs, u"ЛУНА"_qs, u"БОР"_qs, u"APPLE"_qs, u"'TIS"_qs, u"1812"_qs}});
}

class CombinedWindow : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        dir.writeTree({texts::RootNodeCaption, u"Мои"_qs, u"\tРусский=rus"_qs});
        dir.writePair("dic/rus/base/12", {u"ЛЕС"_qs, u"ЛУНА"_qs});
        dir.writeList("ConfigFiles/dictionaries/dictionaries.ogl", list);
        LetterIndexTable::Build(list).WriteFile(dvc());
    }

    QString dvc() const { return path("ConfigFiles/dictionaries/dictionaries.dvc"); }



    // The rows the grid shows for a match at line a: 200 lines on either side.
    int rowsAround(const QString &headword) const
    {
        const auto a = list.indexOf(headword);
        return int(std::min<qsizetype>(a + 200, list.size()) - std::max<qsizetype>(a - 200, 0));
    }

    const QStringList list = combinedList();
    FixtureFolder dir{work.path()};
};

} // namespace

TEST_F(CombinedWindow, TypingWithTheRootSelectedSearchesTheCombinedList)
{
    start();
    ASSERT_TRUE(boxes.empty());
    EXPECT_EQ(form->AllHeadwords.ToStringList(), list);
    EXPECT_EQ(form->LetterIndex, LetterIndexTable::Build(list));
    // The root opens on the first line of the combined list.
    ASSERT_EQ(form->TreeView1->currentItem(), form->TreeView1->topLevelItem(0));
    EXPECT_EQ(selectedHeadword(), list.first());

    type(u"ле"_qs);
    EXPECT_EQ(selectedHeadword(), u"ЛЕС"_qs);
    EXPECT_EQ(form->grid.RowCount(), rowsAround(u"ЛЕС"_qs));
    EXPECT_EQ(form->StringGrid1->model()->rowCount(), form->grid.RowCount());
    EXPECT_EQ(form->StringGrid1->currentIndex().row(), form->grid.Row());
    EXPECT_EQ(form->PickedHeadword, u"ЛЕС"_qs);
    EXPECT_EQ(edit()->text(), u"ле"_qs) << "the rows passed on the way are not copied into the box";
    EXPECT_EQ(textColour(), 0x000000u);
    EXPECT_TRUE(form->ShownPage().isEmpty()) << "a row of the combined list has no article of its own";

    type(u"я"_qs); // "лея" matches nothing
    EXPECT_EQ(selectedHeadword(), u"ЛЕС"_qs);
    EXPECT_EQ(textColour(), 0x808080u);

    typeAfterClearing(u"-л"_qs);
    EXPECT_EQ(selectedHeadword(), u"-ЛОГ"_qs);
    EXPECT_EQ(textColour(), 0x000000u);
    typeAfterClearing(u"'t"_qs);
    EXPECT_EQ(selectedHeadword(), u"'TIS"_qs);
    EXPECT_EQ(form->grid.RowCount(), rowsAround(u"'TIS"_qs));
    typeAfterClearing(u"л050"_qs);
    EXPECT_EQ(selectedHeadword(), u"Л050"_qs);
    EXPECT_EQ(form->grid.RowCount(), 400);
    EXPECT_EQ(form->grid.Cell(0), list.at(list.indexOf(u"Л050"_qs) - 200));

    // An emptied box opens the root again, on the first line.
    clearBox();
    EXPECT_EQ(selectedHeadword(), list.first());
    EXPECT_EQ(form->grid.Row(), 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(CombinedWindow, TheRootKeepsTheTextTypedInADictionary)
{
    start();
    select(u"Русский"_qs);
    type(u"лу"_qs);
    EXPECT_EQ(form->grid.RowCount(), 2) << "the dictionary's own letter file";
    EXPECT_EQ(selectedHeadword(), u"ЛУНА"_qs);

    form->TreeView1->setCurrentItem(form->TreeView1->topLevelItem(0));
    EXPECT_EQ(edit()->text(), u"лу"_qs);
    EXPECT_EQ(selectedHeadword(), u"ЛУНА"_qs);
    EXPECT_EQ(form->grid.RowCount(), rowsAround(u"ЛУНА"_qs)) << "now the combined list's rows";
    EXPECT_TRUE(form->ShownPage().isEmpty());
}

TEST_F(CombinedWindow, AnIndexThatCannotServeIsBuiltAgainAtStart)
{
    const QByteArray fitting = LetterIndexTable::Build(list).Record();
    struct Case {
        const char *what;
        std::optional<QByteArray> dvc; // nothing: no file
    };
    const Case cases[] = {
        {"missing", std::nullopt},
        {"short", fitting.left(100)},
        {"of another list", LetterIndexTable::Build({u"1812"_qs, u"APPLE"_qs, u"БОР"_qs, u"ЛЕС"_qs}).Record()},
        {"pointing past the end", LetterIndexTable::Build(list + QStringList{u"ЯК"_qs}).Record()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(dvc());
        if (c.dvc)
            writeBytes(dvc(), *c.dvc);
        start();
        EXPECT_EQ(hex(readBytes(dvc())), hex(fitting));
        EXPECT_EQ(form->LetterIndex, LetterIndexTable::Build(list));
        type(u"лу"_qs);
        EXPECT_EQ(selectedHeadword(), u"ЛУНА"_qs);
        form->close();
        form.reset();
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(CombinedWindow, AnIndexThatCannotBeWrittenIsShownAndTheStartGoesOn)
{
    QFile::remove(dvc());
    QDir().mkpath(dvc()); // a folder where the index belongs
    start();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].contains("dictionaries.dvc"));
    EXPECT_TRUE(form->StartupDone);
    EXPECT_EQ(form->TreeView1->topLevelItemCount(), 2) << "the tree was still loaded";
    EXPECT_EQ(form->LetterIndex, LetterIndexTable::Build(list)) << "the index serves this session";
    type(u"лу"_qs);
    EXPECT_EQ(selectedHeadword(), u"ЛУНА"_qs);
}

TEST_F(CombinedWindow, AnEmptyCombinedListHasAnEmptyIndexAndIsNotSearched)
{
    // The list was emptied, the old index left beside it.
    dir.writeList("ConfigFiles/dictionaries/dictionaries.ogl", {});
    const QByteArray old = readBytes(dvc());
    start();
    EXPECT_EQ(form->LetterIndex, LetterIndexTable());
    EXPECT_EQ(readBytes(dvc()), old) << "no index is written for an empty list";
    type(u"лес"_qs);
    EXPECT_EQ(form->grid.RowCount(), 0);
    EXPECT_TRUE(boxes.empty());
}

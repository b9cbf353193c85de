#include "SearchBox.h"

#include "IniFile.h"
#include "TestSupport.h"

using namespace vocab;

namespace {

QStringList words(int n, const QString &prefix = QStringLiteral("слово"))
{
    QStringList out;
    for (int i = 0; i < n; ++i)
        out.append(prefix + QString::number(i));
    return out;
}

QStringList added(QStringList items, const QString &word)
{
    ApplyHistoryAddition(items, AddToHistory(items, word));
    return items;
}

TEST(HistoryTest, NewestFirstAndAtMost24AfterAdditions)
{
    const HistoryAddition first = AddToHistory({}, QStringLiteral("кот"));
    EXPECT_TRUE(first.append);
    EXPECT_FALSE(first.selectTop) << "the box keeps its text";
    EXPECT_EQ(added({}, QStringLiteral("кот")), QStringList{QStringLiteral("кот")});

    EXPECT_EQ(added({QStringLiteral("а"), QStringLiteral("б")}, QStringLiteral("в")),
              (QStringList{QStringLiteral("в"), QStringLiteral("а"), QStringLiteral("б")}));

    QStringList history;
    for (const QString &w : words(30))
        history = added(history, w);
    ASSERT_EQ(history.size(), 24);
    EXPECT_EQ(history.first(), QStringLiteral("слово29"));
    EXPECT_EQ(history.last(), QStringLiteral("слово6"));
}

TEST(HistoryTest, ALongerHistoryFromTheFileLosesTheEntryAtPosition24)
{
    const QStringList read = words(30);
    const QStringList after = added(read, QStringLiteral("новое"));
    ASSERT_EQ(after.size(), 30);
    EXPECT_EQ(after.first(), QStringLiteral("новое"));
    EXPECT_FALSE(after.contains(QStringLiteral("слово23")));
    EXPECT_EQ(after.last(), QStringLiteral("слово29"));
}

TEST(HistoryTest, AWordThereInAnotherCaseMovesToTheTop)
{
    QStringList history = words(24);
    history[5] = QStringLiteral("кот");
    const HistoryAddition addition = AddToHistory(history, QStringLiteral("КОТ"));
    EXPECT_TRUE(addition.selectTop);
    EXPECT_EQ(addition.removeIndex, 6);
    ApplyHistoryAddition(history, addition);
    EXPECT_EQ(history.size(), 24) << "no entry dropped for a word that was there";
    EXPECT_EQ(history.first(), QStringLiteral("КОТ"));
    EXPECT_EQ(history.count(QStringLiteral("кот")), 0);
    EXPECT_EQ(history.last(), QStringLiteral("слово23"));
}

TEST(EraseKeyTest, OptionPicksTheKey)
{
    struct Case {
        int key, eraseStr;
        bool empty, erases;
    };
    const Case cases[] = {
        {Qt::Key_Shift, 0, false, true},   {Qt::Key_Delete, 0, false, false},
        {Qt::Key_Delete, 1, false, true},  {Qt::Key_Shift, 1, false, false},
        {Qt::Key_Shift, 0, true, false},   {Qt::Key_Delete, 1, true, false},
        {Qt::Key_Shift, 2, false, false},  {Qt::Key_Delete, 7, false, false},
        {Qt::Key_A, 0, false, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(IsEraseKey(c.key, c.eraseStr, c.empty), c.erases) << c.key << " " << c.eraseStr << " " << c.empty;
}

TEST(EraseKeyTest, OptionIsReadWithItsDefault)
{
    QTemporaryDir dir;
    TIniFile options(dir.filePath(QStringLiteral("options.ini")));
    EXPECT_EQ(ReadEraseStr(options), 2);
    options.WriteInteger(QStringLiteral("options"), QStringLiteral("EraseStr"), 0);
    EXPECT_EQ(ReadEraseStr(options), 0);
}

TEST(SearchBoxModeTest, RepaintsOnlyOnAChange)
{
    SearchBoxMode mode;
    EXPECT_FALSE(mode.UpdateSearchBoxMode(true, tnkDictionary)) << "black at start";
    auto grey = mode.UpdateSearchBoxMode(false, tnkDictionary);
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->colour, NotFoundTextColour);
    EXPECT_EQ(grey->handler, SearchChangeHandler::Button_One_Dic);
    EXPECT_FALSE(mode.UpdateSearchBoxMode(false, tnkRoot));
    auto black = mode.UpdateSearchBoxMode(true, tnkRoot);
    ASSERT_TRUE(black);
    EXPECT_EQ(black->colour, FoundTextColour);
    EXPECT_EQ(black->handler, SearchChangeHandler::Button_All_dic_Zagolovki);
    EXPECT_EQ(mode.UpdateSearchBoxMode(false, tnkFolder)->handler, SearchChangeHandler::Button_One_Dic);
}

TEST(SearchBoxModeTest, OpenHistoryListShowsBlackAndClosingRestores)
{
    SearchBoxMode mode;
    bool found = false;
    mode.UpdateSearchBoxMode(found, tnkDictionary);
    mode.ComboBox1DropDown(found);
    EXPECT_TRUE(found);
    EXPECT_EQ(mode.UpdateSearchBoxMode(found, tnkDictionary)->colour, FoundTextColour);
    mode.ComboBox1CloseUp(found);
    EXPECT_FALSE(found);
    EXPECT_EQ(mode.UpdateSearchBoxMode(found, tnkDictionary)->colour, NotFoundTextColour);
}

} // namespace

#include "DictionaryFixtures.h"
#include "IniFile.h"
#include "ShellTexts.h"
#include "WindowFixture.h"

#include "HostedBrowser.h"

#include <QSystemTrayIcon>
#include <QTest>

#include <functional>

using namespace vocab;

namespace {

class MainWindow : public vocab::test::WindowFixture {
protected:
    // The address shown once the start page, if one is opened, has loaded.
    QString pageAfterStart(const QString &expected)
    {
        (void)QTest::qWaitFor([&] { return form->Emb->LocationURL() == expected; }, 5000);
        return form->Emb->LocationURL();
    }
};

} // namespace

TEST_F(MainWindow, StartPageFollowsBrowserLoad)
{
    const QString references = QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + "/ConfigFiles/references.htm").toString();
    struct Case { QByteArray option; QString page; };
    const std::vector<Case> cases{
        {"", references},
        {"BrowserLoad=0", references},
        {"BrowserLoad=2", texts::NewsPageUrl},
        {"BrowserLoad=1", QString()},
        {"BrowserLoad=5", QString()},
        {"BrowserLoad=-1", QString()},
    };
    for (const Case &c : cases) {
        writeOptions("[options]\r\n" + c.option + "\r\n");
        start();
        if (c.page.isEmpty()) {
            // The empty page written at start stays.
            QTest::qWait(300);
            EXPECT_TRUE(form->ShownPage().isEmpty()) << c.option.toStdString();
            EXPECT_NE(form->Emb->LocationURL(), references) << c.option.toStdString();
            EXPECT_NE(form->Emb->LocationURL(), texts::NewsPageUrl) << c.option.toStdString();
        } else {
            EXPECT_EQ(pageAfterStart(c.page), c.page) << c.option.toStdString();
        }
        form->close();
        form.reset();
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MainWindow, TreeShowsTheSavedFoldersAndDictionaries)
{
    vocab::test::FixtureFolder(work.path()).writeTree({u"Все словари"_qs, u"Мои словари"_qs, u"\tАнгло=eng"_qs, u"\tТолковый=tolk"_qs});
    start();
    ASSERT_EQ(form->TreeView1->topLevelItemCount(), 2);
    EXPECT_EQ(form->TreeView1->topLevelItem(0)->text(0), u"Все словари"_qs);
    EXPECT_EQ(form->TreeView1->currentItem(), form->TreeView1->topLevelItem(0));
    QTreeWidgetItem *folder = form->TreeView1->topLevelItem(1);
    ASSERT_EQ(folder->childCount(), 2);
    EXPECT_EQ(folder->child(1)->text(0), u"Толковый"_qs);
    EXPECT_EQ(form->windowTitle(), u" Vocabulinarum"_qs);
}

TEST_F(MainWindow, ClosingWritesTheListsBackAndGeometryOnlyForARealTree)
{
    ListFile::write(path("ConfigFiles/history.trv"), {u"кот"_qs, u"дом"_qs});
    ListFile::write(path("ConfigFiles/graylist.trv"), {u"Толковый"_qs});
    start();
    ASSERT_EQ(form->ComboBox1->count(), 2);
    form->ComboBox1->insertItem(0, u"лес"_qs);
    form->GrayList.append(u"Англо"_qs);
    form->close();
    EXPECT_EQ(ListFile::read(path("ConfigFiles/history.trv")), (QStringList{u"лес"_qs, u"кот"_qs, u"дом"_qs}));
    EXPECT_EQ(ListFile::read(path("ConfigFiles/graylist.trv")), (QStringList{u"Толковый"_qs, u"Англо"_qs}));
    TIniFile ini(path("ConfigFiles/options.ini"));
    EXPECT_FALSE(ini.ValueExists("size", "HeightSplitter")) << "the tree held the root alone";
}

namespace {

// A window whose close may hide it into a tray, with a tree of more than the
// root, so that a real close writes the geometry as well as the lists.
class ClosingWindow : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        ListFile::write(path("ConfigFiles/TreeView.trv"), {u"Все словари"_qs, u"Мои"_qs, u"\tСловарь=folder"_qs});
        QDir(work.path()).mkpath("dic/folder");
        ListFile::write(path("dic/folder/about.info"), {u"Описание"_qs, u"Словарь"_qs});
        writeOptions("[options]\r\nOnCloseApplication=1\r\n");
    }

    void startWithATray()
    {
        start();
        form->TrayAvailable = [] { return true; };
        // Something to save that the file does not hold yet.
        form->ComboBox1->insertItem(0, u"лес"_qs);
    }
    QStringList history() const { return ListFile::read(path("ConfigFiles/history.trv")); }
    bool geometryWritten() const { return TIniFile(path("ConfigFiles/options.ini")).ValueExists("size", "HeightSplitter"); }
};

} // namespace

TEST_F(ClosingWindow, ClosingHidesIntoTheTrayButTheSessionEndAndTheTraysExitCloseForReal)
{
    struct Case {
        const char *name;
        std::function<void(TForm1 &)> act;
        bool closes;
    };
    const std::vector<Case> cases{
        {"close", [](TForm1 &f) { f.close(); }, false},
        {"session end", [](TForm1 &f) { f.WMQueryEndSession(); }, true},
        {"the tray's exit", [](TForm1 &f) { f.CMt_exitClick(); }, true},
        {"session end while in the tray", [](TForm1 &f) { f.close(); f.WMQueryEndSession(); }, true},
        {"exit from the tray's menu", [](TForm1 &f) { f.close(); f.CMt_exit->trigger(); }, true},
    };
    for (const Case &c : cases) {
        ListFile::write(path("ConfigFiles/history.trv"), {u"дом"_qs});
        writeOptions("[options]\r\nOnCloseApplication=1\r\n");
        startWithATray();
        c.act(*form);
        EXPECT_FALSE(form->isVisible()) << c.name;
        if (c.closes) {
            EXPECT_EQ(history(), (QStringList{u"лес"_qs, u"дом"_qs})) << c.name;
            EXPECT_TRUE(geometryWritten()) << c.name;
        } else {
            EXPECT_TRUE(form->RxTrayIcon1->isVisible()) << c.name;
            EXPECT_EQ(history(), QStringList{u"дом"_qs}) << c.name << ": hidden, nothing saved";
            EXPECT_FALSE(geometryWritten()) << c.name;
        }
        form.reset();
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ClosingWindow, AListThatCannotBeWrittenIsSaidOnceAndTheOthersAreStillSaved)
{
    writeOptions("");
    ListFile::write(path("ConfigFiles/graylist.trv"), {u"Толковый"_qs});
    startWithATray();
    form->GrayList.append(u"Словарь"_qs);
    form->TreeView1->topLevelItem(1)->setText(0, u"Свои"_qs);
    // A folder in its place: no file of that name can be written.
    ASSERT_TRUE(QFile::remove(path("ConfigFiles/history.trv")));
    ASSERT_TRUE(QDir(work.path()).mkpath("ConfigFiles/history.trv/keep"));
    form->close();

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].contains("history.trv")) << boxes[0].toStdString();
    EXPECT_EQ(ListFile::read(path("ConfigFiles/graylist.trv")), (QStringList{u"Толковый"_qs, u"Словарь"_qs}));
    EXPECT_EQ(ListFile::read(path("ConfigFiles/TreeView.trv")), (QStringList{u"Все словари"_qs, u"Свои"_qs, u"\tСловарь=folder"_qs}));
    EXPECT_TRUE(geometryWritten());
    EXPECT_TRUE(QFileInfo(path("ConfigFiles/history.trv/keep")).isDir()) << "what stands in the list's place is left alone";
}

TEST_F(MainWindow, AListThatCouldNotBeMadeIsSavedAtCloseOnlyWhenTheSessionGaveItLines)
{
    // The folder refuses new files while the window starts, and takes them
    // again before it closes: a try at close would make the file.
    writeOptions("[List]\r\nNumberVersion=149\r\n\r\n[Font]\r\n"
                 "FontFamily=Arial Unicode MS, Lucida Sans Unicode, Palatino Linotype, Arial\r\nFontSize=10pt\r\n");
    ListFile::write(path("ConfigFiles/TreeView.trv"), {u"Все словари"_qs});
    ListFile::write(path("ConfigFiles/TreeTemp.trv"), {u"Все словари"_qs});
    ListFile::write(path("ConfigFiles/dictionaries/dictionaries.ogl"), {});
    ListFile::write(path("ConfigFiles/dictionaries/dictionaries.uvs"), {});
    struct Case {
        const char *name;
        std::function<void(TForm1 &)> act;
        QStringList history; // empty: no file
        QStringList grayList;
    };
    const std::vector<Case> cases{
        {"nothing new", [](TForm1 &) {}, {}, {}},
        {"a word looked up", [](TForm1 &f) { f.AddToHistory(u"кот"_qs); }, {u"кот"_qs}, {}},
        {"a dictionary left out", [](TForm1 &f) { f.GrayList.append(u"Толковый"_qs); }, {}, {u"Толковый"_qs}},
    };
    const QString history = path("ConfigFiles/history.trv");
    const QString grayList = path("ConfigFiles/graylist.trv");
    const QString create = u"Не удаётся создать файл \"%1\": действие запрещено"_qs;
    for (const Case &c : cases) {
        QFile::remove(history);
        QFile::remove(grayList);
        boxes.clear();
        {
            vocab::test::ImmutableFiles readOnly({path("ConfigFiles")});
            if (!readOnly.made())
                GTEST_SKIP() << "chattr +i does not work here";
            start();
            ASSERT_TRUE(form->StartupDone) << c.name;
        }
        EXPECT_EQ(boxes, (std::vector<QString>{create.arg(history), create.arg(grayList)})) << c.name;
        c.act(*form);
        form->close();
        form.reset();
        EXPECT_EQ(boxes.size(), 2u) << c.name;
        const auto held = [](const QString &file) { return QFileInfo::exists(file) ? ListFile::read(file) : QStringList(); };
        EXPECT_EQ(QFileInfo::exists(history), !c.history.isEmpty()) << c.name;
        EXPECT_EQ(held(history), c.history) << c.name;
        EXPECT_EQ(QFileInfo::exists(grayList), !c.grayList.isEmpty()) << c.name;
        EXPECT_EQ(held(grayList), c.grayList) << c.name;
    }
}

#include "DictionaryFixtures.h"
#include "IniFile.h"
#include "ShellTexts.h"
#include "WindowFixture.h"

#include <QTest>
#include "HostedBrowser.h"

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

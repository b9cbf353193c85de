// New dictionaries installed by the real main window at start, with its
// progress window, and the combined list rebuilt through its dialog.
#include "AddDic.h"
#include "InstallFixtures.h"
#include "FormCompil.h"
#include "IniFile.h"
#include "NewDictionaries.h"
#include "Registry.h"
#include "ShellPaths.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QTimer>

#include <algorithm>
#include <functional>

using namespace vocab;
using namespace vocab::test;
using namespace Qt::StringLiterals;

namespace {

// Looks for the installation's progress window whenever events are handled
// and acts on it when it first sees it.
class ProgressWindowWatch {
public:
    explicit ProgressWindowWatch(std::function<void(TFormAddDic &)> onSeen = {}) : m_onSeen(std::move(onSeen))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { check(); });
        // Not 0: a timer always due would keep every wait for events busy to its end.
        m_timer.start(1);
    }

    int seen = 0;
    bool blocksTheMainWindow = false;

private:
    void check()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *form = qobject_cast<TFormAddDic *>(w);
            if (!form || !form->isVisible())
                continue;
            if (seen++ == 0) {
                blocksTheMainWindow = QApplication::activeModalWidget() == form;
                if (m_onSeen)
                    m_onSeen(*form);
            }
        }
    }

    std::function<void(TFormAddDic &)> m_onSeen;
    QTimer m_timer;
};

class InstallWindow : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        // Two folders a first start finds: a whole list and a Russian one by letter.
        dir.writeAbout("alpha", u"Альфа"_s);
        dir.writePair("dic/alpha/alpha", alpha);
        dir.writeAbout("beta", u"Бета"_s);
        dir.writePair("dic/beta/base/1", {u"АРБУЗ"_s});
        dir.writePair("dic/beta/base/12", {u"ЛУНА"_s, u"ЛЕС"_s});
    }

    QByteArray file(const char *relative) const { return readBytes(path(relative)); }
    QStringList nodes() const
    {
        QStringList out;
        for (const QTreeWidgetItem *item : TreeNodes::all(form->TreeView1))
            out.append(item->text(0));
        return out;
    }
    void restart()
    {
        form->close();
        form.reset();
        start();
    }

    const QStringList alpha{u"АИСТ"_s, u"ЛЕС"_s, u"ЯК"_s};
    const QStringList merged = Merged({alpha, {u"АРБУЗ"_s}, {u"ЛУНА"_s, u"ЛЕС"_s}});
    FixtureFolder dir{work.path()};
};

} // namespace

TEST_F(InstallWindow, FirstStartInstallsThreeFoldersAndTheNextStartNothing)
{
    // A third folder, English by letter, whose lists hold a headword with
    // "=" in it and a blank line.
    dir.writeAbout("gamma", u"Английский"_s);
    dir.writePair("dic/gamma/base/101", {u"ACORN"_s, QString(), u"A=B"_s});
    dir.writePair("dic/gamma/base/126", {u"ZOO"_s});
    const QStringList all = Merged({alpha, {u"АРБУЗ"_s}, {u"ЛУНА"_s, u"ЛЕС"_s}, {u"ACORN"_s, u"A=B"_s}, {u"ZOO"_s}});
    ASSERT_EQ(all.size(), 8);
    const QByteArray tree = ListFile::encode({Root, NewFolder, u"\tАнглийский=gamma"_s, u"\tБета=beta"_s, u"\tАльфа=alpha"_s});

    ProgressWindowWatch watch;
    start();
    ASSERT_TRUE(boxes.empty());
    EXPECT_GT(watch.seen, 0);
    EXPECT_TRUE(watch.blocksTheMainWindow);
    EXPECT_EQ(nodes(), (QStringList{Root, NewFolder, u"Английский"_s, u"Бета"_s, u"Альфа"_s}));

    ASSERT_TRUE(form->SelectedNodeIsRoot());
    type(u"лу"_s);
    EXPECT_EQ(selectedHeadword(), u"ЛУНА"_s);
    typeAfterClearing(u"a="_s);
    EXPECT_EQ(selectedHeadword(), u"A=B"_s);
    typeAfterClearing(u"z"_s);
    EXPECT_EQ(selectedHeadword(), u"ZOO"_s);
    select(u"Бета"_s);
    EXPECT_EQ(selectedHeadword(), u"АРБУЗ"_s);

    // What the first start leaves once the window is closed.
    form->close();
    form.reset();
    EXPECT_EQ(hex(file("ConfigFiles/TreeView.trv")), hex(tree));
    EXPECT_EQ(hex(file("ConfigFiles/dictionaries/dictionaries.ogl")), hex(ListFile::encode(all)));
    EXPECT_EQ(hex(file("ConfigFiles/dictionaries/dictionaries.dvc")), hex(LetterIndexTable::Build(all).Record()));
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\WinRAR SFX", false));
    EXPECT_EQ(reg.ReadString("C%%Vocabulinarum 2"), ProgramDir());
    EXPECT_EQ(reg.ReadString("C%%Vocabulinarum 2%dic"), ProgramDir() + "/dic");
    EXPECT_EQ(reg.GetValueNames().size(), 2);

    // Nothing is new at the next start: no progress window, no file rewritten.
    const QByteArray ogl = file("ConfigFiles/dictionaries/dictionaries.ogl");
    const QByteArray dvc = file("ConfigFiles/dictionaries/dictionaries.dvc");
    ProgressWindowWatch again;
    start();
    EXPECT_EQ(again.seen, 0);
    EXPECT_EQ(nodes(), (QStringList{Root, NewFolder, u"Английский"_s, u"Бета"_s, u"Альфа"_s}));
    form->close();
    form.reset();
    EXPECT_EQ(file("ConfigFiles/dictionaries/dictionaries.ogl"), ogl);
    EXPECT_EQ(file("ConfigFiles/dictionaries/dictionaries.dvc"), dvc);
    EXPECT_EQ(file("ConfigFiles/TreeView.trv"), tree);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(InstallWindow, AVanishedFolderMarksTheCombinedListIncomplete)
{
    // Both dictionaries are installed; one folder is then removed by hand,
    // with its headwords still in the combined list.
    dir.writeTree({Root, u"Мои"_s, u"\tАльфа=alpha"_s, u"\tБета=beta"_s});
    dir.writeList("ConfigFiles/dictionaries/dictionaries.ogl", merged);
    writeOptions("[List]\r\nincomplete=0\r\n");
    struct Case {
        const char *what;
        std::function<void()> before;
        bool incomplete;
    };
    const Case cases[] = {
        {"every folder there", [] {}, false},
        {"one folder gone", [this] { ASSERT_TRUE(QDir(path("dic/beta")).removeRecursively()); }, true},
    };
    for (const Case &c : cases) {
        c.before();
        start();
        EXPECT_EQ(TIniFile(path("ConfigFiles/options.ini")).ReadBool("List", "incomplete", false), c.incomplete) << c.what;
        Q_EMIT form->NServis->aboutToShow();
        EXPECT_EQ(form->NCompil->isEnabled(), c.incomplete) << c.what << ": the rebuild is offered";
        form->close();
        form.reset();
    }
    EXPECT_EQ(ListFile::read(path("ConfigFiles/TreeView.trv")), (QStringList{Root, u"Мои"_s, u"\tАльфа=alpha"_s}));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(InstallWindow, DictionariesOfOneNameAreInstalledOnce)
{
    dir.writeAbout("beta", u"Альфа"_s);
    start();
    EXPECT_EQ(nodes(), (QStringList{Root, NewFolder, u"Альфа"_s, u"Альфа"_s}));
    // Each opens its own folder, and the page of a word shows both.
    const auto twins = form->TreeView1->findItems(u"Альфа"_s, Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(twins.size(), 2);
    form->TreeView1->setCurrentItem(twins[0]);
    EXPECT_EQ(selectedHeadword(), u"АРБУЗ"_s);
    form->TreeView1->setCurrentItem(twins[1]);
    EXPECT_EQ(selectedHeadword(), u"АИСТ"_s);
    select(Root);
    type(u"лес"_s);
    form->button_vse->click();
    EXPECT_EQ(form->ShownPage().count(u"<div class=zag>Альфа</div>"_s), 2);
    EXPECT_TRUE(form->ShownPage().contains(u"<B>ЛЕС</B>"_s));
    // The hidden search button searches what the box holds.
    form->ComboBox1->setTextInCode(u"ар"_s);
    form->Button_List_all->click();
    EXPECT_EQ(selectedHeadword(), u"АРБУЗ"_s);
    const QByteArray tree = file("ConfigFiles/TreeView.trv");
    ProgressWindowWatch again;
    restart();
    EXPECT_EQ(again.seen, 0) << "both folders are in the tree the first start saved";
    EXPECT_EQ(file("ConfigFiles/TreeView.trv"), tree);
}

TEST_F(InstallWindow, CancelKeepsTheFilesAsTheyWereAndTheNextStartFindsThemAgain)
{
    ProgressWindowWatch watch([](TFormAddDic &f) { f.Button1->click(); });
    start();
    ASSERT_GT(watch.seen, 0);
    EXPECT_EQ(hex(file("ConfigFiles/TreeView.trv")), hex(ListFile::encode({Root})));
    EXPECT_EQ(hex(file("ConfigFiles/dictionaries/dictionaries.ogl")), "ef bb bf");
    EXPECT_FALSE(QFileInfo::exists(path("ConfigFiles/dictionaries/dictionaries.dvc")));
    EXPECT_EQ(nodes(), QStringList{Root});
    EXPECT_TRUE(form->AllHeadwords.isEmpty());
    type(u"лу"_s);
    EXPECT_EQ(form->grid.RowCount(), 0);

    ProgressWindowWatch again;
    restart();
    EXPECT_GT(again.seen, 0);
    EXPECT_EQ(nodes(), (QStringList{Root, NewFolder, u"Бета"_s, u"Альфа"_s}));
    EXPECT_EQ(form->AllHeadwords.ToStringList(), merged);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(InstallWindow, TheSessionEndingDuringTheInstallationCancelsItThenCloses)
{
    ProgressWindowWatch watch([this](TFormAddDic &f) {
        form->WMQueryEndSession();
        EXPECT_TRUE(f.Tag) << "the close became a cancel";
        EXPECT_TRUE(f.isVisible()) << "the loop closes its window itself";
    });
    form = std::make_unique<TForm1>();
    form->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->StartupDone && !form->isVisible(); }, 20000));
    ASSERT_GT(watch.seen, 0);
    EXPECT_EQ(hex(file("ConfigFiles/dictionaries/dictionaries.ogl")), "ef bb bf");
    EXPECT_EQ(hex(file("ConfigFiles/TreeView.trv")), hex(ListFile::encode({Root})));
    EXPECT_TRUE(boxes.empty());
}

namespace {

// Watches the installation's progress window from the moment it opens: its
// size and place then, every change of them afterwards, and every name it
// paints with whether the name fits its label.
class ProgressWindowGeometry : public QObject {
public:
    ProgressWindowGeometry() { QCoreApplication::instance()->installEventFilter(this); }
    ~ProgressWindowGeometry() override { QCoreApplication::instance()->removeEventFilter(this); }

    QRect opened;
    QStringList changes; // each the window's size and place after it
    QStringList names;
    QStringList namesTooWide;

    static QString describe(const QRect &r) { return u"%1 x %2 at %3, %4"_s.arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y()); }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (auto *form = qobject_cast<TFormAddDic *>(object)) {
            if (event->type() == QEvent::Show)
                opened = form->geometry();
            else if ((event->type() == QEvent::Resize || event->type() == QEvent::Move) && opened.isValid()
                     && form->geometry() != opened)
                changes << describe(form->geometry());
        } else if (event->type() == QEvent::Paint && object->objectName() == u"LabelNameDic"_s) {
            const auto *label = static_cast<const QLabel *>(object);
            const QString name = label->text();
            if (!name.isEmpty() && !names.contains(name))
                names << name;
            if (QFontMetrics(label->font()).horizontalAdvance(name) > label->contentsRect().width())
                namesTooWide << name;
        }
        return false;
    }
};

} // namespace

// Names of every length, of wide letters, go through the progress window as
// the dictionaries are installed: it keeps the size and the place it opened
// with, and each name is cut to its label.
TEST_F(InstallWindow, TheProgressWindowKeepsItsSizeAndPlaceWhileNamesOfEveryLengthPass)
{
    constexpr int Longest = 60;
    QStringList shown;
    for (int length = 1; length <= Longest; ++length) {
        // Numbered in front, so that names cut alike still differ.
        const QString name = (QString::number(length) + u' ' + QString(Longest, u'Ш')).left(length);
        const QString folder = u"n%1"_s.arg(length, 2, 10, QChar(u'0'));
        dir.writeAbout(folder, name);
        dir.writePair(u"dic/%1/%1"_s.arg(folder), {u"СЛОВО"_s});
        shown << ShortDictionaryName(name);
    }
    ProgressWindowGeometry watch;
    start();
    ASSERT_TRUE(boxes.empty());
    ASSERT_TRUE(watch.opened.isValid()) << "the progress window opened";
    EXPECT_GE(watch.opened.width(), 428);
    EXPECT_GE(watch.opened.height(), 141);
    EXPECT_EQ(watch.changes, QStringList()) << "opened at " << ProgressWindowGeometry::describe(watch.opened).toStdString();
    EXPECT_EQ(watch.namesTooWide, QStringList());
    // Every name was shown, whole or cut with "..." at its end.
    EXPECT_EQ(watch.names.size(), Longest + 2) << watch.names.join(u" | "_s).toStdString(); // and Альфа, Бета
    for (const QString &name : watch.names) {
        if (name == u"Альфа"_s || name == u"Бета"_s)
            continue;
        const bool whole = shown.contains(name);
        const bool cut = name.endsWith(u"..."_s)
            && std::any_of(shown.begin(), shown.end(), [&](const QString &s) { return s.startsWith(name.chopped(3)); });
        EXPECT_TRUE(whole || cut) << name.toStdString();
    }
}

namespace {

// A tree whose dictionaries are installed; the combined list still holds the
// headwords of one deleted since.
class RebuildWindow : public InstallWindow {
protected:
    void SetUp() override
    {
        InstallWindow::SetUp();
        dir.writeTree({Root, u"Мои"_s, u"\tАльфа=alpha"_s, u"\tБета=beta"_s});
        const QStringList stale = Merged({merged, {u"УДАЛЕННЫЙ"_s}});
        dir.writeList("ConfigFiles/dictionaries/dictionaries.ogl", stale);
        LetterIndexTable::Build(stale).WriteFile(path("ConfigFiles/dictionaries/dictionaries.dvc"));
        writeOptions("[List]\r\nincomplete=1\r\n");
    }

    // Runs the menu's handler; `inDialog` acts in the dialog once it is up.
    void rebuild(const std::function<void(TForm_compil &)> &inDialog)
    {
        QTimer::singleShot(0, form.get(), [&] {
            auto *dialog = form->findChild<TForm_compil *>();
            ASSERT_NE(dialog, nullptr);
            inDialog(*dialog);
            if (dialog->isVisible())
                dialog->ButtonExit->click();
        });
        form->MM_CompilClick();
    }
};

} // namespace

TEST_F(RebuildWindow, ARunWritesTheFilesAndTheMainWindowSearchesTheNewList)
{
    start();
    type(u"уд"_s);
    ASSERT_EQ(selectedHeadword(), u"УДАЛЕННЫЙ"_s);
    select(u"Бета"_s);
    rebuild([](TForm_compil &d) {
        EXPECT_TRUE(d.ButtonBegin->isVisible());
        EXPECT_FALSE(d.ButtonStop->isVisible());
        EXPECT_FALSE(d.LabelName->isVisible());
        d.ButtonBegin->click();
        EXPECT_TRUE(d.RunFinished());
        EXPECT_EQ(d.Label1->text(), u"Обновление списка успешно завершено"_s);
        EXPECT_EQ(d.LabelStatistics->text(), u"Выполнено 2 из 2"_s);
        EXPECT_TRUE(d.LabelName->text().isEmpty());
        EXPECT_TRUE(d.ButtonBegin->isVisible());
        EXPECT_FALSE(d.ButtonBegin->isEnabled());
        EXPECT_FALSE(d.ButtonStop->isVisible());
        EXPECT_TRUE(d.ButtonExit->isEnabled());
    });
    EXPECT_EQ(hex(file("ConfigFiles/dictionaries/dictionaries.ogl")), hex(ListFile::encode(merged)));
    EXPECT_EQ(hex(file("ConfigFiles/dictionaries/dictionaries.dvc")), hex(LetterIndexTable::Build(merged).Record()));
    EXPECT_FALSE(TIniFile(path("ConfigFiles/options.ini")).ReadBool("List", "incomplete", true));
    EXPECT_TRUE(form->Reload_F_Oglmain);
    EXPECT_EQ(form->AllHeadwords.ToStringList(), merged);
    EXPECT_EQ(form->LetterIndex, LetterIndexTable::Build(merged));

    // The root is open again, on the new list.
    ASSERT_TRUE(form->SelectedNodeIsRoot());
    EXPECT_EQ(selectedHeadword(), merged.first());
    type(u"уд"_s);
    EXPECT_EQ(textColour(), 0x808080u) << "the deleted dictionary's word is gone";
    typeAfterClearing(u"лу"_s);
    EXPECT_EQ(selectedHeadword(), u"ЛУНА"_s);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(RebuildWindow, LeavingWithoutARunReopensTheRootOnTheListAsItWas)
{
    start();
    const QStringList before = form->AllHeadwords.ToStringList();
    select(u"Альфа"_s);
    rebuild([](TForm_compil &) {});
    EXPECT_FALSE(form->Reload_F_Oglmain);
    EXPECT_EQ(form->AllHeadwords.ToStringList(), before);
    EXPECT_TRUE(form->SelectedNodeIsRoot());
    EXPECT_TRUE(TIniFile(path("ConfigFiles/options.ini")).ReadBool("List", "incomplete", false));
}

TEST_F(RebuildWindow, ATreeWithoutDictionariesLeavesAnEmptyListThatFindsNothing)
{
    start();
    // The user's tree has lost its dictionaries; the dialog reads it as saved now.
    for (QTreeWidgetItem *folder : {form->TreeView1->topLevelItem(1)})
        qDeleteAll(folder->takeChildren());
    rebuild([](TForm_compil &d) { d.ButtonBegin->click(); });
    EXPECT_EQ(hex(file("ConfigFiles/TreeView.trv")), hex(ListFile::encode({Root, u"Мои"_s})));
    EXPECT_EQ(hex(file("ConfigFiles/dictionaries/dictionaries.ogl")), "ef bb bf");
    EXPECT_TRUE(form->AllHeadwords.isEmpty());
    EXPECT_EQ(form->LetterIndex, LetterIndexTable()) << "the old index on disk fits no empty list";
    type(u"уд"_s);
    EXPECT_EQ(form->grid.RowCount(), 0);
    EXPECT_TRUE(boxes.empty());
}

namespace {

// The dialog alone over dictionaries with many letter files, so that its run
// gives the test's timer many turns.
class CompilDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char *folder : {"r1", "r2", "r3"}) {
            dir.writeAbout(folder, folder);
            for (int j = 0; j <= 32; ++j)
                dir.writePair(u"dic/%1/base/%2"_s.arg(folder).arg(j), {u"СЛОВО%1%2"_s.arg(folder).arg(j)});
        }
        dir.writeList("ConfigFiles/TreeView.trv", {Root, u"\tr1=r1"_s, u"\tr2=r2"_s, u"\tr3=r3"_s});
        dir.writeList("ConfigFiles/dictionaries/dictionaries.ogl", {u"СТАРОЕ"_s});
        ini.WriteBool("List", "incomplete", true);
    }

    // Calls `act` once, while the dialog's run is under way.
    void whileRunning(TForm_compil &d, std::function<void()> act)
    {
        auto *timer = new QTimer(&d);
        QObject::connect(timer, &QTimer::timeout, [&d, timer, act] {
            if (d.Running() && d.ProgressBar1->value() > 50) {
                timer->stop();
                act();
            }
        });
        timer->start(0);
    }

    QByteArray ogl() const { return readBytes(paths.allHeadwords); }

    FixtureFolder dir;
    const ConfigPaths paths{dir.base()};
    TIniFile ini{paths.optionsIni};
};

} // namespace

TEST_F(CompilDialog, StopReturnsToIdleAndWritesNothing)
{
    const QByteArray before = ogl();
    TForm_compil d(paths, ini);
    d.show();
    whileRunning(d, [&] { d.ButtonStop->click(); });
    d.ButtonBegin->click();
    EXPECT_FALSE(d.RunFinished());
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(d.ButtonBegin->isVisible());
    EXPECT_TRUE(d.ButtonBegin->isEnabled());
    EXPECT_FALSE(d.ButtonStop->isVisible());
    EXPECT_FALSE(d.LabelName->isVisible());
    EXPECT_FALSE(d.LabelStatistics->isVisible());
    EXPECT_TRUE(d.ButtonExit->isEnabled());
    EXPECT_EQ(d.ProgressBar1->value(), 0);
    EXPECT_FALSE(d.Tag);
    EXPECT_EQ(ogl(), before);
    EXPECT_TRUE(ini.ReadBool("List", "incomplete", false));

    d.ButtonBegin->click();
    EXPECT_TRUE(d.RunFinished());
    EXPECT_FALSE(ini.ReadBool("List", "incomplete", true));
}

TEST_F(CompilDialog, AClosedDialogStopsItsRunFirst)
{
    const QByteArray before = ogl();
    for (const char *how : {"close box", "Escape"}) {
        SCOPED_TRACE(how);
        TForm_compil d(paths, ini);
        d.show();
        whileRunning(d, [&] {
            if (QByteArray(how) == "Escape")
                QTest::keyClick(&d, Qt::Key_Escape);
            else
                d.close();
            EXPECT_TRUE(d.isVisible()) << "not while the run uses it";
        });
        d.ButtonBegin->click();
        EXPECT_FALSE(d.isVisible());
        EXPECT_FALSE(d.RunFinished());
        EXPECT_EQ(ogl(), before);
    }
}

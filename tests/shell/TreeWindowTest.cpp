// The tree of the real main window: its menu, edits, moves, drag and drop,
// grey list and the deletion of a dictionary, as the user does them.
#include "DictionaryDeletion.h"
#include "DictionaryFixtures.h"
#include "IniFile.h"
#include "ShellTexts.h"
#include "UnitDelete.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUuid>

using namespace vocab;

namespace {

const QString Root = texts::RootNodeCaption;
// [root, F1{D1, D2}, F2{}, F3{D3}]
const QStringList Sample{Root, "F1", "\tD1=d1", "\tD2=d2", "F2", "F3", "\tD3=d3"};

class TreeWindow : public vocab::test::WindowFixture {
protected:
    void startWithTree(const QStringList &lines)
    {
        vocab::test::FixtureFolder(work.path()).writeTree(lines);
        start();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->TreeView1->expandAll();
    }

    QTreeWidget *tree() const { return form->TreeView1; }
    QTreeWidgetItem *node(const QString &caption) const
    {
        const auto found = tree()->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
        EXPECT_EQ(found.size(), 1) << caption.toStdString();
        return found.value(0);
    }
    // The middle of the node's row, scrolled into sight first.
    QPoint at(const QString &caption) const
    {
        tree()->scrollToItem(node(caption));
        return tree()->visualItemRect(node(caption)).center();
    }

    // A right click on the node, which opens the menu there; the menu is
    // closed again, as the user would after looking at it.
    QStringList openMenuOn(const QString &caption)
    {
        QTest::mouseClick(tree()->viewport(), Qt::RightButton, {}, at(caption));
        EXPECT_TRUE(form->TreeMenu->isVisible()) << caption.toStdString();
        QStringList shown;
        for (const QAction *item : form->TreeMenu->actions()) {
            if (item->isVisible())
                shown.append(item->text());
        }
        form->TreeMenu->hide();
        return shown;
    }

    void keyOnTree(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        tree()->setFocus();
        QTest::keyClick(tree(), key, modifiers);
    }

    // Drags with the left button; `giveUp` presses Escape before the release.
    void drag(const QString &from, const QString &onto, bool giveUp = false)
    {
        QWidget *viewport = tree()->viewport();
        const QPoint start = at(from);
        QTest::mousePress(viewport, Qt::LeftButton, {}, start);
        QTest::mouseMove(viewport, start + QPoint(0, 3));
        const QPoint end = at(onto);
        QTest::mouseMove(viewport, end);
        if (giveUp)
            QTest::keyClick(tree(), Qt::Key_Escape);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, end);
    }

    // The open editor; a closed one may linger until it is deleted.
    QLineEdit *editor() const
    {
        for (QLineEdit *edit : tree()->findChildren<QLineEdit *>()) {
            if (edit->isVisible())
                return edit;
        }
        return nullptr;
    }
    bool editing() const { return editor() != nullptr; }
    bool readOnly() const { return tree()->editTriggers() == QAbstractItemView::NoEditTriggers; }
    // Enter commits once the editor has handled the key.
    bool committed() const { return QTest::qWaitFor([&] { return readOnly() && !editing(); }, 2000); }

    QStringList outline() const
    {
        QStringList out;
        for (const QTreeWidgetItem *item : TreeNodes::all(tree()))
            out.append(QString(item->parent() ? "\t" : "") + item->text(0));
        return out;
    }

    // The darkest pixel drawn in a node's row: its text colour.
    int darkestIn(const QString &caption) const
    {
        const QImage image = tree()->viewport()->grab().toImage();
        const QRect row = tree()->visualItemRect(node(caption)) & image.rect();
        int darkest = 255;
        for (int y = row.top(); y <= row.bottom(); ++y) {
            for (int x = row.left(); x <= row.right(); ++x)
                darkest = std::min(darkest, qGray(image.pixel(x, y)));
        }
        return darkest;
    }
};

} // namespace

TEST_F(TreeWindow, MenuShowsTheItemsOfTheNodeUnderTheClick)
{
    startWithTree(Sample);
    EXPECT_EQ(openMenuOn(Root), QStringList{u"Cоздать каталог"_qs});
    EXPECT_EQ(form->M_NewKatalog->text().front(), QChar(0x43)) << "a Latin C";
    EXPECT_EQ(openMenuOn("F1"), (QStringList{u"Переименовать"_qs, u"Cоздать каталог"_qs, u"Удалить каталог"_qs,
                                             u"Переместить вверх"_qs, u"Переместить вниз"_qs}));
    EXPECT_EQ(tree()->currentItem(), node("F1")) << "the right click selects";
    EXPECT_FALSE(form->M_Arrow_Up->isEnabled());
    EXPECT_EQ(openMenuOn("D1"), (QStringList{u"О словаре"_qs, u"Cоздать каталог"_qs, u"Удалить словарь"_qs,
                                             u"Игнорировать общий поиск"_qs, u"Переместить вверх"_qs, u"Переместить вниз"_qs}));
    EXPECT_FALSE(form->M_Arrow_Up->isEnabled());
    EXPECT_TRUE(form->M_Arrow_down->isEnabled());
    EXPECT_EQ(form->M_Arrow_Up->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Up));

    // Empty space below the nodes: no menu, the selection stays.
    const QPoint below(5, tree()->visualItemRect(node("D3")).bottom() + 20);
    ASSERT_EQ(tree()->itemAt(below), nullptr);
    QTest::mouseClick(tree()->viewport(), Qt::RightButton, {}, below);
    EXPECT_FALSE(form->TreeMenu->isVisible());
    EXPECT_EQ(tree()->currentItem(), node("D1"));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(TreeWindow, EditsReachTheTreeFileByteForByte)
{
    startWithTree(Sample);
    // The first dictionary of the last folder goes up into the empty folder above.
    openMenuOn("D3");
    keyOnTree(Qt::Key_Up);
    EXPECT_EQ(outline(), (QStringList{Root, "F1", "\tD1", "\tD2", "F2", "\tD3", "F3"}));
    EXPECT_EQ(tree()->currentItem(), node("D3"));

    // A new folder, named in place.
    form->M_NewKatalog->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return editing(); }, 2000));
    editor()->setText(u"Мои"_qs);
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_TRUE(committed());

    // The folder left empty goes.
    openMenuOn("F3");
    form->M_DeleteKatalog->trigger();

    // A dictionary dragged onto a folder goes last into it; a folder dragged
    // onto a dictionary stays.
    form->MM_unfoldClick();
    drag("D1", "F2");
    drag("F1", "D3");
    EXPECT_EQ(tree()->currentItem(), node("F1"));
    drag("D2", "F2", true);

    form->close();
    EXPECT_TRUE(boxes.empty());
    const QStringList saved{Root, "F1", "\tD2=d2", "F2", "\tD3=d3", "\tD1=d1", u"Мои"_qs};
    EXPECT_EQ(vocab::test::hex(vocab::test::readBytes(path("ConfigFiles/TreeView.trv"))), vocab::test::hex(ListFile::encode(saved)));
}

TEST_F(TreeWindow, ShortcutsActWithTheStatesOfTheLastOpening)
{
    startWithTree(Sample);
    // Opened on D1, where "up" is disabled: Ctrl+Up on D2 does nothing.
    openMenuOn("D1");
    tree()->setCurrentItem(node("D2"));
    keyOnTree(Qt::Key_Up);
    EXPECT_EQ(outline(), (QStringList{Root, "F1", "\tD1", "\tD2", "F2", "F3", "\tD3"}));
    EXPECT_TRUE(boxes.empty());

    // Opened on D2, where it is enabled: on node 1 it finds no node two above,
    // which is an error shown by the default handler, and nothing moves.
    openMenuOn("D2");
    tree()->setCurrentItem(node("F1"));
    keyOnTree(Qt::Key_Up);
    EXPECT_EQ(boxes.size(), 1u);
    tree()->setCurrentItem(node("D3"));
    keyOnTree(Qt::Key_Down);
    EXPECT_EQ(boxes.size(), 2u);
    EXPECT_EQ(outline(), (QStringList{Root, "F1", "\tD1", "\tD2", "F2", "F3", "\tD3"}));
}

TEST_F(TreeWindow, RenameCommitsWithEnterAndEscapeLeavesTheTreeEditable)
{
    startWithTree(Sample);
    form->CM_NewKatalogClick();
    EXPECT_EQ(tree()->currentItem(), TreeNodes::at(tree(), TreeNodes::count(tree()) - 1));
    EXPECT_FALSE(editing()) << "the edit starts on the timer";
    ASSERT_TRUE(QTest::qWaitFor([&] { return editing(); }, 2000));
    QTest::keyClick(editor(), Qt::Key_Escape);
    EXPECT_FALSE(editing());
    EXPECT_FALSE(readOnly());
    EXPECT_EQ(tree()->currentItem()->text(0), u"Новый каталог"_qs);

    // Enter on an unchanged name is a commit too.
    openMenuOn(u"Новый каталог"_qs);
    form->Mrename->trigger();
    ASSERT_TRUE(editing());
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_TRUE(committed());

    // Any name is kept, an empty one too.
    openMenuOn("F2");
    form->Mrename->trigger();
    ASSERT_TRUE(editing());
    editor()->clear();
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_TRUE(committed());
    EXPECT_EQ(outline(), (QStringList{Root, "F1", "\tD1", "\tD2", "", "F3", "\tD3", u"Новый каталог"_qs}));
}

TEST_F(TreeWindow, APastedNameLosesItsLineBreaksAndTabsAndTheTreeKeepsItsShape)
{
    startWithTree(Sample);
    openMenuOn("F2");
    form->Mrename->trigger();
    ASSERT_TRUE(editing());
    editor()->setText(u"\tНовые\r\nслова\t"_qs);
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_TRUE(committed());
    EXPECT_EQ(outline(), (QStringList{Root, "F1", "\tD1", "\tD2", u"Новыеслова"_qs, "F3", "\tD3"}));
    form->close();
    EXPECT_EQ(ListFile::read(path("ConfigFiles/TreeView.trv")),
              (QStringList{Root, "F1", "\tD1=d1", "\tD2=d2", u"Новыеслова"_qs, "F3", "\tD3=d3"}));
}

TEST_F(TreeWindow, NonEmptyFolderIsKept)
{
    startWithTree(Sample);
    openMenuOn("F1");
    form->M_DeleteKatalog->trigger();
    EXPECT_EQ(boxes, std::vector<QString>{u"Удалять можно только пустые каталоги !"_qs});
    EXPECT_EQ(outline(), (QStringList{Root, "F1", "\tD1", "\tD2", "F2", "F3", "\tD3"}));
}

TEST_F(TreeWindow, GreyListToggledTwiceComesBackAndIsSaved)
{
    startWithTree(Sample);
    const int black = darkestIn("D1");
    openMenuOn("D2");
    EXPECT_FALSE(form->M_notSearch->isChecked());
    form->M_notSearch->trigger();
    EXPECT_EQ(form->GrayList, QStringList{"D2"});
    QApplication::processEvents();
    EXPECT_LT(black, 0x40);
    EXPECT_NEAR(darkestIn("D2"), 0x80, 0x10) << "grey text on the silver selection";

    openMenuOn("D2");
    EXPECT_TRUE(form->M_notSearch->isChecked());
    form->M_notSearch->trigger();
    EXPECT_TRUE(form->GrayList.isEmpty());

    openMenuOn("D3");
    form->M_notSearch->trigger();
    form->close();
    EXPECT_EQ(ListFile::read(path("ConfigFiles/graylist.trv")), QStringList{"D3"});
}

TEST_F(TreeWindow, TheSelectedNodeIsOnSilverAcrossItsWholeRow)
{
    startWithTree(Sample);
    tree()->setCurrentItem(node("D1"));
    // The pixels of the row that are neither white, silver nor a grey of the
    // text or the branch lines: the view's own highlight colour, if any.
    const auto colouredIn = [&](const QString &caption) {
        const QImage image = tree()->viewport()->grab().toImage();
        const QRect item = tree()->visualItemRect(node(caption));
        const QRect row = QRect(0, item.top(), image.width(), item.height()) & image.rect();
        QList<QColor> coloured;
        bool silver = false;
        for (int y = row.top(); y <= row.bottom(); ++y) {
            for (int x = row.left(); x <= row.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                silver = silver || c == QColor(0xC0, 0xC0, 0xC0);
                if (std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 24)
                    coloured.append(c);
            }
        }
        EXPECT_TRUE(silver) << caption.toStdString();
        return coloured.size();
    };
    tree()->setFocus();
    EXPECT_EQ(colouredIn("D1"), 0) << "with the focus";
    form->ComboBox1->setFocus();
    EXPECT_EQ(colouredIn("D1"), 0) << "without the focus";
    tree()->setCurrentItem(node("F1"));
    EXPECT_EQ(colouredIn("F1"), 0) << "a folder";
}

TEST_F(TreeWindow, FoldAndUnfoldOpenNodeOneThenTheRoot)
{
    startWithTree(Sample);
    QSignalSpy opened(tree(), &QTreeWidget::currentItemChanged);
    form->MM_foldClick();
    EXPECT_FALSE(node("F1")->isExpanded());
    ASSERT_EQ(opened.count(), 2);
    EXPECT_EQ(opened[0][0].value<QTreeWidgetItem *>(), node("F1"));
    EXPECT_EQ(tree()->currentItem(), node(Root));
    form->MM_unfoldClick();
    EXPECT_TRUE(node("F3")->isExpanded());
    form.reset();

    startWithTree({Root});
    form->MM_unfoldClick();
    form->MM_foldClick();
    EXPECT_EQ(tree()->currentItem(), node(Root));
    EXPECT_TRUE(boxes.empty());
}

namespace {

// A dictionary folder under the program's own folder, where deletions look;
// the program runs in its own folder, as installed.
class DeleteWindow : public TreeWindow {
protected:
    void SetUp() override
    {
        TreeWindow::SetUp();
        SetProgramDirForTests(work.path());
        folder = "test-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
        vocab::test::writeBytes(ProgramDir() + "/dic/" + folder + "/base/1.ogl", "x");
        vocab::test::writeBytes(ProgramDir() + "/dic/" + folder + "/base/1.uvs", "x");
    }
    void TearDown() override
    {
        SetProgramDirForTests(QString());
        TreeWindow::TearDown();
    }
    bool folderExists() const { return QFileInfo::exists(ProgramDir() + "/dic/" + folder); }
    QString incomplete() const { return TIniFile(path("ConfigFiles/options.ini")).ReadString("List", "incomplete", "none"); }

    // Deletes the node with the menu, answering the question as `answer` does.
    void deleteWith(const QString &caption, std::function<void(TFormDelete &)> answer)
    {
        openMenuOn(caption);
        QTimer::singleShot(0, form.get(), [this, answer] {
            auto *dialog = dynamic_cast<TFormDelete *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            question = dialog->StaticText1->text();
            title = dialog->windowTitle();
            answer(*dialog);
        });
        form->M_DeleteDic->trigger();
    }

    QString folder;
    QString question;
    QString title;
};

} // namespace

TEST_F(DeleteWindow, DeclinedInEveryWayChangesNothing)
{
    startWithTree({Root, "F1", u"\tСловарь="_qs + folder});
    const std::vector<std::function<void(TFormDelete &)>> declines{
        [](TFormDelete &d) { d.ButtonCancel->click(); },
        [](TFormDelete &d) { QTest::keyClick(&d, Qt::Key_Return); }, // on the focused "Отмена"
        [](TFormDelete &d) { d.close(); },                           // the close box
    };
    for (const auto &decline : declines) {
        question.clear();
        deleteWith(u"Словарь"_qs, decline);
        EXPECT_EQ(question, u"Словарь Словарь будет удален из списка словарей, а также с жесткого диска вашего компьютера. Продолжить?"_qs);
        EXPECT_EQ(title, u"Удаление словаря"_qs);
        EXPECT_TRUE(folderExists());
        EXPECT_EQ(outline(), (QStringList{Root, "F1", u"\tСловарь"_qs}));
    }
    EXPECT_EQ(incomplete(), "none");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DeleteWindow, ConfirmedDeletesTheFolderAndTheNode)
{
    startWithTree({Root, "F1", u"\tСловарь="_qs + folder, u"\tДругой=other"_qs});
    deleteWith(u"Словарь"_qs, [](TFormDelete &d) { d.ButtonDelete->click(); });
    EXPECT_FALSE(folderExists());
    EXPECT_EQ(outline(), (QStringList{Root, "F1", u"\tДругой"_qs}));
    EXPECT_EQ(incomplete(), "1");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DeleteWindow, StartedOutsideItsFolderTheProgramDeletesNoOtherDictionary)
{
    // The program's own folder holds another dictionary of the same folder
    // name than the one the viewer reads from its working folder.
    QTemporaryDir installed;
    vocab::test::writeBytes(installed.filePath("dic/" + folder + "/about.info"), "other");
    startWithTree({Root, "F1", u"\tСловарь="_qs + folder});
    SetProgramDirForTests(installed.path());
    deleteWith(u"Словарь"_qs, [](TFormDelete &d) { d.ButtonDelete->click(); });
    SetProgramDirForTests(work.path());
    EXPECT_TRUE(question.isEmpty()) << "no question asked";
    EXPECT_EQ(boxes, std::vector<QString>{ForeignDictionaryFolderMessage(u"Словарь"_qs)});
    EXPECT_TRUE(folderExists());
    EXPECT_TRUE(QFileInfo::exists(installed.filePath("dic/" + folder + "/about.info")));
    EXPECT_EQ(outline(), (QStringList{Root, "F1", u"\tСловарь"_qs}));
    EXPECT_EQ(incomplete(), "none");
}

// Started outside its folder, whose "dic" has no folder of that name, or
// which has no "dic" at all: the refusal says so, and names the dictionary
// as the tree shows it, markup and all.
TEST_F(DeleteWindow, StartedOutsideItsFolderWithoutTheDictionaryTheRefusalSaysItIsNotThere)
{
    const QString name = u"Словарь <b>Б</b>"_qs;
    startWithTree({Root, "F1", u"\t"_qs + name + u'=' + folder});
    std::vector<MessageBoxRequest> requests;
    const MessageBoxResponder before = setMessageBoxResponder([&](const MessageBoxRequest &r) {
        requests.push_back(r);
        return IDOK;
    });
    struct Case {
        const char *what;
        QString made; // in the program's folder
    };
    const Case cases[] = {{"a dic without the folder", "dic/other/about.info"}, {"no dic at all", "readme.txt"}};
    for (const Case &c : cases) {
        QTemporaryDir installed;
        vocab::test::writeBytes(installed.filePath(c.made), "x");
        requests.clear();
        question.clear();
        SetProgramDirForTests(installed.path());
        deleteWith(name, [](TFormDelete &d) { d.ButtonDelete->click(); });
        SetProgramDirForTests(work.path());
        EXPECT_TRUE(question.isEmpty()) << c.what << ": no question asked";
        ASSERT_EQ(requests.size(), 1u) << c.what;
        EXPECT_EQ(requests[0].text, MissingDictionaryFolderMessage(name)) << c.what;
        EXPECT_EQ(requests[0].format, Qt::PlainText) << c.what;
        EXPECT_EQ(QDir(installed.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList{QString(c.made).section(u'/', 0, 0)})
            << c.what << ": nothing made or removed there";
    }
    setMessageBoxResponder(before);
    EXPECT_TRUE(folderExists());
    EXPECT_EQ(outline(), (QStringList{Root, "F1", u"\t"_qs + name}));
    EXPECT_EQ(incomplete(), "none");
}

TEST_F(DeleteWindow, NoFolderNamedAsksNothingAndDeletesNothing)
{
    // "Пустой" names no folder: the target would be the whole of "dic". The
    // start drops such lines from the tree file, so they are put into the
    // running tree, as a damaged line read later would stand there.
    startWithTree({Root, "F1", u"\tСловарь="_qs + folder});
    for (const QString &line : {u"\tПустой="_qs, u"\tЧужой=../dic"_qs}) {
        form->TreeLines.append(line);
        auto *item = new QTreeWidgetItem(node("F1"), {StringList::namePart(line).mid(1)});
        TreeNodes::setKind(item, tnkDictionary);
    }
    for (const QString &name : {u"Пустой"_qs, u"Чужой"_qs}) {
        boxes.clear();
        question.clear();
        deleteWith(name, [](TFormDelete &d) { d.ButtonDelete->click(); });
        EXPECT_TRUE(question.isEmpty()) << "no question asked";
        EXPECT_EQ(boxes, std::vector<QString>{NoDictionaryFolderMessage(name)});
    }
    EXPECT_TRUE(folderExists());
    EXPECT_EQ(outline(), (QStringList{Root, "F1", u"\tСловарь"_qs, u"\tПустой"_qs, u"\tЧужой"_qs}));
    EXPECT_EQ(incomplete(), "none");
}

TEST_F(DeleteWindow, AFileInPlaceOfTheFolderIsAFailureAndTheNodeStays)
{
    const QString file = "file-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    startWithTree({Root, "F1", u"\tСловарь="_qs + file});
    // The folder turns into a file while the program runs.
    ASSERT_TRUE(QDir(ProgramDir() + "/dic/" + file).removeRecursively());
    vocab::test::writeBytes(ProgramDir() + "/dic/" + file, "x");
    deleteWith(u"Словарь"_qs, [](TFormDelete &d) { d.ButtonDelete->click(); });
    EXPECT_EQ(boxes, std::vector<QString>{CannotDeleteDictionaryMessage(u"Словарь"_qs)});
    EXPECT_TRUE(QFileInfo(ProgramDir() + "/dic/" + file).isFile());
    EXPECT_EQ(outline(), (QStringList{Root, "F1", u"\tСловарь"_qs}));
    EXPECT_EQ(incomplete(), "none");
}

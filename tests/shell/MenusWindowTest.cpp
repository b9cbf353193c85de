// The main window's menu bar, the options dialog and the about box in the
// real window. Links and help go to a stand-in for the desktop.
#include "DictionaryFixtures.h"
#include "FormCompil.h"
#include "HostedBrowser.h"
#include "IniFile.h"
#include "OutsideWords.h"
#include "Options.h"
#include "OptionsSettingsPrint.h"
#include "ShellLinks.h"
#include "ShellOpen.h"
#include "ShellTexts.h"
#include "WindowFixture.h"
#include "about_dic.h"

#include <QButtonGroup>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTimer>

#include <functional>

using namespace vocab;
using namespace vocab::test;

namespace {

class Menus : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        previousOpener = setShellOpener([this](const QUrl &url) {
            opened.push_back(url);
            return true;
        });
    }
    void TearDown() override
    {
        WindowFixture::TearDown();
        setShellOpener(previousOpener);
    }

    QByteArray options() const { return readBytes(path("ConfigFiles/options.ini")); }

    // Opens a modal dialog with `open` and runs `inDialog` in it once it is
    // up. A dialog the test left open is cancelled, so a failing test ends;
    // the dialog is freed before this returns.
    template <typename Dialog>
    void runModal(const QPointer<Dialog> &global, const std::function<void()> &open, const std::function<void(Dialog &)> &inDialog)
    {
        bool ran = false;
        QTimer::singleShot(0, form.get(), [&] {
            ASSERT_TRUE(global);
            ran = true;
            EXPECT_TRUE(global->isModal());
            inDialog(*global);
            if (global && global->isVisible())
                global->reject();
        });
        open();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(ran);
        EXPECT_FALSE(global) << "closing frees the dialog";
    }
    void inOptions(const std::function<void(TFormOptions &)> &inDialog)
    {
        runModal<TFormOptions>(FormOptions, [this] { form->MM_Options->trigger(); }, inDialog);
    }
    void inAbout(const std::function<void(Tabout1 &)> &inDialog)
    {
        runModal<Tabout1>(about1, [this] { form->MM_about->trigger(); }, inDialog);
    }

    void startActive()
    {
        start();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    std::vector<QUrl> opened;
    ShellOpener previousOpener;
};

struct Item {
    QString name, caption;
};

// The items of a menu: a submenu by its menu's name.
std::vector<Item> itemsOf(const QMenu *menu)
{
    std::vector<Item> items;
    for (const QAction *a : menu->actions())
        items.push_back({a->menu() ? a->menu()->objectName() : a->objectName(), a->text()});
    return items;
}

bool operator==(const Item &a, const Item &b) { return a.name == b.name && a.caption == b.caption; }

void PrintTo(const Item &i, std::ostream *os) { *os << i.name.toStdString() << " \"" << i.caption.toStdString() << '"'; }

} // namespace

TEST_F(Menus, TheMenuBarHoldsEveryItemInOrder)
{
    start();
    EXPECT_EQ(form->menuBar(), form->MainMenu1);
    EXPECT_EQ(itemsOf(form->MainMenu1->actions()[0]->menu()), (std::vector<Item>{{"Nunfold", u"Развернуть все"_qs}, {"Nfold", u"Свернуть все"_qs}}));
    std::vector<Item> bar;
    for (const QAction *a : form->MainMenu1->actions())
        bar.push_back({a->menu()->objectName(), a->text()});
    EXPECT_EQ(bar, (std::vector<Item>{{"Ndic", u"Словари"_qs}, {"NServis", u"Сервис"_qs}, {"NHelp", u"Справка"_qs}}));
    EXPECT_EQ(itemsOf(form->NServis), (std::vector<Item>{{"NCompil", u"Обновление списка"_qs}, {"MM_Options", u"Настройки"_qs}}));
    EXPECT_EQ(itemsOf(form->NHelp), (std::vector<Item>{{"N3", u"Сайт"_qs}, {"MM_Help", u"Справка"_qs}, {"MM_about", u"О программе"_qs}}));
    EXPECT_EQ(itemsOf(form->N3), (std::vector<Item>{{"MM_site_news", u"Новости"_qs}, {"MM_site_dic", u"Словари"_qs}}));

    // "Свернуть все" is the default item, drawn bold; F1 is the only shortcut.
    EXPECT_EQ(form->Ndic->defaultAction(), form->Nfold);
    EXPECT_EQ(form->MM_Help->shortcut(), QKeySequence(Qt::Key_F1));
    for (const QAction *a : {form->Nunfold, form->Nfold, form->NCompil, form->MM_Options, form->MM_site_news, form->MM_site_dic, form->MM_about})
        EXPECT_TRUE(a->shortcut().isEmpty()) << a->objectName().toStdString();
}

TEST_F(Menus, UpdatingTheListIsOfferedWhileTheListIsIncomplete)
{
    start();
    // The flag is written by others while the window runs; each opening of
    // the menu reads it afresh.
    struct Case { QByteArray list; bool enabled; };
    const std::vector<Case> cases{{"", false}, {"incomplete=1", true}, {"incomplete=0", false}, {"incomplete=2", true}, {"incomplete=yes", false}};
    for (const Case &c : cases) {
        writeOptions("[options]\r\nCtrlCC=0\r\n[List]\r\nNumberVersion=149\r\n" + c.list + "\r\n");
        form->NServis->popup(form->mapToGlobal(QPoint(10, 10)));
        EXPECT_EQ(form->NCompil->isEnabled(), c.enabled) << c.list.toStdString();
        form->NServis->hide();
    }
    EXPECT_TRUE(form->MM_Options->isEnabled());
}

TEST_F(Menus, TheTreeAndRebuildItemsCallTheirHandlers)
{
    FixtureFolder(work.path()).writeTree({texts::RootNodeCaption, u"Мои"_qs, u"\tАльфа=alpha"_qs});
    writeOptions("[List]\r\nincomplete=1\r\n");
    start();
    QTreeWidgetItem *folder = form->TreeView1->topLevelItem(1);
    ASSERT_TRUE(folder);
    form->Nunfold->trigger();
    EXPECT_TRUE(folder->isExpanded());
    form->Nfold->trigger();
    EXPECT_FALSE(folder->isExpanded());

    form->NServis->popup(form->mapToGlobal(QPoint(10, 10)));
    form->NServis->hide();
    ASSERT_TRUE(form->NCompil->isEnabled());
    bool rebuildShown = false;
    QTimer::singleShot(0, form.get(), [&] {
        auto *dialog = form->findChild<TForm_compil *>();
        ASSERT_TRUE(dialog);
        rebuildShown = dialog->isVisible();
        dialog->ButtonExit->click();
    });
    form->NCompil->trigger();
    EXPECT_TRUE(rebuildShown);
}

TEST_F(Menus, TheOptionsDialogCarriesItsCaptions)
{
    start();
    inOptions([](TFormOptions &d) {
        EXPECT_EQ(d.windowTitle(), u"Настройки Vocabulinarum"_qs);
        EXPECT_EQ(d.size(), QSize(525, 338));
        ASSERT_EQ(d.TreeView1->topLevelItemCount(), 3);
        EXPECT_EQ(d.TreeView1->topLevelItem(0)->text(0), u"Окно программы"_qs);
        EXPECT_EQ(d.TreeView1->topLevelItem(1)->text(0), u"Глобальные клавиши"_qs);
        EXPECT_EQ(d.TreeView1->topLevelItem(2)->text(0), u"Разное"_qs);
        const std::vector<std::pair<const char *, QString>> captions{
            {"GroupBox1", u"  Окно  "_qs},
            {"CheckBox1_1", u"Не запоминать положение окна"_qs},
            {"GroupBox2", u"  Убирать в трей  "_qs},
            {"CheckBox1_2", u"При сворачивании окна"_qs},
            {"CheckBox1_3", u"При закрытии программы"_qs},
            {"CheckBox2_2", u"Ctrl+Shift+Z"_qs},
            {"StaticText2", u"Сочетание клавиш перемещает окно программы на передний план, если оно было свернуто или находилось под окнами других приложений"_qs},
            {"CheckBox2_1", u"Ctrl+C... Ctrl+Shift+C"_qs},
            {"StaticText1", u"При выделении слова в любом приложении (браузере, блокноте и др.) и нажатии этого сочетания клавиш, окно программы перемещается на передний план, выделенное слово копируется в строку поиска."_qs},
            {"GroupBox4", u"  Раскладка клавиатуры при открытии программы  "_qs},
            {"CheckBox3_1", u"Переключать язык на русский"_qs},
            {"RadioGroup1", u"  Стирать строку поиска при нажатии клавиши:  "_qs},
            {"RadioGroupBrowser", u"  При открытии программы  показывать:  "_qs},
            {"ButtonOK", u"OK"_qs},
            {"ButtonCancel", u"Отмена"_qs},
        };
        for (const auto &[name, caption] : captions) {
            const QWidget *w = d.findChild<QWidget *>(name);
            ASSERT_TRUE(w) << name;
            const QVariant text = w->property("text").isValid() ? w->property("text") : w->property("title");
            EXPECT_EQ(text.toString(), caption) << name;
        }
        const auto texts = [](const QButtonGroup *g) {
            QStringList t;
            for (int i = 0; g->button(i); ++i)
                t << g->button(i)->text();
            return t;
        };
        EXPECT_EQ(texts(d.RadioGroup1Items), (QStringList{"Shift", "Delete", u"Не назначать"_qs}));
        EXPECT_EQ(texts(d.RadioGroupBrowserItems), (QStringList{u"Страницу со ссылками"_qs, u"Пустую страницу"_qs}));

        // Each node brings its own panel to the front; the window's comes first.
        EXPECT_EQ(d.Panels->currentWidget(), d.PanelMainWindow);
        const std::vector<QWidget *> panels{d.PanelMainWindow, d.PanelGlobalKey, d.PanelOther};
        for (int node : {2, 1, 0}) {
            d.TreeView1->setCurrentItem(d.TreeView1->topLevelItem(node));
            EXPECT_EQ(d.Panels->currentWidget(), panels[node]) << node;
        }
    });
}

TEST_F(Menus, TheOptionsDialogShowsWhatIsStored)
{
    struct Case { QByteArray options; OptionsSettings shown; };
    const std::vector<Case> cases{
        {"", OptionsSettings{}},
        {"NoSaveWindow=1\r\nOnCloseApplication=1\r\nCtrlShiftZ=1\r\nOnRussian=1\r\nEraseStr=1\r\nBrowserLoad=1",
         {true, false, true, false, true, true, 1, 1}},
        {"OnMinimizedWindow=1\r\nCtrlCC=1\r\nEraseStr=0", {false, true, false, true, false, false, 0, 0}},
        // The maker's news page, written by hand, has no item: the empty page shows.
        {"BrowserLoad=2\r\nEraseStr=9", {false, false, false, false, false, false, 2, 1}},
        {"BrowserLoad=-1\r\nEraseStr=-1", {false, false, false, false, false, false, -1, -1}},
        {"CtrlCC=on\r\nEraseStr=x\r\nBrowserLoad=?", OptionsSettings{}},
    };
    for (const Case &c : cases) {
        writeOptions("[options]\r\n" + c.options + "\r\n");
        start();
        inOptions([&](TFormOptions &d) {
            EXPECT_EQ(d.Chosen(), c.shown) << c.options.toStdString();
            if (c.shown.BrowserLoad == 1) {
                EXPECT_TRUE(d.RadioGroupBrowserItem1->isChecked());
            }
        });
        form->close();
        form.reset();
    }
}

TEST_F(Menus, OkWritesTheChoicesAndSwitchesTheHotKeysAtOnce)
{
    writeOptions("[options]\r\nCtrlCC=1\r\nCtrlShiftZ=1\r\nBrowserLoad=2\r\n");
    start();
    ASSERT_TRUE(form->HotKeyOn(HotKeyCtrlCC));
    ASSERT_TRUE(form->HotKeyOn(HotKeyCtrlShiftZ));

    // Each step ticks or clears boxes and presses OK; the hot keys follow at once.
    struct Step { std::function<void(TFormOptions &)> change; bool ctrlCC, ctrlShiftZ; };
    const std::vector<Step> steps{
        {[](TFormOptions &d) { d.CheckBox2_2->click(); }, true, false},
        {[](TFormOptions &) {}, true, false},
        {[](TFormOptions &d) { d.CheckBox2_1->click(); }, false, false},
        {[](TFormOptions &d) { d.CheckBox2_1->click(); }, true, false},
        {[](TFormOptions &d) { d.CheckBox2_2->click(); d.CheckBox2_1->click(); }, false, true},
    };
    for (size_t i = 0; i < steps.size(); ++i) {
        inOptions([&](TFormOptions &d) {
            steps[i].change(d);
            d.ButtonOK->click();
        });
        EXPECT_EQ(form->HotKeyOn(HotKeyCtrlCC), steps[i].ctrlCC) << i;
        EXPECT_EQ(form->HotKeyOn(HotKeyCtrlShiftZ), steps[i].ctrlShiftZ) << i;
        EXPECT_EQ(form->IniFile->ReadBool("options", "CtrlCC", !steps[i].ctrlCC), steps[i].ctrlCC) << i;
        EXPECT_EQ(form->IniFile->ReadBool("options", "CtrlShiftZ", !steps[i].ctrlShiftZ), steps[i].ctrlShiftZ) << i;
    }

    // Every other choice, written by OK; the news page has become the empty page.
    inOptions([](TFormOptions &d) {
        d.CheckBox1_1->click();
        d.CheckBox1_2->click();
        d.CheckBox1_3->click();
        d.CheckBox3_1->click();
        d.RadioGroup1Item0->click();
        d.RadioGroupBrowserItem0->click();
        d.ButtonOK->click();
    });
    const TIniFile ini(path("ConfigFiles/options.ini"));
    EXPECT_EQ(ReadOptionsForDialog(ini), (OptionsSettings{true, true, true, false, true, true, 0, 0}));
    inOptions([](TFormOptions &d) { d.ButtonOK->click(); });
    EXPECT_EQ(ReadOptionsForDialog(ini), (OptionsSettings{true, true, true, false, true, true, 0, 0}));
}

TEST_F(Menus, AHandWrittenNewsPageIsWrittenBackAsTheEmptyPage)
{
    writeOptions("[options]\r\nBrowserLoad=2\r\n");
    start();
    inOptions([](TFormOptions &d) { d.ButtonOK->click(); });
    EXPECT_EQ(form->IniFile->ReadString("options", "BrowserLoad", "?"), "1");
}

TEST_F(Menus, LeavingWithoutOkWritesNothing)
{
    writeOptions("[options]\r\nCtrlCC=1\r\nEraseStr=0\r\nBrowserLoad=2\r\n; mine\r\n");
    start();
    const QByteArray stored = options();
    const std::vector<std::pair<const char *, std::function<void(TFormOptions &)>>> ways{
        {"Отмена", [](TFormOptions &d) { d.ButtonCancel->click(); }},
        {"Escape", [](TFormOptions &d) { QTest::keyClick(&d, Qt::Key_Escape); }},
        {"close box", [](TFormOptions &d) { d.close(); }},
    };
    for (const auto &[way, leave] : ways) {
        inOptions([&](TFormOptions &d) {
            for (QCheckBox *box : d.findChildren<QCheckBox *>())
                box->click();
            d.RadioGroup1Item2->click();
            d.RadioGroupBrowserItem0->click();
            leave(d);
            EXPECT_FALSE(d.isVisible()) << way;
        });
        EXPECT_EQ(options(), stored) << way;
        EXPECT_TRUE(form->HotKeyOn(HotKeyCtrlCC)) << way;
        EXPECT_FALSE(form->HotKeyOn(HotKeyCtrlShiftZ)) << way;
    }
}

TEST_F(Menus, TheAboutBoxShowsTheMakersAddresses)
{
    start();
    inAbout([](Tabout1 &d) {
        EXPECT_EQ(d.windowTitle(), u"О программе Vocabulinarum"_qs);
        EXPECT_TRUE(d.windowFlags().testFlag(Qt::Tool));
        EXPECT_EQ(d.Label1->text(), u"Сайт: "_qs);
        EXPECT_EQ(d.Label2->text(), u"Почта: "_qs);
        EXPECT_EQ(d.site1->text(), "vocabulinarum.example.org");
        EXPECT_EQ(d.mail->text(), "info@vocabulinarum.example.org");
        EXPECT_EQ(d.Label3->text(), u"Программа просмотра словарей"_qs);
        EXPECT_EQ(d.Label4->text(), u"Распространяется бесплатно"_qs);
        EXPECT_EQ(d.Image1->geometry(), QRect(16, 8, 41, 41));
        EXPECT_FALSE(d.Image1->pixmap().isNull());
        EXPECT_EQ(d.site1->pos(), QPoint(120, 15));
        EXPECT_EQ(d.mail->pos(), QPoint(120, 36));
        EXPECT_EQ(d.site1->font().family(), "Arial");
        EXPECT_EQ(d.site1->font().pixelSize(), 12);
        // The box is as drawn, or wider where an address needs it.
        EXPECT_EQ(d.height(), 103);
        EXPECT_GE(d.width(), 219);
        for (const QLabel *label : d.findChildren<QLabel *>()) {
            EXPECT_GE(label->width(), label->sizeHint().width()) << label->objectName().toStdString();
            EXPECT_LE(label->geometry().right(), d.width()) << label->objectName().toStdString();
        }
    });
}

TEST_F(Menus, TheAboutBoxLinksLookLikeLinksAndOpenTheirTargets)
{
    start();
    inAbout([](Tabout1 &d) {
        for (LinkLabel *link : {d.site1, d.mail}) {
            QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), link->mapToGlobal(QPointF(5, 5)), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(link, &move);
            EXPECT_TRUE(link->font().underline());
            EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(link, &leave);
            EXPECT_FALSE(link->font().underline());
            EXPECT_EQ(link->cursor().shape(), Qt::ArrowCursor);
            EXPECT_EQ(link->font().pixelSize(), 12);
        }
        QTest::mouseClick(d.site1, Qt::LeftButton);
        QTest::mouseClick(d.mail, Qt::LeftButton);
        // A press dragged off the label opens nothing.
        QTest::mousePress(d.site1, Qt::LeftButton);
        QTest::mouseRelease(d.site1, Qt::LeftButton, {}, QPoint(-5, -5));
    });
    EXPECT_EQ(opened, (std::vector<QUrl>{QUrl("https://vocabulinarum.example.org/"), QUrl("mailto:info@vocabulinarum.example.org")}));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Menus, EachAboutBoxIsFreshAndTheOptionsFileStaysUsable)
{
    start();
    QPointer<Tabout1> first;
    const TIniFile *before = form->IniFile.get();
    inAbout([&](Tabout1 &d) { first = &d; });
    EXPECT_FALSE(first);
    EXPECT_NE(form->IniFile.get(), before) << "the about box opened the options file anew";
    QPointer<Tabout1> second;
    inAbout([&](Tabout1 &d) {
        second = &d;
        d.close();
    });
    EXPECT_FALSE(second);

    ASSERT_TRUE(form->IniFile);
    EXPECT_EQ(QFileInfo(form->IniFile->FileName()).absoluteFilePath(), QFileInfo(path("ConfigFiles/options.ini")).absoluteFilePath());
    form->IniFile->WriteInteger("options", "EraseStr", 1);
    EXPECT_EQ(TIniFile(path("ConfigFiles/options.ini")).ReadInteger("options", "EraseStr", 2), 1);
    // What uses the options file goes on reading it: the dialog shows the write.
    inOptions([](TFormOptions &d) { EXPECT_EQ(d.RadioGroup1Items->checkedId(), 1); });
}

TEST_F(Menus, HelpAndTheMakersPages)
{
    const QString help = HelpFilePath(ProgramDir());
    ASSERT_FALSE(QFileInfo::exists(help)) << "the test expects no help file beside the test program";
    startActive();
    // F1 reaches the help wherever the focus is in the window.
    QTest::keyClick(edit(), Qt::Key_F1);
    form->Emb->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    form->MM_Help->trigger();
    ASSERT_EQ(boxes.size(), 3u);
    for (const QString &box : boxes)
        EXPECT_EQ(box, texts::HelpFileMissing + QDir::toNativeSeparators(help));

    form->MM_site_news->trigger();
    form->MM_site_dic->trigger();
    EXPECT_EQ(opened, (std::vector<QUrl>{QUrl(texts::SiteUrl), QUrl(texts::DictionariesPageUrl)}));
}

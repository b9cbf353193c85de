// The real main window's geometry across runs, its panes as it is resized,
// and hiding into the tray.
#include "IniFile.h"
#include "ShellTexts.h"
#include "WindowFixture.h"
#include "WindowGeometry.h"

#include <QScreen>
#include <QSystemTrayIcon>
#include <QTest>

using namespace vocab;

namespace {

class GeometryWindow : public vocab::test::WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        // More than the root: closing writes the geometry.
        ListFile::write(path("ConfigFiles/TreeView.trv"), {texts::RootNodeCaption, u"Мои"_qs, u"\tСловарь=dic"_qs});
    }

    void startWith(const QByteArray &ini)
    {
        writeOptions(ini);
        start();
    }
    void restart()
    {
        form->close();
        form.reset();
        start();
    }
    TIniFile options() const { return TIniFile(path("ConfigFiles/options.ini")); }
    int stored(const char *key) const { return options().ReadInteger("size", key, -1); }

    int gridHeight() const { return form->StringGrid1->height(); }
    int tabsHeight() const { return form->PageControl1->height(); }
};

QRect screenArea() { return QGuiApplication::primaryScreen()->geometry(); }

// Notes where and how the window stood the moment it was first shown.
class FirstShowWatch : public TForm1 {
public:
    bool shown = false;
    QPoint firstPos;
    QSize firstSize;
    Qt::WindowStates firstState;

protected:
    void showEvent(QShowEvent *event) override
    {
        if (!shown) {
            shown = true;
            firstPos = pos();
            firstSize = size();
            firstState = windowState();
        }
        TForm1::showEvent(event);
    }
};

} // namespace

TEST_F(GeometryWindow, TheSavedGeometryIsInPlaceWhenTheWindowIsFirstShown)
{
    struct Case {
        const char *name;
        QByteArray ini;
        QPoint pos;
        QSize size;
        bool maximized;
    };
    const QByteArray saved("[size]\r\nHeightSplitter=150\r\nWidthSplitter=250\r\nTop=300\r\nLeft=400\r\nHeight=600\r\nWidth=800\r\n");
    const std::vector<Case> cases{
        {"normal", saved, {400, 300}, {800, 600}, false},
        {"maximized", saved + "WindowStateNormal=0\r\n", {400, 300}, {800, 600}, true},
        {"off the screen", "[size]\r\nHeightSplitter=150\r\nTop=5000\r\nLeft=60\r\nHeight=500\r\nWidth=720\r\n", {100, 100}, {720, 500}, false},
    };
    for (const Case &c : cases) {
        writeOptions(c.ini);
        start<FirstShowWatch>();
        const auto &watch = static_cast<const FirstShowWatch &>(*form);
        ASSERT_TRUE(watch.shown) << c.name;
        EXPECT_EQ(watch.firstState.testFlag(Qt::WindowMaximized), c.maximized) << c.name;
        if (!c.maximized) {
            EXPECT_EQ(watch.firstPos, c.pos) << c.name;
            EXPECT_EQ(watch.firstSize, c.size) << c.name;
        }
        EXPECT_EQ(tabsHeight(), 150) << c.name;
        EXPECT_TRUE(form->FormResizeAttached()) << c.name;
        if (c.maximized) {
            // The normal bounds stay those saved, for when the user restores it.
            EXPECT_EQ(form->normalGeometry(), QRect(c.pos, c.size)) << c.name;
        }
        form.reset();
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(GeometryWindow, StoredPlaceIsRestoredUnlessNoScreenWouldShowIt)
{
    const QRect screen = screenArea();
    struct Case {
        int top, left;
        QPoint shown;
    };
    const std::vector<Case> cases{
        {50, 60, {60, 50}},
        {5000, 60, {100, 100}},                               // below the screen
        {50, screen.width() - 99, {100, 100}},                // right of it
        {50, screen.width() - 100, {screen.width() - 100, 50}}, // just enough of it on the screen
        {50, -720 + 99, {100, 100}},                          // its right edge left of the screen
    };
    for (const Case &c : cases) {
        startWith(QStringLiteral("[size]\r\nHeightSplitter=150\r\nWidthSplitter=250\r\nTop=%1\r\nLeft=%2\r\nHeight=500\r\nWidth=720\r\n")
                      .arg(c.top)
                      .arg(c.left)
                      .toLatin1());
        EXPECT_EQ(form->pos(), c.shown) << c.top << ',' << c.left;
        EXPECT_EQ(form->size(), QSize(720, 500));
        EXPECT_EQ(tabsHeight(), 150);
        EXPECT_EQ(form->Panel1->width(), 250);
        EXPECT_TRUE(form->FormResizeAttached());
        form.reset();
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(GeometryWindow, ClosingAndStartingAgainKeepsPlaceSizePanesAndMaximizedState)
{
    start();
    form->move(40, 30);
    form->resize(730, 490);
    form->SplitterGridTabs->setSizes({200, 170});
    form->SplitterPanels->setSizes({240, 480});
    const int tabs = tabsHeight();
    const int panel = form->Panel1->width();
    restart();
    EXPECT_EQ((std::vector<int>{stored("Top"), stored("Left"), stored("Height"), stored("Width")}), (std::vector<int>{30, 40, 490, 730}));
    EXPECT_EQ(stored("HeightSplitter"), tabs);
    EXPECT_EQ(stored("WidthSplitter"), panel);
    EXPECT_EQ(form->pos(), QPoint(40, 30));
    EXPECT_EQ(form->size(), QSize(730, 490));
    EXPECT_EQ(tabsHeight(), tabs);
    EXPECT_EQ(form->Panel1->width(), panel);

    // Maximized: the state is kept, the normal bounds stay as they were.
    form->showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->isMaximized(); }, 2000));
    restart();
    EXPECT_FALSE(options().ReadBool("size", "WindowStateNormal", true));
    EXPECT_EQ((std::vector<int>{stored("Top"), stored("Left"), stored("Height"), stored("Width")}), (std::vector<int>{30, 40, 490, 730}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->isMaximized(); }, 2000));
    EXPECT_EQ(tabsHeight(), tabs) << "the grid takes what maximizing gives";
    EXPECT_TRUE(form->FormResizeAttached());
}

TEST_F(GeometryWindow, NoSaveWindowOpensCentredAtTheDesignedSizeAndStillSaves)
{
    startWith("[size]\r\nHeightSplitter=150\r\nWindowStateNormal=0\r\nTop=30\r\nLeft=40\r\nHeight=490\r\nWidth=730\r\n"
              "[options]\r\nNoSaveWindow=1\r\n");
    EXPECT_EQ(stored("HeightSplitter"), NoGeometrySaved);
    EXPECT_EQ(form->size(), QSize(772, 516));
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(form->pos(), area.center() - form->rect().center());
    EXPECT_FALSE(form->isMaximized());
    // Closed maximized last time: the resize handler stays detached.
    EXPECT_FALSE(form->FormResizeAttached());
    form->close();
    EXPECT_NE(stored("HeightSplitter"), NoGeometrySaved);
    EXPECT_TRUE(options().ReadBool("size", "WindowStateNormal", false));
}

TEST_F(GeometryWindow, ShrinkingTakesFromTheGridFirstAndFromTheTabsBelowItsFloor)
{
    start();
    form->resize(772, 600);
    const QList<int> sizes = form->SplitterGridTabs->sizes();
    form->SplitterGridTabs->setSizes({150, sizes[0] + sizes[1] - 150});
    const int tabs = tabsHeight();
    const int grid = gridHeight();

    form->resize(772, 560);
    EXPECT_EQ(tabsHeight(), tabs);
    EXPECT_EQ(gridHeight(), grid - 40);

    // The grid would be left with less than 70 pixels: it keeps 70 and the
    // tabs give the rest.
    ASSERT_LT(grid - 40 - 80, 70);
    form->resize(772, 480);
    EXPECT_EQ(gridHeight(), 70);
    EXPECT_EQ(tabsHeight(), tabs - (80 - (grid - 40 - 70)));

    // Narrower: the article view gives way, the left panel keeps its width.
    const int panel = form->Panel1->width();
    const int article = form->PanelRight->width();
    form->resize(form->width() - 50, form->height());
    EXPECT_EQ(form->Panel1->width(), panel);
    EXPECT_EQ(form->PanelRight->width(), article - 50);
}

TEST_F(GeometryWindow, MinimizingHidesIntoTheTrayOnlyWhenAskedAndATrayIsThere)
{
    struct Case {
        QByteArray ini;
        bool tray;
        bool hides;
    };
    const std::vector<Case> cases{
        {"[options]\r\nOnMinimizedWindow=1\r\n", true, true},
        {"[options]\r\nOnMinimizedWindow=1\r\n", false, false}, // it would be lost from sight
        {"[options]\r\nOnMinimizedWindow=0\r\n", true, false},
    };
    for (const Case &c : cases) {
        startWith(c.ini);
        form->TrayAvailable = [&c] { return c.tray; };
        form->showMinimized();
        QTest::qWait(50);
        EXPECT_EQ(form->isVisible(), !c.hides) << c.ini.toStdString();
        EXPECT_EQ(form->RxTrayIcon1->isVisible(), c.hides) << c.ini.toStdString();
        if (c.hides) {
            form->ComboBox1->setTextInCode(u"слово"_qs);
            form->RxTrayIcon1Click();
            EXPECT_TRUE(form->isVisible());
            EXPECT_FALSE(form->isMinimized());
            EXPECT_FALSE(form->RxTrayIcon1->isVisible());
            EXPECT_EQ(form->focusWidget(), form->ComboBox1);
            EXPECT_EQ(edit()->cursorPosition(), 5);
            EXPECT_FALSE(edit()->hasSelectedText());
        }
        form.reset();
    }
}

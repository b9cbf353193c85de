#include "WindowGeometry.h"

#include "IniFile.h"
#include "TestSupport.h"

using namespace vocab;

namespace {

class WindowGeometry : public ::testing::Test {
protected:
    TIniFile ini(const QByteArray &text)
    {
        vocab::test::writeBytes(dir.filePath("options.ini"), text);
        return TIniFile(dir.filePath("options.ini"));
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(WindowGeometry, CreationPolicy)
{
    using P = CreationPolicy::Position;
    struct Case {
        QByteArray ini;
        P position;
        bool attached;
    };
    const std::vector<Case> cases{
        {"", P::DesktopCentre, true},
        {"[size]\r\nHeightSplitter=113113\r\n", P::DesktopCentre, true},
        {"[size]\r\nHeightSplitter=200\r\n", P::AsDesigned, true},
        {"[size]\r\nHeightSplitter=200\r\nWindowStateNormal=0\r\n", P::AsDesigned, false},
        {"[size]\r\nHeightSplitter=200\r\n[options]\r\nNoSaveWindow=1\r\n", P::ScreenCentre, true},
    };
    for (const Case &c : cases) {
        const CreationPolicy policy = ReadCreationPolicy(ini(c.ini));
        EXPECT_EQ(policy.position, c.position) << c.ini.toStdString();
        EXPECT_EQ(policy.resizeHandlerAttached, c.attached) << c.ini.toStdString();
    }
}

TEST_F(WindowGeometry, SavedValuesWithTheWindowsOwnAsDefaults)
{
    const QRect current(10, 20, 772, 516);
    TIniFile full = ini("[size]\r\nHeightSplitter=150\r\nWidthSplitter=250\r\nWindowStateNormal=0\r\n"
                        "Top=30\r\nLeft=40\r\nHeight=600\r\nWidth=800\r\n");
    const auto g = GeometryToRestore(full, current);
    ASSERT_TRUE(g);
    EXPECT_EQ((std::vector<int>{g->top, g->left, g->height, g->width, g->pageControlHeight, g->panelWidth}),
              (std::vector<int>{30, 40, 600, 800, 150, 250}));
    EXPECT_TRUE(g->maximized);

    TIniFile sparse = ini("[size]\r\nHeightSplitter=150\r\n");
    const auto d = GeometryToRestore(sparse, current);
    ASSERT_TRUE(d);
    EXPECT_EQ((std::vector<int>{d->top, d->left, d->height, d->width, d->panelWidth}), (std::vector<int>{20, 10, 516, 772, 217}));
    EXPECT_FALSE(d->maximized);

    TIniFile none = ini("[size]\r\nTop=30\r\n");
    EXPECT_FALSE(GeometryToRestore(none, current));
}

TEST_F(WindowGeometry, NoSaveWindowForgetsTheSavedGeometry)
{
    TIniFile options = ini("[size]\r\nHeightSplitter=150\r\nTop=30\r\n[options]\r\nNoSaveWindow=1\r\n");
    EXPECT_FALSE(GeometryToRestore(options, QRect(0, 0, 772, 516)));
    EXPECT_EQ(options.ReadInteger("size", "HeightSplitter", 0), NoGeometrySaved);
    EXPECT_EQ(options.ReadInteger("size", "Top", 0), 30);
}

TEST(KeepOnScreen, StoredPlacesThatCannotBeReachedGoTo100_100)
{
    const QRect screen(0, 0, 1920, 1080);
    const QSize client(750, 500);
    struct Case {
        QPoint stored;
        QPoint shown;
    };
    const std::vector<Case> cases{
        {{50, 60}, {50, 60}},
        {{1820, 980}, {1820, 980}},   // exactly 100 pixels left on screen
        {{1821, 60}, {100, 100}},     // Left > width - 100
        {{50, 981}, {100, 100}},      // Top > height - 100
        {{50, 5000}, {100, 100}},
        {{-650, 60}, {-650, 60}},     // Left + ClientWidth - 100 = 0
        {{-651, 60}, {100, 100}},     // the right edge left of the screen
        {{50, -401}, {100, 100}},     // the bottom edge above it
    };
    for (const Case &c : cases)
        EXPECT_EQ(KeptOnScreen(c.stored, client, {screen}), c.shown) << c.stored.x() << ',' << c.stored.y();
}

TEST(KeepOnScreen, AWindowOnASecondScreenStaysThere)
{
    const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024), QRect(-1280, 0, 1280, 1024)};
    const QSize client(750, 500);
    EXPECT_EQ(KeptOnScreen({2500, 300}, client, screens), QPoint(2500, 300));
    EXPECT_EQ(KeptOnScreen({-1000, 300}, client, screens), QPoint(-1000, 300));
    EXPECT_EQ(KeptOnScreen({3300, 300}, client, screens), QPoint(100, 100));
    EXPECT_EQ(KeptOnScreen({50, 60}, client, {}), QPoint(50, 60)) << "no screens known: left alone";
}

TEST(PaneFit, TheFlexiblePaneGivesWayFirstTheOtherOnlyBelowTheFloor)
{
    struct Case {
        PanePair now;
        int available;
        PanePair fit;
    };
    const std::vector<Case> cases{
        {{300, 193}, 493, {300, 193}},
        {{300, 193}, 400, {207, 193}}, // smaller: the grid shrinks
        {{300, 193}, 600, {407, 193}}, // larger: the grid grows
        {{300, 193}, 263, {70, 193}},  // down to its floor
        {{300, 193}, 200, {70, 130}},  // below it: the tabs give way
        {{300, 193}, 150, {70, 80}},   // both at their floors: nothing more to give
        {{60, 193}, 253, {70, 183}},   // a grid already below the floor is lifted to it
    };
    for (const Case &c : cases) {
        const PanePair fit = FitPanes(c.now, c.available, 70, 80);
        EXPECT_EQ(fit, c.fit) << c.available << ": " << fit.flexible << '/' << fit.fixed;
    }
}

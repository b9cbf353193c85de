// The wheel fix and the focus fix, with real widgets and synthesized events.
#include "BrowserFormFixture.h"
#include "HbControlComponent.h"
#include "HbFocusControl.h"
#include "PlatformLibraries.h"

#include <QWheelEvent>

using namespace vocab;
using namespace vocab::test;

namespace {

// Counts the wheel turns that reach a widget.
struct WheelCounter : QObject {
    int turns = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        turns += e->type() == QEvent::Wheel;
        return false;
    }
};

// A wheel notch over the middle of `w`, as the pointer there sends it.
void turnWheelOver(QWidget *w)
{
    const QPointF local = w->rect().center();
    QWheelEvent wheel(local, w->mapToGlobal(local), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &wheel);
}

class WheelFix : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(f.showActive());
        f.document()->installEventFilter(&counter);
        control.MouseWheelFix().SetActive(true);
    }

    BrowserForm f;
    WheelCounter counter;
    THbControl control;
};

} // namespace

TEST_F(WheelFix, AWheelOverTheBrowserFirstGivesItTheFocusThenScrolls)
{
    f.edit->setFocus();
    turnWheelOver(f.document());
    EXPECT_EQ(QApplication::focusWidget(), f.document());
    EXPECT_EQ(counter.turns, 0) << "the notch only moved the focus";

    turnWheelOver(f.document());
    EXPECT_EQ(counter.turns, 1);

    // The browser's outer view holding the focus: the document takes it.
    f.spy->ViewWindow()->setFocus();
    turnWheelOver(f.document());
    EXPECT_EQ(QApplication::focusWidget(), f.document());
    EXPECT_EQ(counter.turns, 1);
}

TEST_F(WheelFix, AWheelOutsideAnyBrowserOrKeptByTheHandlerIsPassedOn)
{
    f.edit->setFocus();
    WheelCounter editTurns;
    f.edit->installEventFilter(&editTurns);
    turnWheelOver(f.edit);
    EXPECT_EQ(editTurns.turns, 1);

    control.MouseWheelFix().SetActive(false);
    control.MouseWheelFix().OnMouseWheel = [&](QPoint, QWidget *under, QWheelEvent *, bool &Handled) {
        EXPECT_EQ(under, f.document());
        Handled = true;
    };
    control.MouseWheelFix().SetActive(true);
    turnWheelOver(f.document());
    EXPECT_EQ(QApplication::focusWidget(), f.edit) << "the handler kept the focus";
    EXPECT_EQ(counter.turns, 1) << "and the turn went on";
}

TEST_F(WheelFix, OnlyTheActiveFormsBrowserTakesTheFocusWhenAsked)
{
    BrowserForm other;
    other.form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other.form));
    QApplication::setActiveWindow(&f.form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.form));
    f.edit->setFocus();
    control.MouseWheelFix().SetActiveFormOnly(true);
    turnWheelOver(other.document());
    EXPECT_EQ(QApplication::focusWidget(), f.edit);
}

TEST_F(WheelFix, OneHookForTheProgramThatAnyFixSwitchesOff)
{
    THbControl second;
    second.MouseWheelFix().SetActive(true);
    second.MouseWheelFix().SetActive(false);
    f.edit->setFocus();
    turnWheelOver(f.document());
    EXPECT_EQ(QApplication::focusWidget(), f.edit) << "the shared hook went with the second fix";
    EXPECT_EQ(counter.turns, 1);
}

TEST(FocusFix, AnActivatedFormWhoseActiveControlIsTheBrowserAsksItToFocusItsDocument)
{
    BrowserForm f;
    THbControl control;
    control.FocusControl().SetActive(true);
    EXPECT_TRUE(THBFocusControl::Active());
    ASSERT_TRUE(f.showActive());

    const auto activations = [&] {
        f.spy->verbs.clear();
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&f.form, &activate);
        QCoreApplication::processEvents();
        return std::count(f.spy->verbs.begin(), f.spy->verbs.end(), OLEIVERB_UIACTIVATE);
    };
    f.document()->setFocus();
    EXPECT_EQ(ActiveControlOf(&f.form), f.browser);
    EXPECT_EQ(activations(), 1) << "one ask per activation, answered by focusing the document";

    f.edit->setFocus();
    EXPECT_EQ(activations(), 0) << "another active control is left alone";

    control.FocusControl().SetActive(false);
    EXPECT_FALSE(THBFocusControl::Active());
    f.document()->setFocus();
    EXPECT_EQ(activations(), 0);
}

TEST(FocusFix, TheAskToFocusTheDocumentNeedsTheBrowserAsActiveControl)
{
    BrowserForm f;
    ASSERT_TRUE(f.showActive());
    f.edit->setFocus();
    f.spy->verbs.clear();
    QCoreApplication::postEvent(f.browser, new FocusDocumentEvent);
    QCoreApplication::processEvents();
    EXPECT_TRUE(f.spy->verbs.empty());

    f.document()->setFocus();
    QCoreApplication::postEvent(f.browser, new FocusDocumentEvent);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.spy->verbs, std::vector<int>{OLEIVERB_UIACTIVATE});
}

TEST(InternetFeatures, AnEmptySetSwitchesNothingAnyOtherSwitchesEveryFeature)
{
    struct Call {
        int feature;
        std::uint32_t flags;
        bool enable;
    };
    std::vector<Call> calls;
    const InternetFeatureLibrary previous = setInternetFeatureLibrary(
        {[&](std::uint8_t feature, std::uint32_t flags, bool enable) {
             calls.push_back({feature, flags, enable});
             return S_OK;
         },
         [](std::uint8_t feature, std::uint32_t) { return feature == XmlHttp || feature == Feeds ? S_OK : S_FALSE; }});
    THbControl control;

    const struct {
        TInternetFeatures set;
        std::vector<int> on;
    } cases[] = {
        {{}, {}},
        {TInternetFeatures().set(XmlHttp), {XmlHttp}},
        {TInternetFeatures().set(ObjectCaching).set(BlockInputPrompts), {ObjectCaching, BlockInputPrompts}},
    };
    for (const auto &c : cases) {
        calls.clear();
        control.SetInternetFeatures(c.set);
        EXPECT_EQ(control.InternetFeatures(), c.set);
        if (c.set.none()) {
            EXPECT_TRUE(calls.empty()) << "an empty set changes nothing";
            continue;
        }
        // Every feature once, in order, for the process; the count that ends
        // the list is no feature and is never passed.
        ASSERT_EQ(calls.size(), std::size_t(EntryCount)) << c.set.to_string();
        std::vector<int> on;
        for (std::size_t i = 0; i < calls.size(); ++i) {
            EXPECT_EQ(calls[i].feature, int(i));
            EXPECT_EQ(calls[i].flags, 2u);
            if (calls[i].enable)
                on.push_back(calls[i].feature);
        }
        EXPECT_EQ(on, c.on) << c.set.to_string();
    }
    EXPECT_EQ(THbControl::ReadInternetFeatures(), TInternetFeatures().set(XmlHttp).set(Feeds));
    setInternetFeatureLibrary(previous);
    EXPECT_EQ(THbControl::ReadInternetFeatures(), TInternetFeatures()) << "without the library none is on";
}

// The component's window procedure and the dialogs its form is watched for.
#include "BrowserFormFixture.h"
#include "HbDialogRules.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

using namespace vocab;
using namespace vocab::test;

namespace {

// Counts the key presses that reach a widget.
struct KeyCounter : QObject {
    std::vector<int> keys;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::KeyPress)
            keys.push_back(static_cast<QKeyEvent *>(e)->key());
        return false;
    }
};

void press(QWidget *w, Qt::Key key, quint32 nativeScanCode)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, nativeScanCode, 0, 0);
    QApplication::sendEvent(w, &event);
}

TMessage message(std::uint32_t msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0)
{
    TMessage m;
    m.Msg = msg;
    m.WParam = wParam;
    m.LParam = lParam;
    return m;
}

} // namespace

TEST(WindowProc, KeysOfTheDocumentGoThroughTheComponentsKeyEvents)
{
    BrowserForm f;
    f.browser->LoadSettings();
    KeyCounter reached;
    f.document()->installEventFilter(&reached);
    std::vector<std::pair<int, int>> seen;
    f.browser->OnKeyDown = [&](QObject *, std::uint16_t &Key, std::uint16_t ScanCode, Qt::KeyboardModifiers) {
        seen.emplace_back(Key, ScanCode);
        if (Key == 'A')
            Key = 0;
    };
    press(f.document(), Qt::Key_A, 38);
    press(f.document(), Qt::Key_B, 56);
    press(f.document(), Qt::Key_Return, 36);
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{'A', 0x1E}, {'B', 0x30}, {0x0D, 0x1C}}));
    EXPECT_EQ(reached.keys, (std::vector<int>{Qt::Key_B, Qt::Key_Return})) << "A was kept from the document";

    press(f.edit, Qt::Key_A, 38);
    EXPECT_EQ(seen.size(), 3u) << "keys elsewhere are not the component's";
}

TEST(WindowProc, ResultsOfTheProcedure)
{
    BrowserForm f;
    THostedBrowser &b = *f.browser;

    TMessage enter = message(CN_KEYDOWN, 0x0D);
    b.OnKeyDown = [](QObject *, std::uint16_t &Key, std::uint16_t, Qt::KeyboardModifiers) { Key = 0; };
    b.WndProc(enter);
    EXPECT_EQ(enter.Result, 0) << "Enter is left to the document";
    b.SetEnableMessageHandler(false);
    enter.Result = 0;
    b.WndProc(enter);
    EXPECT_EQ(enter.Result, 1);
    b.OnKeyDown = nullptr;

    TMessage dlgCode = message(WM_GETDLGCODE);
    b.WndProc(dlgCode);
    EXPECT_EQ(dlgCode.Result, DLGC_WANTCHARS);

    // A handler that leaves Handled alone leaves the result whole.
    int calls = 0;
    b.OnMessage = [&](QObject *, TMessage &, bool &) { ++calls; };
    TMessage big = message(WM_SIZE);
    big.Result = 0x1234;
    b.WndProc(big);
    EXPECT_EQ(big.Result, 0x1234);
    b.OnMessage = [](QObject *, TMessage &, bool &Handled) { Handled = true; };
    TMessage handled = message(WM_SIZE);
    b.WndProc(handled);
    EXPECT_EQ(handled.Result, 1);
    EXPECT_EQ(calls, 1);
}

TEST(WindowProc, PressesInTheDocumentAreReportedAsClicks)
{
    BrowserForm f;
    ASSERT_TRUE(f.showActive());
    f.browser->LoadSettings();
    struct Click {
        Qt::MouseButton button;
        Qt::KeyboardModifiers shift;
        QPoint at;
    };
    std::vector<Click> clicks;
    f.browser->OnClick = [&](QObject *, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) {
        clicks.push_back({Button, Shift, {X, Y}});
    };
    const QPoint at(12, 7);
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        QMouseEvent e(QEvent::MouseButtonPress, at, f.document()->mapToGlobal(at), button, button, Qt::NoModifier);
        QApplication::sendEvent(f.document(), &e);
    }
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[0].button, Qt::LeftButton);
    EXPECT_EQ(clicks[1].button, Qt::RightButton);
    EXPECT_EQ(clicks[1].shift, Qt::NoModifier) << "a right press is no Shift";
    EXPECT_EQ(clicks[0].at, f.document()->mapTo(f.browser, at)) << "in the component's own coordinates";

    // Negative coordinates come back signed.
    TMessage notify = message(WM_PARENTNOTIFY, WM_RBUTTONDOWN, MakeLParam(-3, -9));
    f.browser->WndProc(notify);
    EXPECT_EQ(clicks.back().at, QPoint(-3, -9));
}

TEST(WindowProc, VisibilityAndClosing)
{
    BrowserForm f;
    ASSERT_TRUE(f.showActive());
    f.browser->LoadSettings();
    std::vector<bool> visible;
    f.browser->OnVisible = [&](QObject *, bool v) { visible.push_back(v); };
    f.browser->SetVisible(false);
    f.browser->SetVisible(true);
    EXPECT_EQ(visible, (std::vector<bool>{false, true}));
    EXPECT_TRUE(f.browser->Visible());

    bool asked = false;
    f.browser->OnCloseQuery = [&](QObject *, bool &CanClose) {
        asked = true;
        CanClose = false;
    };
    EXPECT_FALSE(f.browser->close());
    EXPECT_TRUE(asked);
    EXPECT_TRUE(f.browser->isVisible());
}

// ---- dialogs ----------------------------------------------------------------------

TEST(Dialogs, CaptionsLoseTheBrowsersName)
{
    struct Case {
        const char *caption;
        const char *newCaption;
        const char *result;
    };
    const Case cases[] = {
        {"Microsoft Internet Explorer", "", ""},
        {"Windows Internet Explorer", "", "Windows "},
        {"Microsoft Internet Explorer", "Vocabulinarum", "Vocabulinarum"},
        {"Сообщение с веб-страницы", "Vocabulinarum", "Сообщение с веб-страницы"},
        {"internet explorer", "X", "internet explorer"},
        {"Internet Explorer — Internet Explorer", "X", "X — Internet Explorer"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ReplaceDialogCaption(QString::fromUtf8(c.caption), QString::fromUtf8(c.newCaption)), QString::fromUtf8(c.result))
            << c.caption;
}

TEST(Dialogs, StandardDialogsAreReCaptionedOrEndedAsTheOptionsSay)
{
    BrowserForm f;
    THostedBrowser &b = *f.browser;
    struct Case {
        const char *caption;
        bool standard;
        const char *after;
        bool stays;
    };
    const Case cases[] = {
        {"Microsoft Internet Explorer", true, "", true},
        {"Script error", true, "Script error", false},
        {"Ошибка: Error on page", true, "Ошибка: Error on page", false},
        {"Error", false, "Error", true}, // a form of the program: not a standard dialog
    };
    for (const Case &c : cases) {
        std::unique_ptr<QDialog> dialog = c.standard ? std::make_unique<QMessageBox>() : std::make_unique<QDialog>();
        dialog->setWindowTitle(QString::fromUtf8(c.caption));
        dialog->show();
        b.HandleIEDialog(dialog.get());
        EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8(c.after)) << c.caption;
        EXPECT_EQ(dialog->isVisible(), c.stays) << c.caption;
    }
}

TEST(Dialogs, TheDialogEventCanChangeTheCaptionAndDisableAllClosesEveryDialog)
{
    BrowserForm f;
    THostedBrowser &b = *f.browser;
    b.DialogBoxes().DisableAll = true;
    bool cancel = false;
    b.OnShowDialog = [&](QObject *, QWidget *, int, const QString &OldCaption, QString &NewCaption, bool &Cancel) {
        EXPECT_EQ(OldCaption, u"Microsoft Internet Explorer"_qs);
        cancel = Cancel;
        NewCaption = u"Словарь"_qs;
    };
    QMessageBox box;
    box.setWindowTitle(u"Microsoft Internet Explorer"_qs);
    box.show();
    b.HandleIEDialog(&box);
    EXPECT_TRUE(cancel);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.windowTitle(), u"Словарь"_qs);
}

TEST(Dialogs, OnlyThePageSetupDialogIsPreFilledWhileAPreFillIsPending)
{
    BrowserForm f;
    THostedBrowser &b = *f.browser;
    b.LoadSettings();
    HostedBrowserModuleState &module = hostedBrowserModule();
    TPrintOptions &print = b.PrintOptions();
    print.Header = u"&w&b"_qs;
    print.Footer = u"&u"_qs;
    print.Orientation = poLandScape;
    print.Margins = {1.5, 2.5, 3, 4};

    QDialog setup;
    setWindowClassName(&setup, StandardDialogClass);
    auto *ok = new QPushButton(&setup);
    ok->setObjectName(u"1"_qs);
    QObject::connect(ok, &QPushButton::clicked, &setup, &QDialog::accept);
    for (const char *id : {"1056", "1057"})
        (new QRadioButton(&setup))->setObjectName(QString::fromLatin1(id));
    for (const char *id : {"8147", "8149", "1155", "1156", "1157", "1158"})
        (new QLineEdit(&setup))->setObjectName(QString::fromLatin1(id));
    const auto field = [&](const char *id) { return setup.findChild<QLineEdit *>(QString::fromLatin1(id))->text(); };

    module.PageSetupPrefillPending = true;
    print.Enabled = false;
    b.HandleIEDialog(&setup);
    EXPECT_TRUE(field("8147").isEmpty()) << "print options off: untouched";
    EXPECT_TRUE(module.PageSetupPrefillPending);

    print.Enabled = true;
    QMessageBox box;
    b.HandleIEDialog(&box);
    EXPECT_TRUE(module.PageSetupPrefillPending) << "another dialog is not the page setup";

    QSignalSpy accepted(&setup, &QDialog::accepted);
    setup.show();
    b.HandleIEDialog(&setup);
    EXPECT_FALSE(module.PageSetupPrefillPending);
    EXPECT_TRUE(setup.findChild<QRadioButton *>(u"1057"_qs)->isChecked());
    EXPECT_EQ(field("8147"), u"&w&b"_qs);
    EXPECT_EQ(field("8149"), u"&u"_qs);
    // Left, top, right, bottom, in the unit they are kept in.
    EXPECT_EQ(field("1155"), b.MarginToText(1.5));
    EXPECT_EQ(field("1156"), b.MarginToText(3));
    EXPECT_EQ(field("1157"), b.MarginToText(2.5));
    EXPECT_EQ(field("1158"), b.MarginToText(4));
    EXPECT_TRUE(accepted.wait(2000)) << "OK is pressed";
}

TEST(Dialogs, TheFormIsWatchedByOneComponentForDialogsThatTakeItsActivation)
{
    auto f = std::make_unique<BrowserForm>();
    ASSERT_TRUE(f->showActive());
    f->browser->LoadSettings();
    EXPECT_EQ(f->browser->HookedParentForm(), &f->form);

    BrowserForm second;
    second.browser->LoadSettings();
    EXPECT_EQ(second.browser->HookedParentForm(), nullptr) << "one form per program";

    QMessageBox box;
    box.setWindowTitle(u"Microsoft Internet Explorer"_qs);
    box.show();
    QApplication::setActiveWindow(&box);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    EXPECT_EQ(box.windowTitle(), QString()) << "the box that took the activation was handled";

    QDialog own;
    own.setWindowTitle(u"Microsoft Internet Explorer"_qs);
    QApplication::setActiveWindow(&f->form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f->form));
    own.show();
    QApplication::setActiveWindow(&own);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&own));
    EXPECT_EQ(own.windowTitle(), u"Microsoft Internet Explorer"_qs) << "a form of the program is left alone";

    f.reset();
    EXPECT_FALSE(hostedBrowserModule().ParentFormHooked) << "unhooked by the component that hooked";
}

TEST(ChildWindows, HookedAtThePreRefreshTheirFocusGoesToTheDocument)
{
    BrowserForm f;
    ASSERT_TRUE(f.showActive());
    f.document()->setFocus();
    EXPECT_TRUE(f.spy->verbs.empty()) << "not hooked before the browser's first pre-refresh";

    f.edit->setFocus();
    f.browser->Exec(&CGID_Explorer, OLECMDID_PREREFRESH, OLECMDEXECOPT_DODEFAULT, {}, nullptr);
    f.document()->setFocus();
    EXPECT_EQ(f.spy->verbs, std::vector<int>{OLEIVERB_UIACTIVATE});
}

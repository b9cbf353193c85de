// Which menu a right click in the document shows: the window's own, the
// browser's own (filtered or not) or none, and what the host answers.

#include "HostedBrowser.h"
#include "SpyControl.h"

#include "TestSupport.h"

#include <QApplication>

using namespace vocab;
using namespace vocab::test;

namespace {

enum class Shown { Nothing, WindowMenu, BrowserMenu };

struct MenuCase {
    const char *what;
    TIEPopupMenus disabled;
    std::uint32_t kind;
    bool windowMenu;
    HRESULT handlerAnswer; // 0x7FFFFFFF: no handler
    bool filter;
    HRESULT result;
    Shown shown;
};

constexpr HRESULT NoHandler = 0x7FFFFFFF;

} // namespace

TEST(ShowContextMenu, DecidesWhichMenuShows)
{
    const MenuCase cases[] = {
        {"nothing disabled: the browser's own", {}, CONTEXT_MENU_DEFAULT, true, NoHandler, false, S_FALSE, Shown::Nothing},
        {"every kind disabled", {rcmAll}, CONTEXT_MENU_DEFAULT, true, NoHandler, false, S_OK, Shown::WindowMenu},
        {"every kind, a kind above the list", {rcmAll}, 12, true, NoHandler, false, S_OK, Shown::WindowMenu},
        {"one kind disabled, that kind", {rcmImage}, CONTEXT_MENU_IMAGE, true, NoHandler, false, S_OK, Shown::WindowMenu},
        {"one kind disabled, another kind", {rcmImage}, CONTEXT_MENU_TEXTSELECT, true, NoHandler, false, S_FALSE, Shown::Nothing},
        {"all ten kinds, a kind above the list", TIEPopupMenus::all().remove(rcmAll), 10, true, NoHandler, false, S_FALSE, Shown::Nothing},
        {"disabled with no window menu: no menu at all", {rcmAll}, CONTEXT_MENU_DEFAULT, false, NoHandler, false, S_OK, Shown::Nothing},
        {"a handler that keeps the default", {rcmAll}, CONTEXT_MENU_DEFAULT, true, E_NOTIMPL, false, S_OK, Shown::WindowMenu},
        {"a handler's own answer bypasses the rule", {rcmAll}, CONTEXT_MENU_DEFAULT, true, S_FALSE, false, S_FALSE, Shown::Nothing},
        {"a filter: the host shows the browser's menu", {}, CONTEXT_MENU_ANCHOR, true, NoHandler, true, S_OK, Shown::BrowserMenu},
    };
    for (const MenuCase &c : cases) {
        SCOPED_TRACE(c.what);
        QWidget window;
        QMenu windowMenu(&window);
        windowMenu.addAction(QStringLiteral("Копировать"));
        SpyControl *spy = nullptr;
        auto host = makeWithSpy<TCustomHostedBrowser>(spy, &window);
        host->SetDisabledPopupMenus(c.disabled);
        if (c.windowMenu)
            host->SetPopupMenu(&windowMenu);
        if (c.handlerAnswer != NoHandler)
            host->OnShowContextMenu = [&c](TCustomHostedBrowser *, std::uint32_t, const QPoint *, IInterface *,
                                           const ContextMenuContext *, HRESULT &Result) { Result = c.handlerAnswer; };
        std::uint32_t filteredKind = 99;
        if (c.filter)
            host->OnFilterPopupMenu = [&](QObject *, std::uint32_t ID, QMenu *, const ContextMenuContext *) { filteredKind = ID; };

        const QPoint at(40, 30);
        EXPECT_EQ(host->ShowContextMenu(c.kind, &at, nullptr, nullptr), c.result);
        // The window's menu opens once the request has been answered.
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(windowMenu.isVisible(), c.shown == Shown::WindowMenu);
        EXPECT_EQ(!spy->menuKinds.empty(), c.shown == Shown::BrowserMenu);
        if (c.shown == Shown::BrowserMenu) {
            EXPECT_EQ(filteredKind, c.kind);
            EXPECT_TRUE(spy->lastMenu->isVisible());
            spy->lastMenu->close();
        }
        windowMenu.hide();
    }
}

TEST(ShowContextMenu, TheComponentTakesItsDisabledItemsOutOfTheBrowsersMenu)
{
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<THostedBrowser>(spy);
    host->SetDisabledPopupMenuItems({rcsBack, rcsSelectAll, rcsPrint});
    const QPoint at(10, 10);
    EXPECT_EQ(host->ShowContextMenu(CONTEXT_MENU_DEFAULT, &at, nullptr, nullptr), S_OK);
    ASSERT_NE(spy->lastMenu, nullptr);
    QStringList items;
    for (QAction *action : spy->lastMenu->actions())
        items << action->text();
    EXPECT_EQ(items, QStringList({QStringLiteral("Forward"), QStringLiteral("Copy"), QStringLiteral("View source")}));
    spy->lastMenu->close();
}

TEST(ShowContextMenu, TheBrowsersMenuIsFilteredOnlyWhenThereIsSomethingToFilter)
{
    struct Case {
        bool items;
        bool handler;
        bool filtered;
    };
    for (const Case c : {Case{false, false, false}, Case{true, false, true}, Case{false, true, true}, Case{true, true, true}}) {
        SpyControl *spy = nullptr;
        auto host = makeWithSpy<THostedBrowser>(spy);
        if (c.items)
            host->SetDisabledPopupMenuItems({rcsViewSource});
        if (c.handler)
            host->OnFilterPopupMenu = [](QObject *, std::uint32_t, QMenu *, const ContextMenuContext *) {};
        const QPoint at(10, 10);
        EXPECT_EQ(host->ShowContextMenu(CONTEXT_MENU_DEFAULT, &at, nullptr, nullptr), c.filtered ? S_OK : S_FALSE)
            << c.items << c.handler;
        if (spy->lastMenu)
            spy->lastMenu->close();
    }
}

// With right presses kept from the engine, it asks for no menu: then the
// browser's menu has nothing to show and the host shows none.
TEST(ShowContextMenu, NoEmptyMenuPopsUp)
{
    const struct {
        const char *what;
        bool asked;
        bool filterTakesAll;
        HRESULT result;
        bool shown;
    } cases[] = {
        {"asked", true, false, S_OK, true},
        {"not asked: nothing, and the browser's own", false, false, S_FALSE, false},
        {"asked, every item filtered out: nothing at all", true, true, S_OK, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        SpyControl *spy = nullptr;
        auto host = makeWithSpy<THostedBrowser>(spy);
        spy->menuAsked = c.asked;
        host->SetDisabledPopupMenuItems({rcsViewSource});
        if (c.filterTakesAll)
            host->OnFilterPopupMenu = [](QObject *, std::uint32_t, QMenu *Menu, const ContextMenuContext *) { Menu->clear(); };
        const QPoint at(10, 10);
        EXPECT_EQ(host->ShowContextMenu(CONTEXT_MENU_DEFAULT, &at, nullptr, nullptr), c.result);
        EXPECT_EQ(QApplication::activePopupWidget() != nullptr, c.shown);
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
    }
}

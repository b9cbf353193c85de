#pragma once

// The main window in the test's own process on a real X server, given mouse
// and keyboard input through the server (XTest), as a user's hand gives it.

#include "CombinedFixtures.h"
#include "DictionaryFixtures.h"
#include "HostedBrowser.h"
#include "ScriptRunner.h"
#include "ShellTexts.h"
#include "WebEngineControl.h"
#include "WebPage.h"
#include "WindowFixture.h"
#include "XInput.h"

#include <QGuiApplication>
#include <QWindow>

namespace vocab::test {

class X11WindowFixture : public WindowFixture {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != u"xcb")
            GTEST_SKIP() << "needs an X server";
        ASSERT_TRUE(x.ok());
        WindowFixture::SetUp();
        dir.writeTree({texts::RootNodeCaption, u"Мои"_qs, u"\tРусский=rus"_qs});
        dir.writePair("dic/rus/rus", headwords);
        dir.writeList("ConfigFiles/dictionaries/dictionaries.ogl", headwords);
        LetterIndexTable::Build(headwords).WriteFile(path("ConfigFiles/dictionaries/dictionaries.dvc"));
    }

    static xcb_window_t xWindow(const QWidget *widget)
    {
        const QWindow *handle = widget ? widget->windowHandle() : nullptr;
        return handle ? static_cast<xcb_window_t>(handle->winId()) : XCB_NONE;
    }

    // Whether the X server gives the keyboard to the main window (or to the
    // child window Qt keeps for its focus).
    bool formHasXFocus() const
    {
        const xcb_window_t focus = x.focus();
        return focus != XCB_NONE && (focus == xWindow(form.get()) || isDescendant(focus, xWindow(form.get())));
    }

    bool isDescendant(xcb_window_t window, xcb_window_t ancestor) const
    {
        for (int depth = 0; window != XCB_NONE && depth < 16; ++depth) {
            XReply<xcb_query_tree_reply_t> tree(
                xcb_query_tree_reply(x.connection(), xcb_query_tree(x.connection(), window), nullptr), &std::free);
            if (!tree)
                return false;
            if (tree->parent == ancestor)
                return true;
            window = tree->parent;
        }
        return false;
    }

    QVariant evaluate(const QString &script)
    {
        auto *control = dynamic_cast<WebEngineControl *>(form->Emb->Control());
        return control ? runScriptAndWait(control->page(), script, 10000) : QVariant();
    }

    QWidget *documentWindow() const { return form->Emb->Control()->DocumentWindow(); }

    const QStringList headwords{u"ДОМ"_qs, u"ЕЖ"_qs, u"КОТ"_qs};
    FixtureFolder dir{work.path()};
    XInput x;
};

} // namespace vocab::test

#pragma once

// A window holding the browser component over the real engine, shown and
// with the blank page loaded, for the tests of the component's parts that
// need the engine.

#include "HostedBrowser.h"
#include "platform/web/EngineTestSupport.h"
#include "platform/web/LocalHttpServer.h"

#include "TestSupport.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QVBoxLayout>

namespace vocab::test {

class BrowserEngineTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(showBrowser(Shown::Exposed)); }

    enum class Shown {
        Exposed,
        Active, // the active window, as for dialogs the browser parents
    };
    // Puts the component into the window, shows it and loads the blank page;
    // its control is the factory's, or the engine's own.
    void showBrowser(Shown shown, const ControlFactory &factory = {})
    {
        auto *layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        Emb = new THostedBrowser(&window, factory);
        Emb->LoadSettings();
        layout->addWidget(Emb);
        window.resize(640, 480);
        window.show();
        if (shown == Shown::Active) {
            QApplication::setActiveWindow(&window);
            ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        } else {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        }
        loadBlank(*Emb);
    }

    // Loads a page given as text and waits for it.
    void load(const QString &html)
    {
        ASSERT_EQ(Emb->LoadFromString(html), S_OK);
        ASSERT_TRUE(Emb->Wait(0));
    }
    // Runs a script over the page's document, its arguments as data.
    QVariant script(const QString &body, const QVariantList &args = {})
    {
        return dynamic_cast<IDocumentAutomation *>(Emb->Document())->Invoke(body, args);
    }

    HostedBrowserModuleScope module;
    QWidget window;
    THostedBrowser *Emb = nullptr;
    QTemporaryDir dir;
};

// The same with a server on the loopback interface that answers the paths
// a test routes, and any other with 404.
class ServedBrowserEngineTest : public BrowserEngineTest {
protected:
    // Goes to the server's path and checks the browser got there.
    void go(const QString &path)
    {
        ASSERT_TRUE(Emb->Go(server.url(path).toString(), 10000));
        ASSERT_EQ(Emb->LocationURL(), server.url(path).toString());
    }

    LocalHttpServer server{LocalHttpServer::Others::NotFound};
};

} // namespace vocab::test

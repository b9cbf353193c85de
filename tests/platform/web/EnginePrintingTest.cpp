// The print, print-preview and page-setup commands of the control's command
// target over the real engine, with the dialogs they show.

#include "EngineTestSupport.h"
#include "OleCommands.h"
#include "PageSetupDialog.h"
#include "PageSetupStore.h"
#include "Registry.h"
#include "TestSupport.h"
#include "WindowHelpers.h"

#include <QApplication>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTimer>

#include <array>

using namespace vocab;
using namespace vocab::test;

namespace {

class EnginePrintCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("VOCABULINARUM_REGISTRY", QFile::encodeName(dir.filePath(QStringLiteral("registry.json"))));
        browser.resize(600, 400);
        browser.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&browser));
        loadBlank(browser);
        writePage(browser, QStringLiteral("<p>Статья</p>"));
    }
    void TearDown() override { qunsetenv("VOCABULINARUM_REGISTRY"); }

    // Acts on each modal dialog as it comes up, until the actions run out.
    void whenModal(std::vector<std::function<void(QWidget *)>> actions)
    {
        pending = std::move(actions);
        QObject::connect(&watcher, &QTimer::timeout, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || modal == lastSeen || pending.empty())
                return;
            lastSeen = modal;
            const auto action = pending.front();
            pending.erase(pending.begin());
            action(modal);
        });
        watcher.start(10);
    }
    static QLineEdit *field(QWidget *dialog, const char *id) { return dialog->findChild<QLineEdit *>(QString::fromLatin1(id)); }
    static void press(QWidget *dialog, const char *id)
    {
        QMetaObject::invokeMethod(dialog->findChild<QPushButton *>(QString::fromLatin1(id)), &QPushButton::click, Qt::QueuedConnection);
    }

    QTemporaryDir dir;
    THB browser;
    QTimer watcher;
    QPointer<QWidget> lastSeen;
    std::vector<std::function<void(QWidget *)>> pending;
};

int previewWindows()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        n += qobject_cast<QPrintPreviewDialog *>(w) && w->isVisible();
    return n;
}

} // namespace

TEST_F(EnginePrintCommands, TheTargetAnswersItsCommandsInTheirGroupsOnly)
{
    constexpr std::uint32_t Available = OLECMDF_SUPPORTED | OLECMDF_ENABLED;
    for (std::uint32_t id : {OLECMDID_PRINT, OLECMDID_PRINTPREVIEW, OLECMDID_PAGESETUP, OLECMDID_SAVEAS, OLECMDID_PROPERTIES})
        EXPECT_EQ(browser.QueryStatusWB(id), Available) << id;
    IOleCommandTarget *target = browser.Document()->commandTarget();
    std::array<OLECMD, 4> browserGroup{{{1, 0}, {2, 0}, {3, 0}, {OLECMDID_PRINT, 0}}};
    ASSERT_EQ(target->QueryStatus(&CGID_IWebBrowser, browserGroup, nullptr), S_OK);
    EXPECT_EQ(browserGroup[0].cmdf, Available) << "find";
    EXPECT_EQ(browserGroup[1].cmdf, Available) << "view source";
    EXPECT_EQ(browserGroup[2].cmdf, 0u) << "no internet options";
    EXPECT_EQ(browserGroup[3].cmdf, 0u);
    const QUuid other = QUuid::createUuid();
    EXPECT_EQ(target->QueryStatus(&other, browserGroup, nullptr), OLECMDERR_E_NOTSUPPORTED);
    QVariant out;
    for (std::uint32_t id : {3u, OLECMDID_PRINT})
        EXPECT_EQ(target->Exec(&CGID_IWebBrowser, id, OLECMDEXECOPT_DONTPROMPTUSER, QVariant(), &out), OLECMDERR_E_NOTSUPPORTED)
            << id;

    // Save As, told not to prompt, writes the page into the file given.
    const QString file = dir.filePath(QStringLiteral("saved.htm"));
    EXPECT_EQ(browser.ExecWB(OLECMDID_SAVEAS, OLECMDEXECOPT_DONTPROMPTUSER), E_INVALIDARG) << "no file given";
    EXPECT_EQ(browser.ExecWB(OLECMDID_SAVEAS, OLECMDEXECOPT_DONTPROMPTUSER, file), S_OK);
    EXPECT_TRUE(QString::fromUtf8(readBytes(file)).contains(QStringLiteral("<p>Статья</p>")));
    EXPECT_EQ(browser.ExecWB(OLECMDID_SAVEAS, OLECMDEXECOPT_DONTPROMPTUSER, dir.filePath(QStringLiteral("no/such/x.htm"))),
              E_FAIL);

    EXPECT_EQ(browser.ExecWB(OLECMDID_PAGESETUP, OLECMDEXECOPT_DONTPROMPTUSER), S_OK) << "no dialog, nothing changed";
    EXPECT_FALSE(TRegistry().KeyExists(QString::fromLatin1(PageSetupKey)));
    EXPECT_EQ(browser.ExecWB(OLECMDID_PRINTPREVIEW, OLECMDEXECOPT_PROMPTUSER, QStringLiteral("template.htm")),
              OLECMDERR_E_NOTSUPPORTED)
        << "no print templates";
    EXPECT_EQ(previewWindows(), 0);
}

TEST_F(EnginePrintCommands, PromptedCommandsShowTheirDialogsWhichStoreWhatIsAcceptedOnly)
{
    QString printDialogClass;
    whenModal({
        [&](QWidget *d) {
            printDialogClass = GetWindowClassName(d) + (qobject_cast<QPrintDialog *>(d) ? "" : " (not a print dialog)");
            qobject_cast<QDialog *>(d)->reject();
        },
        [&](QWidget *d) {
            field(d, "8147")->setText(QStringLiteral("Верх"));
            field(d, "1155")->setText(QStringLiteral("12.7"));
            press(d, "1");
        },
        [&](QWidget *d) {
            field(d, "8147")->setText(QStringLiteral("не сохранится"));
            press(d, "2");
        },
    });
    EXPECT_EQ(browser.ExecWB(OLECMDID_PRINT, OLECMDEXECOPT_PROMPTUSER), OLECMDERR_E_CANCELED);
    EXPECT_EQ(printDialogClass, QString::fromLatin1(WindowClass::StandardDialog));

    EXPECT_EQ(browser.ExecWB(OLECMDID_PAGESETUP, OLECMDEXECOPT_PROMPTUSER), S_OK);
    const PageSetupValues stored = ReadPageSetupValues();
    EXPECT_EQ(stored.header, QStringLiteral("Верх"));
    EXPECT_DOUBLE_EQ(stored.marginsInches.left(), 0.5);

    EXPECT_EQ(browser.ExecWB(OLECMDID_PAGESETUP, OLECMDEXECOPT_DODEFAULT), OLECMDERR_E_CANCELED);
    EXPECT_EQ(ReadPageSetupValues(), stored);
    EXPECT_TRUE(pending.empty());
}

TEST_F(EnginePrintCommands, APrintWithoutPromptAndWithoutADefaultPrinterFails)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "this machine has a default printer";
    EXPECT_TRUE(FAILED(browser.ExecWB(OLECMDID_PRINT, OLECMDEXECOPT_DONTPROMPTUSER)));
}

// The browser dialogs over a spy control: which command each one sends and
// what its answer makes of the target's, the file dialogs' requests and
// where their answers go, the pictures' file names, the favourites and
// other folders opened, and the address command of the component's window.

#include "HbToolsDialogs.h"
#include "HostedBrowser.h"
#include "SpyControl.h"

#include "FileDialogs.h"
#include "HbWindowCommand.h"
#include "ShellOpen.h"
#include "TempDesktop.h"
#include "TestSupport.h"

using namespace vocab;
using namespace vocab::test;

namespace {

// A command target that records the group and command of every call and
// answers as the test says.
class RecordingTarget : public IOleCommandTarget {
public:
    HRESULT QueryStatus(const QUuid *, std::span<OLECMD>, OLECMDTEXT *) override { return S_OK; }
    HRESULT Exec(const QUuid *group, std::uint32_t id, std::uint32_t option, const QVariant &, QVariant *) override
    {
        sent.push_back({group ? *group : QUuid(), id, option});
        return answer;
    }
    struct Sent {
        QUuid group;
        std::uint32_t id;
        std::uint32_t option;
        bool operator==(const Sent &) const = default;
    };
    std::vector<Sent> sent;
    HRESULT answer = S_OK;
};

class TargetDocument : public SpyDocument {
public:
    IOleCommandTarget *commandTarget() override { return &target; }
    RecordingTarget target;
};

class BrowserDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        browser = makeWithSpy<THostedBrowser>(spy);
        m_files = setFileDialogResponder([this](const FileDialogRequest &request) {
            requests.push_back(request);
            return answer;
        });
        m_opener = setShellOpener([this](const QUrl &url) {
            opened << url;
            return true;
        });
    }
    void TearDown() override
    {
        setFileDialogResponder(m_files);
        setShellOpener(m_opener);
    }
    TargetDocument *loadTargetDocument()
    {
        spy->loadDocument();
        auto doc = std::make_unique<TargetDocument>();
        TargetDocument *raw = doc.get();
        spy->document = std::move(doc);
        return raw;
    }

    TempDesktop desktop;
    SpyControl *spy = nullptr;
    std::unique_ptr<THostedBrowser> browser;
    std::vector<FileDialogRequest> requests;
    QString answer;
    QList<QUrl> opened;

private:
    FileDialogResponder m_files;
    ShellOpener m_opener;
};

} // namespace

TEST_F(BrowserDialogs, EachCommandGoesToItsGroupAndIsTrueOnlyWhenTheTargetSucceeds)
{
    using Sent = RecordingTarget::Sent;
    const struct {
        const char *name;
        bool (THostedBrowser::*method)();
        Sent sent;
    } cases[] = {
        {"SaveDialog", &THostedBrowser::SaveDialog, {QUuid(), OLECMDID_SAVEAS, OLECMDEXECOPT_DODEFAULT}},
        {"ShowPageProperties", &THostedBrowser::ShowPageProperties, {QUuid(), OLECMDID_PROPERTIES, OLECMDEXECOPT_DODEFAULT}},
        {"ShowFindDialog", &THostedBrowser::ShowFindDialog, {CGID_IWebBrowser, 1, OLECMDEXECOPT_DODEFAULT}},
        {"ViewPageSourceHtml", &THostedBrowser::ViewPageSourceHtml, {CGID_IWebBrowser, 2, OLECMDEXECOPT_DODEFAULT}},
        {"ShowInternetOptions", &THostedBrowser::ShowInternetOptions, {CGID_IWebBrowser, 3, OLECMDEXECOPT_DODEFAULT}},
    };
    for (const auto &c : cases)
        EXPECT_FALSE((browser.get()->*c.method)()) << c.name << ": no document, nothing sent";

    TargetDocument *doc = loadTargetDocument();
    for (const auto &c : cases) {
        doc->target.sent.clear();
        doc->target.answer = S_OK;
        EXPECT_TRUE((browser.get()->*c.method)()) << c.name;
        doc->target.answer = OLECMDERR_E_CANCELED;
        EXPECT_FALSE((browser.get()->*c.method)()) << c.name << ": cancelled";
        doc->target.answer = S_FALSE;
        EXPECT_FALSE((browser.get()->*c.method)()) << c.name << ": anything but S_OK";
        EXPECT_EQ(doc->target.sent, (std::vector<Sent>(3, c.sent))) << c.name;
    }
}

TEST_F(BrowserDialogs, TheSaveDialogTakesTheFilterBeforeTheTitleAndNamesOnlyASavedFile)
{
    // The spy's document cannot be saved: the chosen name is not handed back.
    answer = QStringLiteral("/tmp/x.htm");
    EXPECT_EQ(browser->SaveDialogEx(QStringLiteral("Pages|*.htm;*.html"), QStringLiteral("Сохранить")), QString());
    EXPECT_EQ(browser->SaveDialogEx(QString(), QString()), QString());
    answer.clear();
    EXPECT_EQ(browser->SaveDialogEx(QString(), QStringLiteral("Только заголовок")), QString()) << "cancelled";

    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].kind, FileDialogKind::Save);
    EXPECT_EQ(requests[0].title, QStringLiteral("Сохранить"));
    EXPECT_EQ(requests[0].nameFilters, QStringList{QStringLiteral("Pages (*.htm *.html)")});
    EXPECT_EQ(requests[1].title, QStringLiteral("Browser - Save Dialog"));
    EXPECT_EQ(requests[1].nameFilters,
              (QStringList{QStringLiteral("Internet Files (*.htm *.html *.mht *.mhtml *.php *.asp)"),
                           QStringLiteral("Text & Documents Files (*.txt *.doc *.xls *.dot)"), QStringLiteral("XML Files (*.xml)"),
                           QStringLiteral("Any Files (*)")}));
    EXPECT_EQ(requests[2].title, QStringLiteral("Только заголовок"));
    EXPECT_EQ(requests[2].nameFilters, requests[1].nameFilters);
}

TEST_F(BrowserDialogs, TheOpenDialogGoesToTheFileChosenAndNowhereWhenCancelled)
{
    EXPECT_FALSE(browser->OpenDialog());
    EXPECT_TRUE(spy->navigations.isEmpty());
    answer = desktop.path(QStringLiteral("page.htm"));
    EXPECT_TRUE(browser->OpenDialog());
    EXPECT_EQ(spy->navigations, QStringList{answer});
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].kind, FileDialogKind::Open);
    EXPECT_EQ(requests[0].title, QStringLiteral("Browser - Open Dialog"));
    EXPECT_EQ(requests[0].nameFilters,
              (QStringList{QStringLiteral("Internet Files (*.htm *.html *.url *.mht *.mhtml *.php *.asp)"),
                           QStringLiteral("Image Files (*.gif *.bmp *.ico *.jpg *.png *.wmf *.emf)"),
                           QStringLiteral("Text & Documents Files (*.txt *.doc *.xls *.dot)"),
                           QStringLiteral("Compressed Files (*.zip)"), QStringLiteral("XML Files (*.xml)"),
                           QStringLiteral("Any Files (*)")}));
}

TEST_F(BrowserDialogs, WithoutADocumentThePicturesAndTextAskNothing)
{
    browser->SaveImagesDialog();
    browser->SavePageTextDialog();
    EXPECT_TRUE(requests.empty());
}

TEST(SaveImageTarget, KeepsTheFourKindsAndKeepsEveryNameInsideTheFolder)
{
    const QString folder = QStringLiteral("/home/u/Pictures");
    const struct {
        const char *src;
        const char *target; // empty: passed over
    } cases[] = {
        {"http://h/a/b/c.gif", "/home/u/Pictures/Imagesc.gif"},
        {"http://h/X.Png", "/home/u/Pictures/ImagesX.Png"},
        {"c.jpg", "/home/u/Pictures/Imagesc.jpg"},
        {"http://h/pic.BMP", "/home/u/Pictures/Imagespic.BMP"},
        {"http://h/d.png?x=1", ""},
        {"http://h/e.JPEG", ""},
        {"http://h/noext", ""},
        {"data:image/png;base64,AAAA", ""},
        // Escapes decoded, and no separator or parent step leaves the folder.
        {"http://h/my%20pic.gif", "/home/u/Pictures/Imagesmy pic.gif"},
        {"http://h/..%2F..%2Fetc%2Fx.png", "/home/u/Pictures/Images.._.._etc_x.png"},
        {"http://h/a%5Cb%0A.gif", "/home/u/Pictures/Imagesa_b_.gif"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(HbTools::SaveImageTarget(QLatin1String(c.src), folder), QLatin1String(c.target)) << c.src;
}

TEST_F(BrowserDialogs, FoldersOpenInTheFileManagerAndTheAddressCommandReachesTheWindow)
{
    QDir().mkpath(desktop.path(QStringLiteral("home")));
    const QString file = desktop.path(QStringLiteral("home/run.sh"));
    vocab::test::writeBytes(file, "#!/bin/sh\n");
    browser->ExploreFolder(desktop.path(QStringLiteral("home")));
    browser->ExploreFolder(QString());
    browser->ExploreFolder(file); // a file is not opened, let alone run
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(desktop.path(QStringLiteral("home")))});

    EXPECT_TRUE(browser->ShowOrganizeFavorites());
    ASSERT_EQ(opened.size(), 2);
    const QString favourites = opened.last().toLocalFile();
    EXPECT_EQ(favourites, browser->GetSpecialFolderPath(nullptr, 6));
    EXPECT_TRUE(QFileInfo(favourites).isDir());

    std::vector<std::pair<std::uintptr_t, std::intptr_t>> commands;
    browser->LoadSettings();
    browser->OnMessage = [&](QObject *, TMessage &Msg, bool &) {
        if (Msg.Msg == WM_COMMAND)
            commands.emplace_back(Msg.WParam, Msg.LParam);
    };
    browser->OpenIEBrowserWithAddress();
    EXPECT_EQ(commands, (std::vector<std::pair<std::uintptr_t, std::intptr_t>>{{IE_CMD_ADDRESS, 0}}));
}

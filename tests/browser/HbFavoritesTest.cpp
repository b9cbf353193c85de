// The favourites, shell-folder and desktop routines and the component's
// methods over them, on a desktop of the test's own.

#include "HbToolsFavorites.h"
#include "HostedBrowser.h"
#include "MessageBoxes.h"
#include "Registry.h"
#include "ShellFolder.h"
#include "ShellOpen.h"
#include "SpecialFolders.h"
#include "SpyControl.h"
#include "TempDesktop.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QHostInfo>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <deque>

#include <netdb.h>

using namespace vocab;
using namespace vocab::test;

namespace {

// Answers the modal dialogs that show, one action each, in order; a dialog
// beyond the actions is cancelled and counted.
class ModalAnswers {
public:
    explicit ModalAnswers(std::deque<std::function<void(QDialog &)>> actions) : m_actions(std::move(actions))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(10);
    }
    int shown = 0;
    int unexpected = 0;

private:
    void poll()
    {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || m_waiting)
            return;
        ++shown;
        m_waiting = true;
        QObject::connect(dialog, &QDialog::finished, dialog, [this] { m_waiting = false; }, Qt::SingleShotConnection);
        if (m_actions.empty()) {
            ++unexpected;
            dialog->reject();
            return;
        }
        const auto action = m_actions.front();
        m_actions.pop_front();
        action(*dialog);
    }

    std::deque<std::function<void(QDialog &)>> m_actions;
    QTimer m_timer;
    bool m_waiting = false;
};

std::function<void(QDialog &)> nameAndAccept(const QString &name, QString *shownName = nullptr)
{
    return [=](QDialog &dialog) {
        auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("name"));
        ASSERT_NE(edit, nullptr);
        if (shownName)
            *shownName = edit->text();
        if (!name.isNull())
            edit->setText(name);
        dialog.accept();
    };
}

class Favourites : public ::testing::Test {
protected:
    void SetUp() override { browser = makeWithSpy<THostedBrowser>(spy); }
    QString favourites() const { return desktop.path("data/vocabulinarum/Favorites"); }

    TempDesktop desktop;
    SpyControl *spy = nullptr;
    std::unique_ptr<THostedBrowser> browser;
};

// A folder of history items whose tips the test gives; an item without one has no info object.
class TipFolder : public IShellFolder {
public:
    class Tip : public IQueryInfo {
    public:
        explicit Tip(QString text) : m_text(std::move(text)) {}
        QString GetInfoTip(std::uint32_t flags) override
        {
            EXPECT_EQ(flags, 0u);
            return m_text;
        }

    private:
        QString m_text;
    };
    std::unique_ptr<IQueryInfo> GetUIObjectOf(QWidget *, const QByteArray &pidl) override
    {
        const auto it = tips.constFind(pidl);
        return it == tips.constEnd() ? nullptr : std::make_unique<Tip>(*it);
    }
    QHash<QByteArray, QString> tips;
};

// Opens nothing, and keeps what it was asked to open.
class OpenerScope {
public:
    explicit OpenerScope(bool answer)
        : m_previous(setShellOpener([this, answer](const QUrl &url) {
              opened << url;
              return answer;
          }))
    {
    }
    ~OpenerScope() { setShellOpener(m_previous); }
    QList<QUrl> opened;

private:
    ShellOpener m_previous;
};

} // namespace

TEST_F(Favourites, APageAddedIsReadBackFromItsShortcutInTheFavouritesFolder)
{
    const QString url = QStringLiteral("http://example.org/a?b=1,2&c=%20d");
    QString shownName;
    ModalAnswers answers({nameAndAccept(u"Моя страница"_qs, &shownName)});
    browser->AddToFavorites(url, u"Заголовок: статья"_qs);
    EXPECT_EQ(answers.shown, 1);
    EXPECT_EQ(shownName, u"Заголовок статья"_qs) << "the title, as a name it can be";
    const QString shortcut = favourites() + u"/Моя страница.url"_qs;
    ASSERT_TRUE(QFileInfo::exists(shortcut));
    EXPECT_EQ(browser->URLFromFavorites(shortcut), url);
    EXPECT_EQ(browser->GetFavoritesPath(), favourites()) << "where the shell's record says";
}

TEST_F(Favourites, ANameThatClimbsOutStaysInTheFolder)
{
    ModalAnswers answers({nameAndAccept(QString()), nameAndAccept(QStringLiteral("../../../up/and away"))});
    browser->AddToFavorites("http://a.example/", "../../evil");
    browser->AddToFavorites("http://b.example/", "page");
    EXPECT_EQ(answers.shown, 2);
    EXPECT_EQ(QDir(favourites()).entryList(QDir::Files, QDir::Name), (QStringList{"evil.url", "up and away.url"}));
    EXPECT_EQ(QDir(desktop.path("data")).entryList(QDir::Files), QStringList());
    EXPECT_EQ(HbTools::URLFromFavorites(favourites() + "/up and away.url"), "http://b.example/");
}

TEST_F(Favourites, BlankAddressOrTitleShowsNoDialog)
{
    // Blanks are the space and every character below it, nothing else.
    ModalAnswers answers({nameAndAccept(QStringLiteral("nbsp"))});
    browser->AddToFavorites("  ", "Title");
    browser->AddToFavorites("http://example.org/", " \t");
    browser->AddToFavorites("\x01\r\n", "Title");
    browser->AddToFavorites("http://example.org/", "\x01");
    QTest::qWait(30);
    EXPECT_EQ(answers.shown, 0);
    EXPECT_FALSE(QFileInfo::exists(favourites()));
    browser->AddToFavorites("http://example.org/", u"\u00A0"_qs);
    EXPECT_EQ(answers.shown, 1) << "another space is no blank";
    EXPECT_EQ(answers.unexpected, 0);
}

TEST_F(Favourites, AShortcutOfTheSameNameIsReplacedOnlyWhenTheUserSaysSo)
{
    QDir().mkpath(favourites());
    writeBytes(favourites() + "/Page.url", "[InternetShortcut]\r\nURL=http://old.example/\r\n");
    std::vector<int> answersGiven{IDNO, IDYES};
    int asked = 0;
    const MessageBoxResponder previous = setMessageBoxResponder([&](const MessageBoxRequest &request) {
        EXPECT_EQ(request.text, u"Ссылка «Page» уже есть в Избранном. Заменить её?"_qs);
        return answersGiven.at(static_cast<std::size_t>(asked++));
    });
    ModalAnswers answers({nameAndAccept(QString()), [](QDialog &d) { d.reject(); }, nameAndAccept(QString())});
    browser->AddToFavorites("http://new.example/", "Page");
    EXPECT_EQ(HbTools::URLFromFavorites(favourites() + "/Page.url"), "http://old.example/") << "kept on No, then cancelled";
    browser->AddToFavorites("http://new.example/", "Page");
    EXPECT_EQ(HbTools::URLFromFavorites(favourites() + "/Page.url"), "http://new.example/");
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(answers.shown, 3);
    EXPECT_EQ(answers.unexpected, 0);
    setMessageBoxResponder(previous);
}

TEST_F(Favourites, TheAddressOfAShortcutFileIsReadAsThePlatformReadsItAndAnythingElseGivesNothing)
{
    writeBytes(desktop.path("mixed.url"), "[internetshortcut]\r\nurl = \"http://example.org/x,y%41\" \r\n");
    writeBytes(desktop.path("other.url"), "[Other]\r\nURL=http://example.org/\r\n");
    EXPECT_EQ(browser->URLFromFavorites(desktop.path("mixed.url")), "http://example.org/x,y%41");
    EXPECT_EQ(browser->URLFromFavorites(desktop.path("other.url")), QString());
    EXPECT_EQ(browser->URLFromFavorites(desktop.path("none.url")), QString());
    EXPECT_EQ(browser->URLFromFavorites(desktop.path("home")), QString()) << "a folder";
}

TEST_F(Favourites, ShellFoldersComeFromTheShellsRecordAsStored)
{
    EXPECT_EQ(browser->GetCookiesPath(), desktop.path("data/vocabulinarum/Cookies")) << "recorded at the first read";
    EXPECT_EQ(browser->GetHistoryPath(), desktop.path("data/vocabulinarum/History"));
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(QString::fromUtf16(ShellFoldersKey), false));
    const struct {
        const char *stored;
        const char *read;
    } cases[] = {{"   ", ""},
                 {"\t\x01\r\n", ""},
                 {"\u00A0", "\u00A0"},
                 {" /x/y ", " /x/y "},
                 {"/favourites", "/favourites"}};
    for (const auto &c : cases) {
        reg.WriteString("Favorites", QString::fromUtf8(c.stored));
        EXPECT_EQ(browser->GetFavoritesPath(), QString::fromUtf8(c.read)) << c.stored;
    }
    reg.WriteInteger("History", 5);
    EXPECT_EQ(errorOf([&] { browser->GetHistoryPath(); }), u"Неверный тип данных для \"History\""_qs)
        << "a number is no text";
}

TEST_F(Favourites, TheDefaultBrowserIsTheRegistrysCommandOrItsAbsenceIsSaid)
{
    EXPECT_EQ(browser->GetDefaultBrowserFromRegistry(), "No default browser found.");
    TRegistry classes(RegRoot::HKEY_CLASSES_ROOT);
    ASSERT_TRUE(classes.OpenKey(QString::fromUtf16(DefaultBrowserKey), true));
    EXPECT_EQ(browser->GetDefaultBrowserFromRegistry(), QString()) << "the key without its value";
    classes.WriteString(QString(), "/usr/bin/browser %u");
    EXPECT_EQ(browser->GetDefaultBrowserFromRegistry(), "/usr/bin/browser %u");
    classes.WriteInteger(QString(), 1);
    EXPECT_EQ(errorOf([&] { browser->GetDefaultBrowserFromRegistry(); }), u"Неверный тип данных для \"\""_qs)
        << "a number is no command";
}

TEST_F(Favourites, AHistoryItemsAddressIsWhatFollowsTheFirstLineOfItsTip)
{
    TipFolder folder;
    folder.tips = {{"1", "Title\n http://example.org/ \n"},
                   {"2", "  http://only.example/  "},
                   {"3", "A\nB\nC"},
                   {"4", ""},
                   {"5", u"T\n\x01\u00A0http://x.example/\u00A0\x7F\r"_qs}};
    const std::pair<const char *, QString> cases[] = {{"1", "http://example.org/"},
                                                      {"2", "http://only.example/"},
                                                      {"3", "B\nC"},
                                                      {"4", ""},
                                                      {"5", u"\u00A0http://x.example/\u00A0\x7F"_qs},
                                                      {"no tip", ""}};
    for (const auto &[pidl, url] : cases)
        EXPECT_EQ(browser->UrlFromHistory(&folder, pidl), url) << pidl;
    EXPECT_EQ(browser->UrlFromHistory(nullptr, "1"), QString()) << "no shell folder here";
}

TEST_F(Favourites, TheCachedCopyIsTheFirstEntryOfExactlyTheAddress)
{
    EXPECT_EQ(browser->GetCachedFileFromURL("http://example.org/"), QString()) << "the engine's cache is closed to us";
    const HbTools::UrlCacheSource previous = HbTools::setUrlCacheSource([] {
        return std::vector<HbTools::TUrlCacheEntry>{{"http://Example.org/", "/cache/upper"},
                                                     {"http://example.org/", "/cache/first"},
                                                     {"http://example.org/", "/cache/second"}};
    });
    EXPECT_EQ(browser->GetCachedFileFromURL("http://example.org/"), "/cache/first");
    EXPECT_EQ(browser->GetCachedFileFromURL("http://EXAMPLE.org/"), QString());
    HbTools::setUrlCacheSource(previous);
}

TEST_F(Favourites, TheMachinesNameAndAddressAreFound)
{
    QString host;
    QString ip;
    QString error = QStringLiteral("untouched");
    ASSERT_TRUE(browser->GetIPAndHostName(host, ip, error));
    EXPECT_EQ(host, QHostInfo::localHostName());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{1,3}(\\.\\d{1,3}){3}$")).match(ip).hasMatch()) << ip.toStdString();
    EXPECT_EQ(error, "untouched");
}

TEST_F(Favourites, AFailedLookupOfTheMachinesNameSaysWhyOnlyForItsTwoCauses)
{
    const struct {
        HbTools::TNameLookup lookup;
        const char *error;
    } cases[] = {
        {{EAI_NONAME, 0, {}}, "kept"},
        {{EAI_AGAIN, 0, {}}, "kept"},
        {{EAI_SYSTEM, ENETDOWN, {}}, "WSAENetDown"},
        {{EAI_SYSTEM, EINPROGRESS, {}}, "WSAEInProgress"},
        {{EAI_SYSTEM, ECONNREFUSED, {}}, "kept"},
        {{0, 0, {}}, "kept"}, // found, but with no address
    };
    QByteArray asked;
    for (const auto &c : cases) {
        const HbTools::NameResolver previous = HbTools::setNameResolver([&](const QByteArray &name) {
            asked = name;
            return c.lookup;
        });
        QString host = QStringLiteral("host");
        QString ip = QStringLiteral("ip");
        QString error = QStringLiteral("kept");
        EXPECT_FALSE(browser->GetIPAndHostName(host, ip, error)) << c.lookup.Result << ' ' << c.lookup.SystemError;
        HbTools::setNameResolver(previous);
        EXPECT_EQ(error, QLatin1String(c.error)) << c.lookup.Result << ' ' << c.lookup.SystemError;
        EXPECT_EQ(host, QStringLiteral("host"));
        EXPECT_EQ(ip, QStringLiteral("ip"));
    }
    EXPECT_EQ(QString::fromLocal8Bit(asked), QHostInfo::localHostName()) << "the machine's own name is looked up";
}

TEST_F(Favourites, ANewMailAndTheOrganiserGoToTheDesktopsHandlers)
{
    {
        OpenerScope opener(true);
        browser->LocationURL(); // whatever the page, the same blank mail
        EXPECT_TRUE(HbTools::CreateNewMail());
        browser->CreateNewMail();
        ASSERT_EQ(opener.opened.size(), 2);
        EXPECT_EQ(opener.opened[0].toString(), "mailto:?subject=&body=");
        EXPECT_EQ(opener.opened[1], opener.opened[0]);
    }
    OpenerScope failing(false);
    EXPECT_FALSE(HbTools::CreateNewMail());
    const QString folder = browser->GetSpecialFolderPath(nullptr, CSIDL_FAVORITES);
    EXPECT_EQ(folder, favourites());
    EXPECT_TRUE(QFileInfo(folder).isDir()) << "made when missing";
    EXPECT_FALSE(HbTools::OrganizeFavoritesDialog(nullptr, folder)) << "the opener's answer";
    EXPECT_EQ(failing.opened.last(), QUrl::fromLocalFile(folder));
    EXPECT_FALSE(HbTools::OrganizeFavoritesDialog(nullptr, QString()));
    EXPECT_EQ(failing.opened.size(), 2);
}

TEST_F(Favourites, ASpecialFolderIsNavigatedToAsItsFileAddressWhenItIsThere)
{
    spy->loadDocument();
    browser->NavigateFolder(CSIDL_PERSONAL);
    browser->NavigateFolder(0x99);
    EXPECT_EQ(spy->navigations, QStringList()) << "a missing folder is not made, an unknown one has none";
    QDir().mkpath(desktop.path("home/Documents"));
    browser->NavigateFolder(CSIDL_PERSONAL);
    EXPECT_EQ(spy->navigations, QStringList{QUrl::fromLocalFile(desktop.path("home/Documents")).toString()});
}

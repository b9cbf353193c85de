// The special folders on a desktop of the test's own, and the registry
// records of the shell's folders and of the default browser made from it.

#include "Registry.h"
#include "SpecialFolders.h"
#include "TempDesktop.h"
#include "TestSupport.h"

#include <QFileInfo>

using namespace vocab;
using namespace vocab::test;

namespace {

class SpecialFolders : public ::testing::Test {
protected:
    TempDesktop desktop;
};

} // namespace

TEST_F(SpecialFolders, NumbersMapOntoTheUsersFoldersAndAreMadeOnlyWhenAsked)
{
    // The desktop's own name for its desktop folder counts.
    writeBytes(desktop.path("config/user-dirs.dirs"), "XDG_DESKTOP_DIR=\"$HOME/Arbeitsfläche\"\n");
    const struct {
        int csidl;
        const char *path; // relative to the temporary folder; null for none
    } cases[] = {
        {CSIDL_DESKTOP, "home/Arbeitsfläche"},
        {CSIDL_DESKTOPDIRECTORY, "home/Arbeitsfläche"},
        {CSIDL_PERSONAL, "home/Documents"},
        {CSIDL_FAVORITES, "data/vocabulinarum/Favorites"},
        {CSIDL_STARTUP, "config/autostart"},
        {CSIDL_APPDATA, "config"},
        {CSIDL_LOCAL_APPDATA, "data"},
        {CSIDL_INTERNET_CACHE, "cache/vocabulinarum"},
        {CSIDL_COOKIES, "data/vocabulinarum/Cookies"},
        {CSIDL_HISTORY, "data/vocabulinarum/History"},
        {CSIDL_MYPICTURES, "home/Pictures"},
        {CSIDL_PROFILE, "home"},
        {CSIDL_WINDOWS, nullptr},
        {CSIDL_SYSTEM, nullptr},
        {CSIDL_PROGRAM_FILES, nullptr},
        {0x99, nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.csidl);
        const QString expected = c.path ? QDir::cleanPath(desktop.path(QString::fromUtf8(c.path))) : QString();
        EXPECT_EQ(SpecialFolderPath(c.csidl, false), expected);
        if (!c.path)
            continue;
        EXPECT_EQ(SpecialFolderPath(c.csidl, true), expected);
        EXPECT_TRUE(QFileInfo(expected).isDir());
    }
}

TEST_F(SpecialFolders, TheCreationFlagMakesTheFolderAndAFolderThatCannotBeMadeIsNone)
{
    const QString favourites = desktop.path("data/vocabulinarum/Favorites");
    EXPECT_EQ(SpecialFolderPath(CSIDL_FAVORITES, false), favourites);
    EXPECT_FALSE(QFileInfo::exists(favourites));
    EXPECT_EQ(SpecialFolderPath(CSIDL_FAVORITES | CSIDL_FLAG_CREATE, false), favourites);
    EXPECT_TRUE(QFileInfo(favourites).isDir());

    writeBytes(desktop.path("cache/vocabulinarum"), "a file where the folder would be");
    EXPECT_EQ(SpecialFolderPath(CSIDL_INTERNET_CACHE, true), QString());
}

TEST_F(SpecialFolders, TheShellFolderRecordGetsWhatIsMissingAndKeepsWhatIsThere)
{
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(QString::fromUtf16(ShellFoldersKey), true));
        reg.WriteString("Cookies", "   ");
    }
    RecordShellFolders();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(QString::fromUtf16(ShellFoldersKey), false));
    EXPECT_EQ(reg.ReadString("Favorites"), desktop.path("data/vocabulinarum/Favorites"));
    EXPECT_EQ(reg.ReadString("History"), desktop.path("data/vocabulinarum/History"));
    EXPECT_EQ(reg.ReadString("Cookies"), "   ");
    EXPECT_FALSE(QFileInfo::exists(desktop.path("data/vocabulinarum/Favorites"))) << "recording makes no folder";
}

TEST_F(SpecialFolders, TheDefaultBrowserIsRecordedFromTheDesktopsHttpHandlerOnlyWhenMissing)
{
    TRegistry classes(RegRoot::HKEY_CLASSES_ROOT);
    RecordDefaultBrowser();
    EXPECT_FALSE(classes.KeyExists(QString::fromUtf16(DefaultBrowserKey))) << "no handler, nothing written";

    writeBytes(desktop.path("config/mimeapps.list"), "[Default Applications]\nx-scheme-handler/http=fake-browser.desktop\n");
    writeBytes(desktop.path("data/applications/fake-browser.desktop"),
               "[Desktop Entry]\nType=Application\nName=Fake\nExec=/usr/bin/env fake-browser --new %u\n"
               "[Desktop Action private]\nExec=/usr/bin/env fake-browser --private %u\n");
    RecordDefaultBrowser();
    ASSERT_TRUE(classes.OpenKey(QString::fromUtf16(DefaultBrowserKey), false));
    EXPECT_EQ(classes.ReadString(QString()), "/usr/bin/env fake-browser --new %u");

    classes.WriteString(QString(), "kept");
    RecordDefaultBrowser();
    EXPECT_EQ(classes.ReadString(QString()), "kept");
    TRegistry user;
    EXPECT_FALSE(user.KeyExists("htmlfile")) << "the classes are a root of their own";
}

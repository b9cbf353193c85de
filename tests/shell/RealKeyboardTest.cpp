// The real program on an X server, typed into with the keyboard as a user
// types: keys go to the focused window and from there to the search box.
#include "DictionaryFixtures.h"
#include "ProgramRunner.h"
#include "ShellTexts.h"

#include <QProcess>

using namespace vocab;
using namespace vocab::test;

namespace {

bool xdotool(const QStringList &arguments)
{
    return QProcess::execute("xdotool", arguments) == 0;
}

} // namespace

TEST(RealKeyboard, TypedWordAndEnterReachTheAllDictionariesPage)
{
    FixtureFolder dir;
    QDir(dir.base()).mkpath("ConfigFiles/dictionaries");
    writeBytes(dir.path("ConfigFiles/references.htm"), "<html></html>");
    dir.writeList("ConfigFiles/TreeView.trv", {texts::RootNodeCaption});
    dir.writeAbout("forest", u"Лесной словарь"_qs);
    dir.writePair("dic/forest/base/12", {u"ЛЕС"_qs, u"ЛИСТ"_qs});
    QTemporaryDir shared;

    ProgramRunner program(dir.base(), shared.path());
    program.start();
    ASSERT_TRUE(program.waitReady());
    // The new dictionary is installed at start and the root searches its words.
    // No window manager runs here: the window is given the keyboard focus directly.
    ASSERT_TRUE(xdotool({"search", "--sync", "--name", "^ Vocabulinarum$", "windowfocus", "--sync"}));
    QThread::msleep(300); // the search box takes the focus on its timer
    ASSERT_TRUE(xdotool({"type", "--delay", "60", u"лес"_qs}));
    ASSERT_TRUE(xdotool({"key", "Return"}));
    QThread::msleep(500);
    ASSERT_TRUE(program.terminate());
    // Enter on the root built the page of the word from all dictionaries,
    // which puts the word into the history.
    EXPECT_EQ(ListFile::read(dir.path("ConfigFiles/history.trv")), QStringList{u"лес"_qs});
    EXPECT_TRUE(program.messages().empty());
}

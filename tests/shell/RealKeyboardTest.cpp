// The real program on an X server, typed into with the keyboard as a user
// types: keys go to the focused window and from there to the search box.
#include "DictionaryFixtures.h"
#include "ProgramRunner.h"
#include "ShellTexts.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

using namespace vocab;
using namespace vocab::test;

namespace {

bool xdotool(const QStringList &arguments)
{
    return QProcess::execute("xdotool", arguments) == 0;
}

} // namespace

TEST(RealKeyboard, TypedWordArrowAndEnterReachTheAllDictionariesPage)
{
    FixtureFolder dir;
    QDir(dir.base()).mkpath("ConfigFiles/dictionaries");
    writeBytes(dir.path("ConfigFiles/references.htm"), "<html></html>");
    dir.writeList("ConfigFiles/TreeView.trv", {texts::RootNodeCaption});
    dir.writeAbout("forest", u"Лесной словарь"_qs);
    dir.writePair("dic/forest/base/12", {u"ЛЕС"_qs, u"ЛИСТ"_qs});
    QTemporaryDir shared;

    ProgramRunner program(dir.base(), shared.path());
    const QString times = shared.filePath("times.log");
    program.setEnvironment("VOCABULINARUM_STARTUP_TIMES", times);
    program.start();
    ASSERT_TRUE(program.waitReady());
    // The new dictionary is installed at start and the root searches its words.
    // No window manager runs here: the window is given the keyboard focus directly.
    ASSERT_TRUE(xdotool({"search", "--sync", "--name", "^ Vocabulinarum$", "windowfocus", "--sync"}));
    // The search box takes the focus on its timer; the program notes when,
    // and notes each page written, with its length.
    const auto noted = [&](const QRegularExpression &line) {
        QFile file(times);
        return file.open(QIODevice::ReadOnly) && line.match(QString::fromUtf8(file.readAll())).hasMatch();
    };
    ASSERT_TRUE(program.waitUntil([&] { return noted(QRegularExpression(QStringLiteral("search-box-focused"))); }));
    ASSERT_TRUE(xdotool({"type", "--delay", "60", u"лес"_qs}));
    // Down moves the grid to the next headword, whose page Enter then builds.
    ASSERT_TRUE(xdotool({"key", "--delay", "100", "Down", "Return"}));
    // Enter on the root builds the page of the word from all dictionaries
    // and puts the word into the history, which is saved at the end.
    EXPECT_TRUE(program.waitUntil([&] {
        return noted(QRegularExpression(QStringLiteral(R"(search-box-focused\n(.*\n)*\d+ page-written [1-9])")));
    })) << "no article page came";
    ASSERT_TRUE(program.terminate());
    EXPECT_EQ(ListFile::read(dir.path("ConfigFiles/history.trv")), QStringList{u"лист"_qs});
    EXPECT_TRUE(program.messages().empty());
}

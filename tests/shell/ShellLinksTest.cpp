// Help and the maker's links, opened through a stand-in for the desktop so
// that no program is started.
#include "MessageBoxes.h"
#include "ShellLinks.h"
#include "ShellOpen.h"
#include "TestSupport.h"

#include <vector>

using namespace vocab;
using namespace vocab::test;

namespace {

class Links : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousOpener = setShellOpener([this](const QUrl &url) {
            opened.push_back(url);
            return openerTakesIt;
        });
        previousResponder = setMessageBoxResponder([this](const MessageBoxRequest &r) {
            boxes.push_back(r.text);
            return IDOK;
        });
    }
    void TearDown() override
    {
        setShellOpener(previousOpener);
        setMessageBoxResponder(previousResponder);
    }

    QTemporaryDir programDir;
    bool openerTakesIt = true;
    std::vector<QUrl> opened;
    std::vector<QString> boxes;
    ShellOpener previousOpener;
    MessageBoxResponder previousResponder;
};

} // namespace

TEST_F(Links, HelpOpensTheFileBesideTheProgram)
{
    const QString help = programDir.filePath("ConfigFiles/help.chm");
    writeBytes(help, "ITSF");
    OpenHelpFile(programDir.path());
    EXPECT_EQ(opened, std::vector<QUrl>{QUrl::fromLocalFile(help)});
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Links, MissingHelpIsSaidAndNothingIsStarted)
{
    // A folder of that name is no help file either.
    for (const bool folderInItsPlace : {false, true}) {
        boxes.clear();
        if (folderInItsPlace)
            QDir(programDir.path()).mkpath("ConfigFiles/help.chm");
        OpenHelpFile(programDir.path());
        EXPECT_TRUE(opened.empty());
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_TRUE(boxes[0].startsWith(u"Файл справки не найден:"_qs)) << boxes[0].toStdString();
        EXPECT_TRUE(boxes[0].endsWith(QDir::toNativeSeparators(HelpFilePath(programDir.path())))) << boxes[0].toStdString();
    }
}

TEST_F(Links, ATargetNoProgramTakesIsSaid)
{
    openerTakesIt = false;
    writeBytes(programDir.filePath("ConfigFiles/help.chm"), "ITSF");
    OpenHelpFile(programDir.path());
    OpenLink(MailLink("info@example.org"));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(boxes[0].startsWith(u"Не удалось открыть файл справки"_qs)) << boxes[0].toStdString();
    EXPECT_TRUE(boxes[1].endsWith("mailto:info@example.org")) << boxes[1].toStdString();

    openerTakesIt = true;
    boxes.clear();
    OpenLink(QUrl("https://example.org/"));
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(opened.back(), QUrl("https://example.org/"));
}

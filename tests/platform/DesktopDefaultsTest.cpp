// The desktop's default programs: the words of a desktop entry's command,
// and the desktop's own answer to which program opens a kind of data.

#include "DesktopDefaults.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace vocab;

namespace {

TEST(DesktopExec, SplitsWordsAndLeavesTheFieldCodesOut)
{
    struct Case {
        QString exec;
        QStringList words;
    };
    const Case cases[] = {
        {u"mailer %u"_qs, {u"mailer"_qs}},
        {u"mailer -compose %U --name %c"_qs, {u"mailer"_qs, u"-compose"_qs, u"--name"_qs}},
        {u"\"/opt/my mail/run\" \"a \\\"quoted\\\" word\""_qs, {u"/opt/my mail/run"_qs, u"a \"quoted\" word"_qs}},
        {u"tool 100%% --url=%u"_qs, {u"tool"_qs, u"100%"_qs, u"--url="_qs}},
        {u"tool \"x; rm -rf ~\" $HOME `id`"_qs, {u"tool"_qs, u"x; rm -rf ~"_qs, u"$HOME"_qs, u"`id`"_qs}},
        {u"  spaced\t out  "_qs, {u"spaced"_qs, u"out"_qs}},
        {u"tool \"\""_qs, {u"tool"_qs, QString()}},
        {QString(), {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SplitDesktopExec(c.exec), c.words) << c.exec.toStdString();
}

// The real question goes to xdg-mime, which reads the user's list of
// default programs.
TEST(DesktopDefaults, AreTheOnesTheUsersListNames)
{
    if (QStandardPaths::findExecutable(u"xdg-mime"_qs).isEmpty())
        GTEST_SKIP() << "xdg-mime is not installed";
    QTemporaryDir dir;
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    const QByteArray oldDesktop = qgetenv("XDG_CURRENT_DESKTOP");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(u"config"_qs)));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(u"data"_qs)));
    qunsetenv("XDG_CURRENT_DESKTOP");
    ASSERT_TRUE(QDir().mkpath(dir.filePath(u"config"_qs)));
    ASSERT_TRUE(QDir().mkpath(dir.filePath(u"data/applications"_qs)));
    {
        QFile list(dir.filePath(u"config/mimeapps.list"_qs));
        ASSERT_TRUE(list.open(QIODevice::WriteOnly));
        list.write("[Default Applications]\nx-scheme-handler/mailto=testmailer.desktop\n");
        QFile entry(dir.filePath(u"data/applications/testmailer.desktop"_qs));
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nType=Application\nName=Test mailer\nExec=testmailer --compose %u\n"
                    "MimeType=x-scheme-handler/mailto;\n");
    }
    EXPECT_EQ(DesktopDefaultFor(u"x-scheme-handler/mailto"_qs), u"testmailer.desktop"_qs);
    EXPECT_EQ(DesktopEntryCommand(u"testmailer.desktop"_qs), (QStringList{u"testmailer"_qs, u"--compose"_qs}));
    EXPECT_EQ(DesktopEntryCommand(u"nosuch.desktop"_qs), QStringList());
    EXPECT_EQ(DesktopEntryCommand(u"../testmailer.desktop"_qs), QStringList()) << "an id is no path";
    const auto restore = [](const char *name, const QByteArray &value) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    };
    restore("XDG_CONFIG_HOME", oldConfig);
    restore("XDG_DATA_HOME", oldData);
    restore("XDG_CURRENT_DESKTOP", oldDesktop);
}

} // namespace

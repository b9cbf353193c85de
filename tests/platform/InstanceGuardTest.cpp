#include "InstanceGuard.h"

#include "AppError.h"
#include "TestSupport.h"

#include <QProcess>
#include <QThread>

#include <sys/stat.h>
#include <unistd.h>

using namespace vocab;

namespace {

class InstanceGuardTest : public ::testing::Test {
protected:
    void SetUp() override { qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path())); }
    void TearDown() override { qunsetenv("XDG_RUNTIME_DIR"); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(InstanceGuardTest, OneHolderAtATime)
{
    auto first = NamedInstanceGuard::tryAcquire("vocabulinarum_mutex");
    ASSERT_TRUE(first);
    EXPECT_TRUE(NamedInstanceGuard::isHeld("vocabulinarum_mutex"));
    EXPECT_FALSE(NamedInstanceGuard::tryAcquire("vocabulinarum_mutex"));
    EXPECT_TRUE(NamedInstanceGuard::tryAcquire("another_name"));
    first.reset();
    EXPECT_FALSE(NamedInstanceGuard::isHeld("vocabulinarum_mutex"));
    EXPECT_TRUE(NamedInstanceGuard::tryAcquire("vocabulinarum_mutex"));
}

TEST_F(InstanceGuardTest, VanishesWhenItsProcessIsKilled)
{
    // Another process holds the guard's lock, then dies by SIGKILL.
    QProcess holder;
    // -o: the lock stays with flock itself, not with the command it runs.
    holder.start("flock", {"-o", NamedInstanceGuard::lockPath("vocabulinarum_mutex"), "sleep", "60"});
    ASSERT_TRUE(holder.waitForStarted());
    for (int i = 0; i < 200 && !NamedInstanceGuard::isHeld("vocabulinarum_mutex"); ++i)
        QThread::msleep(10);
    ASSERT_TRUE(NamedInstanceGuard::isHeld("vocabulinarum_mutex"));
    EXPECT_FALSE(NamedInstanceGuard::tryAcquire("vocabulinarum_mutex"));
    holder.kill();
    holder.waitForFinished();
    for (int i = 0; i < 200 && NamedInstanceGuard::isHeld("vocabulinarum_mutex"); ++i)
        QThread::msleep(10);
    EXPECT_TRUE(NamedInstanceGuard::tryAcquire("vocabulinarum_mutex"));
}

namespace {

// The message of the FileError `body` throws; empty when it throws none.
template <typename Body>
QString fileErrorOf(Body &&body)
{
    try {
        body();
    } catch (const FileError &e) {
        return e.message();
    }
    return {};
}

} // namespace

TEST_F(InstanceGuardTest, ALockFileThatCannotBeOpenedIsNotAnotherCopy)
{
    // A folder under the lock's name cannot be opened, even by root. That is
    // told as such, naming the file, never as "another copy runs".
    const QString path = NamedInstanceGuard::lockPath("vocabulinarum_mutex");
    ASSERT_TRUE(QDir().mkpath(path));
    const QString message = fileErrorOf([] { NamedInstanceGuard::tryAcquire("vocabulinarum_mutex"); });
    EXPECT_TRUE(message.contains(u"Не удаётся открыть файл блокировки"_qs) && message.contains(path)) << message.toStdString();

    // A link under the lock's name is not followed: its target is neither
    // created nor locked.
    const QString target = dir.filePath("elsewhere");
    ASSERT_TRUE(QFile::link(target, NamedInstanceGuard::lockPath("linked")));
    EXPECT_FALSE(fileErrorOf([] { NamedInstanceGuard::tryAcquire("linked"); }).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(target));
}

namespace {

// No runtime folder: the guard lives in a folder of the user's own inside
// $TMPDIR, here a scratch folder.
class FallbackFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_runtime = qgetenv("XDG_RUNTIME_DIR");
        m_tmp = qgetenv("TMPDIR");
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(dir.path()));
    }
    void TearDown() override
    {
        restore("XDG_RUNTIME_DIR", m_runtime);
        restore("TMPDIR", m_tmp);
    }
    static void restore(const char *name, const QByteArray &value)
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    QTemporaryDir dir;
    const QString own = dir.filePath("vocabulinarum-" + QString::number(::getuid()));

private:
    QByteArray m_runtime;
    QByteArray m_tmp;
};

mode_t modeOf(const QString &path)
{
    struct stat st = {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

} // namespace

TEST_F(FallbackFolderTest, IsMadeClosedToOthersAndTightenedWhenFoundOpen)
{
    auto guard = NamedInstanceGuard::tryAcquire("vocabulinarum_mutex");
    ASSERT_TRUE(guard);
    EXPECT_EQ(NamedInstanceGuard::lockPath("vocabulinarum_mutex"), own + "/vocabulinarum_mutex.lock");
    EXPECT_EQ(modeOf(own), 0700u);
    EXPECT_EQ(modeOf(own + "/vocabulinarum_mutex.lock"), 0600u);
    guard.reset();
    ASSERT_EQ(::chmod(QFile::encodeName(own).constData(), 0777), 0);
    EXPECT_TRUE(NamedInstanceGuard::tryAcquire("vocabulinarum_mutex"));
    EXPECT_EQ(modeOf(own), 0700u);
}

TEST_F(FallbackFolderTest, OneThatIsALinkOrAnotherUsersIsRefused)
{
    const QString elsewhere = dir.filePath("elsewhere");
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    ASSERT_TRUE(QFile::link(elsewhere, own));
    QString message = fileErrorOf([] { NamedInstanceGuard::tryAcquire("vocabulinarum_mutex"); });
    EXPECT_TRUE(message.contains(own)) << message.toStdString();
    EXPECT_TRUE(QDir(elsewhere).isEmpty()) << "nothing made through the link";

    ASSERT_TRUE(QFile::remove(own));
    ASSERT_TRUE(QDir().mkpath(own));
    const uid_t other = ::getuid() == 0 ? 65534 : 0;
    if (::chown(QFile::encodeName(own).constData(), other, other) != 0)
        GTEST_SKIP() << "cannot give a folder to another user here";
    message = fileErrorOf([] { NamedInstanceGuard::tryAcquire("vocabulinarum_mutex"); });
    EXPECT_TRUE(message.contains(own)) << message.toStdString();
    EXPECT_FALSE(QFileInfo::exists(own + "/vocabulinarum_mutex.lock"));
}

#include "InstanceGuard.h"

#include "TestSupport.h"

#include <QProcess>
#include <QThread>

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

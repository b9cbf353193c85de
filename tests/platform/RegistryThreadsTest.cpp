// The registry store used from several threads at once, and its classes root.

#include "Registry.h"
#include "TestSupport.h"

#include <QThread>

#include <memory>
#include <vector>

using namespace vocab;

TEST(RegistryThreads, WritesAndReadsFromManyThreadsAllLand)
{
    QTemporaryDir dir;
    qputenv("VOCABULINARUM_REGISTRY", QFile::encodeName(dir.filePath("registry.json")));
    constexpr int threads = 4;
    constexpr int writes = 60;
    std::vector<std::unique_ptr<QThread>> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back(QThread::create([t] {
            TRegistry reg;
            reg.OpenKey(QStringLiteral("Software\\Threads\\T%1").arg(t), true);
            for (int i = 0; i < writes; ++i) {
                reg.WriteInteger(QStringLiteral("v%1").arg(i), t * 1000 + i);
                TRegistry reader(RegRoot::HKEY_CURRENT_USER);
                reader.OpenKeyReadOnly(QStringLiteral("Software\\Threads"));
                reader.GetKeyNames();
            }
        }));
        workers.back()->start();
    }
    for (auto &w : workers)
        ASSERT_TRUE(w->wait(60000));
    for (int t = 0; t < threads; ++t) {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(QStringLiteral("Software\\Threads\\T%1").arg(t), false));
        ASSERT_EQ(reg.GetValueNames().size(), writes);
        EXPECT_EQ(reg.ReadInteger(QStringLiteral("v%1").arg(writes - 1)), t * 1000 + writes - 1);
    }
    qunsetenv("VOCABULINARUM_REGISTRY");
}

TEST(RegistryClassesRoot, IsARootOfItsOwnKeptInTheFile)
{
    QTemporaryDir dir;
    qputenv("VOCABULINARUM_REGISTRY", QFile::encodeName(dir.filePath("registry.json")));
    {
        TRegistry classes(RegRoot::HKEY_CLASSES_ROOT);
        ASSERT_TRUE(classes.OpenKey("htmlfile\\shell\\open\\command", true));
        classes.WriteString(QString(), "browser %u");
    }
    EXPECT_FALSE(TRegistry(RegRoot::HKEY_CURRENT_USER).KeyExists("htmlfile"));
    EXPECT_FALSE(TRegistry(RegRoot::HKEY_LOCAL_MACHINE).KeyExists("htmlfile"));
    // Read again from the file, as another process would.
    const QByteArray bytes = vocab::test::readBytes(TRegistry::storePath());
    QFile::remove(TRegistry::storePath());
    vocab::test::writeBytes(TRegistry::storePath(), bytes + "\n");
    TRegistry classes(RegRoot::HKEY_CLASSES_ROOT);
    ASSERT_TRUE(classes.OpenKey("HTMLFILE\\shell\\open\\command", false));
    EXPECT_EQ(classes.ReadString(QString()), "browser %u");
    qunsetenv("VOCABULINARUM_REGISTRY");
}

// The registry store used from several threads at once.

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

// The real main window on a disk that has no room left: it opens, searches
// and shows pages, and only a write that has something new to store fails,
// with one message naming the file and the cause.
#include "DictionaryFixtures.h"
#include "HostedBrowser.h"
#include "ScriptRunner.h"
#include "ShellTexts.h"
#include "WebEngineControl.h"
#include "WindowFixture.h"

#include "WebPage.h"

#include <QLineEdit>
#include <QWebEnginePage>

#include <cerrno>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace vocab;

namespace {

// A small memory file system over `dir`, seen only by this thread and the
// processes it starts: the thread moves to a mount namespace of its own, so
// nothing of it outlives the test process. Needs the right to mount.
class SmallDisk {
public:
    explicit SmallDisk(QString dir) : m_dir(std::move(dir))
    {
        const QByteArray d = QFile::encodeName(m_dir);
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return;
        m_mounted = ::mount("tmpfs", d.constData(), "tmpfs", 0, "size=8m") == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir).constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }

    // Takes every byte left.
    bool fill() const
    {
        QFile filler(m_dir + "/filler");
        if (!filler.open(QIODevice::WriteOnly))
            return false;
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        filler.close();
        // What the buffers still held may have found room: the disk is full
        // once not one more byte goes in.
        QFile probe(m_dir + "/probe");
        const bool full = !probe.open(QIODevice::WriteOnly) || probe.write("x", 1) != 1 || !probe.flush();
        probe.close();
        QFile::remove(m_dir + "/probe");
        return full;
    }

private:
    QString m_dir;
    bool m_mounted = false;
};

class FullDiskWindow : public vocab::test::WindowFixture {
protected:
    QVariant evaluate(const QString &script)
    {
        auto *control = dynamic_cast<WebEngineControl *>(form->Emb->Control());
        return control ? runScriptAndWait(control->page(), script, 5000) : QVariant();
    }
    QString bold()
    {
        return evaluate("document.querySelector('b') ? document.querySelector('b').textContent : ''").toString();
    }
};

} // namespace

TEST_F(FullDiskWindow, OpensSearchesAndShowsPagesAndNamesTheOneWriteThatFails)
{
    SmallDisk disk(work.path());
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a file system of the test's own here";
    QDir::setCurrent(work.path());
    QDir(work.path()).mkpath("ConfigFiles/dictionaries");
    vocab::test::writeBytes(path("ConfigFiles/references.htm"), "<html><body>references</body></html>");
    vocab::test::FixtureFolder dir{work.path()};
    dir.writeAbout("folder", u"Словарь"_qs);
    dir.writeList("dic/folder/folder.ogl", {u"ДОМ"_qs, u"КОТ"_qs});
    dir.writeList("dic/folder/folder.uvs", {u"ДОМ, -а. Здание."_qs, u"КОТ - зверь."_qs});

    // A first start with room makes every file, installs the dictionary,
    // and closing saves the geometry.
    start();
    ASSERT_TRUE(boxes.empty()) << boxes.front().toStdString();
    form->close();
    form.reset();
    const QStringList files{"ConfigFiles/options.ini", "ConfigFiles/TreeView.trv", "ConfigFiles/TreeTemp.trv",
                            "ConfigFiles/history.trv", "ConfigFiles/graylist.trv",
                            "ConfigFiles/dictionaries/dictionaries.ogl", "ConfigFiles/dictionaries/dictionaries.uvs",
                            "ConfigFiles/dictionaries/dictionaries.dvc"};
    std::vector<QByteArray> before;
    for (const QString &file : files)
        before.push_back(vocab::test::readBytes(path(file)));
    ASSERT_TRUE(disk.fill());

    start();
    ASSERT_TRUE(form->StartupDone);
    EXPECT_TRUE(boxes.empty()) << "nothing new to store at start: " << boxes.front().toStdString();
    select(u"Словарь"_qs);
    edit()->setText(u"ко"_qs);
    Q_EMIT form->ComboBox1->userTextChanged(u"ко"_qs);
    EXPECT_TRUE(QTest::qWaitFor([&] { return bold() == u"КОТ"_qs; }, 20000)) << "the article page shows";
    EXPECT_TRUE(boxes.empty());

    // A word goes into the history: closing has to store it, and cannot.
    form->AddToHistory(u"кот"_qs);
    form->close();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], u"Не удаётся записать файл \"%1\": на диске нет места"_qs.arg(path("ConfigFiles/history.trv")));
    form.reset();
    for (qsizetype i = 0; i < files.size(); ++i)
        EXPECT_EQ(vocab::test::hex(vocab::test::readBytes(path(files[i]))), vocab::test::hex(before[std::size_t(i)]))
            << files[i].toStdString();
    EXPECT_EQ(QDir(path("ConfigFiles")).entryList(QDir::Hidden | QDir::Files).filter(".tmp-"), QStringList())
        << "no temporary left behind";
}

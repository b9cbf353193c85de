// The real program started where some of its files cannot be read or
// written: the start-up goes on with what it can read, each file that fails
// is named once in a run with its cause, what failed is not tried again for
// nothing at close, and nothing on disk is lost.
#include "ProgramRunner.h"

#include "IniFile.h"
#include "ListFile.h"

#include <QDirIterator>

#include <cerrno>
#include <cstring>

using namespace vocab;
using namespace vocab::test;

namespace {

class StartupFaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir(work.path()).mkpath("ConfigFiles/dictionaries");
        writeBytes(path("ConfigFiles/references.htm"), "<html><body>references</body></html>");
        // One dictionary under "dic" that the tree does not hold yet: the
        // start installs it.
        writeBytes(path("dic/folder/about.info"), ListFile::encode({u"Описание"_qs, u"Словарь"_qs}));
        writeBytes(path("dic/folder/folder.ogl"), ListFile::encode({u"дом"_qs, u"кот"_qs}));
        writeBytes(path("dic/folder/folder.uvs"), ListFile::encode({u"дом — жилище"_qs, u"кот — зверь"_qs}));
    }

    QString path(const QString &relative) const { return work.filePath(relative); }

    // A first start, which makes every file, and its end as a session ends
    // it, which saves the geometry too.
    void startFirstTime()
    {
        ProgramRunner first(work.path(), shared.path());
        first.start();
        ASSERT_TRUE(first.waitReady());
        ASSERT_TRUE(first.terminate());
        ASSERT_TRUE(first.messages().empty()) << messageTexts(first).join('\n').toStdString();
    }

    static std::vector<QByteArray> contents(const QStringList &files)
    {
        std::vector<QByteArray> bytes;
        for (const QString &file : files)
            bytes.push_back(readBytes(file));
        return bytes;
    }

    static void expectContents(const QStringList &files, const std::vector<QByteArray> &bytes)
    {
        for (qsizetype i = 0; i < files.size(); ++i)
            EXPECT_EQ(hex(readBytes(files[i])), hex(bytes[std::size_t(i)])) << files[i].toStdString();
    }

    // Every folder and file under the working folder, each file with its
    // bytes: what a run that may change nothing must leave as it found.
    QStringList onDisk() const
    {
        QStringList entries;
        QDirIterator it(work.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString name = QDir(work.path()).relativeFilePath(file);
            entries.append(QFileInfo(file).isDir() ? name + u'/' : name + u' ' + QString::fromStdString(hex(readBytes(file))));
        }
        entries.sort();
        return entries;
    }

    // Starts the program with its start-up noted: a load that cannot write
    // the tree's display copy is not seen by waitReady().
    void startNoted(ProgramRunner &program, const QString &times)
    {
        program.setEnvironment("VOCABULINARUM_STARTUP_TIMES", times);
        program.start();
    }

    // The whole load ran, up to the start page.
    static bool waitLoaded(ProgramRunner &program, const QString &times)
    {
        return program.waitUntil([&] {
            const QString noted = QString::fromUtf8(readBytes(times));
            return noted.contains(u"startup-load-done"_qs) && noted.contains(u"references.htm"_qs);
        });
    }

    QStringList messageTexts(const ProgramRunner &program) const
    {
        QStringList texts;
        for (const QJsonObject &box : program.messages())
            texts.append(box["text"].toString());
        return texts;
    }

    QTemporaryDir work;
    QTemporaryDir shared;
};

} // namespace

TEST_F(StartupFaults, AnUnwritableRegistryStoreShowsOneMessageAndTheLoadGoesOn)
{
    // The store's folder is a plain file: nothing can be made inside it,
    // whoever runs the program.
    writeBytes(shared.filePath("blocker"), "not a folder");
    const QString store = shared.filePath("blocker/registry.json");
    ProgramRunner program(work.path(), shared.path());
    program.setEnvironment("VOCABULINARUM_REGISTRY", store);
    program.start();
    ASSERT_TRUE(program.waitReady()) << messageTexts(program).join('\n').toStdString();

    const QStringList boxes = messageTexts(program);
    ASSERT_EQ(boxes.size(), 1) << boxes.join('\n').toStdString();
    EXPECT_TRUE(boxes[0].contains(store) && boxes[0].contains(QString::fromLocal8Bit(std::strerror(ENOTDIR))))
        << boxes[0].toStdString();
    // The dictionary was installed: its headwords are in the combined list
    // and it stands in the tree.
    EXPECT_EQ(ListFile::read(path("ConfigFiles/dictionaries/dictionaries.ogl")), (QStringList{u"дом"_qs, u"кот"_qs}));
    EXPECT_EQ(ListFile::read(path("ConfigFiles/TreeView.trv")),
              (QStringList{u"Все словари"_qs, u"Новые словари"_qs, u"\tСловарь=folder"_qs}));
    EXPECT_TRUE(QFileInfo::exists(path("ConfigFiles/history.trv")));
    EXPECT_TRUE(QFileInfo::exists(path("ConfigFiles/graylist.trv")));
    EXPECT_EQ(TIniFile(path("ConfigFiles/options.ini")).ReadInteger("List", "NumberVersion", 0), 149);

    ASSERT_TRUE(program.terminate());
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(messageTexts(program), boxes) << "closing wrote nothing more to the store";
}

TEST_F(StartupFaults, ReadOnlyOptionsListsAndTreeStartAsBeforeAndStayAsTheyWere)
{
    ASSERT_NO_FATAL_FAILURE(startFirstTime());
    const QStringList locked{path("ConfigFiles/options.ini"), path("ConfigFiles/TreeView.trv"),
                             path("ConfigFiles/history.trv"), path("ConfigFiles/graylist.trv"),
                             path("ConfigFiles/dictionaries/dictionaries.ogl"),
                             path("ConfigFiles/dictionaries/dictionaries.uvs"),
                             path("ConfigFiles/dictionaries/dictionaries.dvc")};
    ASSERT_NE(TIniFile(path("ConfigFiles/options.ini")).ReadInteger("size", "HeightSplitter", 113113), 113113);
    const std::vector<QByteArray> before = contents(locked);

    {
        ImmutableFiles readOnly(locked);
        if (!readOnly.made())
            GTEST_SKIP() << "chattr +i does not work here";
        ProgramRunner again(work.path(), shared.path());
        again.start();
        ASSERT_TRUE(again.waitReady()) << messageTexts(again).join('\n').toStdString();
        ASSERT_TRUE(again.terminate());
        EXPECT_EQ(again.exitCode(), 0);
        // Everything it wrote the first time holds already: no write was
        // needed, so none failed.
        EXPECT_TRUE(again.messages().empty()) << messageTexts(again).join('\n').toStdString();
    }
    expectContents(locked, before);
}

TEST_F(StartupFaults, AReadOnlyOptionsFileThatLacksAKeyNamesItsCauseOnce)
{
    // Only the list version is there: the page font's keys are to be added,
    // and the file refuses.
    const QByteArray options("[List]\r\nNumberVersion=149\r\n");
    writeBytes(path("ConfigFiles/options.ini"), options);
    ImmutableFiles readOnly({path("ConfigFiles/options.ini")});
    if (!readOnly.made())
        GTEST_SKIP() << "chattr +i does not work here";
    ProgramRunner program(work.path(), shared.path());
    program.start();
    ASSERT_TRUE(program.waitReady()) << messageTexts(program).join('\n').toStdString();
    const QStringList boxes = messageTexts(program);
    ASSERT_EQ(boxes.size(), 1) << boxes.join('\n').toStdString();
    EXPECT_EQ(boxes[0], u"Не удаётся заменить файл \"%1\": действие запрещено"_qs.arg(path("ConfigFiles/options.ini")));
    // The rest of the load ran: the dictionary is installed.
    EXPECT_EQ(ListFile::read(path("ConfigFiles/TreeView.trv")),
              (QStringList{u"Все словари"_qs, u"Новые словари"_qs, u"\tСловарь=folder"_qs}));
    ASSERT_TRUE(program.terminate());
    EXPECT_EQ(readBytes(path("ConfigFiles/options.ini")), options);
}

TEST_F(StartupFaults, AVanishedDictionaryOverAReadOnlyTreeAndOptionsNamesBothWritesAndTheLoadGoesOn)
{
    ASSERT_NO_FATAL_FAILURE(startFirstTime());
    // The installed dictionary's folder is gone: the tree is to lose its
    // line and the combined list to be marked incomplete, and neither file
    // takes a write.
    ASSERT_TRUE(QDir(path("dic/folder")).removeRecursively());
    const QStringList locked{path("ConfigFiles/options.ini"), path("ConfigFiles/TreeView.trv")};
    const std::vector<QByteArray> before = contents(locked);
    {
        ImmutableFiles readOnly(locked);
        if (!readOnly.made())
            GTEST_SKIP() << "chattr +i does not work here";
        ProgramRunner again(work.path(), shared.path());
        const QString times = shared.filePath("times.log");
        startNoted(again, times);
        ASSERT_TRUE(waitLoaded(again, times)) << messageTexts(again).join('\n').toStdString();
        const QStringList boxes = messageTexts(again);
        EXPECT_EQ(boxes, (QStringList{u"Не удаётся заменить файл \"%1\": действие запрещено"_qs.arg(locked[0]),
                                      u"Не удаётся заменить файл \"%1\": действие запрещено"_qs.arg(locked[1])}));
        ASSERT_TRUE(again.terminate());
        EXPECT_EQ(again.exitCode(), 0);
    }
    expectContents(locked, before);
}

TEST_F(StartupFaults, AFolderWhereTheOptionsFileShouldBeIsToldOnceInRussian)
{
    // Every read of the options gives its default, and every write meets
    // the folder: the list version and the page font at start, the
    // geometry at close (the tree holds the dictionary installed).
    ASSERT_TRUE(QDir(work.path()).mkpath("ConfigFiles/options.ini"));
    ProgramRunner program(work.path(), shared.path());
    program.start();
    ASSERT_TRUE(program.waitReady()) << messageTexts(program).join('\n').toStdString();
    const QStringList told{u"Не удаётся прочитать файл \"%1\": это папка, а не файл"_qs.arg(path("ConfigFiles/options.ini"))};
    EXPECT_EQ(messageTexts(program), told);
    EXPECT_EQ(ListFile::read(path("ConfigFiles/TreeView.trv")),
              (QStringList{u"Все словари"_qs, u"Новые словари"_qs, u"\tСловарь=folder"_qs}));
    ASSERT_TRUE(program.terminate());
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(messageTexts(program), told) << "closing told it no more";
    EXPECT_TRUE(QFileInfo(path("ConfigFiles/options.ini")).isDir());
    EXPECT_TRUE(QDir(path("ConfigFiles/options.ini")).isEmpty());
}

TEST_F(StartupFaults, AFirstStartInAReadOnlyFolderNamesEachFileOnceAndChangesNothing)
{
    // Nothing can be made in the configuration folders: a first start finds
    // every file missing, tries each on its own and goes on with empty
    // lists. In the second case the program's folder is closed too, and
    // "dic" is missing: the files after it are still tried.
    const QString create = u"Не удаётся создать файл \"%1\": действие запрещено"_qs;
    const QStringList configFiles{path("ConfigFiles/options.ini"), path("ConfigFiles/TreeView.trv"),
                                  path("ConfigFiles/dictionaries/dictionaries.ogl"),
                                  path("ConfigFiles/dictionaries/dictionaries.uvs"), path("ConfigFiles/history.trv"),
                                  path("ConfigFiles/graylist.trv"), path("ConfigFiles/TreeTemp.trv")};
    QStringList tellsEach;
    for (const QString &file : configFiles)
        tellsEach.append(create.arg(file));
    QStringList tellsDicToo = tellsEach;
    tellsDicToo.insert(1, u"Не удаётся создать папку \"%1\": действие запрещено"_qs.arg(path("dic")));

    struct Case {
        const char *name;
        bool withDic;
        QStringList locked;
        QStringList told;
    };
    const QStringList configFolders{path("ConfigFiles"), path("ConfigFiles/dictionaries")};
    const std::vector<Case> cases{
        {"read-only ConfigFiles, a dictionary to install", true, configFolders, tellsEach},
        {"read-only program folder, no dic", false, QStringList{work.path()} + configFolders, tellsDicToo},
    };
    for (const Case &c : cases) {
        if (!c.withDic) {
            ASSERT_TRUE(QDir(path("dic")).removeRecursively()) << c.name;
        }
        const QStringList before = onDisk();
        {
            ImmutableFiles readOnly(c.locked);
            if (!readOnly.made())
                GTEST_SKIP() << "chattr +i does not work here";
            QTemporaryDir runtime;
            ProgramRunner program(work.path(), runtime.path());
            const QString times = runtime.filePath("times.log");
            startNoted(program, times);
            ASSERT_TRUE(waitLoaded(program, times)) << c.name << '\n' << messageTexts(program).join('\n').toStdString();
            EXPECT_EQ(messageTexts(program), c.told) << c.name;
            ASSERT_TRUE(program.terminate()) << c.name;
            EXPECT_EQ(program.exitCode(), 0) << c.name;
            EXPECT_EQ(messageTexts(program), c.told) << c.name << ": closing wrote only what was loaded or changed";
        }
        EXPECT_EQ(onDisk(), before) << c.name;
    }
}

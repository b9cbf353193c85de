#include "DictionaryDeletion.h"

#include "MessageBoxes.h"
#include "TestSupport.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <set>

using namespace vocab;
using vocab::test::writeBytes;

namespace {

// Fails the removal of the entries with these names, as a file the user may
// not delete would.
class FailingRemover : public DirectoryEntryRemover {
public:
    explicit FailingRemover(std::set<std::string> names) : m_names(std::move(names)) {}
    bool remove(int dirFd, const char *name, bool directory) const override
    {
        const char *base = std::strrchr(name, '/');
        if (m_names.count(base ? base + 1 : name))
            return false;
        return DirectoryEntryRemover::remove(dirFd, name, directory);
    }

private:
    std::set<std::string> m_names;
};

class DictionaryDeletion : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = setMessageBoxResponder([this](const MessageBoxRequest &r) {
            boxes.push_back(r.text);
            return IDOK;
        });
    }
    void TearDown() override { setMessageBoxResponder(previous); }

    QString path(const QString &relative) const { return program.filePath(relative); }
    bool exists(const QString &relative) const { return QFileInfo(path(relative)).exists() || QFileInfo(path(relative)).isSymLink(); }

    // A dictionary with every kind of subfolder a dictionary has.
    void writeDictionary(const QString &folder)
    {
        for (const char *file : {"about.info", "engrus.ogl", "base/1.ogl", "base/1.uvs", "img/a.png", "categories/c.ogl"})
            writeBytes(path("dic/" + folder + "/" + file), "x");
    }

    QTemporaryDir program;
    QTemporaryDir outside;
    std::vector<QString> boxes;
    MessageBoxResponder previous;
};

} // namespace

TEST_F(DictionaryDeletion, RemovesTheFolderWithItsSubfolders)
{
    writeDictionary("engrus");
    writeDictionary("other");
    EXPECT_TRUE(DeleteDirectoryTree(DictionaryFolderToDelete(program.path(), "engrus"), u"Англо-русский"_qs));
    EXPECT_FALSE(exists("dic/engrus"));
    EXPECT_TRUE(exists("dic/other/base/1.ogl"));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DictionaryDeletion, MissingFolderCountsAsDeleted)
{
    EXPECT_TRUE(DeleteDirectoryTree(DictionaryFolderToDelete(program.path(), "gone"), "X"));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DictionaryDeletion, FolderIsFoundWhateverItsLetterCase)
{
    writeDictionary("EngRus");
    EXPECT_EQ(DictionaryFolderToDelete(program.path(), "engrus"), path("dic/EngRus"));
    EXPECT_EQ(DictionaryFolderToDelete(program.path(), "absent"), path("dic/absent"));
}

TEST_F(DictionaryDeletion, AFolderOtherThanTheOneReadFromIsNeverDeleted)
{
    // The program's own "dic" against the one the dictionaries are read
    // from, when the program was started outside its folder.
    writeDictionary("engrus");
    writeBytes(outside.filePath("dic/engrus/about.info"), "x");
    const QString own = path("dic/engrus");
    QFile::link(own, path("dic/alias"));
    struct Case {
        QString target;
        QString readFrom;
        bool refused;
    } cases[] = {
        {own, own, false},                                  // started in its folder
        {own, path("dic/alias"), false},                    // one folder by two names
        {own, outside.filePath("dic/engrus"), true},        // another dictionary of that name
        {path("dic/absent"), outside.filePath("dic/engrus"), true}, // nothing to delete, yet it would be said done
        {own, QString(), false},                            // read from nowhere: only the own folder is left
        {own, outside.filePath("dic/absent"), false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DeletesAnotherFolder(c.target, c.readFrom), c.refused) << c.target.toStdString() << " / " << c.readFrom.toStdString();
}

// Each refusal says what is so: another folder of that name in the program's
// own "dic", or none there at all.
TEST_F(DictionaryDeletion, ARefusalNamesWhatThereIsInTheProgramsOwnFolder)
{
    writeDictionary("engrus");
    writeBytes(outside.filePath("dic/engrus/about.info"), "x");
    const QString readFrom = outside.filePath("dic/engrus");
    QTemporaryDir bare; // a program folder without "dic"
    ASSERT_TRUE(QFile::link(outside.filePath("nothing"), path("dic/dangling")));
    const QString name = u"Словарь <b>Б</b>"_qs;
    struct Case {
        const char *what;
        QString target;
        QString readFrom;
        QString message;
    } cases[] = {
        {"started in its folder", path("dic/engrus"), path("dic/engrus"), QString()},
        {"read from nowhere", path("dic/engrus"), QString(), QString()},
        {"another folder of that name", path("dic/engrus"), readFrom, ForeignDictionaryFolderMessage(name)},
        {"no such folder", path("dic/absent"), readFrom, MissingDictionaryFolderMessage(name)},
        {"no dic at all", DictionaryFolderToDelete(bare.path(), "engrus"), readFrom, MissingDictionaryFolderMessage(name)},
        {"a link that leads nowhere", path("dic/dangling"), readFrom, MissingDictionaryFolderMessage(name)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RefusedDeletionMessage(c.target, c.readFrom, name), c.message) << c.what;
    EXPECT_EQ(MissingDictionaryFolderMessage(name),
              u"Словарь Словарь <b>Б</b> не удален: программа запущена не из своей папки, а в ее каталоге dic нет папки этого словаря."_qs);
    EXPECT_FALSE(MissingDictionaryFolderMessage(name).contains(u"другая папка"_qs));
}

TEST_F(DictionaryDeletion, NamesThatAreNotOneFolderAreRefused)
{
    writeDictionary("engrus");
    for (const QString name : {"", ".", "..", "../dic", "engrus/base", "a\\b"})
        EXPECT_TRUE(DictionaryFolderToDelete(program.path(), name).isEmpty()) << name.toStdString();
}

TEST_F(DictionaryDeletion, LinksAreRemovedAsLinksAndNeverFollowed)
{
    writeBytes(outside.filePath("keep.txt"), "keep");
    writeBytes(outside.filePath("sub/keep.txt"), "keep");
    writeDictionary("engrus");
    ASSERT_TRUE(QFile::link(outside.filePath("keep.txt"), path("dic/engrus/file-link")));
    ASSERT_TRUE(QFile::link(outside.path(), path("dic/engrus/base/folder-link")));
    ASSERT_TRUE(QFile::link(outside.filePath("nothing"), path("dic/engrus/dangling")));

    EXPECT_TRUE(DeleteDirectoryTree(DictionaryFolderToDelete(program.path(), "engrus"), "E"));
    EXPECT_FALSE(exists("dic/engrus"));
    EXPECT_TRUE(QFileInfo::exists(outside.filePath("keep.txt")));
    EXPECT_TRUE(QFileInfo::exists(outside.filePath("sub/keep.txt")));
}

TEST_F(DictionaryDeletion, LinkedDictionaryFolderLosesTheLinkOnly)
{
    writeBytes(outside.filePath("real/about.info"), "x");
    writeBytes(path("dic/.keep"), "");
    ASSERT_TRUE(QFile::link(outside.filePath("real"), path("dic/linked")));
    EXPECT_TRUE(DeleteDirectoryTree(DictionaryFolderToDelete(program.path(), "linked"), "L"));
    EXPECT_FALSE(exists("dic/linked"));
    EXPECT_TRUE(QFileInfo::exists(outside.filePath("real/about.info")));
}

TEST_F(DictionaryDeletion, PlainFileInPlaceOfTheFolderIsLeftAloneAndAFailure)
{
    writeBytes(path("dic/file"), "x");
    EXPECT_FALSE(DeleteDirectoryTree(DictionaryFolderToDelete(program.path(), "file"), "F"));
    EXPECT_TRUE(exists("dic/file"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], CannotDeleteDictionaryMessage("F"));
}

// Puts the folders of these names on another device, as a file system mounted
// there would be.
class MountingRemover : public DirectoryEntryRemover {
public:
    explicit MountingRemover(std::set<std::string> mounted) : m_mounted(std::move(mounted)) {}
    unsigned long long device(int dirFd, const char *name, const struct stat &st) const override
    {
        const unsigned long long own = DirectoryEntryRemover::device(dirFd, name, st);
        return m_mounted.count(name) ? own + 1 : own;
    }

private:
    std::set<std::string> m_mounted;
};

TEST_F(DictionaryDeletion, AFileSystemMountedInsideIsNeitherEnteredNorRemoved)
{
    // A mount point at the top and one deep down: the deletion stops there
    // with the message, and what the mounted folder holds stays.
    struct Case {
        std::string mounted;
        QString inside;
    };
    for (const Case &c : {Case{"img", "dic/engrus/img/a.png"}, Case{"base", "dic/engrus/base/1.ogl"}}) {
        boxes.clear();
        writeDictionary("engrus");
        EXPECT_FALSE(DeleteDirectoryTree(DictionaryFolderToDelete(program.path(), "engrus"), u"Англо-русский"_qs,
                                         MountingRemover({c.mounted})))
            << c.mounted;
        EXPECT_TRUE(exists(c.inside)) << c.mounted;
        EXPECT_TRUE(exists("dic/engrus")) << c.mounted;
        ASSERT_EQ(boxes.size(), 1u) << c.mounted;
        EXPECT_EQ(boxes[0], CannotDeleteDictionaryMessage(u"Англо-русский"_qs));
    }
    // The same device all through is deleted as before.
    boxes.clear();
    EXPECT_TRUE(DeleteDirectoryTree(DictionaryFolderToDelete(program.path(), "engrus"), "E", MountingRemover({})));
    EXPECT_FALSE(exists("dic/engrus"));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DictionaryDeletion, FailureStopsWithOneMessageNamingTheDictionary)
{
    struct Case {
        std::string failing;
        QString kept;
    };
    // A file at the top and one deep in a subfolder: either way one message,
    // the entry and the folder stay.
    for (const Case &c : {Case{"about.info", "dic/engrus/about.info"}, Case{"1.uvs", "dic/engrus/base/1.uvs"}}) {
        boxes.clear();
        writeDictionary("engrus");
        EXPECT_FALSE(DeleteDirectoryTree(DictionaryFolderToDelete(program.path(), "engrus"), u"Англо-русский"_qs,
                                         FailingRemover({c.failing})));
        EXPECT_TRUE(exists(c.kept)) << c.failing;
        ASSERT_EQ(boxes.size(), 1u) << c.failing;
        EXPECT_EQ(boxes[0], u"Не удается удалить словарь\r\nАнгло-русский.\r\nПопробуйте запустить Vocabulinarum с правами администратора."_qs);
    }
}

// Writing a file whole or not at all, and the cause a failed write names.
#include "AtomicFileWrite.h"
#include "FileErrorCause.h"
#include "ListFile.h"

#include "AppError.h"
#include "TestSupport.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <functional>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vocab;
using vocab::test::errorOf;
using vocab::test::FileSizeLimit;
using vocab::test::hex;
using vocab::test::readBytes;
using vocab::test::writeBytes;

namespace {

QString platformText(int errorNumber) { return QString::fromLocal8Bit(std::strerror(errorNumber)); }

// Checks file access as the user "nobody" on this thread while it lives, so
// that a folder closed to others refuses root too.
class AsNobody {
public:
    AsNobody()
    {
        if (::geteuid() == 0) {
            ::setfsgid(65534);
            ::setfsuid(65534);
            m_switched = true;
        }
    }
    ~AsNobody()
    {
        if (m_switched) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
    }

private:
    bool m_switched = false;
};

} // namespace

TEST(FileErrorCause, TheCausesPeopleMeetInRussianTheRestAsThePlatformSaysThem)
{
    const std::vector<std::pair<int, QString>> cases{
        {ENOSPC, u"на диске нет места"_qs},
        {EACCES, u"нет прав доступа"_qs},
        {EPERM, u"действие запрещено"_qs},
        {EROFS, u"файловая система доступна только для чтения"_qs},
        {ENOENT, u"нет такого файла или папки"_qs},
        {EISDIR, u"это папка, а не файл"_qs},
        {EIO, u"ошибка ввода-вывода"_qs},
        {EFBIG, u"файл слишком велик"_qs},
        {ENOTDIR, platformText(ENOTDIR)},
        {ELOOP, platformText(ELOOP)},
    };
    for (const auto &[errorNumber, text] : cases)
        EXPECT_EQ(FileErrorCause(errorNumber), text) << errorNumber;

    // A Qt file's failure comes back to the same words.
    QTemporaryDir dir;
    QFile missing(dir.filePath("missing.trv"));
    ASSERT_FALSE(missing.open(QIODevice::ReadOnly));
    EXPECT_EQ(FileErrorCause(missing), u"нет такого файла или папки"_qs);
    writeBytes(dir.filePath("file"), "x");
    QFile throughFile(dir.filePath("file/list.trv"));
    ASSERT_FALSE(throughFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(FileErrorCause(throughFile), platformText(ENOTDIR));
    // Qt refuses a folder before the system is asked, in words of its own.
    QFile folder(dir.path());
    ASSERT_FALSE(folder.open(QIODevice::ReadOnly));
    EXPECT_EQ(FileErrorCause(folder), u"это папка, а не файл"_qs) << folder.errorString().toStdString();
    EXPECT_EQ(errorOf([&] { ListFile::read(dir.filePath("missing.trv")); }),
              u"Не удаётся открыть файл \"%1\": нет такого файла или папки"_qs.arg(dir.filePath("missing.trv")));
}

TEST(AtomicFileWrite, EveryFailureNamesTheFileAndItsRealCauseAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString old = dir.filePath("dictionaries.ogl");
    const QByteArray oldBytes = ListFile::encode({u"старое"_qs, "words"});
    writeBytes(old, oldBytes);
    writeBytes(dir.filePath("file"), "x");
    QDir(dir.path()).mkdir("folder");
    QDir(dir.path()).mkdir("closed");
    ::chmod(QFile::encodeName(dir.filePath("closed")).constData(), 0555);
    const QByteArray small = ListFile::encode({"new"});
    const QByteArray large = ListFile::encode(vocab::test::numberedLines(20000));

    struct Case {
        const char *name;
        QString path;
        QByteArray bytes;
        QString message;
        std::function<bool()> arrange; // false: cannot be arranged here
    };
    const QString create = u"Не удаётся создать файл \"%1\": %2"_qs;
    const QString write = u"Не удаётся записать файл \"%1\": %2"_qs;
    std::unique_ptr<FileSizeLimit> limit;
    std::unique_ptr<AsNobody> nobody;
    const std::vector<Case> cases{
        {"missing folder", dir.filePath("nofolder/list.trv"), small,
         create.arg(dir.filePath("nofolder/list.trv"), u"нет такого файла или папки"_qs), {}},
        {"a file where a folder should be", dir.filePath("file/list.trv"), small,
         create.arg(dir.filePath("file/list.trv"), platformText(ENOTDIR)), {}},
        {"a folder in the file's place", dir.filePath("folder"), small, write.arg(dir.filePath("folder"), u"это папка, а не файл"_qs), {}},
        {"a folder closed to the writer", dir.filePath("closed/list.trv"), small,
         create.arg(dir.filePath("closed/list.trv"), u"нет прав доступа"_qs), [&] {
             nobody = std::make_unique<AsNobody>();
             return true;
         }},
        // The disk takes none of a small text and only part of a large one;
        // the part written must not lose the cause.
        {"no room for a small text", old, small, write.arg(old, u"файл слишком велик"_qs), [&] {
             limit = std::make_unique<FileSizeLimit>(0);
             return limit->set();
         }},
        {"room for part of a large text", old, large, write.arg(old, u"файл слишком велик"_qs), [&] {
             limit = std::make_unique<FileSizeLimit>(4096);
             return limit->set();
         }},
    };
    for (const Case &c : cases) {
        if (c.arrange && !c.arrange()) {
            ADD_FAILURE() << c.name << ": cannot be arranged";
            continue;
        }
        EXPECT_EQ(errorOf([&] { WriteFileAtomically(c.path, c.bytes); }), c.message) << c.name;
        limit.reset();
        nobody.reset();
        EXPECT_EQ(hex(readBytes(old)), hex(oldBytes)) << c.name;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"dictionaries.ogl", "file"}))
            << c.name << ": no temporary left";
    }
    ::chmod(QFile::encodeName(dir.filePath("closed")).constData(), 0755);

    // A file nobody may change, root included.
    vocab::test::ImmutableFiles locked({old});
    if (!locked.made())
        GTEST_SKIP() << "chattr +i does not work here";
    EXPECT_EQ(errorOf([&] { WriteFileAtomically(old, small); }),
              u"Не удаётся заменить файл \"%1\": действие запрещено"_qs.arg(old));
    EXPECT_EQ(hex(readBytes(old)), hex(oldBytes));
}

TEST(AtomicFileWrite, WritingBackWhatTheFileHoldsNeedsNoRoomAndKeepsTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("TreeView.trv");
    const QByteArray bytes = ListFile::encode({u"Все словари"_qs, u"\tСловарь=folder"_qs});
    writeBytes(path, bytes);
    struct stat before = {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
    {
        FileSizeLimit full(0);
        ASSERT_TRUE(full.set());
        EXPECT_NO_THROW(WriteFileAtomically(path, bytes));
        EXPECT_THROW(WriteFileAtomically(path, bytes + "x"), FileError) << "a change still needs the disk";
        QByteArray sameSizeOtherText = bytes;
        sameSizeOtherText[sameSizeOtherText.size() - 3] = 'X';
        EXPECT_THROW(WriteFileAtomically(path, sameSizeOtherText), FileError);
    }
    struct stat after = {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the file was not replaced";
    EXPECT_EQ(readBytes(path), bytes);
}

TEST(AtomicFileWrite, TheNewFileKeepsTheOldOnesModeAndALinkStaysALink)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("options.ini");
    writeBytes(target, "old");
    ::chmod(QFile::encodeName(target).constData(), 0640);
    const QString link = dir.filePath("link.ini");
    ASSERT_TRUE(QFile::link(target, link));
    WriteFileAtomically(link, "new");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readBytes(target), QByteArray("new"));
    struct stat st = {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

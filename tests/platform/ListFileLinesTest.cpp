#include "ListFileLines.h"

#include "AppError.h"
#include "LineList.h"
#include "ListFile.h"
#include "TestSupport.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>

#include <functional>
#include <optional>
#include <string>

using namespace vocab;
using vocab::test::hex;
using namespace Qt::StringLiterals;

namespace {

QByteArray utf16(const QString &s, bool bigEndian)
{
    QByteArray out;
    for (QChar c : s) {
        const char hi = char(c.unicode() >> 8);
        const char lo = char(c.unicode() & 0xFF);
        out.append(bigEndian ? hi : lo);
        out.append(bigEndian ? lo : hi);
    }
    return out;
}

const QByteArray kMark("\xEF\xBB\xBF");
const QByteArray kLeMark("\xFF\xFE", 2);
const QByteArray kBeMark("\xFE\xFF", 2);
const QString kZwnbsp(QChar(0xFEFF));

struct FileCase {
    std::string name;
    QByteArray bytes;
    QStringList lines;
};

// A line of n characters that tells its number.
QString numbered(int i, int n)
{
    QString line = QString::number(i) + u' ';
    while (line.size() < n)
        line += u'ж';
    return line;
}

// Where one read of a pass over the lines of a file ends and the next
// begins, counted from the file's start: a pass from the first line starts
// just after the mark, and each read takes the reader's own size for it.
// Through the reads that grow and two of the largest size.
std::vector<qint64> chunkSeams(qint64 markSize)
{
    std::vector<qint64> seams;
    qint64 at = markSize;
    int k = 0;
    do {
        at += ListFileLines::ScanChunkBytes(k);
        seams.push_back(at);
    } while (ListFileLines::ScanChunkBytes(k++) < ListFileLines::LastScanChunkBytes);
    seams.push_back(at + ListFileLines::ScanChunkBytes(k));
    return seams;
}

// Breaks on the seams between two reads, where a CR at the end of one read
// may have its LF at the start of the next: a first line long enough to end
// there, in UTF-8 and in UTF-16.
std::vector<FileCase> seamCases()
{
    std::vector<FileCase> cases;
    const auto filler = [](qint64 bytes) { return QByteArray(bytes, 'x'); };
    const auto at = [](const char *what, qint64 seam) { return std::string(what) + " at " + std::to_string(seam); };
    for (const qint64 seam : chunkSeams(kMark.size())) {
        const qint64 fill = seam - kMark.size();
        const QString x1 = QString::fromLatin1(filler(fill - 1));
        const QString x2 = QString::fromLatin1(filler(fill - 2));
        // CR last in a read, LF first in the next.
        cases.push_back({at("CR | LF", seam), kMark + filler(fill - 1) + "\r\nafter\r\n\rlast", {x1, "after", "", "last"}});
        // A lone CR last in a read: the next line begins the next read.
        cases.push_back({at("CR | text", seam), kMark + filler(fill - 1) + "\rnext\nlast", {x1, "next", "last"}});
        // A lone CR last in a read, an empty line's LF first in the next.
        cases.push_back({at("CR | LF CR", seam), kMark + filler(fill - 1) + "\r\n\rlast", {x1, "", "last"}});
        // The whole CR LF last in a read.
        cases.push_back({at("CR LF |", seam), kMark + filler(fill - 2) + "\r\nnext", {x2, "next"}});
    }
    for (const qint64 seam : chunkSeams(kLeMark.size())) {
        const qint64 units = (seam - kLeMark.size()) / 2;
        const QString x = QString(units - 1, u'ы');
        cases.push_back({at("UTF-16LE CR | LF", seam), kLeMark + utf16(x + u"\r\nпосле\r"_s, false), {x, u"после"_s}});
        cases.push_back({at("UTF-16BE CR | text", seam), kBeMark + utf16(x + u"\rдальше"_s, true), {x, u"дальше"_s}});
    }
    return cases;
}

// Files whose breaks fall where reading them in pieces could go wrong: on
// the seams between the reads of a pass, lines past many kept starts, all
// three breaks mixed, two-byte text.
std::vector<FileCase> fileCases()
{
    std::vector<FileCase> cases = {
        {"empty file", "", {}},
        {"mark only", kMark, {}},
        {"one line without break", "a", {"a"}},
        {"a lone break is one empty line", "\r\n", {""}},
        {"final CR", "a\rb\r", {"a", "b"}},
        {"mixed breaks and empty lines", "a\rb\nc\r\n\r\nd\n\re", {"a", "b", "c", "", "d", "", "e"}},
        {"ANSI", QByteArray("\xCA\xCE\xD2\r\n\xC0"), {u"КОТ"_s, u"А"_s}},
        {"UTF-16LE", kLeMark + utf16(u"Ёж\r\nb\rc\n"_s, false), {u"Ёж"_s, "b", "c"}},
        {"UTF-16BE", kBeMark + utf16(u"Ёж\nb"_s, true), {u"Ёж"_s, "b"}},
    };
    // Lines of 1 000 bytes and more in UTF-8, 300 of them, over several reads.
    QByteArray big = kMark;
    QStringList bigLines;
    for (int i = 0; i < 300; ++i) {
        const QString line = numbered(i, 500 + i % 7);
        bigLines.append(line);
        big += line.toUtf8();
        big += i % 3 == 0 ? "\n" : "\r\n";
    }
    cases.push_back({"300 long lines", big, bigLines});
    for (FileCase &c : seamCases())
        cases.push_back(std::move(c));
    QByteArray many = kMark;
    QStringList manyLines;
    for (int i = 0; i < 1000; ++i) {
        manyLines.append(QString::number(i));
        many += QByteArray::number(i) + (i % 2 ? "\r" : "\n");
    }
    cases.push_back({"1 000 short lines", many, manyLines});
    return cases;
}

class ListFileLinesTest : public ::testing::Test {
protected:
    void SetUp() override { ListFileLines::ForgetKeptTables(); }

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        vocab::test::writeBytes(path, bytes);
        return path;
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(ListFileLinesTest, AnyLinesReadAsTheWholeFileGivesThem)
{
    for (const FileCase &c : fileCases()) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(ListFile::decode(c.bytes), c.lines);
        const QString path = write(QStringLiteral("f.uvs"), c.bytes);
        // Asked for in a mixed order, so that some lines are found from a
        // start kept by an earlier read and some past the last one known.
        const ListFileLines lines = ListFileLines::Open(path);
        const qsizetype n = c.lines.size();
        for (qsizetype first : {n / 2, qsizetype(0), n - 1, n / 3, n, n + 5, qsizetype(33), qsizetype(31)}) {
            for (qsizetype count : {1, 2, 40}) {
                EXPECT_EQ(lines.Lines(first, count), c.lines.mid(first, count)) << first << "+" << count;
            }
        }
        EXPECT_EQ(lines.size(), n);
        EXPECT_EQ(lines.ToStringList(), c.lines);
        EXPECT_EQ(lines.Line(n - 1), n > 0 ? std::optional<QString>(c.lines.last()) : std::nullopt);
        EXPECT_EQ(lines.Line(n), std::nullopt);
        EXPECT_EQ(lines.isEmpty(), n == 0);
        // The table kept from this file serves the next list of it.
        EXPECT_EQ(ListFileLines::Open(path).ToStringList(), c.lines);
        EXPECT_EQ(ListFile::readLines(path, n / 2, 3), c.lines.mid(n / 2, 3));
        QFile::remove(path);
    }
}

// Another program changes an open file. Whatever it does, reading goes on:
// the lines that are left are read as they are now, the others are missing.
TEST_F(ListFileLinesTest, AFileCutShortReplacedOrDeletedWhileOpenIsReadAsItIsNow)
{
    QStringList text;
    QByteArray bytes = kMark;
    for (int i = 0; i < 400; ++i) {
        text.append(numbered(i, 900));
        bytes += text.last().toUtf8() + "\r\n";
    }
    const QString path = write(QStringLiteral("a.uvs"), bytes);
    const ListFileLines lines = ListFileLines::Open(path);
    ASSERT_EQ(lines.Line(350), text[350]);

    // Cut in the middle of line 200.
    const qsizetype cut = bytes.indexOf(text[200].toUtf8()) + 10;
    ASSERT_TRUE(QFile::resize(path, cut));
    EXPECT_EQ(lines.Line(350), std::nullopt);
    EXPECT_EQ(lines.Line(199), text[199]);
    const QString left = QString::fromUtf8(text[200].toUtf8().left(10));
    EXPECT_EQ(lines.Line(200), left) << "what is left of the last line";
    EXPECT_EQ(lines.Lines(198, 5), text.mid(198, 2) + QStringList{left});
    EXPECT_EQ(lines.size(), 201);
    EXPECT_EQ(ListFile::readLines(path, 300, 1), QStringList());

    ASSERT_TRUE(QFile::resize(path, 0));
    EXPECT_EQ(lines.Line(0), std::nullopt);
    EXPECT_TRUE(lines.isEmpty());

    // Grown again with other lines: they are read, not the ones before.
    vocab::test::writeBytes(path, kMark + "один\r\nдва\r\n");
    EXPECT_EQ(lines.Lines(0, 5), (QStringList{u"один"_s, u"два"_s}));

    // Replaced by another file under its name: the list reads the file it
    // opened; a list opened now reads the new one.
    const ListFileLines before = ListFileLines::Open(path);
    ASSERT_EQ(before.Line(1), u"два"_s);
    ListFile::write(path, {u"новый"_s});
    EXPECT_EQ(before.Line(1), u"два"_s);
    EXPECT_EQ(ListFileLines::Open(path).ToStringList(), QStringList{u"новый"_s});

    // Deleted: the open file still reads; opening it again is an error.
    const ListFileLines deleted = ListFileLines::Open(path);
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(deleted.Line(0), u"новый"_s);
    EXPECT_THROW(ListFileLines::Open(path), FileError);
    EXPECT_THROW(ListFile::readLines(path, 0, 1), FileError);
}

// Another program writes other lines of the same total size over a file and
// puts its old modification time back, as cp -p, tar and rsync -t do: the
// lines are read where they stand now, by an open list and by a list opened
// afterwards.
TEST_F(ListFileLinesTest, AFileRewrittenToItsSizeWithItsTimePutBackIsReadAsItIsNow)
{
    // Lines of 600 bytes but one of 3 000, first and then last: every line
    // after the first begins some four lines' length earlier, and the files
    // are of one size.
    const auto text = [](const QString &word, int longLine) {
        QStringList lines;
        for (int i = 0; i < 200; ++i) {
            QString line = word + QString::number(i) + u' ';
            line += QString((i == longLine ? 3000 : 600) - line.toUtf8().size(), u'z');
            lines.append(line);
        }
        return lines;
    };
    const QStringList before = text(u"до "_s, 0);
    const QStringList after = text(u"после "_s, 199);
    ASSERT_EQ(ListFile::encode(before).size(), ListFile::encode(after).size());

    enum class Rewrite { InPlace, DeletedAndMadeAgain };
    for (const Rewrite how : {Rewrite::InPlace, Rewrite::DeletedAndMadeAgain}) {
        SCOPED_TRACE(how == Rewrite::InPlace ? "rewritten in place" : "deleted and made again");
        ListFileLines::ForgetKeptTables();
        const QString path = write(QStringLiteral("r.uvs"), ListFile::encode(before));
        const QByteArray native = QFile::encodeName(path);
        struct stat old {};
        ASSERT_EQ(::stat(native.constData(), &old), 0);
        {
            const ListFileLines lines = ListFileLines::Open(path);
            ASSERT_EQ(lines.Line(199), before[199]);
            ASSERT_EQ(lines.Line(101), before[101]);
        }
        std::optional<ListFileLines> open;
        if (how == Rewrite::InPlace) {
            open = ListFileLines::Open(path);
            ASSERT_EQ(open->Line(150), before[150]);
        }

        // Written again until the clock that stamps changes has moved on
        // from the first writing.
        struct stat now {};
        const QDeadlineTimer deadline(10000);
        do {
            if (how == Rewrite::DeletedAndMadeAgain) {
                ASSERT_TRUE(QFile::remove(path));
            }
            write(QStringLiteral("r.uvs"), ListFile::encode(after));
            const struct timespec times[2] = {old.st_atim, old.st_mtim};
            ASSERT_EQ(::utimensat(AT_FDCWD, native.constData(), times, 0), 0);
            ASSERT_EQ(::stat(native.constData(), &now), 0);
            ASSERT_FALSE(deadline.hasExpired()) << "the time of change never moved";
        } while (now.st_ctim.tv_sec == old.st_ctim.tv_sec && now.st_ctim.tv_nsec == old.st_ctim.tv_nsec);
        ASSERT_EQ(now.st_size, old.st_size);
        ASSERT_EQ(now.st_mtim.tv_sec, old.st_mtim.tv_sec);
        ASSERT_EQ(now.st_mtim.tv_nsec, old.st_mtim.tv_nsec);
        if (how == Rewrite::InPlace) {
            ASSERT_EQ(now.st_ino, old.st_ino);
        }

        if (open) {
            EXPECT_EQ(open->Line(151), after[151]);
            EXPECT_EQ(open->Lines(100, 3), after.mid(100, 3));
        }
        const ListFileLines again = ListFileLines::Open(path);
        EXPECT_EQ(again.Line(199), after[199]);
        EXPECT_EQ(again.Line(101), after[101]);
        EXPECT_EQ(again.ToStringList(), after);
        EXPECT_EQ(ListFile::readLines(path, 121, 2), after.mid(121, 2));
    }
}

TEST_F(ListFileLinesTest, AFolderOrAMissingFileIsAnError)
{
    EXPECT_THROW(ListFileLines::Open(dir.filePath(QStringLiteral("none.uvs"))), FileError);
    EXPECT_THROW(ListFileLines::Open(dir.path()).Lines(0, 1), FileError);
    const ListFileLines closed;
    EXPECT_EQ(closed.Lines(0, 1), QStringList());
    EXPECT_EQ(closed.size(), 0);
}

// Only the file's first mark is its mark: every reader keeps a U+FEFF after
// it, at the start of a line as elsewhere, and a line that is only U+FEFF is
// a line.
TEST_F(ListFileLinesTest, OneRuleForTheMarkInEveryReader)
{
    const std::vector<FileCase> cases = {
        {"UTF-8 file that begins with two marks", kMark + kMark + u"КОТ\r\nПЁС\r\n"_s.toUtf8(),
         {kZwnbsp + u"КОТ"_s, u"ПЁС"_s}},
        {"UTF-8 lines that are only the mark", kMark + "A\r\n" + kMark + "\r\nB\r\n" + kMark,
         {"A", kZwnbsp, "B", kZwnbsp}},
        {"UTF-8 mark at the start of a later line", kMark + "A\r\n" + kMark + "B", {"A", kZwnbsp + "B"}},
        {"UTF-16LE file that begins with two marks", kLeMark + kLeMark + utf16(u"КОТ\r\n"_s + kZwnbsp, false),
         {kZwnbsp + u"КОТ"_s, kZwnbsp}},
        {"UTF-16BE line that is only the mark", kBeMark + utf16(u"A\n"_s + kZwnbsp + u"\nB"_s, true),
         {"A", kZwnbsp, "B"}},
    };
    using Reader = std::function<QStringList(const QString &)>;
    const std::vector<std::pair<const char *, Reader>> readers = {
        {"ListFile::read", [](const QString &p) { return ListFile::read(p); }},
        {"LineList::Read", [](const QString &p) { return LineList::Read(p).ToStringList(); }},
        {"ListFile::readLines", [](const QString &p) { return ListFile::readLines(p, 0, 100); }},
        {"ListFile::readLines a line at a time",
         [](const QString &p) {
             QStringList out;
             for (int i = 0;; ++i) {
                 const QStringList line = ListFile::readLines(p, i, 1);
                 if (line.isEmpty())
                     return out;
                 out += line;
             }
         }},
        {"ListFile::decodeLines", [](const QString &p) { return ListFile::decodeLines(ListFile::readBytes(p), 0, 100); }},
        {"ListFile::decodeLines from the second line",
         [](const QString &p) { return ListFile::read(p).mid(0, 1) + ListFile::decodeLines(ListFile::readBytes(p), 1, 100); }},
        {"ListFileLines", [](const QString &p) { return ListFileLines::Open(p).ToStringList(); }},
    };
    for (const FileCase &c : cases) {
        const QString path = write(QStringLiteral("m.ogl"), c.bytes);
        for (const auto &[name, read] : readers)
            EXPECT_EQ(read(path), c.lines) << c.name << ", " << name;
        // Where a line stands, as the all-dictionaries page looks for it.
        for (qsizetype i = 0; i < c.lines.size(); ++i) {
            const ListFile::LineRun run = ListFile::readLineRun(path, c.lines[i]);
            EXPECT_EQ(run.first, c.lines.indexOf(c.lines[i])) << c.name << ", line " << i;
        }
        EXPECT_EQ(ListFile::readLineRun(path, c.lines[0].mid(1)).first, c.lines.indexOf(c.lines[0].mid(1)))
            << c.name << ": the line without its mark";
        QFile::remove(path);
    }
}

// Each line is written alone: a surrogate left open at the end of a line is
// replaced as writing that line alone replaces it, never paired with the
// start of the next line.
TEST(LineListEncode, ALoneSurrogateStaysInItsLine)
{
    const QString high(QChar(0xD83D));
    const QString low(QChar(0xDE00));
    const std::vector<QStringList> cases = {
        {u"a"_s + high, low + u"b"_s},
        {high, low},
        {low + high, u"ок"_s + high + low},
        {u"смайл "_s + high + low, high},
    };
    for (const QStringList &lines : cases) {
        const LineList list = LineList::FromLines(lines);
        EXPECT_EQ(hex(list.Encode()), hex(ListFile::encode(lines))) << lines.join(u'|').toStdString();
        QByteArray some;
        list.AppendEncoded(some, 1, 1);
        EXPECT_EQ(hex(some), hex(ListFile::encode({lines[1]}).mid(3)));
    }
    EXPECT_EQ(hex(LineList::FromLines({u"a"_s + high, low + u"b"_s}).Encode()), hex(kMark + "a?\r\n?b\r\n"));
}

// The scan the one-dictionary search makes: the first line from a start on
// that begins with the key, against a plain comparison of every line.
TEST(LineListSearch, FirstLineBeginningWithTheKey)
{
    const QStringList lines{u"А"_s, u""_s, u"АБ"_s, u"АБАЖУР"_s, u"Б"_s, u"АБАК"_s, u"ВАЛ"_s, u"АБА"_s, u"Я"_s};
    const LineList list = LineList::FromLines(lines);
    QStringList keys{u""_s, u"АБАКА"_s, u"Ж"_s, u"АA"_s};
    for (const QString &line : lines) {
        for (qsizetype n = 1; n <= line.size(); ++n)
            keys.append(line.left(n));
    }
    for (const QString &key : keys) {
        for (qsizetype from = -1; from <= lines.size() + 1; ++from) {
            qsizetype expected = -1;
            for (qsizetype i = std::max<qsizetype>(from, 0); i < lines.size() && expected < 0; ++i) {
                if (lines[i].startsWith(key))
                    expected = i;
            }
            EXPECT_EQ(list.FirstBeginningWith(key, from), expected) << key.toStdString() << " from " << from;
            for (qsizetype to = std::max<qsizetype>(from, 0); to <= lines.size() + 1; ++to) {
                const qsizetype within = expected >= 0 && expected < to ? expected : -1;
                EXPECT_EQ(list.FirstBeginningWith(key, from, to), within)
                    << key.toStdString() << " from " << from << " to " << to;
            }
        }
    }
    EXPECT_EQ(LineList().FirstBeginningWith(u"А"_s), -1);
    EXPECT_EQ(LineList().FirstBeginningWith(QString()), -1);
}

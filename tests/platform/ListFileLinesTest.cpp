#include "ListFileLines.h"

#include "AppError.h"
#include "LineList.h"
#include "ListFile.h"
#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <functional>

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
    const char *name;
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

// Files whose breaks fall where reading them in pieces could go wrong: a
// CR LF split across two reads of 256 KB, lines past many kept starts, all
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
    // Lines of 1 000 bytes and more in UTF-8, 300 of them, with the one
    // break that straddles the first read of 256 KB.
    QByteArray big = kMark;
    QStringList bigLines;
    for (int i = 0; i < 300; ++i) {
        const QString line = numbered(i, 500 + i % 7);
        bigLines.append(line);
        big += line.toUtf8();
        big += i % 3 == 0 ? "\n" : "\r\n";
    }
    cases.push_back({"300 long lines", big, bigLines});
    QByteArray split = kMark;
    QStringList splitLines;
    const QByteArray filler(256 * 1024 - 3 - 1, 'x');
    split += filler + "\r\n" + "after\r\n" + "\r" + "last";
    splitLines = {QString::fromLatin1(filler), "after", "", "last"};
    cases.push_back({"CR LF across two reads", split, splitLines});
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

#include "ListFile.h"

#include "AppError.h"
#include "LineList.h"
#include "TestSupport.h"

#include <unistd.h>

using namespace vocab;
using vocab::test::FileSizeLimit;
using vocab::test::hex;

namespace {

struct DecodeCase {
    const char *name;
    QByteArray bytes;
    QStringList lines;
};

QByteArray utf16le(const QString &s, bool mark)
{
    QByteArray out = mark ? QByteArray("\xFF\xFE", 2) : QByteArray();
    for (QChar c : s) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    return out;
}

QByteArray utf16be(const QString &s)
{
    QByteArray out("\xFE\xFF", 2);
    for (QChar c : s) {
        out.append(char(c.unicode() >> 8));
        out.append(char(c.unicode() & 0xFF));
    }
    return out;
}

const QByteArray kMark("\xEF\xBB\xBF");

} // namespace

const std::vector<DecodeCase> &decodeCases()
{
    static const std::vector<DecodeCase> cases = {
        {"empty file", "", {}},
        {"mark only", kMark, {}},
        {"one line without break", "a", {"a"}},
        {"final CR LF adds no line", "a\r\n", {"a"}},
        {"blank line before final break", "a\r\n\r\n", {"a", ""}},
        {"a lone break is one empty line", "\r\n", {""}},
        {"mixed breaks", "a\rb\nc\r\nd", {"a", "b", "c", "d"}},
        {"LF CR is two breaks", "a\n\rb", {"a", "", "b"}},
        {"lone CR at end", "a\r", {"a"}},
        {"UTF-8 with mark", kMark + u"Все\r\nслова"_qs.toUtf8(), {u"Все"_qs, u"слова"_qs}},
        {"UTF-8 with mark and a final break", kMark + u"Все\r\nслова\r\n"_qs.toUtf8(), {u"Все"_qs, u"слова"_qs}},
        {"no mark reads Windows-1251", QByteArray("\xC2\xF1\xE5\r\n\xA8\xB8"), {u"Все"_qs, u"Ёё"_qs}},
        {"UTF-16LE", utf16le(u"Ёж\r\nb"_qs, true), {u"Ёж"_qs, "b"}},
        {"UTF-16LE of Latin letters", QByteArray("\xFF\xFE" "a\0\r\0\n\0b\0", 10), {"a", "b"}},
        {"UTF-16BE", utf16be(u"Ёж\nb\n"_qs), {u"Ёж"_qs, "b"}},
        {"UTF-8 bytes without mark are not UTF-8", QByteArray("\xD0\x92"), {u"Р’"_qs}},
        {"a broken UTF-8 sequence before a break", kMark + QByteArray("a\xD0\r\n\xD0\x92\n\xE2\x82"), {u"a\uFFFD"_qs, u"В"_qs, u"\uFFFD\uFFFD"_qs}},
    };
    return cases;
}

TEST(ListFileDecode, MarksAndLineBreaks)
{
    for (const auto &c : decodeCases())
        EXPECT_EQ(ListFile::decode(c.bytes), c.lines) << c.name;
}

TEST(ListFileDecode, SomeLinesAsTheWholeFileGivesThem)
{
    for (const auto &c : decodeCases()) {
        for (qsizetype first = 0; first <= c.lines.size() + 1; ++first) {
            for (qsizetype count = 1; count <= 3; ++count)
                EXPECT_EQ(ListFile::decodeLines(c.bytes, first, count), c.lines.mid(first, count))
                    << c.name << ", lines " << first << "+" << count;
        }
    }
}

TEST(LineList, HoldsTheLinesEveryListFileBreaksInto)
{
    for (const auto &c : decodeCases()) {
        const LineList list = LineList::Decode(c.bytes);
        EXPECT_EQ(list.ToStringList(), c.lines) << c.name;
        ASSERT_EQ(list.size(), c.lines.size()) << c.name;
        for (qsizetype i = 0; i < list.size(); ++i)
            EXPECT_EQ(list.at(i), c.lines.at(i)) << c.name << ", line " << i;
        EXPECT_EQ(LineList::FromLines(c.lines).ToStringList(), c.lines) << c.name;
        EXPECT_TRUE(list == LineList::FromLines(c.lines)) << c.name;
        EXPECT_EQ(hex(list.Encode()), hex(ListFile::encode(c.lines))) << c.name;
    }
    const LineList list = LineList::FromLines({u"КОТ"_qs, "", "AB"});
    EXPECT_EQ(list.size(), 3);
    EXPECT_EQ(list.at(0), u"КОТ"_qs);
    EXPECT_TRUE(list.at(1).isEmpty());
    EXPECT_EQ(list.ByteSize(), 5 * 2 + 4 * 4) << "the text and one offset a line, and one more";
    EXPECT_FALSE(list == LineList::FromLines({u"КОТ"_qs, "", "AC"}));
    EXPECT_TRUE(LineList().isEmpty());
    EXPECT_EQ(LineList().Encode(), kMark);
}

TEST(LineList, ACopyKeepsItsLinesWhenTheOriginalGoes)
{
    LineList list = LineList::Decode("one\r\ntwo\r\n");
    const LineList copy = list;
    list.clear();
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(copy.ToStringList(), (QStringList{"one", "two"}));
}

TEST(LineList, AFileThatCannotBeReadThrows)
{
    QTemporaryDir dir;
    EXPECT_THROW(LineList::Read(dir.filePath("missing.uvs")), FileError);
    EXPECT_THROW(LineList::Read(dir.path()), FileError);
    vocab::test::writeBytes(dir.filePath("a.uvs"), "\xEF\xBB\xBF" "x\r\ny\r\n");
    EXPECT_EQ(LineList::Read(dir.filePath("a.uvs")).ToStringList(), (QStringList{"x", "y"}));
}

TEST(ListFileDecode, WhereALineStands)
{
    const QByteArray bytes = kMark + u"ДОМ\r\nКОТ\nКОТ\rКОТ\r\nКОТЫ\r\nКОТ\r\n\r\nКО"_qs.toUtf8();
    struct Case { const char16_t *line; ListFile::LineRun run; };
    const Case cases[] = {
        {u"ДОМ", {0, 1}}, {u"КОТ", {1, 3}}, {u"КОТЫ", {4, 1}}, {u"", {6, 1}}, {u"КО", {7, 1}}, {u"ЛЕС", {-1, 0}},
        {u"ДО", {-1, 0}},
    };
    for (const Case &c : cases) {
        const ListFile::LineRun run = ListFile::findLineRun(bytes, QString::fromUtf16(c.line));
        EXPECT_EQ(run.first, c.run.first) << QString::fromUtf16(c.line).toStdString();
        EXPECT_EQ(run.count, c.run.count) << QString::fromUtf16(c.line).toStdString();
    }
    EXPECT_EQ(ListFile::findLineRun(QByteArray("\xCA\xCE\xD2\r\n\xCA\xCE\xD2"), u"КОТ"_qs).count, 2) << "Windows-1251";
    EXPECT_EQ(ListFile::findLineRun(utf16le(u"a\r\nКОТ"_qs, true), u"КОТ"_qs).first, 1);
}

TEST(ListFileDecode, AnsiPageMatchesWindows1251)
{
    // Spot checks across the upper half, where the code page differs from Latin-1.
    EXPECT_EQ(ListFile::decodeAnsi("\xC0\xDF\xE0\xFF"), u"АЯая"_qs);
    EXPECT_EQ(ListFile::decodeAnsi("\xB9\x96\x97\xAB\xBB"), u"№–—«»"_qs);
    EXPECT_EQ(ListFile::decodeAnsi("\x98"), QString(QChar(0xFFFD)));
    EXPECT_EQ(ListFile::decodeAnsi("plain ASCII"), u"plain ASCII"_qs);
}

TEST(ListFileEncode, MarkAndCrLfAfterEveryLine)
{
    EXPECT_EQ(hex(ListFile::encode({})), hex(kMark));
    EXPECT_EQ(hex(ListFile::encode({"a", u"б"_qs})), hex(QByteArray("\xEF\xBB\xBF" "a\r\n\xD0\xB1\r\n")));
    EXPECT_EQ(hex(ListFile::encode({""})), hex(QByteArray("\xEF\xBB\xBF\r\n")));
}

TEST(ListFileIo, AnsiFileComesBackAsUtf8WithMark)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("list.trv");
    vocab::test::writeBytes(path, "\xC2\xF1\xE5\r\nx");
    StringList lines;
    lines.LoadFromFile(path);
    lines.SaveToFile(path);
    EXPECT_EQ(hex(vocab::test::readBytes(path)), hex(QByteArray("\xEF\xBB\xBF\xD0\x92\xD1\x81\xD0\xB5\r\nx\r\n")));
}

TEST(ListFileIo, SomeLinesReadAsTheWholeFileGivesThem)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("list.uvs");
    for (const auto &c : decodeCases()) {
        vocab::test::writeBytes(path, c.bytes);
        for (qsizetype first = 0; first <= c.lines.size() + 1; ++first) {
            for (qsizetype count = 1; count <= 3; ++count)
                EXPECT_EQ(ListFile::readLines(path, first, count), c.lines.mid(first, count))
                    << c.name << ", lines " << first << "+" << count;
        }
    }

    // Lines of every length up to forty with every kind of break, so that
    // the breaks fall on every place of the blocks the scan looks at, a CR
    // and its LF on both sides of a block's end too.
    QByteArray bytes = kMark;
    const char *breaks[] = {"\r\n", "\n", "\r"};
    for (int i = 0; i < 400; ++i)
        bytes += QByteArray(i % 41, char('a' + i % 26)) + breaks[i % 3];
    vocab::test::writeBytes(path, bytes);
    const QStringList whole = ListFile::decode(bytes);
    ASSERT_EQ(whole.size(), 400);
    for (qsizetype first = 0; first <= whole.size(); ++first) {
        EXPECT_EQ(ListFile::readLines(path, first, 1), whole.mid(first, 1)) << first;
        EXPECT_EQ(ListFile::readLines(path, first, 3), whole.mid(first, 3)) << first;
        if (first < whole.size()) {
            EXPECT_EQ(ListFile::readLineRun(path, whole[first]).first, whole.indexOf(whole[first])) << first;
        }
    }
}

TEST(ListFileIo, MissingFileThrows)
{
    QTemporaryDir dir;
    EXPECT_THROW(ListFile::read(dir.filePath("absent.trv")), FileError);
    EXPECT_THROW(LineList::Read(dir.filePath("absent.trv")), FileError);
    EXPECT_THROW(ListFile::readLines(dir.filePath("absent.trv"), 0, 1), FileError);
    EXPECT_THROW(ListFile::readLineRun(dir.filePath("absent.trv"), u"x"), FileError);
}

TEST(ListFileIo, WriteReplacesTheFileInsteadOfRewritingIt)
{
    // A second name for the old file still holds the old bytes after a write:
    // the new text went to a temporary file that was then renamed over the
    // target, so a crash mid-write could not have truncated it.
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.trv");
    const QString link = dir.filePath("keep.link");
    ListFile::write(path, {"old"});
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(link).constData()), 0);
    ListFile::write(path, {"new"});
    EXPECT_EQ(ListFile::read(path), QStringList{"new"});
    EXPECT_EQ(ListFile::read(link), QStringList{"old"});
}

TEST(ListFileIo, WriteIntoMissingFolderThrowsAndCreatesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("nofolder/list.trv");
    EXPECT_THROW(ListFile::write(path, {"x"}), FileError);
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(ListFileIo, AWriteThatFailsMidwayThrowsAndLeavesTheOldFile)
{
    // The new text is larger than the disk allows; the limit cuts the write
    // off part-way, after some of it has gone to disk.
    QTemporaryDir dir;
    const QString path = dir.filePath("history.trv");
    const QStringList old{u"старое"_qs, "words"};
    ListFile::write(path, old);
    const QByteArray oldBytes = vocab::test::readBytes(path);
    const QStringList longer = vocab::test::numberedLines(20000);
    {
        FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.set());
        try {
            ListFile::write(path, longer);
            ADD_FAILURE() << "the write was reported as done";
        } catch (const FileError &e) {
            EXPECT_TRUE(e.message().contains(path)) << e.message().toStdString();
        }
    }
    EXPECT_EQ(hex(vocab::test::readBytes(path)), hex(oldBytes));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"history.trv"}) << "no partial file left";
    ListFile::write(path, longer);
    EXPECT_EQ(ListFile::read(path), longer) << "with room again, the same write goes through";
}

TEST(ListFileIo, ASmallWriteThatFailsAtItsEndThrowsAndLeavesTheOldFile)
{
    // A text small enough to wait in the file's buffer is written out only
    // as the file is committed; a disk that takes none of it must not turn
    // the old file into an empty one.
    QTemporaryDir dir;
    const QString path = dir.filePath("options.ini");
    ListFile::write(path, {"old"});
    const QByteArray oldBytes = vocab::test::readBytes(path);
    {
        FileSizeLimit limit(0);
        ASSERT_TRUE(limit.set());
        EXPECT_THROW(ListFile::writeBytes(path, "[options]\r\nTwo=2\r\n"), FileError);
    }
    EXPECT_EQ(hex(vocab::test::readBytes(path)), hex(oldBytes));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"options.ini"});
}

TEST(StringListValues, FirstCaseInsensitiveMatchOfNamePart)
{
    const StringList lines{u"Все словари"_qs, u"\tАнгло=eng"_qs, u"\tангло=second"_qs, u"\tКлюч=a=b"_qs, u"\tБез значения"_qs};
    EXPECT_EQ(lines.Values(u"\tАНГЛО"_qs), u"eng"_qs);
    EXPECT_EQ(lines.Values(u"\tключ"_qs), u"a=b"_qs);
    EXPECT_EQ(lines.Values(u"\tБез значения"_qs), QString());
    EXPECT_EQ(lines.IndexOfName(u"\tБез значения"_qs), -1);
    EXPECT_EQ(lines.Values(u"Англо"_qs), QString()) << "the TAB is part of the name";
    EXPECT_EQ(StringList::namePart(u"\tИмя=папка"_qs), u"\tИмя"_qs);
    EXPECT_EQ(StringList::valuePart(u"без"_qs), QString());
}

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace vocab {

// The text rule every list file of the viewer follows.
//
// Reading: a byte-order mark picks UTF-8, UTF-16LE or UTF-16BE; without one the
// bytes are Windows-1251, the code page these files were made in. Only the
// file's first mark is its mark: a U+FEFF after it, at the start of a line or
// anywhere else, is a character of the text, kept by every reader alike. Lines
// end at CR LF, a lone CR or a lone LF; a final break adds no empty line.
//
// Writing: UTF-8 with its mark, every line followed by CR LF; an empty list is
// the three mark bytes alone.
namespace ListFile {

enum class Encoding { Utf8, Utf16LE, Utf16BE, Ansi };
struct Mark {
    Encoding encoding = Encoding::Ansi;
    // The bytes of the mark: 3, 2, or 0 without one.
    qsizetype size = 0;
};
// The mark at the start of a file's bytes, and the encoding it picks.
Mark markOf(const char *data, qsizetype size);
// Decodes bytes that follow the file's mark (or a part of them beginning at a
// character): every U+FEFF among them is kept as text.
QString decodeBody(Encoding encoding, const char *data, qsizetype size);

QStringList decode(const QByteArray &bytes);
// The whole text of a list file's bytes, before it is broken into lines.
QString decodeText(const QByteArray &bytes);
QByteArray encode(const QStringList &lines);

// Decodes Windows-1251 bytes (the stand-in for the ANSI code page).
QString decodeAnsi(const QByteArray &bytes);

// Splits text at CR LF, lone CR and lone LF; a final break adds no line.
QStringList splitLines(const QString &text);

// Throws FileError when the file cannot be opened or read.
QStringList read(const QString &path);
// The file's bytes as they are; throws as read() does.
QByteArray readBytes(const QString &path);

// Lines first .. first + count - 1 of a list file, fewer where it ends
// before: what read() gives there, without decoding the lines before and
// after them; the file is looked at only as far as the last of them. Throws
// as read() does.
QStringList decodeLines(const QByteArray &bytes, qsizetype first, qsizetype count);
QStringList readLines(const QString &path, qsizetype first, qsizetype count);

// Where a line stands in a list file: the first line equal to it, character
// for character, and how many equal lines follow from there (itself
// included). first is -1 and count 0 when no line equals it.
struct LineRun {
    qsizetype first = -1;
    qsizetype count = 0;
};
LineRun findLineRun(const QByteArray &bytes, QStringView line);
// Throws as read() does.
LineRun readLineRun(const QString &path, QStringView line);

// Atomic: the lines go to a temporary file that then replaces the target, so a
// failed write leaves the old file as it was. Throws FileError on failure.
void write(const QString &path, const QStringList &lines);

// Writes raw bytes atomically (see WriteFileAtomically); shared by every
// configuration file writer. A file that holds these bytes already is not
// written again.
void writeBytes(const QString &path, const QByteArray &bytes);

} // namespace ListFile

// An ordered list of strings with lookup in lines of the form name=value.
class StringList : public QStringList {
public:
    StringList() = default;
    StringList(const QStringList &lines) : QStringList(lines) {}
    StringList(std::initializer_list<QString> lines) : QStringList(lines) {}

    // The text before the first "=", or the whole line when it has none.
    static QString namePart(const QString &line);
    // The text after the first "=", or an empty string when the line has none.
    static QString valuePart(const QString &line);

    // Index of the first line whose name part equals `name` without regard to
    // letter case; lines without "=" have no name. -1 when there is none.
    qsizetype IndexOfName(const QString &name) const;
    // The value of that line, or an empty string.
    QString Values(const QString &name) const;

    void LoadFromFile(const QString &path) { QStringList::operator=(ListFile::read(path)); }
    void SaveToFile(const QString &path) const { ListFile::write(path, *this); }
};

} // namespace vocab

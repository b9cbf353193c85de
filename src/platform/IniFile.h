#pragma once

#include <QString>
#include <QStringList>

namespace vocab {

// An INI file with the semantics of the Windows profile functions: section and
// key names compare without regard to letter case, the first of two equal keys
// wins, values are kept as written (surrounding blanks and one pair of quotes
// dropped on reading), every read names its default, and every write goes to
// disk at once so that a second object on the same path sees it. Unknown lines,
// comments and their order survive a write. A file that exists but cannot be
// read answers every read with its default and makes every write throw
// FileError, so that it is never replaced by the keys written since. A write
// of a value the file already gives back leaves the file alone: a start-up
// that only confirms its settings writes nothing, and so works on a full or
// read-only disk.
class TIniFile {
public:
    explicit TIniFile(QString fileName);

    const QString &FileName() const { return m_fileName; }

    QString ReadString(const QString &section, const QString &key, const QString &defaultValue) const;
    // Decimal (or $/0x hexadecimal) text; anything else gives the default.
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const;
    // True for any non-zero integer.
    bool ReadBool(const QString &section, const QString &key, bool defaultValue) const;

    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    void WriteBool(const QString &section, const QString &key, bool value);

    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &key) const;
    void DeleteKey(const QString &section, const QString &key);
    void EraseSection(const QString &section);

private:
    struct Contents {
        QStringList lines;
        QString error; // why a file that is there could not be read
    };
    Contents load() const;
    // For reads: no lines when the file is missing or unreadable.
    QStringList readLines() const;
    // For writes: throws FileError when the file is there but unreadable.
    QStringList linesToChange() const;
    void writeLines(const QStringList &lines);

    QString m_fileName;
};

// Text of a number as the profile functions read it: decimal with an optional
// sign in front, or hexadecimal after "$" or "0x" (the sign before those);
// decimal must fit 32 bits signed, hexadecimal is a 32-bit pattern. Returns
// false for anything else: overflow, a sign elsewhere, a stray character.
bool parseProfileInteger(const QString &text, int &value);

} // namespace vocab

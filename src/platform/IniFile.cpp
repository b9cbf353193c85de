#include "IniFile.h"

#include "AppError.h"
#include "FileErrorCause.h"
#include "ListFile.h"

#include <QFile>
#include <QStringDecoder>

#include <cstdint>
#include <optional>

namespace vocab {

namespace {

// Where a key sits in the file, as line indexes.
struct Location {
    qsizetype sectionLine = -1; // the "[section]" line
    qsizetype sectionEnd = -1;  // one past the section's last line
    qsizetype keyLine = -1;
};

std::optional<QString> sectionName(const QString &line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = t.indexOf(u']');
    if (close < 0)
        return std::nullopt;
    return t.mid(1, close - 1).trimmed();
}

bool isComment(const QString &trimmed) { return trimmed.startsWith(u';'); }

Location locate(const QStringList &lines, const QString &section, const QString &key)
{
    Location loc;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lines[i]);
        if (!name)
            continue;
        if (loc.sectionLine >= 0) {
            loc.sectionEnd = i;
            return loc;
        }
        if (name->compare(section, Qt::CaseInsensitive) == 0)
            loc.sectionLine = i;
    }
    if (loc.sectionLine < 0)
        return loc;
    loc.sectionEnd = lines.size();
    return loc;
}

qsizetype findKey(const QStringList &lines, const Location &loc, const QString &key)
{
    if (loc.sectionLine < 0)
        return -1;
    for (qsizetype i = loc.sectionLine + 1; i < loc.sectionEnd; ++i) {
        const QString t = lines[i].trimmed();
        if (t.isEmpty() || isComment(t))
            continue;
        const qsizetype eq = t.indexOf(u'=');
        if (eq < 0)
            continue;
        if (QStringView(t).left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString rawValue(const QString &line)
{
    QString v = line.mid(line.indexOf(u'=') + 1).trimmed();
    if (v.size() >= 2 && ((v.front() == u'"' && v.back() == u'"') || (v.front() == u'\'' && v.back() == u'\'')))
        v = v.mid(1, v.size() - 2);
    return v;
}

// Values cannot hold line breaks: a break would start a new line of the file.
QString oneLine(const QString &text)
{
    QString t = text;
    t.replace(u'\r', u' ').replace(u'\n', u' ');
    return t;
}

} // namespace

bool parseProfileInteger(const QString &text, int &value)
{
    // One sign at most, in front; then "$" or "0x" and hexadecimal digits,
    // or decimal digits. Nothing may stand between them, and a number too
    // large for 32 bits is no number.
    const QString t = text.trimmed();
    qsizetype i = 0;
    const bool negative = i < t.size() && t[i] == u'-';
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        ++i;
    int base = 10;
    if (i < t.size() && t[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < t.size() && t[i] == u'0' && (t[i + 1] == u'x' || t[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == t.size())
        return false;
    // Decimal: the value must fit a signed 32-bit integer. Hexadecimal is a
    // 32-bit pattern, so $FFFFFFFF is -1, as the profile functions read it;
    // with a minus sign its magnitude may reach $80000000.
    const std::uint64_t limit = base == 16 ? (negative ? 0x80000000u : 0xFFFFFFFFu)
                                           : (negative ? 0x80000000u : 0x7FFFFFFFu);
    std::uint64_t magnitude = 0;
    for (; i < t.size(); ++i) {
        int d = -1;
        const char16_t c = t[i].unicode();
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        if (d < 0)
            return false;
        magnitude = magnitude * std::uint64_t(base) + std::uint64_t(d);
        if (magnitude > limit)
            return false;
    }
    if (negative)
        value = int(-std::int64_t(magnitude));
    else
        value = int(std::uint32_t(magnitude)); // a pattern above $7FFFFFFF wraps, as a 32-bit integer does
    return true;
}

TIniFile::TIniFile(QString fileName) : m_fileName(std::move(fileName)) {}

TIniFile::Contents TIniFile::load() const
{
    // Only a missing file is an empty one. A file that is there but cannot
    // be read still holds the user's settings: reads fall back to their
    // defaults, and writes refuse rather than replace it with the one key.
    QFile file(m_fileName);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        return {{}, FileErrorCause(file)};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {{}, FileErrorCause(file)};
    const auto *b = reinterpret_cast<const unsigned char *>(bytes.constData());
    const bool hasMark = bytes.size() >= 2 && ((b[0] == 0xEF && b[1] == 0xBB) || (b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF));
    if (hasMark)
        return {ListFile::decode(bytes), {}};
    // Without a mark: UTF-8 when the bytes are valid UTF-8, else the ANSI page.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return {utf8.hasError() ? ListFile::decode(bytes) : ListFile::splitLines(text), {}};
}

QStringList TIniFile::readLines() const
{
    return load().lines;
}

QStringList TIniFile::linesToChange() const
{
    Contents contents = load();
    if (!contents.error.isEmpty())
        throw FileError(QStringLiteral("Не удаётся прочитать файл \"%1\": %2").arg(m_fileName, contents.error), m_fileName);
    return std::move(contents.lines);
}

void TIniFile::writeLines(const QStringList &lines)
{
    QByteArray out;
    for (const QString &line : lines) {
        out.append(line.toUtf8());
        out.append("\r\n", 2);
    }
    ListFile::writeBytes(m_fileName, out);
}

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const QStringList lines = readLines();
    const qsizetype i = findKey(lines, locate(lines, section, key), key);
    return i < 0 ? defaultValue : rawValue(lines[i]);
}

int TIniFile::ReadInteger(const QString &section, const QString &key, int defaultValue) const
{
    int value = 0;
    return parseProfileInteger(ReadString(section, key, QString()), value) ? value : defaultValue;
}

bool TIniFile::ReadBool(const QString &section, const QString &key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    QStringList lines = linesToChange();
    const Location loc = locate(lines, section, key);
    const QString entry = oneLine(key) + u'=' + oneLine(value);
    if (loc.sectionLine < 0) {
        if (!lines.isEmpty() && !lines.back().trimmed().isEmpty())
            lines.append(QString());
        lines.append(u'[' + oneLine(section) + u']');
        lines.append(entry);
    } else if (const qsizetype i = findKey(lines, loc, key); i >= 0) {
        if (rawValue(lines[i]) == rawValue(entry))
            return;
        lines[i] = entry;
    } else {
        // New keys go after the section's last non-blank line.
        qsizetype at = loc.sectionEnd;
        while (at > loc.sectionLine + 1 && lines[at - 1].trimmed().isEmpty())
            --at;
        lines.insert(at, entry);
    }
    writeLines(lines);
}

void TIniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TIniFile::SectionExists(const QString &section) const
{
    return locate(readLines(), section, QString()).sectionLine >= 0;
}

bool TIniFile::ValueExists(const QString &section, const QString &key) const
{
    const QStringList lines = readLines();
    return findKey(lines, locate(lines, section, key), key) >= 0;
}

void TIniFile::DeleteKey(const QString &section, const QString &key)
{
    QStringList lines = linesToChange();
    const qsizetype i = findKey(lines, locate(lines, section, key), key);
    if (i < 0)
        return;
    lines.removeAt(i);
    writeLines(lines);
}

void TIniFile::EraseSection(const QString &section)
{
    QStringList lines = linesToChange();
    const Location loc = locate(lines, section, QString());
    if (loc.sectionLine < 0)
        return;
    lines.remove(loc.sectionLine, loc.sectionEnd - loc.sectionLine);
    writeLines(lines);
}

} // namespace vocab

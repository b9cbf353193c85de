#include "LineList.h"

#include "AppError.h"
#include "ListFile.h"

#include <QStringEncoder>

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace vocab {

namespace {

// Offsets are 32-bit: a list of more than two thousand million characters
// is no list of headwords or articles this viewer could show.
void checkLength(qsizetype characters)
{
    if (characters > std::numeric_limits<std::int32_t>::max())
        throw FileError(QStringLiteral("Список слишком велик"));
}

} // namespace

LineList LineList::fromText(QString text)
{
    checkLength(text.size());
    // The breaks are taken out of the text in place, each line's end noted:
    // CR LF, a lone CR or a lone LF; a final break adds no line.
    auto data = std::make_shared<Data>();
    QChar *p = text.data();
    const qsizetype n = text.size();
    std::vector<std::int32_t> &offsets = data->offsets;
    // Counted first: a table grown step by step, or shrunk at the end, is
    // copied, and every page of a copy is a fault to take.
    qsizetype breaks = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i].unicode();
        breaks += c == u'\n' || (c == u'\r' && (i + 1 == n || p[i + 1].unicode() != u'\n'));
    }
    offsets.reserve(std::size_t(breaks + 2));
    offsets.push_back(0);
    qsizetype w = 0;
    bool lineOpen = false;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i].unicode();
        if (c > u'\r' || (c != u'\r' && c != u'\n')) {
            p[w++] = QChar(c);
            lineOpen = true;
            continue;
        }
        offsets.push_back(std::int32_t(w));
        if (c == u'\r' && i + 1 < n && p[i + 1].unicode() == u'\n')
            ++i;
        lineOpen = false;
    }
    if (lineOpen)
        offsets.push_back(std::int32_t(w));
    // The breaks taken out leave some room at the end, two units a line at
    // most, cheaper kept than copied away; but a decoder that made room for
    // one unit a byte leaves Cyrillic text in twice the room it takes.
    text.truncate(w);
    if (text.capacity() - w > w / 8)
        text.squeeze();
    data->text = std::move(text);
    return LineList(std::move(data));
}

LineList LineList::FromLines(const QStringList &lines)
{
    Builder builder;
    qsizetype characters = 0;
    for (const QString &line : lines)
        characters += line.size();
    builder.Reserve(lines.size(), characters);
    for (const QString &line : lines)
        builder.Append(line);
    return builder.Finish();
}

LineList LineList::Decode(const QByteArray &bytes)
{
    return fromText(ListFile::decodeText(bytes));
}

LineList LineList::Read(const QString &path)
{
    return Decode(ListFile::readBytes(path));
}

QStringList LineList::ToStringList() const
{
    QStringList lines;
    lines.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        lines.append(at(i).toString());
    return lines;
}

void LineList::AppendEncoded(QByteArray &out, qsizetype from, qsizetype count) const
{
    if (count <= 0)
        return;
    const std::int32_t *offsets = d->offsets.data() + from;
    const qsizetype characters = offsets[count] - offsets[0];
    const qsizetype start = out.size();
    // UTF-8 takes at most three bytes for one UTF-16 unit.
    out.resize(start + characters * 3 + count * 2);
    char *p = out.data() + start;
    // Each line is encoded alone: a surrogate left open at the end of one line
    // must not pair with the start of the next.
    QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    for (qsizetype i = 0; i < count; ++i) {
        const QStringView line = at(from + i);
        if (line.isValidUtf16()) {
            p = encoder.appendToBuffer(p, line);
        } else {
            // A lone surrogate becomes what a list file written line by line
            // holds in its place.
            const QByteArray bytes = line.toUtf8();
            std::memcpy(p, bytes.constData(), std::size_t(bytes.size()));
            p += bytes.size();
        }
        *p++ = '\r';
        *p++ = '\n';
    }
    out.truncate(p - out.constData());
}

qsizetype LineList::FirstBeginningWith(QStringView key, qsizetype from, qsizetype to) const
{
    const qsizetype n = to < 0 ? size() : std::min(to, size());
    if (from < 0)
        from = 0;
    if (from >= n)
        return -1;
    if (key.isEmpty())
        return from;
    const std::int32_t *offsets = d->offsets.data();
    const char16_t *text = reinterpret_cast<const char16_t *>(d->text.constData());
    const char16_t *k = key.utf16();
    const std::int32_t length = std::int32_t(key.size());
    // The lines of a letter file mostly share their first letter, so the
    // first two units are looked at together before the rest.
    if (length >= 2) {
        std::uint32_t head;
        std::memcpy(&head, k, sizeof head);
        for (qsizetype i = from; i < n; ++i) {
            const std::int32_t begin = offsets[i];
            if (offsets[i + 1] - begin < length)
                continue;
            std::uint32_t lineHead;
            std::memcpy(&lineHead, text + begin, sizeof lineHead);
            if (lineHead == head
                && std::memcmp(text + begin + 2, k + 2, std::size_t(length - 2) * sizeof(char16_t)) == 0)
                return i;
        }
        return -1;
    }
    for (qsizetype i = from; i < n; ++i) {
        const std::int32_t begin = offsets[i];
        if (offsets[i + 1] > begin && text[begin] == k[0])
            return i;
    }
    return -1;
}

QByteArray LineList::Encode() const
{
    QByteArray out = ListFile::encode({});
    AppendEncoded(out, 0, size());
    out.squeeze();
    return out;
}

void LineList::Write(const QString &path) const
{
    ListFile::writeBytes(path, Encode());
}

qsizetype LineList::ByteSize() const
{
    if (!d)
        return 0;
    return d->text.capacity() * qsizetype(sizeof(QChar)) + qsizetype(d->offsets.capacity() * sizeof(std::int32_t));
}

bool operator==(const LineList &a, const LineList &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a.at(i) != b.at(i))
            return false;
    }
    return true;
}

void LineList::Builder::Reserve(qsizetype lines, qsizetype characters)
{
    m_offsets.reserve(std::size_t(lines) + 1);
    m_text.reserve(characters);
}

void LineList::Builder::Append(QStringView line)
{
    m_text.append(line);
    checkLength(m_text.size());
    m_offsets.push_back(std::int32_t(m_text.size()));
}

LineList LineList::Builder::Finish()
{
    auto data = std::make_shared<Data>();
    m_text.squeeze();
    m_offsets.shrink_to_fit();
    data->text = std::exchange(m_text, QString());
    data->offsets = std::exchange(m_offsets, std::vector<std::int32_t>{0});
    return LineList(std::move(data));
}

} // namespace vocab

#include "HeadwordCollation.h"

#include <QVarLengthArray>

#include <unicode/ucol.h>

#include <algorithm>
#include <cstring>

namespace vocab {

namespace {

constexpr bool IsIndexMark(QChar c) noexcept { return c == u'-' || c == u'\''; }

int sign(int x) { return (x > 0) - (x < 0); }

} // namespace

QChar KeyLetter(QStringView word) noexcept
{
    if (word.isEmpty())
        return QChar();
    if (word.size() >= 2 && IsIndexMark(word[0]) && (IsLatinCapital(word[1]) || IsCyrillicCapital(word[1])))
        return word[1];
    return word[0];
}

int EntryOfLine(QStringView line) noexcept
{
    if (line.isEmpty())
        return 0;
    // Nearly every line of the list begins with a capital letter.
    const QChar first = line.front();
    if (IsLatinCapital(first) || IsCyrillicCapital(first))
        return LetterIndexEntry(first);
    // Only the first two units can decide the letter.
    QChar head[2];
    const qsizetype n = std::min<qsizetype>(line.size(), 2);
    for (qsizetype i = 0; i < n; ++i)
        head[i] = line[i].toUpper();
    return EntryOfKey(QStringView(head, n));
}

HeadwordOrder::HeadwordOrder()
{
    UErrorCode status = U_ZERO_ERROR;
    m_collator = ucol_open("ru_RU", &status);
    if (U_FAILURE(status)) {
        // Without the collator words are ordered by their code points, case
        // ignored; the list stays sorted and the index fits it.
        m_collator = nullptr;
        return;
    }
    // Composed and decomposed accents order alike; case is ignored.
    const auto set = [this](UColAttribute attribute, UColAttributeValue value) {
        UErrorCode s = U_ZERO_ERROR;
        ucol_setAttribute(m_collator, attribute, value, &s);
    };
    set(UCOL_NORMALIZATION_MODE, UCOL_ON);
    set(UCOL_STRENGTH, UCOL_SECONDARY);
    set(UCOL_NUMERIC_COLLATION, UCOL_OFF);
    set(UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE);
}

HeadwordOrder::~HeadwordOrder()
{
    if (m_collator)
        ucol_close(m_collator);
}

void HeadwordOrder::AppendSortKey(QStringView line, QByteArray &out) const
{
    // The word as it is read for ordering: hyphens and apostrophes left out.
    QVarLengthArray<char16_t, 64> word;
    word.reserve(line.size());
    for (const QChar c : line) {
        if (!IsIndexMark(c))
            word.append(c.unicode());
    }
    const auto entryByte = char(EntryOfLine(line) + 1);

    const auto start = out.size();
    const auto appendBytes = [&](qsizetype room) {
        if (out.capacity() < start + 1 + room)
            out.reserve(std::max(start + 1 + room, out.capacity() * 2));
        out.resize(start + 1 + room);
        out[start] = entryByte;
    };
    if (!m_collator) {
        // Code points of the folded word, each as two bytes that are never zero.
        appendBytes(word.size() * 3 + 1);
        char *p = out.data() + start + 1;
        for (const char16_t c : word) {
            const char16_t f = QChar::toCaseFolded(c);
            *p++ = char(0x80 | (f >> 9));
            *p++ = char(0x80 | ((f >> 2) & 0x7F));
            *p++ = char(0x80 | (f & 0x03));
        }
        *p = 0;
        return;
    }
    const auto room = qsizetype(word.size()) * 4 + 16;
    appendBytes(room);
    auto *keyOut = reinterpret_cast<uint8_t *>(out.data() + start + 1);
    int32_t length = ucol_getSortKey(m_collator, word.constData(), int32_t(word.size()), keyOut, int32_t(room));
    if (length > room) {
        appendBytes(length);
        keyOut = reinterpret_cast<uint8_t *>(out.data() + start + 1);
        length = ucol_getSortKey(m_collator, word.constData(), int32_t(word.size()), keyOut, length);
    }
    if (length <= 0) {
        // No key could be made: the line orders by its entry alone.
        out.resize(start + 2);
        out[start + 1] = '\0';
        return;
    }
    // The length counts the closing zero.
    out.resize(start + 1 + length);
}

QByteArray HeadwordOrder::SortKey(QStringView line) const
{
    QByteArray key;
    AppendSortKey(line, key);
    return key;
}

int HeadwordOrder::CompareTied(QStringView a, QStringView b) const
{
    if (a.size() == b.size() && std::memcmp(a.data(), b.data(), std::size_t(a.size()) * sizeof(QChar)) == 0)
        return 0;
    // The same word read without its marks: the marks, and how the lines are
    // written beyond them, decide.
    if (m_collator) {
        const UCollationResult byLine = ucol_strcoll(m_collator, reinterpret_cast<const UChar *>(a.data()),
                                                     int32_t(a.size()), reinterpret_cast<const UChar *>(b.data()),
                                                     int32_t(b.size()));
        if (byLine != UCOL_EQUAL)
            return byLine == UCOL_LESS ? -1 : 1;
    }
    // What the collator passes over (a soft hyphen, a zero-width space, an
    // accent composed or not) still makes two headwords; case alone does not.
    return sign(a.compare(b, Qt::CaseInsensitive));
}

int HeadwordOrder::Compare(QStringView a, QStringView b) const
{
    const QByteArray ka = SortKey(a);
    const QByteArray kb = SortKey(b);
    if (const int byKey = sign(std::strcmp(ka.constData(), kb.constData())))
        return byKey;
    return CompareTied(a, b);
}

} // namespace vocab

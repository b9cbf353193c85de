#pragma once

// Dictionary files of the size and shape of real ones, written fast: articles
// of 300 to 2 000 bytes (some 720 on average) of Latin text with some
// Cyrillic words and markup, cut from one pool of words made once.

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <iterator>
#include <stdexcept>

namespace vocab::bench {

class RealisticArticles {
public:
    RealisticArticles()
    {
        static const char *const latin[] = {"the", "of", "and", "to", "a", "in", "is", "that", "for", "it", "as", "was",
                                            "with", "be", "by", "on", "not", "he", "this", "are", "or", "his", "from",
                                            "at", "which", "but", "have", "an", "had", "they", "you", "were", "their",
                                            "one", "all", "we", "can", "her", "has", "there", "been", "if", "more",
                                            "<i>n.</i>", "<b>1.</b>", "<i>v.</i>", "(<i>colloq.</i>)", "e.g.,"};
        static const char *const cyrillic[] = {"слово", "значение", "пример", "перевод", "дом", "книга", "читать"};
        while (m_pool.size() < PoolBytes + 4096) {
            const std::uint32_t r = next();
            m_pool.append(r % 9 == 0 ? cyrillic[(r >> 8) % std::size(cyrillic)] : latin[(r >> 8) % std::size(latin)]);
            m_pool.append(r % 13 == 0 ? "; " : " ");
        }
    }

    // The next article's text after its headword: 300 to 2 000 bytes in all,
    // skewed towards the short ones.
    void AppendArticle(QByteArray &out, const QByteArray &headword)
    {
        const std::uint32_t a = next() % 1700;
        const std::uint32_t b = next() % 1700;
        const qsizetype length = std::min<qsizetype>(300 + qsizetype(a * b / 1550), 2000);
        out.append(headword);
        out.append(" — ");
        qsizetype from = qsizetype(next() % PoolBytes);
        qsizetype to = from + std::max<qsizetype>(length - headword.size() - 5, 1);
        // Not inside a two-byte letter.
        while ((m_pool[from] & 0xC0) == 0x80)
            ++from;
        while ((m_pool[to] & 0xC0) == 0x80)
            ++to;
        out.append(m_pool.constData() + from, to - from);
    }

    std::uint32_t next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }

private:
    static constexpr qsizetype PoolBytes = 1 << 20;
    QByteArray m_pool;
    std::uint32_t m_state = 2463534242u;
};

// Writes a list file (UTF-8 with its mark, CR LF) line by line as `line`
// appends line i to its buffer; returns its size in bytes.
inline qint64 WriteListFile(const QString &path, qsizetype lines,
                            const std::function<void(qsizetype, QByteArray &)> &line)
{
    FILE *f = std::fopen(path.toLocal8Bit().constData(), "wb");
    if (!f)
        throw std::runtime_error("cannot write " + path.toStdString());
    QByteArray buffer("\xEF\xBB\xBF");
    qint64 total = 0;
    for (qsizetype i = 0; i < lines; ++i) {
        line(i, buffer);
        buffer.append("\r\n", 2);
        if (buffer.size() > (4 << 20) || i + 1 == lines) {
            total += qint64(std::fwrite(buffer.constData(), 1, std::size_t(buffer.size()), f));
            buffer.clear();
        }
    }
    if (lines == 0)
        total += qint64(std::fwrite(buffer.constData(), 1, std::size_t(buffer.size()), f));
    std::fclose(f);
    return total;
}

} // namespace vocab::bench

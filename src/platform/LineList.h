#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <vector>

namespace vocab {

// A long list of lines held as one text with the offsets where each line
// begins: a million headwords, or the articles of a letter file, take their
// text and four bytes a line, not a string object each; a line becomes a
// string only when it is asked for. The lines cannot be changed once the list
// is made; copies share them.
class LineList {
public:
    LineList() = default;

    static LineList FromLines(const QStringList &lines);
    // The lines of a list file's bytes, by the reading rule of ListFile.
    static LineList Decode(const QByteArray &bytes);
    // Throws FileError when the file cannot be opened or read.
    static LineList Read(const QString &path);

    qsizetype size() const { return d ? qsizetype(d->offsets.size()) - 1 : 0; }
    bool isEmpty() const { return size() == 0; }
    // Valid while some copy of the list lives.
    QStringView at(qsizetype i) const
    {
        const std::int32_t from = d->offsets[std::size_t(i)];
        return QStringView(d->text.constData() + from, d->offsets[std::size_t(i) + 1] - from);
    }
    QStringView first() const { return at(0); }

    QStringList ToStringList() const;

    // The first line from `from` on, before `to` (the end when negative),
    // that begins with `key`, unit by unit and case-sensitively (a line
    // shorter than the key never does); -1 when none.
    qsizetype FirstBeginningWith(QStringView key, qsizetype from = 0, qsizetype to = -1) const;

    // Empties this list; copies keep their lines.
    void clear() { d.reset(); }

    // The list file's bytes: UTF-8 with its mark, every line followed by CR LF.
    QByteArray Encode() const;
    // Lines from .. from + count - 1 as Encode writes them, without the mark;
    // each line is encoded alone, as ListFile::encode does.
    void AppendEncoded(QByteArray &out, qsizetype from, qsizetype count) const;
    // Atomic, as ListFile::write; throws FileError.
    void Write(const QString &path) const;

    // The bytes the list holds in memory: its text and its offsets.
    qsizetype ByteSize() const;

    // Whether both are copies of one list.
    bool SharesLinesWith(const LineList &other) const { return d == other.d; }

    friend bool operator==(const LineList &a, const LineList &b);

    // Makes a list a line at a time.
    class Builder {
    public:
        void Reserve(qsizetype lines, qsizetype characters);
        void Append(QStringView line);
        LineList Finish();

    private:
        QString m_text;
        std::vector<std::int32_t> m_offsets{0};
    };

private:
    struct Data {
        QString text;
        // Line i is text[offsets[i] .. offsets[i + 1]); one more than lines.
        std::vector<std::int32_t> offsets;
    };
    explicit LineList(std::shared_ptr<const Data> data) : d(std::move(data)) {}
    static LineList fromText(QString text);

    std::shared_ptr<const Data> d;
};

} // namespace vocab

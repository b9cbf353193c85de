#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace vocab {

// The article file of the open list, held as its decoded text with where each
// line lies in it. Only the article of the row picked is ever shown, so a
// letter switch does not make a string of each of its 100 000 lines; a line
// becomes a string when it is asked for. Lines break as in every list file
// (see ListFile). Copies share the text.
class ArticleList {
public:
    ArticleList() = default;

    static ArticleList FromLines(const QStringList &lines);
    // The lines of a list file's bytes, as ListFile::decode gives them.
    static ArticleList Decode(const QByteArray &bytes);
    // Throws FileError when the file cannot be opened or read.
    static ArticleList Read(const QString &path);

    qsizetype size() const { return m_lines.size(); }
    bool isEmpty() const { return m_lines.isEmpty(); }
    // Line i, 0 <= i < size(); valid while a copy of the list lives.
    QStringView at(qsizetype i) const
    {
        const Line &line = m_lines.at(i);
        return QStringView(m_text).mid(line.start, line.length);
    }
    QStringList ToStringList() const;

    void clear();

private:
    struct Line {
        qsizetype start;
        qsizetype length;
    };

    QString m_text;
    QList<Line> m_lines;
};

} // namespace vocab

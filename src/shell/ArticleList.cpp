#include "ArticleList.h"

#include "AppError.h"
#include "ListFile.h"

#include <QFile>

namespace vocab {

ArticleList ArticleList::FromLines(const QStringList &lines)
{
    ArticleList list;
    list.m_lines.reserve(lines.size());
    for (const QString &line : lines) {
        list.m_lines.append({list.m_text.size(), line.size()});
        list.m_text += line;
    }
    return list;
}

ArticleList ArticleList::Decode(const QByteArray &bytes)
{
    ArticleList list;
    list.m_text = ListFile::decodeText(bytes);
    const QChar *p = list.m_text.constData();
    const qsizetype n = list.m_text.size();
    // Lines end at CR LF, a lone CR or a lone LF; a final break adds no line.
    list.m_lines.reserve(list.m_text.count(u'\n') + 1);
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i].unicode();
        if (c != u'\r' && c != u'\n')
            continue;
        list.m_lines.append({start, i - start});
        if (c == u'\r' && i + 1 < n && p[i + 1].unicode() == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        list.m_lines.append({start, n - start});
    return list;
}

ArticleList ArticleList::Read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Не удаётся открыть файл \"%1\": %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("Ошибка чтения файла \"%1\": %2").arg(path, file.errorString()));
    return Decode(bytes);
}

QStringList ArticleList::ToStringList() const
{
    QStringList lines;
    lines.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        lines.append(at(i).toString());
    return lines;
}

void ArticleList::clear()
{
    m_text.clear();
    m_lines.clear();
}

} // namespace vocab

#include "ArticlePage.h"

#include "DictPath.h"
#include "ListFile.h"
#include "ShellTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>

namespace vocab {

QString DictionaryHeading(const QString &caption)
{
    // The name is the dictionary maker's plain text, as the tree shows it: a
    // "<" or "&" in it is a letter of the name, and a "<!" must not turn the
    // rest of the page into a comment.
    return QStringLiteral("<div class=zag>") + caption.toHtmlEscaped() + QStringLiteral("</div>");
}

QString DamagedArticleFileNotice(const QString &caption, const QString &articleFile)
{
    return texts::DamagedArticleFile.arg(caption.toHtmlEscaped(),
                                         QDir::toNativeSeparators(articleFile).toHtmlEscaped());
}

QString ArticlePageHtml(const QString &pageHead, const QString &heading, const QString &preparedArticle)
{
    return pageHead + heading + QStringLiteral("<div align=\"justify\">") + preparedArticle + QStringLiteral("</div></body> </html>");
}

QString AboutPage(const QString &pageHead, const QString &text)
{
    return pageHead + QStringLiteral("<div align=\"justify\">") + text + QStringLiteral("</div></body> </html>");
}

QString AboutText(const QString &aboutInfoPath)
{
    if (!QFileInfo::exists(aboutInfoPath))
        return DescriptionFileNotFound;
    const QStringList lines = ListFile::read(aboutInfoPath);
    return lines.isEmpty() ? DescriptionNotFound : lines.front();
}

QString PictureFolderAddress(const QString &folder, const QString &programDir)
{
    // The folders came from a file system that ignores letter case: "IMG",
    // or a dictionary folder named otherwise than in the tree, are the same.
    const QString relative = QStringLiteral("dic/") + folder;
    QString path = DictPath::find(programDir, relative + QStringLiteral("/img"));
    if (path.isEmpty()) {
        const QString dictionary = DictPath::find(programDir, relative);
        path = (dictionary.isEmpty() ? programDir + u'/' + relative : dictionary) + QStringLiteral("/img");
    }
    QString address = QUrl::fromLocalFile(path + u'/').toString(QUrl::FullyEncoded);
    // Allowed in an address, but not inside the attribute that holds it.
    address.replace(u'&', QStringLiteral("%26"));
    address.replace(u'\'', QStringLiteral("%27"));
    return address;
}

QString ExpandImagePaths(const QString &article, const QString &folder, const QString &programDir)
{
    if (!article.contains(QLatin1String("##&")))
        return article;
    QString out = article;
    return out.replace(QLatin1String("##&"), PictureFolderAddress(folder, programDir));
}

qsizetype HeadwordLength(const QString &headword, const QString &article)
{
    qsizetype length = headword.size();
    qsizetype quotes = 0;
    // Each quote found inside the headword's span widens the span by one
    // character; the count can only grow up to the quotes the article has.
    // The span only ever grows, so each character is looked at once: a long
    // run of quotes costs no more than its length.
    qsizetype scanned = 0;
    qsizetype found = 0;
    for (;;) {
        const qsizetype end = std::min(length + quotes, article.size());
        for (; scanned < end; ++scanned) {
            if (article[scanned] == u'"')
                ++found;
        }
        if (found == quotes)
            break;
        quotes = found;
    }
    if (quotes % 2 != 0)
        ++length;
    return length + quotes;
}

QString BoldHeadword(const QString &storedArticle, const QString &expandedArticle, const QString &cellText,
                     const QString &storedHeadword)
{
    const qsizetype n = cellText.size();
    qsizetype bold = QStringView(storedArticle).left(n).contains(u'"') ? HeadwordLength(storedHeadword, storedArticle) : n;
    bold = std::min(bold, expandedArticle.size());
    return QStringLiteral("<B>") + expandedArticle.left(bold) + QStringLiteral("</B>") + expandedArticle.mid(bold);
}

QString ComposeArticlePage(const ArticleRequest &r, const QStringList &headwords, const LineList &articles)
{
    if (r.index < 0 || r.index >= headwords.size())
        return HeadingOnlyPage(r);
    if (r.index >= articles.size())
        return ComposeArticlePage(r, std::nullopt, headwords[r.index]);
    return ComposeArticlePage(r, articles.at(r.index).toString(), headwords[r.index]);
}

QString ComposeArticlePage(const ArticleRequest &r, const std::optional<QString> &stored, const QString &storedHeadword)
{
    const QString shown = stored ? BoldHeadword(*stored, ExpandImagePaths(*stored, r.folder, r.programDir), r.cellText,
                                                storedHeadword)
                                 : DamagedArticleFileNotice(r.caption, r.articleFile);
    return ArticlePageHtml(r.pageHead, DictionaryHeading(r.caption), shown);
}

QString HeadingOnlyPage(const ArticleRequest &r)
{
    return ArticlePageHtml(r.pageHead, DictionaryHeading(r.caption), QString());
}

} // namespace vocab

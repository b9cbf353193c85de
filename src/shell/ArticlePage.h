#pragma once

#include "LineList.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace vocab {

inline const QString DescriptionNotFound = QStringLiteral("Описание не найдено");
inline const QString DescriptionFileNotFound = QStringLiteral("Файл описания не найден");

// The heading of an article page: the dictionary's display name, as text.
QString DictionaryHeading(const QString &caption);

// What an article page shows in place of an article its dictionary's article
// file does not hold (the file is shorter than the headword file): that the
// file is damaged, naming the dictionary and the file, as text.
QString DamagedArticleFileNotice(const QString &caption, const QString &articleFile);

// A whole article page: head, heading, the prepared article, end.
QString ArticlePageHtml(const QString &pageHead, const QString &heading, const QString &preparedArticle);

// A whole description page; it has no heading.
QString AboutPage(const QString &pageHead, const QString &text);

// The description of a dictionary from its about.info: the first line, or one
// of the two texts for an empty or a missing file. A file that exists but
// cannot be read is an error.
QString AboutText(const QString &aboutInfoPath);

// The address of a dictionary's picture folder, ending in "/": the file URL
// of the program's folder + "/dic/" + folder + "/img", each part after the
// program's folder found on disk whatever its letter case (as written when
// missing), with every character that an address or an HTML attribute would
// take for something else percent-encoded ("#", "%", "?", blanks, "&", quotes).
QString PictureFolderAddress(const QString &folder, const QString &programDir);

// Every "##&" of an article becomes PictureFolderAddress(folder, programDir).
QString ExpandImagePaths(const QString &article, const QString &folder, const QString &programDir);

// How many characters at the start of the article hold the headword together
// with the double quotes standing among its letters (a closing quote included).
qsizetype HeadwordLength(const QString &headword, const QString &article);

// The article with its headword set in bold. `cellText` is the headword as the
// grid shows it; the bold length is counted on the stored article and applied
// to the expanded one. A bold length past the end of the article closes the
// bold at its end.
QString BoldHeadword(const QString &storedArticle, const QString &expandedArticle, const QString &cellText,
                     const QString &storedHeadword);

// The page of article `index` of a dictionary's open list. An index inside
// the headword list but outside the article list (an article file shorter than
// its headword file) gives the page with the heading and the notice that the
// article file is damaged, never another line's article; an index outside the
// headword list, the heading alone. Other damage is shown as it stands: an article shorter than its bold length
// is bold to its end, a quote that never closes takes one character more into
// the bold, and markup the article leaves open (a comment, a text box, a
// script) hides or swallows the rest of its own page only, as every page
// replaces the one before it whole.
struct ArticleRequest {
    QString pageHead;
    QString caption;    // the dictionary's display name
    QString folder;     // its folder under dic
    QString programDir;
    QString cellText;   // the selected grid cell
    qsizetype index = 0;
    QString articleFile; // the open article file, named when it lacks the line
};
QString ComposeArticlePage(const ArticleRequest &request, const QStringList &headwords, const LineList &articles);
// The same for an article read already: nothing stands for a line the
// article file does not hold, and gives the damaged file's notice.
QString ComposeArticlePage(const ArticleRequest &request, const std::optional<QString> &storedArticle,
                           const QString &storedHeadword);
// The page of a row that stands for no headword: the heading alone.
QString HeadingOnlyPage(const ArticleRequest &request);

} // namespace vocab

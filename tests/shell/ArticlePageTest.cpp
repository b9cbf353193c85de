#include "ArticlePage.h"

#include "IniFile.h"
#include "ListFile.h"
#include "PageHead.h"
#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QUrl>

#include <optional>
#include <vector>

using namespace vocab;

namespace {

const QString Head = QStringLiteral("<html><head>…</head><body>");

// The head with both font keys at their defaults.
const QString DefaultHead =
    u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"><style type=\"text/css\"> "
    u"A:link{COLOR: #666666; TEXT-DECORATION: underline}A:visited {COLOR: #666666; TEXT-DECORATION: underline}"
    u"A:active {COLOR: #666666; TEXT-DECORATION: underline}A:hover {COLOR: #666666; TEXT-DECORATION: underline}"
    u"DIV {FONT-FAMILY: Arial Unicode MS, Lucida Sans Unicode, Palatino Linotype, Arial, sans-serif; FONT-SIZE: 10pt;} "
    u"BODY {margin=\"10\"; FONT-WEIGHT: normal; BACKGROUND: FFFFFF; COLOR: 000000;  FONT-FAMILY: Arial Unicode MS, "
    u"Lucida Sans Unicode, Arial, Verdana, Helvetica, sans-serif; FONT-SIZE: 10pt;}.zag {FONT-WEIGHT: normal; "
    u"COLOR: 999999; FONT-SIZE: 9pt; FONT-FAMILY: Helvetica, Verdana, Arial  sans-serif}.line {cursor : pointer; "
    u"TEXT-DECORATION: underline} </style><script>function pod_cat(id){if(document.getElementById(id).style.display == "
    u"\"none\"){document.getElementById(id).style.display = 'block';return;}document.getElementById(id).style.display = "
    u"'none';}</script></head><body>"_qs;

} // namespace

TEST(ArticlePageHead, DefaultHeadWordForWord)
{
    QTemporaryDir dir;
    TIniFile ini(dir.filePath("options.ini"));
    EXPECT_EQ(BuildPageHead(ini), DefaultHead);
}

TEST(ArticlePageHeadword, BoldLengthWithQuotes)
{
    struct Case { const char16_t *headword; const char16_t *article; qsizetype length; };
    const Case cases[] = {
        {u"ABCDE", u"\"ABCDE\" rest", 7},
        {u"ABCDE", u"AB\"CD\"E rest", 7},
        {u"AB", u"\"A\"\"B\" x", 6},
        {u"КОТ", u"\"КОТ\" - x", 5},
        {u"КОТ", u"\"КОТ - quote never closes", 5},
        {u"ДОМ", u"ДОМ, -а", 3},
        {u"ДЛИННОЕ", u"\"ДЛ", 9}, // past the end of a short article
        {u"", u"\"\"\"", 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(HeadwordLength(QString::fromUtf16(c.headword), QString::fromUtf16(c.article)), c.length)
            << QString::fromUtf16(c.article).toStdString();
    // A long run of quotes widens the span quote by quote; each character is
    // still read once, so this returns at once.
    EXPECT_EQ(HeadwordLength("A", QString(200000, u'"')), 200001);
    EXPECT_EQ(HeadwordLength("AB", QString(100001, u'"') + "AB rest"), 100001 + 3);
}

TEST(ArticlePageHeadword, BoldIsPlacedOnTheExpandedArticle)
{
    struct Case { QString stored; QString cell; QString headword; QString result; };
    const std::vector<Case> cases{
        {u"ДОМ, -а, м. Здание."_qs, u"ДОМ"_qs, u"ДОМ"_qs, u"<B>ДОМ</B>, -а, м. Здание."_qs},
        {u"\"КОТ\" - зверь"_qs, u"КОТ"_qs, u"КОТ"_qs, u"<B>\"КОТ\"</B> - зверь"_qs},
        {u"КО"_qs, u"КОТЁНОК"_qs, u"КОТЁНОК"_qs, u"<B>КО</B>"_qs},
        {u"\"К"_qs, u"КОТ"_qs, u"КОТ"_qs, u"<B>\"К</B>"_qs},
        {QString(), u"X"_qs, u"X"_qs, u"<B></B>"_qs},
    };
    for (const Case &c : cases)
        EXPECT_EQ(BoldHeadword(c.stored, c.stored, c.cell, c.headword), c.result) << c.stored.toStdString();
}

TEST(ArticlePageImages, EveryMarkBecomesThePictureFolder)
{
    EXPECT_EQ(ExpandImagePaths(u"a<img src=\"##&x.png\"> b<img src=\"##&y.png\">"_qs, "ruslex", "/opt/voc"),
              u"a<img src=\"file:///opt/voc/dic/ruslex/img/x.png\"> b<img src=\"file:///opt/voc/dic/ruslex/img/y.png\">"_qs);
    EXPECT_EQ(ExpandImagePaths(u"нет картинок ##"_qs, "ruslex", "/opt/voc"), u"нет картинок ##"_qs);
}

TEST(ArticlePageImages, PictureFolderIsFoundWhateverItsCaseAndItsAddressIsEncoded)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    // Characters an address or an attribute would read otherwise, in the
    // program's folder; the folders on disk in other letter cases.
    const QString program = temp.filePath(u"Мой словарь #1 50% a?b & 'c'"_qs);
    ASSERT_TRUE(QDir().mkpath(program + u"/dic/Англо Русский/IMG"_qs));
    ASSERT_TRUE(QDir().mkpath(program + u"/dic/bare"_qs));
    const QString encoded = QUrl::fromLocalFile(temp.path()).toString(QUrl::FullyEncoded)
        + u"/%D0%9C%D0%BE%D0%B9%20%D1%81%D0%BB%D0%BE%D0%B2%D0%B0%D1%80%D1%8C%20%231%2050%25%20a%3Fb%20%26%20%27c%27"_qs;
    struct Case {
        QString folder;
        QString address;
    };
    const Case cases[] = {
        {u"англо русский"_qs, encoded + u"/dic/%D0%90%D0%BD%D0%B3%D0%BB%D0%BE%20%D0%A0%D1%83%D1%81%D1%81%D0%BA%D0%B8%D0%B9/IMG/"_qs},
        {u"BARE"_qs, encoded + u"/dic/bare/img/"_qs},    // no picture folder: as written, in the folder found
        {u"missing"_qs, encoded + u"/dic/missing/img/"_qs}, // no folder at all: as written
    };
    for (const Case &c : cases) {
        const QString address = PictureFolderAddress(c.folder, program);
        EXPECT_EQ(address, c.address) << c.folder.toStdString();
        // The address leads back to the folder on disk.
        const QUrl url(address);
        EXPECT_TRUE(url.isLocalFile()) << c.folder.toStdString();
        EXPECT_TRUE(url.query().isEmpty() && url.fragment().isEmpty()) << c.folder.toStdString();
        EXPECT_TRUE(url.toLocalFile().startsWith(program + u"/dic/"_qs)) << url.toLocalFile().toStdString();
    }
}

// An article file that ends before its headword file: the headwords past its
// end show that the file is damaged, naming it, and never another line's
// article; a row that stands for no headword shows the heading alone.
TEST(ArticlePageCompose, IndexOutsideTheArticlesShowsThatTheFileIsDamaged)
{
    const QStringList headwords{"A", "B", "C"};
    const LineList articles = LineList::FromLines({"A text"});
    const QString file = u"/p/dic/d/d.uvs"_qs;
    const QString damaged = u"Файл статей словаря \"Dict\" повреждён: он короче списка слов, и статьи этого слова в нём нет. "
                            u"Файл: /p/dic/d/d.uvs"_qs;
    ASSERT_EQ(DamagedArticleFileNotice("Dict", file), damaged);
    const auto page = [](const QString &article) {
        return Head + u"<div class=zag>Dict</div><div align=\"justify\">"_qs + article + u"</div></body> </html>"_qs;
    };
    struct Case {
        qsizetype index;
        QString shown;
    };
    const Case cases[] = {{0, u"<B>A</B> text"_qs}, {1, damaged}, {2, damaged}, {-1, QString()}, {3, QString()}};
    for (const Case &c : cases) {
        const ArticleRequest r{Head, "Dict", "d", "/p", "A", c.index, file};
        EXPECT_EQ(ComposeArticlePage(r, headwords, articles), page(c.shown)) << c.index;
    }
    // The article read already, or none there: the window's own path.
    const ArticleRequest r{Head, "Dict", "d", "/p", "B", 1, file};
    EXPECT_EQ(ComposeArticlePage(r, std::nullopt, "B"), page(damaged));
    EXPECT_EQ(HeadingOnlyPage(r), page(QString()));
}

// A name is text wherever it stands: in the heading of both pages and in the
// notice of a damaged file, where the file's path is text too.
TEST(ArticlePageCompose, NamesAndFilesAreShownAsText)
{
    struct Case {
        QString name;
        QString escaped;
    };
    const Case cases[] = {
        {u"Словарь <beta> & Co"_qs, u"Словарь &lt;beta&gt; &amp; Co"_qs},
        {u"<!-- Первый"_qs, u"&lt;!-- Первый"_qs},
        {u"<b>Жирный</b>"_qs, u"&lt;b&gt;Жирный&lt;/b&gt;"_qs},
        {u"\"Кавычки\" & &amp;"_qs, u"&quot;Кавычки&quot; &amp; &amp;amp;"_qs},
        {u"Обычный"_qs, u"Обычный"_qs},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(DictionaryHeading(c.name), u"<div class=zag>"_qs + c.escaped + u"</div>"_qs) << c.name.toStdString();
        const ArticleRequest r{Head, c.name, "d", "/p", "A", 0, u"/p/dic/<d>&/d.uvs"_qs};
        EXPECT_EQ(ComposeArticlePage(r, {"A"}, LineList::FromLines({"A <i>статья</i>"})),
                  Head + u"<div class=zag>"_qs + c.escaped + u"</div><div align=\"justify\"><B>A</B> <i>статья</i></div></body> </html>"_qs)
            << "the article stays HTML";
        EXPECT_EQ(DamagedArticleFileNotice(c.name, r.articleFile),
                  u"Файл статей словаря \""_qs + c.escaped + u"\" повреждён: он короче списка слов, и статьи этого слова в нём нет. "
                  u"Файл: /p/dic/&lt;d&gt;&amp;/d.uvs"_qs);
    }
    // A "%1" or "%2" in a name is a part of it, not a place for the file.
    EXPECT_EQ(DamagedArticleFileNotice(u"%2 %1"_qs, u"/f"_qs),
              u"Файл статей словаря \"%2 %1\" повреждён: он короче списка слов, и статьи этого слова в нём нет. Файл: /f"_qs);
}

// Whole pages as the window writes them, under a head built from options
// where the user changed the font size.
TEST(ArticlePagePages, WholeArticleAndDescriptionPages)
{
    QTemporaryDir dir;
    vocab::test::writeBytes(dir.filePath("options.ini"), "[Font]\r\nFontSize=12pt\r\n");
    TIniFile ini(dir.filePath("options.ini"));
    const QString head = BuildPageHead(ini);
    QString userHead = DefaultHead;
    ASSERT_EQ(userHead.count(u"FONT-SIZE: 10pt;} BODY"_qs), 1);
    userHead.replace(u"FONT-SIZE: 10pt;} BODY"_qs, u"FONT-SIZE: 12pt;} BODY"_qs);
    ASSERT_EQ(head, userHead);
    EXPECT_EQ(ini.ReadString("Font", "FontSize", ""), "12pt") << "the user's value is not written over";

    const QString heading = u"<div class=zag>Малый толковый</div>"_qs;
    const QString end = u"</div></body> </html>"_qs;
    const QString pictures = u"file:///opt/voc/dic/ruslex/img/"_qs;
    struct Case {
        const char *name;
        QString stored;
        QString cell;
        qsizetype index;
        QString article; // what the page shows of it
    };
    const std::vector<Case> cases{
        {"quoted headword", u"\"КОТ\" - зверь"_qs, u"КОТ"_qs, 0, u"<B>\"КОТ\"</B> - зверь"_qs},
        {"two picture marks", u"ДОМ <img src=\"##&a.png\"> и <img src=\"##&b.png\">"_qs, u"ДОМ"_qs, 0,
         u"<B>ДОМ</B> <img src=\""_qs + pictures + u"a.png\"> и <img src=\""_qs + pictures + u"b.png\">"_qs},
        {"no marks", u"ЛЕС, -а. Деревья ## и #&"_qs, u"ЛЕС"_qs, 0, u"<B>ЛЕС</B>, -а. Деревья ## и #&"_qs},
        {"article shorter than its headword", u"КО"_qs, u"КОТЁНОК"_qs, 0, u"<B>КО</B>"_qs},
        {"a quote that never closes takes one more character", u"\"КОТ - зверь"_qs, u"КОТ"_qs, 0, u"<B>\"КОТ </B>- зверь"_qs},
        {"index outside the articles", u"ДОМ"_qs, u"ДОМ"_qs, 1, QString()},
    };
    for (const Case &c : cases) {
        const ArticleRequest r{head, u"Малый толковый"_qs, "ruslex", "/opt/voc", c.cell, c.index, u"/opt/voc/dic/ruslex/ruslex.uvs"_qs};
        EXPECT_EQ(ComposeArticlePage(r, {c.cell}, LineList::FromLines({c.stored})), userHead + heading + u"<div align=\"justify\">"_qs + c.article + end)
            << c.name;
    }

    // The description page: line 1 of about.info, or one of the two texts.
    const QString about = dir.filePath("about.info");
    struct About {
        const char *name;
        std::optional<QStringList> lines;
        QString text;
    };
    const std::vector<About> abouts{
        {"first line", QStringList{u"Толковый словарь для примера."_qs, u"Малый толковый"_qs}, u"Толковый словарь для примера."_qs},
        {"empty file", QStringList{}, u"Описание не найдено"_qs},
        {"no file", std::nullopt, u"Файл описания не найден"_qs},
    };
    for (const About &a : abouts) {
        QFile::remove(about);
        if (a.lines)
            ListFile::write(about, *a.lines);
        EXPECT_EQ(AboutPage(head, AboutText(about)), userHead + u"<div align=\"justify\">"_qs + a.text + end) << a.name;
    }
}

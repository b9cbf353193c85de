#include "ArticlePage.h"

#include "IniFile.h"
#include "ListFile.h"
#include "PageHead.h"
#include "TestSupport.h"

using namespace vocab;

namespace {

const QString Head = QStringLiteral("<html><head>…</head><body>");

} // namespace

TEST(ArticlePageHead, DefaultHeadWordForWord)
{
    QTemporaryDir dir;
    TIniFile ini(dir.filePath("options.ini"));
    EXPECT_EQ(BuildPageHead(ini),
              u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"><style type=\"text/css\"> "
              u"A:link{COLOR: #666666; TEXT-DECORATION: underline}A:visited {COLOR: #666666; TEXT-DECORATION: underline}"
              u"A:active {COLOR: #666666; TEXT-DECORATION: underline}A:hover {COLOR: #666666; TEXT-DECORATION: underline}"
              u"DIV {FONT-FAMILY: Arial Unicode MS, Lucida Sans Unicode, Palatino Linotype, Arial, sans-serif; FONT-SIZE: 10pt;} "
              u"BODY {margin=\"10\"; FONT-WEIGHT: normal; BACKGROUND: FFFFFF; COLOR: 000000;  FONT-FAMILY: Arial Unicode MS, "
              u"Lucida Sans Unicode, Arial, Verdana, Helvetica, sans-serif; FONT-SIZE: 10pt;}.zag {FONT-WEIGHT: normal; "
              u"COLOR: 999999; FONT-SIZE: 9pt; FONT-FAMILY: Helvetica, Verdana, Arial  sans-serif}.line {cursor : pointer; "
              u"TEXT-DECORATION: underline} </style><script>function pod_cat(id){if(document.getElementById(id).style.display == "
              u"\"none\"){document.getElementById(id).style.display = 'block';return;}document.getElementById(id).style.display = "
              u"'none';}</script></head><body>"_qs);
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
              u"a<img src=\"/opt/voc/dic/ruslex/img/x.png\"> b<img src=\"/opt/voc/dic/ruslex/img/y.png\">"_qs);
    EXPECT_EQ(ExpandImagePaths(u"нет картинок ##"_qs, "ruslex", "/opt/voc"), u"нет картинок ##"_qs);
}

TEST(ArticlePageCompose, WholePageForARow)
{
    const QStringList headwords{u"ДОМ"_qs, u"КОТ"_qs};
    const ArticleList articles = ArticleList::FromLines({u"ДОМ, -а. <img src=\"##&dom.png\">"_qs, u"\"КОТ\" - зверь"_qs});
    ArticleRequest r{Head, u"Малый толковый"_qs, "ruslex", "/opt/voc", u"ДОМ"_qs, 0};
    EXPECT_EQ(ComposeArticlePage(r, headwords, articles),
              Head + u"<div class=zag>Малый толковый</div><div align=\"justify\"><B>ДОМ</B>, -а. "
                     u"<img src=\"/opt/voc/dic/ruslex/img/dom.png\"></div></body> </html>"_qs);
    r.index = 1;
    r.cellText = u"КОТ"_qs;
    EXPECT_EQ(ComposeArticlePage(r, headwords, articles),
              Head + u"<div class=zag>Малый толковый</div><div align=\"justify\"><B>\"КОТ\"</B> - зверь</div></body> </html>"_qs);
}

TEST(ArticlePageCompose, IndexOutsideTheArticlesShowsNoOtherArticle)
{
    const QStringList headwords{"A", "B", "C"};
    const ArticleList articles = ArticleList::FromLines({"A text"});
    for (qsizetype index : {qsizetype(1), qsizetype(2), qsizetype(-1)}) {
        const ArticleRequest r{Head, "Dict", "d", "/p", "B", index};
        EXPECT_EQ(ComposeArticlePage(r, headwords, articles), Head + u"<div class=zag>Dict</div><div align=\"justify\"></div></body> </html>"_qs);
    }
}

TEST(ArticlePageAbout, DescriptionTexts)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("about.info");
    EXPECT_EQ(AboutText(path), u"Файл описания не найден"_qs);
    ListFile::write(path, {});
    EXPECT_EQ(AboutText(path), u"Описание не найдено"_qs);
    ListFile::write(path, {u"Толковый словарь для примера."_qs, u"Малый толковый"_qs});
    EXPECT_EQ(AboutText(path), u"Толковый словарь для примера."_qs);
    EXPECT_EQ(AboutPageHtml(Head, AboutText(path)), Head + u"<div align=\"justify\">Толковый словарь для примера.</div></body> </html>"_qs);
}

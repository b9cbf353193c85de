// The page of one headword from all dictionaries, composed from dictionary
// folders the tests write, compared as whole HTML.
#include "AllDictionariesPage.h"

#include "AppError.h"
#include "ArticlePage.h"
#include "DictionaryFixtures.h"

#include <QFile>

using namespace vocab;
using namespace vocab::test;

namespace {

const QString Head = QStringLiteral("<html><head>…</head><body>");
const QString End = QStringLiteral("</div></body> </html>");

QString link(int n)
{
    return u"<a onclick=\"pod_cat('uv%1')\" class=\"line\"><b>...</b></a><div id=\"uv%1\" style=\"display: none;\">"_qs.arg(n);
}

QString repeated(char16_t c, qsizetype n) { return QString(n, QChar(c)); }

// A tree of dictionaries written under a temporary folder.
class PageRig {
public:
    void folderNode(const QString &caption)
    {
        treeLines.append(caption);
        nodes.push_back({caption, tnkFolder, {}});
    }
    void dictionaryNode(const QString &caption, const QString &folder)
    {
        treeLines.append(u'\t' + caption + u'=' + folder);
        nodes.push_back({caption, tnkDictionary, {}});
    }
    // A whole-list dictionary.
    void whole(const QString &caption, const QString &folder, const QStringList &headwords, const QStringList &articles)
    {
        dictionaryNode(caption, folder);
        pair(u"dic/%1/%1"_qs.arg(folder), headwords, articles);
    }
    // Letter file n of a per-letter dictionary; one with file 101 is English.
    void letter(const QString &folder, int n, const QStringList &headwords, const QStringList &articles)
    {
        pair(u"dic/%1/base/%2"_qs.arg(folder).arg(n), headwords, articles);
    }
    void pair(const QString &stem, const QStringList &headwords, const QStringList &articles)
    {
        dir.writeList(stem + ".ogl", headwords);
        dir.writeList(stem + ".uvs", articles);
    }

    AllDictionariesResult build(const QString &key)
    {
        progress.clear();
        const AllDictionariesPage page(dir.base(), "/opt/voc", treeLines);
        return page.Build(Head, key, nodes, gray, [this](int position) { progress.push_back(position); });
    }

    FixtureFolder dir;
    StringList treeLines{u"Все словари"_qs};
    std::vector<PageTreeNode> nodes{{u"Все словари"_qs, tnkRoot, {}}};
    QStringList gray;
    std::vector<int> progress;
};

} // namespace

TEST(AllDictionariesPageStart, WhatTheBoxAndThePickedRowAllow)
{
    struct Case { const char16_t *box; const char16_t *picked; PageStart start; };
    const Case cases[] = {
        {u"кот", u"КОТ", PageStart::Build},
        {u"к", u"КОТЁЛ", PageStart::Build},
        {u"  ко ", u"КОТ", PageStart::Build},
        {u"ёж", u"ЕЖ", PageStart::Build},
        {u"кот", u"", PageStart::NoHeadword},
        {u"", u"", PageStart::NoHeadword},
        {u"", u"КОТ", PageStart::EmptyText},
        {u"   ", u"КОТ", PageStart::EmptyText},
        {u"лес", u"КОТ", PageStart::OtherLetter},
        {u"\tкот", u"КОТ", PageStart::OtherLetter},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CheckPageStart(QString::fromUtf16(c.box), QString::fromUtf16(c.picked)), c.start)
            << QString::fromUtf16(c.box).toStdString() << " / " << QString::fromUtf16(c.picked).toStdString();
}

TEST(AllDictionariesPageBuild, OneDictionary)
{
    PageRig rig;
    rig.whole(u"Толковый"_qs, "tolk", {u"ДОМ"_qs, u"КОТ"_qs, u"КОТЁЛ"_qs}, {u"ДОМ, -а"_qs, u"КОТ, -а, м."_qs, u"КОТЁЛ"_qs});
    const AllDictionariesResult result = rig.build(u"КОТ"_qs);
    EXPECT_TRUE(result.found);
    EXPECT_EQ(result.page,
              Head + u"<div class=zag>Толковый</div><div align=\"justify\"><B>КОТ</B>, -а, м.</div><br><br>"_qs + End);
    EXPECT_TRUE(result.GrayListWork.isEmpty());
}

TEST(AllDictionariesPageBuild, SeveralDictionariesInTreeOrder)
{
    PageRig rig;
    rig.whole(u"Первый"_qs, "a", {u"ДОМ"_qs, u"КОТ"_qs, u"КОТ"_qs, u"КОТ"_qs, u"КОТЫ"_qs},
              {u"ДОМ"_qs, u"КОТ 1"_qs, u"КОТ 2"_qs, u"КОТ 3"_qs, u"КОТЫ"_qs});
    rig.folderNode(u"Папка"_qs);
    rig.dictionaryNode(u"Русский по буквам"_qs, "b");
    rig.letter("b", 11, {u"КИТ"_qs, u"КОТ"_qs}, {u"КИТ"_qs, u"КОТ — зверь"_qs});
    // An English per-letter dictionary is not read for a Russian word, even
    // where its file of other characters holds it.
    rig.dictionaryNode(u"Английский по буквам"_qs, "c");
    rig.letter("c", 100, {u"КОТ"_qs}, {u"КОТ в английском"_qs});
    rig.letter("c", 101, {u"APPLE"_qs}, {u"APPLE"_qs});
    // An English whole-list dictionary is.
    rig.whole(u"Английский целый"_qs, "d", {u"CAT"_qs, u"КОТ"_qs}, {u"CAT"_qs, u"КОТ — cat"_qs});
    rig.whole(u"Серый"_qs, "e", {u"КОТ"_qs}, {u"КОТ серый"_qs});
    rig.whole(u"Без слова"_qs, "f", {u"ДОМ"_qs}, {u"ДОМ"_qs});
    rig.gray = {u"Серый"_qs};

    const AllDictionariesResult result = rig.build(u"КОТ"_qs);
    EXPECT_EQ(result.page,
              Head
                  + u"<div class=zag>Первый</div>"
                    u"<div align=\"justify\"><B>КОТ</B> 1</div><br>"
                    u"<div align=\"justify\"><B>КОТ</B> 2</div><br>"
                    u"<div align=\"justify\"><B>КОТ</B> 3</div><br><br>"
                    u"<div class=zag>Русский по буквам</div><div align=\"justify\"><B>КОТ</B> — зверь</div><br><br>"
                    u"<div class=zag>Английский целый</div><div align=\"justify\"><B>КОТ</B> — cat</div><br><br>"_qs
                  + End);
    EXPECT_TRUE(result.GrayListWork.isEmpty()) << "the grey-listed dictionary is in the tree";
}

// A name that reads as markup is shown as it is: it neither vanishes nor
// turns the dictionaries after it into a comment. Articles stay HTML.
TEST(AllDictionariesPageBuild, NamesAreShownAsText)
{
    PageRig rig;
    rig.whole(u"<!-- Первый"_qs, "a", {u"КОТ"_qs}, {u"КОТ <i>первый</i>"_qs});
    rig.whole(u"Словарь <beta> & Co"_qs, "b", {u"КОТ"_qs}, {u"КОТ второй"_qs});
    rig.gray = {u"Словарь &lt;beta&gt; &amp; Co"_qs};
    const AllDictionariesResult result = rig.build(u"КОТ"_qs);
    EXPECT_EQ(result.page,
              Head + u"<div class=zag>&lt;!-- Первый</div><div align=\"justify\"><B>КОТ</B> <i>первый</i></div><br><br>"
                     u"<div class=zag>Словарь &lt;beta&gt; &amp; Co</div><div align=\"justify\"><B>КОТ</B> второй</div><br><br>"_qs
                  + End);
    EXPECT_EQ(result.GrayListWork, QStringList{u"Словарь &lt;beta&gt; &amp; Co"_qs}) << "the grey list holds names, not markup";
}

TEST(AllDictionariesPageBuild, LetterFilesOfTheKey)
{
    PageRig rig;
    rig.dictionaryNode(u"Русский"_qs, "rus");
    rig.letter("rus", 0, {u"-"_qs, u"1812"_qs}, {u"- дефис"_qs, u"1812 год"_qs});
    rig.letter("rus", 12, {u"-ЛОГ"_qs}, {u"-ЛОГ, вторая часть слов"_qs});
    rig.dictionaryNode(u"Английский"_qs, "eng");
    rig.letter("eng", 101, {u"A"_qs}, {u"A"_qs});
    rig.letter("eng", 100, {u"1812"_qs}, {u"1812 overture"_qs});
    rig.letter("eng", 105, {u"ÉTAGE"_qs}, {u"ÉTAGE floor"_qs});
    rig.letter("eng", 120, {u"'TIS"_qs}, {u"'TIS it is"_qs});

    struct Case { const char16_t *key; const char16_t *body; };
    const Case cases[] = {
        {u"-ЛОГ", u"<div class=zag>Русский</div><div align=\"justify\"><B>-ЛОГ</B>, вторая часть слов</div><br><br>"},
        {u"1812", u"<div class=zag>Русский</div><div align=\"justify\"><B>1812</B> год</div><br><br>"
                  u"<div class=zag>Английский</div><div align=\"justify\"><B>1812</B> overture</div><br><br>"},
        // À, É and Ö are looked for under their plain letters.
        {u"ÉTAGE", u"<div class=zag>Английский</div><div align=\"justify\"><B>ÉTAGE</B> floor</div><br><br>"},
        {u"'TIS", u"<div class=zag>Английский</div><div align=\"justify\"><B>'TIS</B> it is</div><br><br>"},
    };
    for (const Case &c : cases) {
        const AllDictionariesResult result = rig.build(QString::fromUtf16(c.key));
        EXPECT_EQ(result.page, Head + QString::fromUtf16(c.body) + End) << QString::fromUtf16(c.key).toStdString();
    }
}

TEST(AllDictionariesPageBuild, ArticlesArePreparedAsOnTheArticlePage)
{
    PageRig rig;
    rig.whole(u"Словарь"_qs, "pics", {u"КОТ"_qs, u"ЛЕС"_qs, u"ЛУГ"_qs},
              {u"\"КОТ\" - зверь"_qs, u"ЛЕС <img src=\"##&les.png\"> и <img src=\"##&les2.png\">"_qs, u"ЛУГ"_qs});
    EXPECT_EQ(rig.build(u"КОТ"_qs).page,
              Head + u"<div class=zag>Словарь</div><div align=\"justify\"><B>\"КОТ\"</B> - зверь</div><br><br>"_qs + End);
    EXPECT_EQ(rig.build(u"ЛЕС"_qs).page,
              Head + u"<div class=zag>Словарь</div><div align=\"justify\"><B>ЛЕС</B> <img src=\"file:///opt/voc/dic/pics/img/les.png\"> "
                     u"и <img src=\"file:///opt/voc/dic/pics/img/les2.png\"></div><br><br>"_qs + End);
}

TEST(AllDictionariesPageFold, LongArticlesAreFoldedBehindALink)
{
    struct Case {
        const char *what;
        QString stored;   // begins with the headword ДОМ
        QString prepared; // what the page shows of it
    };
    const std::vector<Case> cases{
        {"700 characters stay whole", u"ДОМ"_qs + repeated(u'x', 697), u"<B>ДОМ</B>"_qs + repeated(u'x', 697)},
        {"701 characters with a space in the stretch: the link follows the space",
         u"ДОМ "_qs + repeated(u'x', 596) + u' ' + repeated(u'y', 100),
         u"<B>ДОМ</B> "_qs + repeated(u'x', 596) + u' ' + link(1) + repeated(u'y', 100) + u"</div>"_qs},
        {"no space in the stretch: the link stands before character 500",
         u"ДОМ"_qs + repeated(u'x', 698),
         u"<B>ДОМ</B>"_qs + repeated(u'x', 489) + link(1) + repeated(u'x', 209) + u"</div>"_qs},
        {"a space before character 500 does not count",
         u"ДОМ"_qs + repeated(u'x', 485) + u' ' + repeated(u'x', 212),
         u"<B>ДОМ</B>"_qs + repeated(u'x', 485) + u' ' + repeated(u'x', 3) + link(1) + repeated(u'x', 209) + u"</div>"_qs},
        {"the stretch ends at the stored length, counted on the prepared text",
         u"ДОМ"_qs + repeated(u'x', 697) + u' ',
         u"<B>ДОМ</B>"_qs + repeated(u'x', 489) + link(1) + repeated(u'x', 208) + u" </div>"_qs},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        PageRig rig;
        rig.whole(u"Длинный"_qs, "long", {u"ДОМ"_qs}, {c.stored});
        EXPECT_EQ(rig.build(u"ДОМ"_qs).page,
                  Head + u"<div class=zag>Длинный</div><div align=\"justify\">"_qs + c.prepared + u"</div><br><br>"_qs + End);
    }
}

TEST(AllDictionariesPageFold, FoldsAreNumberedAcrossThePageAndAgainOnTheNext)
{
    PageRig rig;
    const QString longArticle = u"ДОМ"_qs + repeated(u'x', 698);
    const QString folded = u"<B>ДОМ</B>"_qs + repeated(u'x', 489) + u"%1"_qs + repeated(u'x', 209) + u"</div>"_qs;
    rig.whole(u"Один"_qs, "one", {u"ДОМ"_qs, u"ДОМ"_qs}, {longArticle, u"ДОМ короткий"_qs});
    rig.whole(u"Два"_qs, "two", {u"ДОМ"_qs}, {longArticle});
    const QString expected = Head + u"<div class=zag>Один</div><div align=\"justify\">"_qs + folded.arg(link(1))
        + u"</div><br><div align=\"justify\"><B>ДОМ</B> короткий</div><br><br>"
          u"<div class=zag>Два</div><div align=\"justify\">"_qs
        + folded.arg(link(2)) + u"</div><br><br>"_qs + End;
    EXPECT_EQ(rig.build(u"ДОМ"_qs).page, expected);
    EXPECT_EQ(rig.build(u"ДОМ"_qs).page, expected) << "the next page counts from 1 again";
}

TEST(AllDictionariesPageBuild, NothingFound)
{
    const QString nothing = Head
        + u"Ничего не найдено. Возможные причины: <br><br>1. В настройках словаря со словом <b>КОТ</b> отмечена опция "
          u"\"Игнорировать общий поиск\". Настройку можно отменить из контекстного меню словаря.<br><br>2. Если первая "
          u"буква заголовочного слова не русская и не английская.<br><br>3. Словарь со словом <b>КОТ</b>, был удален, а "
          u"заголовочное слово в списке всех словарей осталось. Если вы не хотите, чтобы подобная неточность поиска "
          u"повторялась, используйте опцию в меню Сервис – Обновление списка. <br><br><i>Примечание.</i> Обновление "
          u"списка достаточно долгая процедура, может занять несколько минут.</div></body> </html>"_qs;
    EXPECT_EQ(NothingFoundText(Head, u"КОТ"_qs), nothing);
    EXPECT_EQ(NothingFoundText(Head, u"<I>&T"_qs), QString(nothing).replace(u"КОТ"_qs, u"&lt;I&gt;&amp;T"_qs));

    struct Case {
        const char *what;
        std::function<void(PageRig &)> make;
    };
    const std::vector<Case> cases{
        {"an empty tree", [](PageRig &) {}},
        {"no dictionary has the word", [](PageRig &r) { r.whole(u"А"_qs, "a", {u"КОТЫ"_qs, u"КО"_qs}, {u"КОТЫ"_qs, u"КО"_qs}); }},
        {"every dictionary that has it is grey-listed",
         [](PageRig &r) {
             r.whole(u"А"_qs, "a", {u"КОТ"_qs}, {u"КОТ"_qs});
             r.whole(u"Б"_qs, "b", {u"КОТ"_qs}, {u"КОТ"_qs});
             r.gray = {u"Б"_qs, u"А"_qs};
         }},
        {"the key's letter file is missing",
         [](PageRig &r) {
             r.dictionaryNode(u"А"_qs, "a");
             r.letter("a", 1, {u"АИСТ"_qs}, {u"АИСТ"_qs});
         }},
        {"a dictionary node without a folder", [](PageRig &r) { r.nodes.push_back({u"Потерянный"_qs, tnkDictionary, {}}); }},
        {"a word lower-cased in the file", [](PageRig &r) { r.whole(u"А"_qs, "a", {u"кот"_qs}, {u"кот"_qs}); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        PageRig rig;
        c.make(rig);
        const AllDictionariesResult result = rig.build(u"КОТ"_qs);
        EXPECT_FALSE(result.found);
        EXPECT_EQ(result.page, nothing);
    }
}

TEST(AllDictionariesPageBuild, TwoDictionariesOfOneNameEachFromItsOwnFolder)
{
    PageRig rig;
    rig.whole(u"Альфа"_qs, "a", {u"КОТ"_qs}, {u"КОТ из первой"_qs});
    rig.whole(u"Альфа"_qs, "b", {u"КОТ"_qs}, {u"КОТ из второй"_qs});
    const QString first = u"<div class=zag>Альфа</div><div align=\"justify\"><B>КОТ</B> из первой</div><br><br>"_qs;
    const QString second = u"<div class=zag>Альфа</div><div align=\"justify\"><B>КОТ</B> из второй</div><br><br>"_qs;
    // Nodes that know their folders.
    rig.nodes[1].folder = "a";
    rig.nodes[2].folder = "b";
    EXPECT_EQ(rig.build(u"КОТ"_qs).page, Head + first + second + End);
    // Without, the tree lines give the first folder of the name for both.
    rig.nodes[1].folder.clear();
    rig.nodes[2].folder.clear();
    EXPECT_EQ(rig.build(u"КОТ"_qs).page, Head + first + first + End);
}

TEST(AllDictionariesPageGrayList, NamesNoDictionaryBearsAreLeftOver)
{
    PageRig rig;
    rig.whole(u"Икс"_qs, "x", {u"КОТ"_qs}, {u"КОТ икс"_qs});
    rig.folderNode(u"Папка"_qs);
    rig.whole(u"Игрек"_qs, "y", {u"КОТ"_qs}, {u"КОТ игрек"_qs});
    // Names are compared exactly; one grey entry stands for one node.
    rig.gray = {u"Икс"_qs, u"Ушедший"_qs, u"Папка"_qs, u"игрек"_qs, u"Икс"_qs};
    const AllDictionariesResult result = rig.build(u"КОТ"_qs);
    EXPECT_EQ(result.page,
              Head + u"<div class=zag>Игрек</div><div align=\"justify\"><B>КОТ</B> игрек</div><br><br>"_qs + End);
    EXPECT_EQ(result.GrayListWork, (QStringList{u"Ушедший"_qs, u"Папка"_qs, u"игрек"_qs, u"Икс"_qs}));

    QStringList grayList{u"Икс"_qs, u"Ушедший"_qs, u"Икс"_qs, u"Папка"_qs, u"игрек"_qs, u"Икс"_qs};
    RemoveGrayNames(grayList, result.GrayListWork);
    EXPECT_EQ(grayList, (QStringList{u"Икс"_qs, u"Икс"_qs}));
}

TEST(AllDictionariesPageFailures, MissingOrShortArticleFiles)
{
    PageRig rig;
    rig.whole(u"А"_qs, "a", {u"КОТ"_qs}, {u"КОТ а"_qs});
    rig.dictionaryNode(u"Б"_qs, "b");
    rig.dir.writeList("dic/b/b.ogl", {u"ДОМ"_qs, u"КОТ"_qs, u"КОТ"_qs});
    rig.dir.writeList("dic/b/b.uvs", {u"ДОМ"_qs, u"КОТ б"_qs});
    rig.dictionaryNode(u"В"_qs, "c");
    rig.letter("c", 11, {u"КОТ"_qs}, {});
    // A shorter article file gives no other line's article: it is told to
    // be damaged, and named, where each article it lacks would stand.
    const auto damaged = [&](const QString &name, const QString &file) {
        return u"Файл статей словаря \""_qs + name + u"\" повреждён: он короче списка слов, и статьи этого слова в нём нет. Файл: "_qs
            + rig.dir.path(file);
    };
    const AllDictionariesResult shortFiles = rig.build(u"КОТ"_qs);
    EXPECT_TRUE(shortFiles.found);
    EXPECT_EQ(shortFiles.page,
              Head + u"<div class=zag>А</div><div align=\"justify\"><B>КОТ</B> а</div><br><br>"
                     u"<div class=zag>Б</div><div align=\"justify\"><B>КОТ</B> б</div><br>"
                     u"<div align=\"justify\">"_qs + damaged(u"Б"_qs, "dic/b/b.uvs") + u"</div><br><br>"
                     u"<div class=zag>В</div><div align=\"justify\">"_qs + damaged(u"В"_qs, "dic/c/base/11.uvs")
                  + u"</div><br><br>"_qs + End);

    // A dictionary without the word is never asked for its articles.
    QFile::remove(rig.dir.path("dic/b/b.uvs"));
    EXPECT_FALSE(rig.build(u"ЛЕС"_qs).found);
    EXPECT_THROW(rig.build(u"КОТ"_qs), FileError) << "an article file missing beside the key";
}

// The page reads only the lines it needs and remembers, between pages, where
// an article file's lines begin; a file changed between two pages is read
// as it is now.
TEST(AllDictionariesPageFailures, ArticleFilesChangedBetweenPages)
{
    PageRig rig;
    QStringList headwords;
    QStringList articles;
    for (int i = 0; i < 200; ++i) {
        headwords.append(i == 150 ? u"КОТ"_qs : u"СЛОВО"_qs + QString::number(i));
        articles.append(headwords.last() + u" статья "_qs + QString::number(i) + repeated(u'ы', 300));
    }
    rig.whole(u"А"_qs, "a", headwords, articles);
    const QString uvs = rig.dir.path("dic/a/a.uvs");
    const auto section = [](const QString &article) {
        return Head + u"<div class=zag>А</div><div align=\"justify\">"_qs + article + u"</div><br><br>"_qs + End;
    };
    const QString shown = u"<B>КОТ</B> статья 150"_qs + repeated(u'ы', 300);
    ASSERT_EQ(rig.build(u"КОТ"_qs).page, section(shown));

    // Cut short before the word's article: the section shows that the file
    // is damaged.
    ASSERT_TRUE(QFile::resize(rig.dir.path("dic/a/a.uvs"), 3 + 100 * 10));
    EXPECT_EQ(rig.build(u"КОТ"_qs).page, section(DamagedArticleFileNotice(u"А"_qs, uvs)));

    // Written again with short articles: the page shows the new one.
    QStringList shortArticles;
    for (int i = 0; i < 200; ++i)
        shortArticles.append(headwords[i] + u" новая"_qs);
    test::writeBytes(uvs, ListFile::encode(shortArticles));
    EXPECT_EQ(rig.build(u"КОТ"_qs).page, section(u"<B>КОТ</B> новая"_qs));
    ListFile::write(uvs, articles.mid(0, 151));
    EXPECT_EQ(rig.build(u"КОТ"_qs).page, section(shown));
}

TEST(AllDictionariesPageProgress, TheBarMovesFromTheFirstDictionaryRead)
{
    PageRig rig;
    rig.folderNode(u"Папка"_qs);                                    // 1
    rig.dictionaryNode(u"Нечитаемый"_qs, "none");                   // 2
    rig.whole(u"А"_qs, "a", {u"ДОМ"_qs}, {u"ДОМ"_qs});               // 3: the first read
    rig.folderNode(u"Ещё папка"_qs);                                // 4
    rig.whole(u"Серый"_qs, "g", {u"ДОМ"_qs}, {u"ДОМ"_qs});           // 5
    rig.whole(u"Б"_qs, "b", {u"ДОМ"_qs}, {u"ДОМ"_qs});               // 6, the last
    rig.gray = {u"Серый"_qs};
    rig.build(u"ДОМ"_qs);
    // (i * 110) div 7 - 1 for node i of 7, and 101 at the last.
    EXPECT_EQ(rig.progress, (std::vector<int>{46, 61, 77, 101}));

    PageRig lone;
    lone.whole(u"А"_qs, "a", {u"ДОМ"_qs}, {u"ДОМ"_qs});
    lone.build(u"ДОМ"_qs);
    EXPECT_EQ(lone.progress, (std::vector<int>{101}));
}

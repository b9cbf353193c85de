#include "AllDictionariesPage.h"

#include "AppError.h"
#include "ArticlePage.h"
#include "DictionaryFolder.h"
#include "LetterIndex.h"
#include "SearchText.h"

namespace vocab {

namespace {

const QString Justified = QStringLiteral("<div align=\"justify\">");
const QString ArticleEnd = QStringLiteral("</div>");
const QString SectionBreak = QStringLiteral("<br><br>");
const QString PageEnd = QStringLiteral("</div></body> </html>");

// The English per-letter file of a key: its first character is taken for its
// plain letter when it is À, É or Ö, as the combined list files such words.
int EnglishLetterNumber(const QString &key)
{
    if (key.isEmpty())
        return LetterFileNumber(key, true);
    QString folded = key;
    folded[0] = FoldLatinAccent(folded[0]);
    return LetterFileNumber(folded, true);
}

// The bar's position after node i of `count`; the last node fills it.
int ProgressAt(qsizetype i, qsizetype count)
{
    return i == count - 1 ? 101 : int(i * 110 / count - 1);
}

// The page as it grows, one dictionary after the other.
class PageBody {
public:
    PageBody(const QString &programDir) : m_programDir(programDir) {}

    // An article as the article page prepares it, folded when long. An
    // article file shorter than its headword file has no article for the
    // last lines: the notice that it is damaged stands for each of them,
    // never another line's article.
    QString Prepare(const QString &headword, const QStringList &articles, qsizetype j, const QString &folder,
                    const QString &missing)
    {
        if (j >= articles.size())
            return missing;
        const QString &stored = articles.at(j);
        const QString prepared = BoldHeadword(stored, ExpandImagePaths(stored, folder, m_programDir), headword, headword);
        return FoldLongArticle(prepared, stored.size(), m_foldNumber);
    }

    // The articles of the lines that equal the key, from the first on: the
    // first under the dictionary's heading, the others below it, one break
    // apart. `missing` stands for the articles the file does not hold.
    void AddDictionary(const QString &heading, const QString &key, const QStringList &articles, qsizetype lines,
                       const QString &folder, const QString &missing)
    {
        m_html += heading + Justified + Prepare(key, articles, 0, folder, missing) + ArticleEnd + SectionBreak;
        for (qsizetype j = 1; j < lines; ++j) {
            m_html.chop(4); // "<br><br>" becomes "<br>"
            m_html += Justified + Prepare(key, articles, j, folder, missing) + ArticleEnd + SectionBreak;
        }
    }

    const QString &Html() const { return m_html; }

private:
    const QString &m_programDir;
    QString m_html;
    int m_foldNumber = 1;
};

} // namespace

QString FoldLink(int N)
{
    const QString number = QString::number(N);
    return QStringLiteral("<a onclick=\"pod_cat('uv") + number
        + QStringLiteral("')\" class=\"line\"><b>...</b></a><div id=\"uv") + number
        + QStringLiteral("\" style=\"display: none;\">");
}

QString FoldLongArticle(const QString &prepared, qsizetype storedLength, int &N)
{
    if (storedLength <= FoldThreshold)
        return prepared;
    // The stretch is counted on the prepared text, 1-based FoldStart to the
    // stored length; the link begins just after the space found there.
    const qsizetype last = std::min(storedLength, prepared.size()) - 1;
    const qsizetype space = prepared.indexOf(u' ', FoldStart - 1);
    const qsizetype at = space >= 0 && space <= last ? space + 1 : FoldStart - 1;
    QString folded = prepared;
    folded.insert(at, FoldLink(N));
    folded += ArticleEnd;
    ++N;
    return folded;
}

QString NothingFoundText(const QString &pageHead, const QString &headword)
{
    // The word is shown as text: a headword holding "<" or "&" must not
    // become markup of the page.
    const QString key = headword.toHtmlEscaped();
    return pageHead + QStringLiteral("Ничего не найдено. Возможные причины: <br><br>")
        + QStringLiteral("1. В настройках словаря со словом <b>") + key
        + QStringLiteral("</b> отмечена опция \"Игнорировать общий поиск\". ")
        + QStringLiteral("Настройку можно отменить из контекстного меню словаря.<br><br>")
        + QStringLiteral("2. Если первая буква заголовочного слова не русская и не английская.<br><br>")
        + QStringLiteral("3. Словарь со словом <b>") + key + QStringLiteral("</b>, был удален, а заголовочное слово ")
        + QStringLiteral("в списке всех словарей осталось. Если вы не хотите, чтобы подобная неточность ")
        + QStringLiteral("поиска повторялась, используйте опцию в меню Сервис \u2013 Обновление списка. <br><br>")
        + QStringLiteral("<i>Примечание.</i> Обновление списка достаточно долгая процедура, ")
        + QStringLiteral("может занять несколько минут.") + PageEnd;
}

PageStart CheckPageStart(const QString &boxText, const QString &PickedHeadword)
{
    if (PickedHeadword.isEmpty())
        return PageStart::NoHeadword;
    const QString text = SearchKey(boxText);
    if (text.isEmpty())
        return PageStart::EmptyText;
    if (text.front() != PickedHeadword.front())
        return PageStart::OtherLetter;
    return PageStart::Build;
}

AllDictionariesPage::AllDictionariesPage(QString baseDir, QString programDir, const StringList &TreeLines)
    : m_baseDir(std::move(baseDir)), m_programDir(std::move(programDir)), m_treeLines(TreeLines)
{
}

AllDictionariesResult AllDictionariesPage::Build(const QString &PageHead, const QString &key,
                                                 const std::vector<PageTreeNode> &nodes, const QStringList &GrayList,
                                                 const Progress &progress) const
{
    const auto report = [&](int position) {
        if (progress)
            progress(position);
    };
    const int englishNumber = EnglishLetterNumber(key);
    const int russianNumber = LetterFileNumber(key, false);
    const bool cyrillicKey = IsCyrillicCapital(QStringView(key));

    AllDictionariesResult result;
    result.GrayListWork = GrayList;
    PageBody body(m_programDir);
    bool anyRead = false;
    const qsizetype count = qsizetype(nodes.size());
    for (qsizetype i = 1; i < count; ++i) {
        if (anyRead)
            report(ProgressAt(i, count));
        const PageTreeNode &node = nodes[size_t(i)];
        if (node.kind == tnkFolder)
            continue;
        const qsizetype gray = result.GrayListWork.indexOf(node.caption);
        if (gray >= 0) {
            result.GrayListWork.removeAt(gray);
            continue;
        }

        // Two dictionaries of one name are two sections, each from its own folder.
        const DictionaryFolder folder(m_baseDir, node.folder.isEmpty() ? SelectedDictionaryDir(m_treeLines, node.caption)
                                                                       : node.folder);
        QString headwordFile;
        QString articleFile;
        if (folder.IsWholeList()) {
            headwordFile = folder.WholeListFile("ogl");
            articleFile = folder.WholeListFile("uvs");
        } else {
            const bool english = folder.IsEnglish();
            // Russian words have no place in the letter files of an English dictionary.
            if (cyrillicKey && english)
                continue;
            const int n = english ? englishNumber : russianNumber;
            headwordFile = DictionaryFolder::LetterFile(n, "ogl");
            articleFile = DictionaryFolder::LetterFile(n, "uvs");
        }

        // A headword file that cannot be read leaves its dictionary out.
        const std::optional<QString> headwordPath = folder.Find(headwordFile);
        if (!headwordPath)
            continue;
        ListFile::LineRun run;
        try {
            run = ListFile::readLineRun(*headwordPath, key);
        } catch (const FileError &) {
            continue;
        }
        if (!anyRead) {
            anyRead = true;
            report(ProgressAt(i, count));
        }
        if (run.first < 0)
            continue;
        // Only the articles of the lines that hold the key are decoded; an
        // article file is often many times the size of its headword file.
        const QStringList articles = folder.ReadLines(articleFile, run.first, run.count);
        const QString missing = articles.size() < run.count
            ? DamagedArticleFileNotice(node.caption,
                                       folder.Find(articleFile).value_or(folder.Path() + u'/' + articleFile))
            : QString();
        body.AddDictionary(DictionaryHeading(node.caption), key, articles, run.count, folder.FolderName(), missing);
    }

    result.found = !body.Html().isEmpty();
    result.page = result.found ? PageHead + body.Html() + PageEnd : NothingFoundText(PageHead, key);
    return result;
}

void RemoveGrayNames(QStringList &GrayList, const QStringList &names)
{
    for (const QString &name : names)
        GrayList.removeOne(name);
}

} // namespace vocab

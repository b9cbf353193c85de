// An article file that another program cuts short, replaces or deletes while
// its dictionary is open: selecting rows goes on, showing the articles still
// in the file and none for the lines gone, as for an article file shorter
// than its headwords.

#include "DictionaryLookup.h"

#include "AppError.h"
#include "DictionaryFixtures.h"
#include "ListFileLines.h"

#include <QFile>

using namespace vocab;
using namespace vocab::test;
using namespace Qt::StringLiterals;

namespace {

// Headword i of 300, and an article of some 1 000 bytes for it: the file
// spans more than one read and many kept line starts.
QString headword(int i) { return u"СЛОВО"_s + QString::number(1000 + i); }
QString article(int i) { return articleOf(headword(i)) + QString(480, u'ф'); }

struct Dictionary {
    const char *name;
    QString caption;
    QString folder;
    QString stem; // the pair under dic/<folder>/
};

class ChangedArticleFile : public ::testing::TestWithParam<Dictionary> {
protected:
    void SetUp() override
    {
        ListFileLines::ForgetKeptTables();
        const Dictionary &d = GetParam();
        QStringList headwords;
        for (int i = 0; i < 300; ++i) {
            headwords.append(headword(i));
            articles.append(article(i));
        }
        const QString stem = u"dic/"_s + d.folder + u'/' + d.stem;
        tree.writeList(stem + u".ogl"_s, headwords);
        tree.writeList(stem + u".uvs"_s, articles);
        uvs = tree.path(stem + u".uvs"_s);
        rig.addToTree(d.caption, d.folder);
        rig.select(d.caption);
    }

    // Types headword i and returns the page its row showed.
    QString show(int i)
    {
        rig.type(headword(i).toLower());
        EXPECT_EQ(rig.currentCell(), headword(i));
        return rig.lastPage();
    }
    // The file's size up to the start of line i.
    qint64 startOf(int i) const
    {
        qint64 bytes = 3;
        for (int j = 0; j < i; ++j)
            bytes += articles[j].toUtf8().size() + 2;
        return bytes;
    }

    FixtureFolder tree;
    LookupRig rig{tree.base()};
    QStringList articles;
    QString uvs;
};

} // namespace

TEST_P(ChangedArticleFile, RowsSelectedAfterwardsShowWhatIsLeft)
{
    ASSERT_EQ(rig.lastPage(), article(0));
    ASSERT_EQ(show(250), article(250));

    // Cut short in the middle of article 120.
    ASSERT_TRUE(QFile::resize(uvs, startOf(120) + 30));
    EXPECT_EQ(show(260), kNoArticle);
    EXPECT_EQ(show(299), kNoArticle) << "the last row";
    EXPECT_EQ(show(119), article(119));
    EXPECT_EQ(show(10), article(10));
    EXPECT_EQ(show(121), kNoArticle);

    // Cut to nothing.
    ASSERT_TRUE(QFile::resize(uvs, 0));
    for (int i : {0, 1, 150, 299})
        EXPECT_EQ(show(i), kNoArticle) << i;

    // Written again in place, with other articles: those are shown.
    QStringList other;
    for (int i = 0; i < 300; ++i)
        other.append(headword(i) + u" — другая статья"_s);
    test::writeBytes(uvs, ListFile::encode(other));
    EXPECT_EQ(show(200), other[200]);
    EXPECT_EQ(show(7), other[7]);
}

TEST_P(ChangedArticleFile, AFileReplacedOrDeletedKeepsShowingTheFileOpened)
{
    ASSERT_EQ(show(100), article(100));
    // Replaced under its name, as a writer that renames a new file over it
    // does: the dictionary shows the file it opened until it is opened again.
    ListFile::write(uvs, {u"новая"_s});
    EXPECT_EQ(show(200), article(200));
    rig.select(GetParam().caption);
    EXPECT_EQ(rig.lastPage(), u"новая"_s);
    EXPECT_EQ(show(200), kNoArticle);

    // Deleted: the open file still reads; opening the dictionary again is
    // the error of a missing article file.
    ASSERT_TRUE(QFile::remove(uvs));
    EXPECT_EQ(show(0), u"новая"_s);
    EXPECT_THROW(rig.select(GetParam().caption), FileError);
}

INSTANTIATE_TEST_SUITE_P(
    WholeAndPerLetter, ChangedArticleFile,
    ::testing::Values(Dictionary{"whole", u"Целый"_s, u"whole"_s, u"whole"_s},
                      Dictionary{"letter", u"По буквам"_s, u"rus"_s, u"base/18"_s}),
    [](const ::testing::TestParamInfo<Dictionary> &param) { return std::string(param.param.name); });

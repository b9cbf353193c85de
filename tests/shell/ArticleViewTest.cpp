// Article pages in the real engine: what the page shows once written.
#include "DictionaryFixtures.h"
#include "HostedBrowser.h"
#include "ScriptRunner.h"
#include "ShellPaths.h"
#include "ShellTexts.h"
#include "WebEngineControl.h"
#include "WindowFixture.h"

#include "WebPage.h"

#include <QImage>
#include <QWebEnginePage>
#include <QLineEdit>

using namespace vocab;

namespace {

// A dictionary whose articles carry a picture and a quoted headword. Its
// lists lie under the working folder; its picture under the program's
// folder, where article pages look for pictures.
class ArticleView : public vocab::test::WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        dir.writeTree({texts::RootNodeCaption, u"Мои"_qs, u"\tПример с картинкой="_qs + folder});
        dir.writeList("dic/" + folder + "/" + folder + ".ogl", {u"ДОМ"_qs, u"КОТ"_qs});
        dir.writeList("dic/" + folder + "/" + folder + ".uvs",
                      {u"ДОМ, -а. Здание. <img id=pic src=\"##&dom.png\">"_qs, u"\"КОТ\" - зверь."_qs});
        QDir().mkpath(pictureFolder());
        QImage picture(7, 5, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        ASSERT_TRUE(picture.save(pictureFolder() + "/dom.png"));
    }

    void TearDown() override
    {
        WindowFixture::TearDown();
        QDir(ProgramDir() + "/dic/" + folder).removeRecursively();
    }

    QString pictureFolder() const { return ProgramDir() + "/dic/" + folder + "/img"; }

    QVariant evaluate(const QString &script)
    {
        auto *control = dynamic_cast<WebEngineControl *>(form->Emb->Control());
        return control ? runScriptAndWait(control->page(), script, 5000) : QVariant();
    }

    void search(const QString &text)
    {
        form->ComboBox1->lineEdit()->setText(text);
        Q_EMIT form->ComboBox1->userTextChanged(text);
    }

    const QString folder = QStringLiteral("article_view_%1").arg(QCoreApplication::applicationPid());
    vocab::test::FixtureFolder dir{work.path()};
};

} // namespace

TEST_F(ArticleView, HeadwordBoldHeadingAndPictureInTheLoadedPage)
{
    start();
    select(u"Пример с картинкой"_qs);
    search(u"до"_qs);

    ASSERT_TRUE(QTest::qWaitFor([&] { return evaluate("document.querySelector('b') ? document.querySelector('b').textContent : ''") == u"ДОМ"_qs; }, 10000));
    EXPECT_EQ(evaluate("document.querySelector('.zag').textContent").toString(), u"Пример с картинкой"_qs);
    EXPECT_TRUE(QTest::qWaitFor([&] { return evaluate("document.getElementById('pic').naturalWidth").toInt() == 7; }, 10000))
        << "the picture of the article did not load";

    search(u"кот"_qs);
    EXPECT_TRUE(QTest::qWaitFor([&] { return evaluate("document.querySelector('b').textContent") == u"\"КОТ\""_qs; }, 10000))
        << "the quoted headword is bold with its quotes";
    EXPECT_TRUE(boxes.empty());
}

// The browser dialogs over the real engine: the page saved where the user
// chooses, its properties, the find dialog and the source window, its
// pictures downloaded into a folder and its text saved, and a file opened.

#include "BrowserEngineFixture.h"

#include "EnginePageDialogs.h"
#include "FileDialogs.h"
#include "MessageBoxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>

using namespace vocab;
using namespace vocab::test;

namespace {

class BrowserDialogsEngine : public ServedBrowserEngineTest {
protected:
    void SetUp() override
    {
        ServedBrowserEngineTest::SetUp();
        m_files = setFileDialogResponder([this](const FileDialogRequest &request) {
            requests.push_back(request);
            return answer;
        });
        m_boxes = setMessageBoxResponder([this](const MessageBoxRequest &request) {
            boxes.push_back(request);
            return boxAnswer;
        });
    }
    void TearDown() override
    {
        setFileDialogResponder(m_files);
        setMessageBoxResponder(m_boxes);
    }

    QStringList filesIn(const QString &folder) const
    {
        return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    }

    std::vector<FileDialogRequest> requests;
    QString answer;
    std::vector<MessageBoxRequest> boxes;
    int boxAnswer = IDYES;

private:
    FileDialogResponder m_files;
    MessageBoxResponder m_boxes;
};

// The find dialog's search, waited for: the matches and the one found.
std::pair<int, int> search(PageFindDialog &dialog)
{
    QSignalSpy searched(&dialog, &PageFindDialog::searched);
    dialog.findChild<QPushButton *>(QStringLiteral("findNext"))->click();
    if (!searched.wait(10000))
        return {-1, -1};
    return {searched.first().at(0).toInt(), searched.first().at(1).toInt()};
}

} // namespace

TEST_F(BrowserDialogsEngine, ThePageIsSavedWhereTheUserChoosesAndNowhereWhenCancelled)
{
    load(QStringLiteral("<html><head><title>Статья: один/два</title></head><body><p>Берёза</p></body></html>"));
    answer = dir.filePath(QStringLiteral("ex.htm"));
    EXPECT_EQ(Emb->SaveDialogEx(QString(), QString()), answer);
    EXPECT_TRUE(QString::fromUtf8(readBytes(answer)).contains(QStringLiteral("<p>Берёза</p>")));

    // The browser's own Save As proposes the page's title as the name.
    answer = dir.filePath(QStringLiteral("own.htm"));
    EXPECT_TRUE(Emb->SaveDialog());
    EXPECT_TRUE(QString::fromUtf8(readBytes(answer)).contains(QStringLiteral("<p>Берёза</p>")));
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].kind, FileDialogKind::Save);
    EXPECT_EQ(requests[1].fileName, QStringLiteral("Статья: один два.htm")) << "no folder separator from the title";
    EXPECT_EQ(requests[1].defaultSuffix, QStringLiteral("htm"));

    answer.clear();
    EXPECT_FALSE(Emb->SaveDialog()) << "cancelled";
    EXPECT_EQ(Emb->SaveDialogEx(QString(), QString()), QString());
    EXPECT_EQ(filesIn(dir.path()), (QStringList{QStringLiteral("ex.htm"), QStringLiteral("own.htm")}));
}

TEST_F(BrowserDialogsEngine, ThePropertiesTellTheTitleAddressTypeSizeAndDate)
{
    const QByteArray page = "<html><head><title>Свойства</title></head><body>0123456789</body></html>";
    server.route("/p", page);
    go(QStringLiteral("/p"));
    QHash<QString, QString> shown;
    QString caption;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        closer.stop();
        caption = dialog->windowTitle();
        for (const char *name : {"title", "address", "type", "size", "modified"})
            if (auto *label = dialog->findChild<QLabel *>(QLatin1String(name)))
                shown.insert(QLatin1String(name), label->text());
        dialog->accept();
    });
    closer.start(10);
    EXPECT_TRUE(Emb->ShowPageProperties());
    EXPECT_EQ(caption, QStringLiteral("Свойства"));
    EXPECT_EQ(shown.value(QStringLiteral("title")), QStringLiteral("Свойства"));
    EXPECT_EQ(shown.value(QStringLiteral("address")), server.url(QStringLiteral("/p")).toString());
    EXPECT_EQ(shown.value(QStringLiteral("type")), QStringLiteral("text/html"));
    EXPECT_EQ(shown.value(QStringLiteral("size")), QStringLiteral("%1 байт").arg(QLocale().toString(page.size())))
        << "as the bytes came";
    EXPECT_FALSE(shown.value(QStringLiteral("modified")).isEmpty());
    EXPECT_NE(shown.value(QStringLiteral("modified")), QStringLiteral("не известно"));
}

TEST_F(BrowserDialogsEngine, TheFindDialogSearchesThePageEitherWayAndStaysOne)
{
    load(QStringLiteral("<p>alpha beta Alpha gamma alpha</p>"));
    EXPECT_TRUE(Emb->ShowFindDialog());
    EXPECT_TRUE(Emb->ShowFindDialog());
    const QList<PageFindDialog *> dialogs = Emb->findChildren<PageFindDialog *>();
    ASSERT_EQ(dialogs.size(), 1) << "shown again, not twice";
    PageFindDialog &dialog = *dialogs.first();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isModal());
    auto *text = dialog.findChild<QLineEdit *>(QStringLiteral("text"));
    auto *findNext = dialog.findChild<QPushButton *>(QStringLiteral("findNext"));
    EXPECT_FALSE(findNext->isEnabled()) << "nothing to find yet";

    text->setText(QStringLiteral("alpha"));
    EXPECT_EQ(search(dialog), std::make_pair(3, 1));
    EXPECT_EQ(search(dialog), std::make_pair(3, 2));
    EXPECT_EQ(dialog.findChild<QLabel *>(QStringLiteral("status"))->text(), QStringLiteral("Совпадение 2 из 3"));
    dialog.findChild<QRadioButton *>(QStringLiteral("up"))->setChecked(true);
    EXPECT_EQ(search(dialog), std::make_pair(3, 1));

    dialog.findChild<QCheckBox *>(QStringLiteral("matchCase"))->setChecked(true);
    text->setText(QStringLiteral("Alpha"));
    EXPECT_EQ(search(dialog).first, 1);
    text->setText(QStringLiteral("омега"));
    EXPECT_EQ(search(dialog), std::make_pair(0, 0));
    EXPECT_EQ(dialog.findChild<QLabel *>(QStringLiteral("status"))->text(), QStringLiteral("Не найдено: «омега»"));

    const QPointer<PageFindDialog> gone(&dialog);
    dialog.findChild<QPushButton *>(QStringLiteral("cancel"))->click();
    EXPECT_TRUE(waitUntil([&] { return gone.isNull(); }));
}

TEST_F(BrowserDialogsEngine, TheSourceOpensInAWindowOfItsOwnAndThereAreNoInternetOptions)
{
    load(QStringLiteral("<html><head><title>Код</title></head><body><p id=marker>Исходник &amp; текст</p></body></html>"));
    EXPECT_TRUE(Emb->ViewPageSourceHtml());
    auto *source = Emb->findChild<QPlainTextEdit *>(QStringLiteral("pageSource"));
    ASSERT_NE(source, nullptr);
    EXPECT_TRUE(source->isWindow());
    EXPECT_TRUE(source->isReadOnly());
    EXPECT_TRUE(source->toPlainText().contains(QStringLiteral("<p id=\"marker\">Исходник &amp; текст</p>")))
        << source->toPlainText().toStdString();
    source->close();
    EXPECT_FALSE(Emb->ShowInternetOptions());
}

TEST_F(BrowserDialogsEngine, ThePicturesGoIntoTheFolderChosenUnderNamesOfTheirOwn)
{
    server.route("/img/a/b/c.gif", "first gif", "image/gif");
    server.route("/img/other/c.gif", "second gif", "image/gif");
    server.route("/img/e.JPEG", "jpeg", "image/jpeg");
    server.route("/img/..%2Fevil.png", "escaped", "image/png");
    server.route("/page", "<html><body><img src='/img/a/b/c.gif'><img src='/img/d.png?x=1'><img src='/img/e.JPEG'>"
                          "<img src='/img/other/c.gif'><img src='/img/..%2Fevil.png'><img src='/img/missing.bmp'>"
                          "</body></html>");
    go(QStringLiteral("/page"));
    const QString pictures = dir.filePath(QStringLiteral("pictures"));
    QDir().mkpath(pictures);
    answer = pictures + u'/';
    Emb->SaveImagesDialog();

    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, FileDialogKind::Folder);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].flags, unsigned(MB_YESCANCELALL)) << "Yes, Cancel and All; no icon";
    EXPECT_TRUE(boxes[0].text.contains(pictures)) << boxes[0].text.toStdString();
    EXPECT_EQ(filesIn(pictures), (QStringList{QStringLiteral("Images.._evil.png"), QStringLiteral("Imagesc (2).gif"),
                                              QStringLiteral("Imagesc.gif")}))
        << "a missing picture is passed over";
    EXPECT_EQ(readBytes(pictures + QStringLiteral("/Imagesc.gif")), QByteArray("first gif"));
    EXPECT_EQ(readBytes(pictures + QStringLiteral("/Imagesc (2).gif")), QByteArray("second gif"));
    EXPECT_EQ(filesIn(dir.path()), QStringList{QStringLiteral("pictures")}) << "nothing outside the folder";

    // Cancelled at the question, nothing is fetched; a page without pictures fetches nothing.
    const QString other = dir.filePath(QStringLiteral("other"));
    QDir().mkpath(other);
    answer = other;
    boxAnswer = IDCANCEL;
    Emb->SaveImagesDialog();
    boxAnswer = IDALL;
    load(QStringLiteral("<p>без рисунков</p>"));
    Emb->SaveImagesDialog();
    EXPECT_EQ(boxes.size(), 3u);
    EXPECT_TRUE(filesIn(other).isEmpty());
    answer.clear();
    Emb->SaveImagesDialog();
    EXPECT_EQ(boxes.size(), 3u) << "no folder chosen, no question";
}

TEST_F(BrowserDialogsEngine, ThePagesTextIsSavedInUtf8WithALineBreakAfterIt)
{
    load(QStringLiteral("<p>Берёза</p><p>два 😀</p>"));
    const QString file = dir.filePath(QStringLiteral("text.txt"));
    answer = file;
    Emb->SavePageTextDialog();
    ASSERT_EQ(requests.size(), 1u);
    const FileDialogRequest &request = requests[0];
    EXPECT_EQ(request.kind, FileDialogKind::Save);
    EXPECT_EQ(request.title, QStringLiteral("Web Site Text"));
    EXPECT_EQ(request.fileName, QStringLiteral("WebSiteText.txt"));
    EXPECT_EQ(request.defaultSuffix, QStringLiteral("txt"));
    EXPECT_EQ(request.nameFilters, (QStringList{QStringLiteral("Text file (*.txt)"), QStringLiteral("Word file (*.doc)")}));
    EXPECT_EQ(request.filterIndex, 0);
    EXPECT_EQ(readBytes(file), QStringLiteral("Берёза\n\nдва 😀\n").toUtf8());

    answer.clear();
    QFile::remove(file);
    Emb->SavePageTextDialog();
    EXPECT_FALSE(QFileInfo::exists(file)) << "cancelled";
}

TEST_F(BrowserDialogsEngine, AFileChosenToOpenIsShownInTheBrowser)
{
    const QString file = dir.filePath(QStringLiteral("open.htm"));
    writeBytes(file, "<html><head><title>Открыт</title></head><body></body></html>");
    answer = file;
    EXPECT_TRUE(Emb->OpenDialog());
    ASSERT_TRUE(waitUntil([&] { return Emb->LocationURL() == QUrl::fromLocalFile(file).toString(); }));
    ASSERT_TRUE(Emb->Wait(10000));
    EXPECT_EQ(Emb->Document()->title(), QStringLiteral("Открыт"));
}

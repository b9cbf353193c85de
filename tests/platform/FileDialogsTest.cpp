// The file dialogs: filter texts read into the dialog's filters, and the
// dialog itself as a person answers it.

#include "FileDialogs.h"

#include "TestSupport.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

using namespace vocab;

TEST(FileDialogFilters, AreReadFromTheFilterTextWithItsFlawsSetRight)
{
    const struct {
        const char *text;
        QStringList filters;
    } cases[] = {
        {"Text file|*.txt|Word file|*.doc", {"Text file (*.txt)", "Word file (*.doc)"}},
        // Line breaks before the bars, blanks in the patterns, a semicolon missing.
        {"Internet Files|*.htm; *.html;*.mht; *.mhtml; *.php *.asp\n\r|Text & Documents Files| *.txt;*.doc;*.xls;*.dot;\n\r"
         "|XML Files| *.xml;\n\r|Any Files|*.*",
         {"Internet Files (*.htm *.html *.mht *.mhtml *.php *.asp)", "Text & Documents Files (*.txt *.doc *.xls *.dot)",
          "XML Files (*.xml)", "Any Files (*)"}},
        {"Image Files| *.gif;*.bmp;*.ico;*.jpg;*.png;*.wmf; *.emf; \n\r|Compressed Files| *.zip;",
         {"Image Files (*.gif *.bmp *.ico *.jpg *.png *.wmf *.emf)", "Compressed Files (*.zip)"}},
        // A description without patterns, or a last one without its bar, is left out.
        {"Empty| ; |Last", {}},
        {"", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NameFiltersFromFilterText(QString::fromUtf8(c.text)), c.filters) << c.text;
}

namespace {

// Acts on the file dialog once it is up.
void whenTheDialogShows(const std::function<void(QFileDialog &)> &action)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(*dialog);
        }
    });
    timer->start(10);
}

} // namespace

TEST(FileDialogs, TheDialogShowsTheRequestAndAnswersThePathChosenOrNothing)
{
    QTemporaryDir dir;
    FileDialogRequest request;
    request.kind = FileDialogKind::Save;
    request.title = QStringLiteral("Web Site Text");
    request.nameFilters = {QStringLiteral("Text file (*.txt)"), QStringLiteral("Word file (*.doc)")};
    request.filterIndex = 1;
    request.defaultSuffix = QStringLiteral("txt");
    request.fileName = QStringLiteral("WebSiteText.txt");
    request.directory = dir.path();

    QString title;
    QStringList filters;
    QString selectedFilter;
    QString suffix;
    bool saving = false;
    bool proposedShown = false;
    whenTheDialogShows([&](QFileDialog &dialog) {
        title = dialog.windowTitle();
        filters = dialog.nameFilters();
        selectedFilter = dialog.selectedNameFilter();
        suffix = dialog.defaultSuffix();
        saving = dialog.acceptMode() == QFileDialog::AcceptSave;
        // The name proposed comes once the dialog has read its folder;
        // the user types over it after that.
        auto *name = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        proposedShown = QTest::qWaitFor([&] { return name->text() == request.fileName; }, 5000);
        QTest::qWait(50);
        name->setText(QStringLiteral("текст"));
        static_cast<QDialog &>(dialog).accept(); // as the Save button does
    });
    EXPECT_EQ(ChooseFile(request), dir.filePath(QStringLiteral("текст.txt"))) << "the default suffix added";
    EXPECT_EQ(title, request.title);
    EXPECT_EQ(filters, request.nameFilters);
    EXPECT_EQ(selectedFilter, request.nameFilters[1]);
    EXPECT_EQ(suffix, QStringLiteral("txt"));
    EXPECT_TRUE(saving);
    EXPECT_TRUE(proposedShown);

    whenTheDialogShows([](QFileDialog &dialog) { dialog.reject(); });
    EXPECT_EQ(ChooseFile(request), QString()) << "cancelled";

    // A responder answers in place of the dialog, seeing the request.
    QString seenTitle;
    const FileDialogResponder previous = setFileDialogResponder([&](const FileDialogRequest &r) {
        seenTitle = r.title;
        return QStringLiteral("/chosen");
    });
    EXPECT_EQ(ChooseFile(request), QStringLiteral("/chosen"));
    EXPECT_EQ(seenTitle, request.title);
    setFileDialogResponder(previous);
}

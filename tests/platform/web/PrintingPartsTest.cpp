// The parts of printing that need no engine: the header and footer codes,
// the page setup as it is kept, and the page-setup dialog.

#include "HeaderFooter.h"
#include "PageSetupDialog.h"
#include "PageSetupStore.h"
#include "Registry.h"
#include "TestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

using namespace vocab;
using namespace vocab::test;

namespace {

class StoredPageSetup : public ::testing::Test {
protected:
    void SetUp() override { qputenv("VOCABULINARUM_REGISTRY", QFile::encodeName(dir.filePath(QStringLiteral("registry.json")))); }
    void TearDown() override { qunsetenv("VOCABULINARUM_REGISTRY"); }
    QTemporaryDir dir;
};

} // namespace

TEST(HeaderFooter, CodesAreReplacedAndAmpersandBPlacesTheParts)
{
    const HeaderFooterFields fields{QStringLiteral("Статья"), QStringLiteral("file:///a.htm"),
                                    QDateTime(QDate(2024, 3, 9), QTime(17, 5)), 2, 7};
    struct Case {
        const char *text;
        const char *left;
        const char *centre;
        const char *right;
    };
    const Case cases[] = {
        {"", "", "", ""},
        {"&w", "Статья", "", ""},
        {"&w&bСтраница &p из &P", "Статья", "", "Страница 2 из 7"},
        {"&u&b&w&b&p", "file:///a.htm", "Статья", "2"},
        {"a&bb&bc&bd", "a", "b", "cd"},
        {"&T", "17:05", "", ""},
        {"&&b && &x&", "&b & &x&", "", ""},
        {"&&&p", "&2", "", ""},
    };
    for (const Case &c : cases) {
        const HeaderFooterParts parts = ExpandHeaderFooter(QString::fromUtf8(c.text), fields);
        EXPECT_EQ(parts[0], QString::fromUtf8(c.left)) << c.text;
        EXPECT_EQ(parts[1], QString::fromUtf8(c.centre)) << c.text;
        EXPECT_EQ(parts[2], QString::fromUtf8(c.right)) << c.text;
    }
    const QLocale locale = QLocale::system();
    EXPECT_EQ(ExpandHeaderFooter(QStringLiteral("&d|&D|&t"), fields)[0],
              locale.toString(fields.printed.date(), QLocale::ShortFormat) + u'|'
                  + locale.toString(fields.printed.date(), QLocale::LongFormat) + u'|'
                  + locale.toString(fields.printed.time(), QLocale::ShortFormat));
}

TEST_F(StoredPageSetup, ThePageSetupIsKeptAndWhatIsMissingOrBrokenIsTheDefault)
{
    const PageSetupValues defaults;
    EXPECT_EQ(ReadPageSetupValues(), defaults) << "nothing stored";

    PageSetupValues values;
    values.header = QStringLiteral("&w");
    values.footer = QString();
    values.marginsInches = QMarginsF(0.5, 1, 1.25, 0);
    values.landscape = true;
    WritePageSetupValues(values);
    EXPECT_EQ(ReadPageSetupValues(), values);

    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(QString::fromLatin1(PageSetupKey), false));
    EXPECT_EQ(registry.ReadString(QStringLiteral("margin_left")), QStringLiteral("0.500000")) << "inches, as the browser keeps them";
    registry.WriteString(QStringLiteral("margin_top"), QStringLiteral("широко"));
    registry.WriteString(QStringLiteral("margin_right"), QStringLiteral("-1"));
    registry.DeleteValue(QStringLiteral("header"));
    const PageSetupValues read = ReadPageSetupValues();
    EXPECT_EQ(read.marginsInches, QMarginsF(0.5, 0.75, 0.75, 0));
    EXPECT_EQ(read.header, defaults.header);
    EXPECT_EQ(read.footer, QString()) << "an empty footer is a footer";
}

TEST(PageSetupDialog, ShowsTheValuesUnderTheBrowsersControlIdsAndGivesBackWhatIsAccepted)
{
    PageSetupValues values;
    values.header = QStringLiteral("Верх &p");
    values.marginsInches = QMarginsF(1, 0.5, 0.75, 2);
    PageSetupDialog dialog(values);
    const auto text = [&](const char *id) { return dialog.findChild<QLineEdit *>(QString::fromLatin1(id))->text(); };
    ASSERT_TRUE(PageSetupDialog::metricMargins()) << "the tests run in a metric locale";
    EXPECT_EQ(text("8147"), values.header);
    EXPECT_EQ(text("8149"), values.footer);
    EXPECT_EQ(text("1155"), QLocale().toString(25.4));
    EXPECT_EQ(text("1156"), QLocale().toString(12.7));
    EXPECT_EQ(text("1158"), QLocale().toString(50.8));
    EXPECT_TRUE(dialog.findChild<QRadioButton *>(QStringLiteral("1056"))->isChecked());

    dialog.findChild<QRadioButton *>(QStringLiteral("1057"))->click();
    dialog.findChild<QLineEdit *>(QStringLiteral("1157"))->setText(QStringLiteral("25.4"));
    dialog.findChild<QPushButton *>(QStringLiteral("1"))->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    PageSetupValues expected = values;
    expected.landscape = true;
    expected.marginsInches.setRight(1);
    EXPECT_EQ(dialog.values(), expected);
}

TEST(PageSetupDialog, AMarginThatIsNoNumberKeepsTheDialogOpen)
{
    PageSetupDialog dialog{PageSetupValues()};
    dialog.show();
    dialog.findChild<QLineEdit *>(QStringLiteral("1156"))->setText(QStringLiteral("широко"));
    bool warned = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            warned = true;
            box->accept();
        }
    });
    closer.start(10);
    dialog.findChild<QPushButton *>(QStringLiteral("1"))->click();
    EXPECT_TRUE(warned);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.values(), PageSetupValues()) << "nothing taken from a refused dialog";
}

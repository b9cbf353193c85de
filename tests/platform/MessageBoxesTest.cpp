// The message box itself, with no one answering in a person's place: the
// text is shown in the format the caller asks for, so that a page's text
// holding markup is shown as it stands.

#include "MessageBoxes.h"
#include "TestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

using namespace vocab;

TEST(MessageBoxShown, TheTextIsShownInTheFormatAsked)
{
    const QByteArray log = qgetenv("VOCABULINARUM_MESSAGE_LOG");
    qunsetenv("VOCABULINARUM_MESSAGE_LOG");
    const struct {
        Qt::TextFormat format;
        const char *what;
    } cases[] = {{Qt::PlainText, "plain"}, {Qt::AutoText, "guessed"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Qt::TextFormat seen = Qt::MarkdownText;
        QString label;
        // The box is looked for while it runs, and closed once seen.
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen = box->textFormat();
            for (const QLabel *l : box->findChildren<QLabel *>())
                if (l->text() == box->text())
                    label = l->text();
            box->button(QMessageBox::Ok)->click();
        });
        look.start(10);
        EXPECT_EQ(MessageBox(QStringLiteral("<b>a</b> & <i>b"), QStringLiteral("Box"), MB_OK, nullptr, c.format), IDOK);
        EXPECT_EQ(seen, c.format);
        EXPECT_EQ(label, QStringLiteral("<b>a</b> & <i>b"));
    }
    if (!log.isNull())
        qputenv("VOCABULINARUM_MESSAGE_LOG", log);
}

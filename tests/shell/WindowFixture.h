#pragma once

// The main window in a working folder of the test's own, driven in the test's
// process: the current directory, the registry and the message boxes are the
// test's while it runs.

#include "ip.h"

#include "MessageBoxes.h"
#include "TestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

namespace vocab::test {

class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousDir = QDir::currentPath();
        QDir(work.path()).mkpath("ConfigFiles/dictionaries");
        writeBytes(path("ConfigFiles/references.htm"), "<html><body>references</body></html>");
        QDir::setCurrent(work.path());
        qputenv("VOCABULINARUM_REGISTRY", QFile::encodeName(path("registry.json")));
        previousResponder = setMessageBoxResponder([this](const MessageBoxRequest &r) {
            boxes.push_back(r.text);
            return IDOK;
        });
    }

    void TearDown() override
    {
        form.reset();
        setMessageBoxResponder(previousResponder);
        qunsetenv("VOCABULINARUM_REGISTRY");
        QDir::setCurrent(previousDir);
    }

    QString path(const QString &relative) const { return work.filePath(relative); }
    void writeOptions(const QByteArray &ini) { writeBytes(path("ConfigFiles/options.ini"), ini); }

    // Creates and shows the window, and waits for its start-up load (or for
    // the box that ended it). A test may give a window that watches more.
    template <class Form = TForm1>
    void start()
    {
        form = std::make_unique<Form>();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return form->StartupDone || !boxes.empty(); }, 20000));
        form->ComboBox1->setFocus();
    }

    // Selects the tree node with this caption, as a click on it does.
    void select(const QString &caption)
    {
        const auto found = form->TreeView1->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1) << caption.toStdString();
        form->TreeView1->setCurrentItem(found[0]);
    }

    // The search box and the grid, as the user types and looks. Keys go to
    // the box, as the keyboard's do: it hands them on to its edit field.
    QWidget *box() const { return form->ComboBox1; }
    QLineEdit *edit() const { return form->ComboBox1->lineEdit(); }
    // One character at a time, as a keyboard types; QTest's own key clicks
    // know only ASCII.
    void type(const QString &text)
    {
        for (const QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(box(), &press);
            QApplication::sendEvent(box(), &release);
        }
    }
    void clearBox()
    {
        edit()->selectAll();
        QTest::keyClick(box(), Qt::Key_Backspace);
    }
    void typeAfterClearing(const QString &text)
    {
        clearBox();
        type(text);
    }
    QString selectedHeadword() const { return form->grid.Cell(form->grid.Row()); }
    // Whether the page shown is the article of this headword, set in bold.
    bool pageShows(const QString &headword) const { return form->ShownPage().contains("<B>" + headword + "</B>"); }
    QRgb textColour() const { return edit()->palette().color(QPalette::Text).rgb() & 0xFFFFFF; }

    QTemporaryDir work;
    QString previousDir;
    MessageBoxResponder previousResponder;
    std::vector<QString> boxes;
    std::unique_ptr<TForm1> form;
};

} // namespace vocab::test

#include "ErrorHandler.h"

#include "AppError.h"
#include "MessageBoxes.h"
#include "TestSupport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

using namespace vocab;

namespace {

class Answering : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = setMessageBoxResponder([this](const MessageBoxRequest &r) {
            shown.push_back(r);
            return answer;
        });
    }
    void TearDown() override { setMessageBoxResponder(previous); }

    MessageBoxResponder previous;
    std::vector<MessageBoxRequest> shown;
    int answer = IDOK;
};

} // namespace

TEST_F(Answering, GuardedShowsTheMessageAndEndsOnlyThatBody)
{
    bool after = false;
    guarded([&] {
        throw FileError(u"Не удаётся записать файл"_qs);
        after = true;
    });
    EXPECT_FALSE(after);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, u"Не удаётся записать файл"_qs);
    EXPECT_EQ(shown[0].caption, QCoreApplication::applicationName());
    EXPECT_EQ(guarded([]() -> int { throw std::runtime_error("x"); }, -1), -1);
    EXPECT_EQ(shown.size(), 2u);
}

TEST_F(Answering, TimerErrorsNeverReachTheEventLoop)
{
    // A timer body that throws is shown and the loop goes on to the next event.
    QEventLoop loop;
    bool laterRan = false;
    QTimer::singleShot(0, [] { guarded([] { throw AppError("в таймере"); }); });
    QTimer::singleShot(5, [&] { laterRan = true; loop.quit(); });
    loop.exec();
    EXPECT_TRUE(laterRan);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, u"в таймере"_qs);
}

TEST_F(Answering, ErrorsRaisedWhileABoxIsOpenGetTheirBoxesAfterIt)
{
    // While the first box is open, its event loop runs two timers whose
    // bodies throw. Each error gets its own box, once the one before it
    // closes, in the order they came; none is lost, and no box opens inside
    // another.
    int open = 0;
    int deepest = 0;
    setMessageBoxResponder([&](const MessageBoxRequest &r) {
        shown.push_back(r);
        deepest = std::max(deepest, ++open);
        if (shown.size() == 1) {
            QEventLoop modal;
            QTimer::singleShot(0, [] { guarded([] { throw AppError("второй"); }); });
            QTimer::singleShot(1, [] { guarded([] { throw FileError(u"третий"_qs); }); });
            QTimer::singleShot(20, &modal, &QEventLoop::quit);
            modal.exec();
        }
        --open;
        return IDOK;
    });
    guarded([] { throw AppError("первый"); });
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, u"первый"_qs);
    EXPECT_EQ(shown[1].text, u"второй"_qs);
    EXPECT_EQ(shown[2].text, u"третий"_qs);
    EXPECT_EQ(deepest, 1);
    // The queue is empty again: the next error is shown at once.
    guarded([] { throw AppError("потом"); });
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[3].text, u"потом"_qs);
}

TEST_F(Answering, ResponderChoosesTheButton)
{
    answer = IDNO;
    EXPECT_EQ(MessageBox("Удалить?", "Vocabulinarum", MB_YESNO), IDNO);
    EXPECT_EQ(shown.back().flags, unsigned(MB_YESNO));
}

TEST(MessageLog, BoxesGoToTheLogWithTheirAnswer)
{
    QTemporaryDir dir;
    const QString log = dir.filePath("boxes.jsonl");
    qputenv("VOCABULINARUM_MESSAGE_LOG", QFile::encodeName(log));
    EXPECT_EQ(MessageBox(u"Программа уже запущена"_qs, "Vocabulinarum", MB_OK), IDOK);
    EXPECT_EQ(MessageBox("q", "c", MB_YESNOCANCEL), IDYES);
    qputenv("VOCABULINARUM_MESSAGE_ANSWER", "2");
    EXPECT_EQ(MessageBox("q", "c", MB_YESNOCANCEL), IDCANCEL);
    qunsetenv("VOCABULINARUM_MESSAGE_ANSWER");
    qunsetenv("VOCABULINARUM_MESSAGE_LOG");
    const QList<QByteArray> lines = vocab::test::readBytes(log).trimmed().split('\n');
    ASSERT_EQ(lines.size(), 3);
    const QJsonObject first = QJsonDocument::fromJson(lines[0]).object();
    EXPECT_EQ(first["text"].toString(), u"Программа уже запущена"_qs);
    EXPECT_EQ(first["caption"].toString(), "Vocabulinarum");
}

TEST(MessageBoxButtons, YesCancelAllShowsItsThreeButtonsAndAnswersTheOnePressed)
{
    EXPECT_EQ(defaultAnswer(MB_YESCANCELALL), IDYES);
    const struct {
        QMessageBox::StandardButton press;
        int answer;
    } cases[] = {{QMessageBox::YesToAll, IDALL}, {QMessageBox::Yes, IDYES}, {QMessageBox::Cancel, IDCANCEL}};
    for (const auto &c : cases) {
        QStringList buttons;
        QMessageBox::Icon icon = QMessageBox::Warning;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            timer.stop();
            for (QAbstractButton *button : box->buttons())
                buttons << button->text();
            icon = box->icon();
            box->button(c.press)->click();
        });
        timer.start(10);
        EXPECT_EQ(MessageBox(QStringLiteral("Сохранить рисунки?"), QStringLiteral("Vocabulinarum"), MB_YESCANCELALL), c.answer);
        buttons.sort();
        EXPECT_EQ(buttons, (QStringList{QStringLiteral("&All"), QStringLiteral("&Yes"), QStringLiteral("Cancel")}));
        EXPECT_EQ(icon, QMessageBox::NoIcon);
    }
}

// The viewer's own application object as the last line of defence: this binary
// runs under vocab::Application instead of the plain QApplication of the other
// tests, so that its notify() is the one every event passes through.
#include "ErrorHandler.h"

#include "AppError.h"
#include "MessageBoxes.h"

#include <QEvent>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vocab;

namespace {

// A handler of ours that forgot its guard.
class Throwing : public QObject {
public:
    static constexpr QEvent::Type Kind = QEvent::Type(QEvent::User + 1);
    int handled = 0;

protected:
    bool event(QEvent *e) override
    {
        if (e->type() != Kind)
            return QObject::event(e);
        ++handled;
        throw FileError(QStringLiteral("Не удаётся записать файл \"history.trv\""));
    }
};

} // namespace

TEST(ApplicationNotify, AnErrorFromAnUnguardedHandlerIsShownAndTheLoopGoesOn)
{
    std::vector<QString> shown;
    const MessageBoxResponder previous = setMessageBoxResponder([&](const MessageBoxRequest &r) {
        shown.push_back(r.text);
        return IDOK;
    });
    Throwing receiver;
    bool laterRan = false;
    QCoreApplication::postEvent(&receiver, new QEvent(Throwing::Kind));
    QCoreApplication::postEvent(&receiver, new QEvent(Throwing::Kind));
    // A timer's unguarded body reaches the loop through notify() as well.
    QTimer::singleShot(0, [] { throw std::runtime_error("in a timer"); });
    QTimer::singleShot(10, [&] {
        laterRan = true;
        QCoreApplication::quit();
    });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    setMessageBoxResponder(previous);

    EXPECT_TRUE(laterRan);
    EXPECT_EQ(receiver.handled, 2) << "the second event came after the first one's error";
    const std::vector<QString> expected{u"Не удаётся записать файл \"history.trv\""_qs,
                                        u"Не удаётся записать файл \"history.trv\""_qs, u"in a timer"_qs};
    EXPECT_EQ(shown, expected);
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

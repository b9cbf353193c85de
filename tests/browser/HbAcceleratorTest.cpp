// Keys the host swallows before the browser acts on them.

#include "SpyControl.h"

#include "TestSupport.h"

using namespace vocab;
using namespace vocab::test;

namespace {

TMsg key(std::uint32_t message, std::uint32_t vk, Qt::KeyboardModifiers state)
{
    TMsg msg;
    msg.message = message;
    msg.wParam = vk;
    msg.keyState = state;
    return msg;
}

} // namespace

TEST(TranslateAccelerator, SwallowsTheMaskedCtrlShortcutsOnly)
{
    struct Case {
        const char *what;
        QString masked;
        TMsg msg;
        HRESULT result;
    };
    const Case cases[] = {
        {"Ctrl+N", QStringLiteral("N"), key(WM_KEYDOWN, 'N', Qt::ControlModifier), S_OK},
        {"Ctrl+Alt+N", QStringLiteral("N"), key(WM_KEYDOWN, 'N', Qt::ControlModifier | Qt::AltModifier), S_OK},
        {"Ctrl+Shift+N", QStringLiteral("N"), key(WM_KEYDOWN, 'N', Qt::ControlModifier | Qt::ShiftModifier), S_FALSE},
        {"N alone", QStringLiteral("N"), key(WM_KEYDOWN, 'N', Qt::NoModifier), S_FALSE},
        {"Ctrl+M", QStringLiteral("N"), key(WM_KEYDOWN, 'M', Qt::ControlModifier), S_FALSE},
        {"Ctrl+N let go", QStringLiteral("N"), key(WM_KEYUP, 'N', Qt::ControlModifier), S_FALSE},
        {"Alt+N as a system key", QStringLiteral("N"), key(WM_SYSKEYDOWN, 'N', Qt::AltModifier), S_FALSE},
        {"nothing masked", QString(), key(WM_KEYDOWN, 'N', Qt::ControlModifier), S_FALSE},
        {"a lower-case letter never matches a letter key", QStringLiteral("n"), key(WM_KEYDOWN, 'N', Qt::ControlModifier), S_FALSE},
        {"several masked", QStringLiteral("NPO"), key(WM_KEYDOWN, 'O', Qt::ControlModifier), S_OK},
    };
    for (const Case &c : cases) {
        SpyControl *spy = nullptr;
        auto host = makeWithSpy<TCustomHostedBrowser>(spy);
        host->SetDisableCtrlShortcuts(c.masked);
        QString maskedChars;
        host->OnMaskedCtrlChar = [&](TCustomHostedBrowser *, QChar ch) { maskedChars += ch; };
        EXPECT_EQ(host->TranslateAccelerator(&c.msg, nullptr, 0), c.result) << c.what;
        EXPECT_EQ(maskedChars, c.result == S_OK ? QString(QChar(char16_t(c.msg.wParam))) : QString()) << c.what;
    }
}

TEST(TranslateAccelerator, AsksTheEventOnlyAboutKeysItDidNotSwallow)
{
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<TCustomHostedBrowser>(spy);
    QList<std::uintptr_t> asked;
    host->OnTranslateAccelerator = [&](TCustomHostedBrowser *, const TMsg *lpMsg, const QUuid *, std::uint32_t, bool &Done) {
        asked << lpMsg->wParam;
        Done = lpMsg->wParam == 'P';
    };
    const TMsg ctrlN = key(WM_KEYDOWN, 'N', Qt::ControlModifier);
    const TMsg ctrlP = key(WM_KEYDOWN, 'P', Qt::ControlModifier);
    const TMsg ctrlQ = key(WM_KEYDOWN, 'Q', Qt::ControlModifier);
    EXPECT_EQ(host->TranslateAccelerator(&ctrlN, nullptr, 0), S_OK);
    EXPECT_EQ(host->TranslateAccelerator(&ctrlP, nullptr, 0), S_OK);
    EXPECT_EQ(host->TranslateAccelerator(&ctrlQ, nullptr, 0), S_FALSE);
    EXPECT_EQ(asked, (QList<std::uintptr_t>{'P', 'Q'}));
}

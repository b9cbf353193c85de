// The two flag tables, the option setters that announce them, and the
// ambient properties through which the control reads them.

#include "SpyControl.h"

#include "AppError.h"
#include "TestSupport.h"

#include <stdexcept>
#include <tuple>

using namespace vocab;
using namespace vocab::test;

TEST(FlagSums, EachOptionAddsItsOwnFlag)
{
    for (int i = 0; i < UserInterfaceOptionCount; ++i) {
        const auto option = static_cast<TUserInterfaceOption>(i);
        EXPECT_EQ(flagSum(TUserInterfaceOptions{option}, UserInterfaceFlags), UserInterfaceFlags[std::size_t(i)]) << i;
    }
    for (int i = 0; i < DownloadControlOptionCount; ++i) {
        const auto option = static_cast<TDownloadControlOption>(i);
        EXPECT_EQ(flagSum(TDownloadControlOptions{option}, DownloadControlFlags), DownloadControlFlags[std::size_t(i)]) << i;
    }
}

TEST(FlagSums, EdgesOfTheTables)
{
    EXPECT_EQ(flagSum(TUserInterfaceOptions{}, UserInterfaceFlags), 0u);
    EXPECT_EQ(flagSum(TUserInterfaceOptions{EnablesFormsAutoComplete, EnableThemes}, UserInterfaceFlags), 0x44000u);
    EXPECT_EQ(flagSum(TDownloadControlOptions{DownloadImages, DownloadVideos, DownloadBGSounds}, DownloadControlFlags), 0x70u);
    // The host flags have no member for 0x8000.
    EXPECT_EQ(flagSum(TUserInterfaceOptions::all(), UserInterfaceFlags) & 0x8000u, 0u);
    // The whole download table, top bit included, with no overflow.
    std::uint32_t all = 0;
    for (std::uint32_t flag : DownloadControlFlags)
        all |= flag;
    EXPECT_EQ(flagSum(TDownloadControlOptions::all(), DownloadControlFlags), all);
    EXPECT_EQ(all & 0x80000000u, 0x80000000u);
}

TEST(OptionSetters, StoreTheSumAndLetTheControlReadIt)
{
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<TCustomHostedBrowser>(spy);
    // Construction sets both through their setters.
    EXPECT_EQ(host->UserInterfaceValue(), 0x44000u);
    EXPECT_EQ(host->DownloadOptionValue(), 0x70u);
    ASSERT_EQ(spy->announced.size(), 2u);
    EXPECT_EQ(spy->announced[0], DISPID_AMBIENT_DLCONTROL);
    EXPECT_EQ(spy->announced[1], DISPID_AMBIENT_DLCONTROL);

    host->SetDownloadOptions({DownloadImages, WorkOffline});
    EXPECT_EQ(spy->announced.back(), DISPID_AMBIENT_DLCONTROL);
    EXPECT_EQ(spy->ambient.value(DISPID_AMBIENT_DLCONTROL).toUInt(), 0x80000010u);

    host->SetUserInterfaceOptions({});
    EXPECT_EQ(host->UserInterfaceValue(), 0u);
    EXPECT_EQ(spy->announced.size(), 4u) << "both setters announce the download flags";
}

namespace {

// A host whose user agent the test gives, as the component gives its own.
class HostWithAgent : public TCustomHostedBrowser {
public:
    using TCustomHostedBrowser::TCustomHostedBrowser;
    void setAgent(std::function<HRESULT(QString &)> supply) { FOnSetUserAgent = std::move(supply); }
};

HRESULT get(IDispatch &dispatch, int dispID, QVariant &value, EXCEPINFO *excep = nullptr)
{
    DISPPARAMS params;
    return dispatch.Invoke(dispID, QUuid(), 0, DISPATCH_PROPERTYGET, params, &value, excep, nullptr);
}

} // namespace

TEST(AmbientProperties, AnswerTheFlagsTheUserModeAndTheUserAgent)
{
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<HostWithAgent>(spy);
    QVariant value;
    EXPECT_EQ(get(*host, DISPID_AMBIENT_DLCONTROL, value), S_OK);
    EXPECT_EQ(value.toUInt(), 0x70u);
    EXPECT_EQ(get(*host, DISPID_AMBIENT_USERMODE, value), S_OK);
    EXPECT_TRUE(value.toBool());

    // A put of the user mode is kept; one without its value is refused.
    DISPPARAMS put{{false}};
    EXPECT_EQ(host->Invoke(DISPID_AMBIENT_USERMODE, QUuid(), 0, DISPATCH_PROPERTYPUT, put, nullptr, nullptr, nullptr), S_OK);
    EXPECT_TRUE(host->DesignMode());
    EXPECT_EQ(get(*host, DISPID_AMBIENT_USERMODE, value), S_OK);
    EXPECT_FALSE(value.toBool());
    DISPPARAMS none;
    EXPECT_EQ(host->Invoke(DISPID_AMBIENT_USERMODE, QUuid(), 0, DISPATCH_PROPERTYPUT, none, nullptr, nullptr, nullptr),
              DISP_E_BADPARAMCOUNT);
    EXPECT_TRUE(host->DesignMode());

    struct Case {
        const char *what;
        std::function<HRESULT(QString &)> supply;
        HRESULT result;
        QString answer;
    };
    const Case cases[] = {
        {"no supplier", nullptr, DISP_E_MEMBERNOTFOUND, {}},
        {"an empty text", [](QString &) { return S_OK; }, DISP_E_MEMBERNOTFOUND, {}},
        {"the supplier declines", [](QString &ua) { ua = QStringLiteral("X/1"); return S_FALSE; }, DISP_E_MEMBERNOTFOUND, {}},
        {"a text", [](QString &ua) { ua = QStringLiteral("Test/1"); return S_OK; }, S_OK, QStringLiteral("Test/1\r\n")},
        {"a text with a header in it",
         [](QString &ua) { ua = QStringLiteral("Test/1\r\nX-Evil: 1"); return S_OK; }, S_OK, QStringLiteral("Test/1\r\n")},
        {"a text with a NUL in it",
         [](QString &ua) { ua = QStringLiteral("Test/1") + QChar(0) + QStringLiteral("X"); return S_OK; }, S_OK,
         QStringLiteral("Test/1\r\n")},
    };
    for (const Case &c : cases) {
        host->setAgent(c.supply);
        QVariant agent;
        EXPECT_EQ(get(*host, DISPID_AMBIENT_USERAGENT, agent), c.result) << c.what;
        EXPECT_EQ(agent.toString(), c.answer) << c.what;
    }
}

TEST(AmbientProperties, OtherPropertiesGoToTheEventAndErrorsBecomeExceptionInfo)
{
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<TCustomHostedBrowser>(spy);
    QVariant value;
    EXPECT_EQ(get(*host, -701, value), DISP_E_MEMBERNOTFOUND);

    host->OnInvoke = [](QObject *, int DispID, const QUuid &, int, std::uint16_t, DISPPARAMS &, QVariant *VarResult,
                        EXCEPINFO *, std::uint32_t *, HRESULT &Rezult) {
        if (DispID == -701) {
            *VarResult = 0xFFFFFF;
            Rezult = S_OK;
        } else if (DispID == -702) {
            throw AppError(QStringLiteral("нет такого свойства"));
        } else if (DispID == -703) {
            throw FileError(QStringLiteral("нет файла"));
        } else if (DispID == -704) {
            throw std::out_of_range("out of range");
        }
    };
    EXPECT_EQ(get(*host, -701, value), S_OK);
    EXPECT_EQ(value.toInt(), 0xFFFFFF);
    // The source of the error is the class of the exception.
    const std::tuple<int, QString, QString> errors[] = {
        {-702, QStringLiteral("нет такого свойства"), QStringLiteral("AppError")},
        {-703, QStringLiteral("нет файла"), QStringLiteral("FileError")},
        {-704, QStringLiteral("out of range"), QStringLiteral("out_of_range")},
    };
    for (const auto &[dispID, description, source] : errors) {
        EXCEPINFO excep;
        EXPECT_EQ(get(*host, dispID, value, &excep), DISP_E_EXCEPTION);
        EXPECT_EQ(excep.wCode, 9999);
        EXPECT_EQ(excep.bstrDescription, description);
        EXPECT_EQ(excep.bstrSource, source);
    }
}

TEST(AmbientProperties, TypeInformationAnswersPassThroughTheirEvents)
{
    SpyControl *spy = nullptr;
    auto host = makeWithSpy<TCustomHostedBrowser>(spy);
    int count = -1;
    EXPECT_EQ(host->GetTypeInfoCount(count), S_OK);
    EXPECT_EQ(count, 0);
    ITypeInfo *info = nullptr;
    EXPECT_EQ(host->GetTypeInfo(0, 0, info), E_NOTIMPL);
    QList<int> ids;
    EXPECT_EQ(host->GetIDsOfNames(QUuid(), {QStringLiteral("x")}, 0, ids), E_NOTIMPL);

    host->OnGetTypeInfoCount = [](QObject *, int &Count, HRESULT &Rezult) {
        Count = 1;
        Rezult = S_FALSE;
    };
    host->OnGetIDsOfNames = [](QObject *, const QUuid &, const QStringList &, int NameCount, int, QList<int> &DispIDs,
                               HRESULT &Rezult) {
        DispIDs = QList<int>(NameCount, 7);
        Rezult = S_OK;
    };
    EXPECT_EQ(host->GetTypeInfoCount(count), S_FALSE);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(host->GetIDsOfNames(QUuid(), {QStringLiteral("a"), QStringLiteral("b")}, 0, ids), S_OK);
    EXPECT_EQ(ids, QList<int>({7, 7}));
}

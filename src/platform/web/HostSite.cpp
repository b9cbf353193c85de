#include "HostSite.h"

#include "ErrorHandler.h"

namespace vocab {

QWidget *HostSite::window() const
{
    return m_site ? m_site->SiteWindow() : nullptr;
}

IInterface *HostSite::queryService(const QUuid &guidService, const QUuid &riid) const
{
    auto *provider = as<IServiceProvider>();
    if (!provider)
        return nullptr;
    return guarded(
        [&]() -> IInterface * {
            IInterface *object = nullptr;
            return SUCCEEDED(provider->QueryService(guidService, riid, object)) ? object : nullptr;
        },
        static_cast<IInterface *>(nullptr));
}

std::optional<QVariant> HostSite::ambient(int dispID) const
{
    auto *dispatch = as<IDispatch>();
    if (!dispatch)
        return std::nullopt;
    return guarded(
        [&]() -> std::optional<QVariant> {
            DISPPARAMS params;
            QVariant result;
            EXCEPINFO excepInfo;
            if (dispatch->Invoke(dispID, QUuid(), 0, DISPATCH_PROPERTYGET, params, &result, &excepInfo, nullptr) != S_OK)
                return std::nullopt;
            return result;
        },
        std::optional<QVariant>());
}

} // namespace vocab

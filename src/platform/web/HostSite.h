#pragma once

// The control's side of its link to the host: finds the host's interfaces
// on the client site or through its service provider, and ends the link
// when the control closes. Every call the control makes through it runs
// guarded: an error thrown by the host is shown by the program's default
// error handler and the control goes on with its own default.

#include "HostInterfaces.h"
#include "WebBrowser.h"

#include <optional>

namespace vocab {

class HostSite {
public:
    HostSite(IOleClientSite *site, DWebBrowserEvents2 *events) : m_site(site), m_events(events) {}

    void close()
    {
        m_site = nullptr;
        m_events = nullptr;
    }

    // An interface the host implements itself; null when it does not.
    template <class I>
    I *as() const
    {
        return m_site ? dynamic_cast<I *>(m_site) : nullptr;
    }

    // A service the host offers; null when it offers none.
    template <class I>
    I *service() const
    {
        return service<I>(I::IID);
    }
    template <class I>
    I *service(const QUuid &guidService) const;

    DWebBrowserEvents2 *events() const { return m_events; }
    QWidget *window() const;

    // An ambient property of the host; nothing when it has none.
    std::optional<QVariant> ambient(int dispID) const;

private:
    IInterface *queryService(const QUuid &guidService, const QUuid &riid) const;

    IOleClientSite *m_site;
    DWebBrowserEvents2 *m_events;
};

template <class I>
I *HostSite::service(const QUuid &guidService) const
{
    return dynamic_cast<I *>(queryService(guidService, I::IID));
}

} // namespace vocab

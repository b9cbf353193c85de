#pragma once

// A frame of a page as a browser of its own, as the browser's container
// hands its frames out: it navigates, reloads and shows the frame's document
// through the frame's window. It lives on the page of the control that made
// it and goes with it; a frame browser kept across a navigation of the page
// reaches the frame of that index on the new page.

#include "EngineDocument.h"
#include "WebBrowser.h"

#include <memory>

namespace vocab {

class EngineFrameBrowser final : public IWebBrowser2 {
public:
    explicit EngineFrameBrowser(std::unique_ptr<EngineDocument> document) : m_document(std::move(document)) {}

    void Navigate(const QString &URL, const QVariant &Flags = {}) override;
    void Navigate2(const QVariant &URL, const QVariant &Flags, const QVariant &TargetFrameName,
                   const QVariant &PostData, const QVariant &Headers) override;
    void GoBack() override;
    void GoForward() override;
    void Refresh() override { Refresh2(0); }
    void Refresh2(int level) override;
    void Stop() override;

    QString LocationURL() const override;
    QString LocationName() const override;
    int ReadyState() const override;
    bool Busy() const override { return ReadyState() != READYSTATE_COMPLETE; }

    bool Silent() const override { return m_silent; }
    void SetSilent(bool value) override { m_silent = value; }
    bool Offline() const override { return false; }
    void SetOffline(bool) override {}
    bool RegisterAsDropTarget() const override { return false; }
    void SetRegisterAsDropTarget(bool) override {}
    bool RegisterAsBrowser() const override { return false; }
    void SetRegisterAsBrowser(bool) override {}

    // Null while the frame's document cannot be reached: a frame that is
    // gone, or one of another origin.
    IHTMLDocument2 *Document() override;

    HRESULT ExecWB(std::uint32_t, std::uint32_t, const QVariant &, QVariant *) override { return OLECMDERR_E_NOTSUPPORTED; }
    std::uint32_t QueryStatusWB(std::uint32_t) override { return 0; }

    EngineDocument &frameDocument() const { return *m_document; }

private:
    QVariant quietly(const QString &body, const QVariantList &args = {}) const;

    std::unique_ptr<EngineDocument> m_document;
    bool m_silent = false;
};

} // namespace vocab

#pragma once

// The command target of the control and of its document over the engine:
// the standard edit commands, refresh and stop, the two zooms, print,
// print preview and page setup (EnginePrinting.h), Save As and the page's
// properties; and in the browser's own group (CGID_IWebBrowser) the find
// dialog and the page's source (EnginePageDialogs.h). The text
// size (0 to 4, 2 the medium) and the optical zoom (percent) make up the one
// zoom factor the engine has.

#include "EnginePageDialogs.h"
#include "EnginePrinting.h"
#include "HostInterfaces.h"

#include <cstdint>
#include <functional>
#include <utility>

class QWebEnginePage;

namespace vocab {

class PageScripts;

class EngineCommands : public IOleCommandTarget {
public:
    EngineCommands(QWebEnginePage *page, const PageScripts &scripts)
        : m_page(page), m_scripts(scripts), m_printing(page), m_dialogs(page, scripts, *this)
    {
    }

    HRESULT QueryStatus(const QUuid *pguidCmdGroup, std::span<OLECMD> prgCmds, OLECMDTEXT *pCmdText) override;
    HRESULT Exec(const QUuid *pguidCmdGroup, std::uint32_t nCmdID, std::uint32_t nCmdexecopt, const QVariant &pvaIn,
                 QVariant *pvaOut) override;

    static constexpr int TextSizeLargest = 4;
    static constexpr int OpticalZoomMin = 25;
    static constexpr int OpticalZoomMax = 500;

    int textSize() const { return m_textSize; }
    int opticalZoom() const { return m_opticalPercent; }
    // Sets the optical zoom (clamped) and answers the percent applied.
    int setOpticalZoom(int percent);

    // Told false before the printing or another command shows a modal
    // dialog and true after it.
    void setModelessHook(const std::function<void(bool)> &hook)
    {
        m_printing.setModelessHook(hook);
        m_dialogs.setModelessHook(hook);
    }
    // Told just before a copy or cut puts the page's data on the clipboard.
    void setClipboardHook(std::function<void()> hook) { m_clipboardHook = std::move(hook); }

private:
    std::uint32_t statusOf(std::uint32_t cmdID) const;
    static std::uint32_t browserStatusOf(std::uint32_t cmdID);
    HRESULT execBrowser(std::uint32_t cmdID);
    void applyZoom();

    QWebEnginePage *m_page;
    const PageScripts &m_scripts;
    EnginePrinting m_printing;
    EnginePageDialogs m_dialogs;
    std::function<void()> m_clipboardHook;
    int m_textSize = 2;
    int m_opticalPercent = 100;
};

} // namespace vocab

#include "EngineCommands.h"

#include "ScriptRunner.h"

#include <QWebEnginePage>

#include <algorithm>
#include <array>

namespace vocab {

namespace {

// When an edit command can act. The page keeps the clipboard commands from
// its scripts, so their state is read from the selection and the focused
// element; the others the document answers itself.
enum class Enabled { WithSelection, WithSelectionInField, InField, AsTheDocumentSays };

struct EditCommand {
    std::uint32_t id;
    QWebEnginePage::WebAction action;
    Enabled enabled;
    const char *documentName;
};

// Delete has no action of the engine's; the document does it itself.
constexpr std::array<EditCommand, 9> EditCommands{{
    {OLECMDID_CUT, QWebEnginePage::Cut, Enabled::WithSelectionInField, nullptr},
    {OLECMDID_COPY, QWebEnginePage::Copy, Enabled::WithSelection, nullptr},
    {OLECMDID_PASTE, QWebEnginePage::Paste, Enabled::InField, nullptr},
    {OLECMDID_PASTESPECIAL, QWebEnginePage::PasteAndMatchStyle, Enabled::InField, nullptr},
    {OLECMDID_DELETE, QWebEnginePage::NoWebAction, Enabled::WithSelectionInField, nullptr},
    {OLECMDID_UNDO, QWebEnginePage::Undo, Enabled::AsTheDocumentSays, "undo"},
    {OLECMDID_REDO, QWebEnginePage::Redo, Enabled::AsTheDocumentSays, "redo"},
    {OLECMDID_SELECTALL, QWebEnginePage::SelectAll, Enabled::AsTheDocumentSays, "selectAll"},
    {OLECMDID_CLEARSELECTION, QWebEnginePage::Unselect, Enabled::WithSelection, nullptr},
}};

QString enabledExpression(const EditCommand &command)
{
    const QString selected = QStringLiteral("!window.getSelection().isCollapsed");
    const QString inField = QStringLiteral("(function(e){return !!e&&(e.isContentEditable||/^(INPUT|TEXTAREA)$/.test(e.tagName));})"
                                           "(document.activeElement)");
    switch (command.enabled) {
    case Enabled::WithSelection: return selected;
    case Enabled::WithSelectionInField: return selected + QStringLiteral("&&") + inField;
    case Enabled::InField: return inField;
    case Enabled::AsTheDocumentSays: break;
    }
    return QStringLiteral("document.queryCommandEnabled('%1')").arg(QLatin1String(command.documentName));
}

// Text sizes from the smallest to the largest, as factors of the page's own.
constexpr std::array<double, EngineCommands::TextSizeLargest + 1> TextSizeFactors{0.8, 0.9, 1.0, 1.15, 1.3};

const EditCommand *editCommand(std::uint32_t id)
{
    const auto it = std::find_if(EditCommands.begin(), EditCommands.end(), [id](const EditCommand &c) { return c.id == id; });
    return it == EditCommands.end() ? nullptr : &*it;
}

// The engine's own actions that select reach the page after any read that
// follows them; done in the document the focus is in (going into focused
// frames), and waited for, they let the next read see the selection.
QString inFocusedDocument(const char *action)
{
    return QStringLiteral("(function(){var d=document;"
                          "while(d.activeElement&&d.activeElement.tagName==='IFRAME'){"
                          "try{d=d.activeElement.contentDocument;}catch(e){break;}if(!d)return false;}"
                          "return (%1)(d);})()")
        .arg(QLatin1String(action));
}

QVariant packedRange(int low, int high)
{
    return static_cast<int>(static_cast<std::uint32_t>(low) | (static_cast<std::uint32_t>(high) << 16));
}

} // namespace

namespace {

bool standardGroup(const QUuid *group)
{
    return !group || group->isNull();
}

} // namespace

HRESULT EngineCommands::QueryStatus(const QUuid *pguidCmdGroup, std::span<OLECMD> prgCmds, OLECMDTEXT *)
{
    const bool browser = !standardGroup(pguidCmdGroup) && *pguidCmdGroup == CGID_IWebBrowser;
    if (!standardGroup(pguidCmdGroup) && !browser)
        return OLECMDERR_E_NOTSUPPORTED;
    for (OLECMD &cmd : prgCmds)
        cmd.cmdf = browser ? browserStatusOf(cmd.cmdID) : statusOf(cmd.cmdID);
    return S_OK;
}

std::uint32_t EngineCommands::browserStatusOf(std::uint32_t cmdID)
{
    // Internet Options among the others: there are no browser settings to show.
    return cmdID == BrowserFind || cmdID == BrowserViewSource ? OLECMDF_SUPPORTED | OLECMDF_ENABLED : 0;
}

HRESULT EngineCommands::execBrowser(std::uint32_t cmdID)
{
    switch (cmdID) {
    case BrowserFind:
        return m_dialogs.find();
    case BrowserViewSource:
        return m_dialogs.viewSource();
    default:
        // BrowserOptions included: the engine is set up by the program, and
        // the user has no settings dialog of the browser's to change it in.
        return OLECMDERR_E_NOTSUPPORTED;
    }
}

std::uint32_t EngineCommands::statusOf(std::uint32_t cmdID) const
{
    constexpr std::uint32_t Available = OLECMDF_SUPPORTED | OLECMDF_ENABLED;
    if (const EditCommand *edit = editCommand(cmdID))
        return m_scripts.readBool(enabledExpression(*edit)) ? Available : OLECMDF_SUPPORTED;
    switch (cmdID) {
    case OLECMDID_ZOOM:
    case OLECMDID_GETZOOMRANGE:
    case OLECMDID_OPTICAL_ZOOM:
    case OLECMDID_OPTICAL_GETZOOMRANGE:
    case OLECMDID_REFRESH:
    case OLECMDID_PRINT:
    case OLECMDID_PRINTPREVIEW:
    case OLECMDID_PAGESETUP:
    case OLECMDID_SAVEAS:
    case OLECMDID_PROPERTIES:
        return Available;
    case OLECMDID_STOP:
        return m_page->isLoading() ? Available : OLECMDF_SUPPORTED;
    default:
        return 0;
    }
}

HRESULT EngineCommands::Exec(const QUuid *pguidCmdGroup, std::uint32_t nCmdID, std::uint32_t nCmdexecopt,
                             const QVariant &pvaIn, QVariant *pvaOut)
{
    if (!standardGroup(pguidCmdGroup))
        return *pguidCmdGroup == CGID_IWebBrowser ? execBrowser(nCmdID) : OLECMDERR_E_NOTSUPPORTED;
    switch (nCmdID) {
    case OLECMDID_SAVEAS:
        return m_dialogs.saveAs(nCmdexecopt, pvaIn);
    case OLECMDID_PROPERTIES:
        return m_dialogs.properties();
    case OLECMDID_PRINT:
        return m_printing.print(nCmdexecopt, pvaIn);
    case OLECMDID_PRINTPREVIEW:
        return m_printing.preview(pvaIn);
    case OLECMDID_PAGESETUP:
        return m_printing.pageSetup(nCmdexecopt);
    default:
        break;
    }
    QVariant out;
    if (const EditCommand *edit = editCommand(nCmdID)) {
        // A command that cannot act says so, rather than doing nothing
        // and reporting success.
        if (!m_scripts.readBool(enabledExpression(*edit)))
            return OLECMDERR_E_DISABLED;
        if (edit->action == QWebEnginePage::NoWebAction)
            m_scripts.run(QStringLiteral("document.execCommand('delete');"));
        else if (edit->id == OLECMDID_SELECTALL)
            m_scripts.read(inFocusedDocument("function(d){return d.execCommand('selectAll');}"));
        else if (edit->id == OLECMDID_CLEARSELECTION)
            m_scripts.read(inFocusedDocument("function(d){d.getSelection().removeAllRanges();return true;}"));
        else {
            if ((edit->id == OLECMDID_COPY || edit->id == OLECMDID_CUT) && m_clipboardHook)
                m_clipboardHook();
            m_page->triggerAction(edit->action);
        }
    } else {
        switch (nCmdID) {
        case OLECMDID_ZOOM:
            if (pvaIn.isValid()) {
                m_textSize = std::clamp(pvaIn.toInt(), 0, TextSizeLargest);
                applyZoom();
            }
            out = m_textSize;
            break;
        case OLECMDID_GETZOOMRANGE:
            out = packedRange(0, TextSizeLargest);
            break;
        case OLECMDID_OPTICAL_ZOOM:
            out = pvaIn.isValid() ? setOpticalZoom(pvaIn.toInt()) : m_opticalPercent;
            break;
        case OLECMDID_OPTICAL_GETZOOMRANGE:
            out = packedRange(OpticalZoomMin, OpticalZoomMax);
            break;
        case OLECMDID_REFRESH:
            m_page->triggerAction(QWebEnginePage::Reload);
            break;
        case OLECMDID_STOP:
            m_page->triggerAction(QWebEnginePage::Stop);
            break;
        default:
            return OLECMDERR_E_NOTSUPPORTED;
        }
    }
    if (pvaOut)
        *pvaOut = out;
    return S_OK;
}

int EngineCommands::setOpticalZoom(int percent)
{
    m_opticalPercent = std::clamp(percent, OpticalZoomMin, OpticalZoomMax);
    applyZoom();
    return m_opticalPercent;
}

void EngineCommands::applyZoom()
{
    // The engine ignores a factor outside its range rather than clamping it.
    const double factor = m_opticalPercent / 100.0 * TextSizeFactors[static_cast<std::size_t>(m_textSize)];
    m_page->setZoomFactor(std::clamp(factor, OpticalZoomMin / 100.0, OpticalZoomMax / 100.0));
}

} // namespace vocab

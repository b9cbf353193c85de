#include "HbToolsPrinting.h"

#include "HbToolsDocument.h"
#include "HbToolsRegistry.h"
#include "HostInterfaces.h"
#include "HtmlDocument.h"
#include "OleError.h"
#include "Registry.h"
#include "DesktopDefaults.h"
#include "StartProgram.h"
#include "WebBrowser.h"
#include "WindowHelpers.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <QVariantList>

namespace vocab::HbTools {

namespace {

// How long the print preview may take to come to the front.
constexpr std::uint32_t PreviewTimeoutMs = 7000;
// How often the wait for it looks, at the most.
constexpr int PollIntervalMs = 10;

std::uint32_t optionOf(bool HideSetup)
{
    return HideSetup ? OLECMDEXECOPT_DONTPROMPTUSER : OLECMDEXECOPT_PROMPTUSER;
}

bool hasHtmlDocument(IWebBrowser2 *Browser)
{
    return Browser && IsHtmlDocument(Browser->Document());
}

// A command the browser refuses is an error of the caller's; one the user
// cancels in its dialog is not.
void execOrThrow(IWebBrowser2 *Browser, std::uint32_t command, std::uint32_t option)
{
    const HRESULT hr = Browser->ExecWB(command, option, QVariant(), nullptr);
    if (FAILED(hr) && hr != OLECMDERR_E_CANCELED)
        throw EOleException(hr, QStringLiteral("Браузер не выполнил команду печати"));
}

} // namespace

void PrintWithHeaderFooter(IWebBrowser2 *Browser, const QString &Header, const QString &Footer, std::uint32_t Option)
{
    if (!Browser)
        return;
    try {
        QVariant out;
        Browser->ExecWB(OLECMDID_PRINT, Option, QVariantList{Header, Footer}, &out);
    } catch (const std::exception &) {
    }
}

void Print(IWebBrowser2 *Browser, bool HideSetup, bool WithHeaderFooter, const QString &Header, const QString &Footer)
{
    if (!hasHtmlDocument(Browser))
        return;
    if (WithHeaderFooter)
        PrintWithHeaderFooter(Browser, Header, Footer, optionOf(HideSetup));
    else
        execOrThrow(Browser, OLECMDID_PRINT, optionOf(HideSetup));
}

void PrintWithOptions(IWebBrowser2 *Browser, IHTMLDocument2 *Doc, bool UsePrintOptions, bool &Pending, bool HideSetup,
                      bool Enabled)
{
    PageSetup(Doc, UsePrintOptions, Enabled, Pending);
    Print(Browser, HideSetup, false, QString(), QString());
}

bool PageSetup(IHTMLDocument2 *Doc, bool UsePrintOptions, bool Enabled, bool &Pending)
{
    if (!IsHtmlDocument(Doc))
        return false;
    if (UsePrintOptions && Enabled)
        Pending = true;
    QVariant out;
    return ExecCommand(Doc, false, OLECMDID_PAGESETUP, OLECMDEXECOPT_DODEFAULT, QVariant(), &out) == S_OK;
}

void PrintSetup(IWebBrowser2 *Browser, bool HideSetup)
{
    if (hasHtmlDocument(Browser))
        execOrThrow(Browser, OLECMDID_PAGESETUP, optionOf(HideSetup));
}

void PrintPreview(IWebBrowser2 *Browser)
{
    if (hasHtmlDocument(Browser))
        execOrThrow(Browser, OLECMDID_PRINTPREVIEW, OLECMDEXECOPT_DONTPROMPTUSER);
}

void PrintPreviewExtended(IWebBrowser2 *Browser, int nCMDShow, bool HideSetup)
{
    if (!hasHtmlDocument(Browser))
        return;
    execOrThrow(Browser, OLECMDID_PRINTPREVIEW, optionOf(HideSetup));
    if (QWidget *preview = WaitForActiveWindowOfClass(QString::fromLatin1(WindowClass::EngineDialog), PreviewTimeoutMs))
        ShowWindow(preview, nCMDShow);
}

QWidget *WaitForActiveWindowOfClass(const QString &ClassName, std::uint32_t TimeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    // Wakes the wait for events below at least this often.
    QTimer tick;
    tick.start(PollIntervalMs);
    for (;;) {
        QWidget *active = QApplication::activeWindow();
        if (active && GetWindowClassName(active) == ClassName)
            return active;
        if (static_cast<std::uint64_t>(clock.elapsed()) > TimeoutMs)
            return nullptr;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

void PrintPreviewFromTemplate(const QString &TemplateFileName, IHTMLDocument2 *Doc)
{
    if (!Doc || !Doc->commandTarget())
        return;
    QVariant out = QString();
    Doc->commandTarget()->Exec(nullptr, OLECMDID_PRINTPREVIEW, OLECMDEXECOPT_PROMPTUSER, TemplateFileName, &out);
}

namespace {

// The kinds of default program the registry groups under Software\Clients,
// and the kind of data by which the desktop names the same program.
struct ClientKind {
    const char16_t *kind;
    const char16_t *mimeType;
};
constexpr ClientKind DesktopClientKinds[] = {
    {u"Mail", u"x-scheme-handler/mailto"},
    {u"StartMenuInternet", u"x-scheme-handler/http"},
    {u"News", u"x-scheme-handler/news"},
    {u"Contacts", u"text/vcard"},
    {u"Calendar", u"text/calendar"},
    {u"Media", u"audio/mpeg"},
    {u"IM", u"x-scheme-handler/xmpp"},
};

// The command line the program's own store keeps for the kind, or "".
QString storedCommandLine(const QString &Client)
{
    TRegistry registry(RegRoot::HKEY_LOCAL_MACHINE);
    const QString kindKey = QStringLiteral("Software\\Clients\\") + Client;
    QString name;
    if (registry.OpenKey(kindKey, false)) {
        name = registry.ReadString(QString());
        registry.CloseKey();
    }
    // No default program of the kind: its own key would be read as the program's.
    if (name.isEmpty())
        return {};
    QString commandLine;
    if (registry.OpenKey(kindKey + u'\\' + name + QStringLiteral("\\shell\\open\\command"), false)) {
        commandLine = registry.ReadString(QString());
        registry.CloseKey();
    }
    return commandLine;
}

// The desktop's default program of the kind, program first; empty when the
// kind has no counterpart on the desktop or the desktop names no program.
QStringList desktopCommand(const QString &Client)
{
    for (const ClientKind &kind : DesktopClientKinds) {
        if (Client.compare(QString::fromUtf16(kind.kind), Qt::CaseInsensitive) != 0)
            continue;
        const QString entry = DesktopDefaultFor(QString::fromUtf16(kind.mimeType));
        if (entry.isEmpty())
            return {};
        QStringList command = DesktopEntryCommand(entry);
        // A mail program the desktop names but whose entry is out of reach
        // is still the one the desktop's mail tool opens.
        if (command.isEmpty() && QStringView(kind.kind) == u"Mail")
            command = QStringList{QStringLiteral("xdg-email")};
        return command;
    }
    return {};
}

} // namespace

bool OpenClient(const QString &Client)
{
    // The program's own store first, as a caller may have put a program
    // there; else the one this desktop gives the same kind of work.
    QStringList words = QProcess::splitCommand(storedCommandLine(Client));
    if (words.isEmpty())
        words = desktopCommand(Client);
    if (words.isEmpty())
        return false;
    const QString program = words.takeFirst();
    return StartProgram(program, words);
}

} // namespace vocab::HbTools

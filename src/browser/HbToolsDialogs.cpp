#include "HbToolsDialogs.h"

#include "FileDialogs.h"
#include "HbToolsDocument.h"
#include "HbToolsFavorites.h"
#include "HbToolsNavigation.h"
#include "HbToolsRegistry.h"
#include "HbWindowCommand.h"
#include "HostedBrowser.h"
#include "ListFile.h"
#include "MessageBoxes.h"
#include "OleCommands.h"
#include "OleError.h"
#include "ShellOpen.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace vocab::HbTools {

namespace {

// The filter texts of the dialogs, as the browser has them: line feed and
// carriage return before the bar of each group after the first, blanks
// inside the patterns and a semicolon missing between two of them. The
// dialogs read them with all of that set right (NameFiltersFromFilterText).
const QString OpenFilter = QStringLiteral(
    "Internet Files|*.htm; *.html; *.url; *.mht; *.mhtml; *.php *.asp\n\r"
    "|Image Files| *.gif;*.bmp;*.ico;*.jpg;*.png;*.wmf; *.emf; \n\r"
    "|Text & Documents Files| *.txt;*.doc;*.xls;*.dot;\n\r"
    "|Compressed Files| *.zip;\n\r"
    "|XML Files| *.xml;\n\r"
    "|Any Files|*.*");
const QString SaveFilter = QStringLiteral(
    "Internet Files|*.htm; *.html;*.mht; *.mhtml; *.php *.asp\n\r"
    "|Text & Documents Files| *.txt;*.doc;*.xls;*.dot;\n\r"
    "|XML Files| *.xml;\n\r"
    "|Any Files|*.*");
const QString PageTextFilter = QStringLiteral("Text file|*.txt|Word file|*.doc");

bool commandSucceeds(IHTMLDocument2 *Document, bool BrowserGroup, std::uint32_t CmdID)
{
    QVariant out;
    return ExecCommand(Document, BrowserGroup, CmdID, OLECMDEXECOPT_DODEFAULT, QVariant(), &out) == S_OK;
}

// A late-bound call on the document of the control's automation object.
QVariant lateBound(IWebBrowser2 *OleObject, const QString &body)
{
    return LateBound(OleObject ? OleObject->Document() : nullptr, body);
}

// The path itself when no file is there; else the first of "name (2).ext",
// "name (3).ext", ... that is free.
QString freePath(const QString &path)
{
    if (!QFileInfo::exists(path))
        return path;
    const QFileInfo file(path);
    const QString suffix = file.suffix().isEmpty() ? QString() : QStringLiteral(".") + file.suffix();
    const QString base = file.fileName().left(file.fileName().size() - suffix.size());
    for (int n = 2;; ++n) {
        const QString candidate = file.dir().filePath(QStringLiteral("%1 (%2)%3").arg(base).arg(n).arg(suffix));
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

} // namespace

// The dialogs here have no help button and are always resizable, so the
// help and sizing options of the platform's dialogs have nothing to set.
bool OpenDialog(THostedBrowser &Browser, QWidget *Owner)
{
    FileDialogRequest request;
    request.kind = FileDialogKind::Open;
    request.title = QStringLiteral("Browser - Open Dialog");
    request.nameFilters = NameFiltersFromFilterText(OpenFilter);
    const QString file = ChooseFile(request, Owner);
    if (file.isEmpty())
        return false;
    Browser.Go(file, 0);
    return true;
}

QString SaveDialogEx(THostedBrowser &Browser, QWidget *Owner, const QString &ATitle, const QString &AFilter)
{
    FileDialogRequest request;
    request.kind = FileDialogKind::Save;
    request.title = ATitle.isEmpty() ? QStringLiteral("Browser - Save Dialog") : ATitle;
    request.nameFilters = NameFiltersFromFilterText(AFilter.isEmpty() ? SaveFilter : AFilter);
    const QString file = ChooseFile(request, Owner);
    if (file.isEmpty())
        return {};
    // A name is handed back only for a page that is in the file.
    return Browser.SaveToFile(file) == S_OK ? file : QString();
}

bool SaveDialog(IHTMLDocument2 *Document)
{
    return commandSucceeds(Document, false, OLECMDID_SAVEAS);
}

bool ShowInternetOptions(IHTMLDocument2 *Document)
{
    return commandSucceeds(Document, true, BrowserOptions);
}

bool ShowPageProperties(IHTMLDocument2 *Document)
{
    return commandSucceeds(Document, false, OLECMDID_PROPERTIES);
}

bool ShowFindDialog(IHTMLDocument2 *Document)
{
    return commandSucceeds(Document, true, BrowserFind);
}

bool ViewPageSourceHtml(IHTMLDocument2 *Document)
{
    return commandSucceeds(Document, true, BrowserViewSource);
}

bool ShowOrganizeFavorites(QWidget *Handle)
{
    constexpr int CSIDL_FAVORITES = 6;
    return OrganizeFavoritesDialog(Handle, GetSpecialFolderPath(Handle, CSIDL_FAVORITES));
}

QString SaveImageTarget(const QString &Src, const QString &Folder)
{
    const qsizetype dot = Src.lastIndexOf(u'.');
    const QString kind = (dot < 0 ? Src : Src.mid(dot + 1)).toUpper();
    if (kind != QLatin1String("GIF") && kind != QLatin1String("JPG") && kind != QLatin1String("BMP")
        && kind != QLatin1String("PNG"))
        return {};
    const qsizetype slash = Src.lastIndexOf(u'/');
    const QString name = QUrl::fromPercentEncoding((slash < 0 ? Src : Src.mid(slash + 1)).toUtf8());
    QString safe;
    for (const QChar c : name)
        safe += (c.unicode() < 0x20 || c == u'/' || c == u'\\') ? QChar(u'_') : c;
    return Folder + QStringLiteral("/Images") + safe;
}

void SaveImagesDialog(IWebBrowser2 *OleObject, IHTMLDocument2 *Document)
{
    if (!IsHtmlDocument(Document))
        return;
    FileDialogRequest request;
    request.kind = FileDialogKind::Folder;
    request.title = QStringLiteral("Папка для рисунков страницы");
    const QString chosen = ChooseFile(request, QApplication::activeWindow());
    if (chosen.isEmpty())
        return;
    // The pictures' names are joined to the folder as they stand.
    QString folder = QDir::cleanPath(chosen);
    if (folder.endsWith(u'/'))
        folder.chop(1);
    const QString question =
        QStringLiteral("Сохранить рисунки страницы (GIF, JPG, BMP, PNG) в папку\n%1?").arg(QDir::toNativeSeparators(folder));
    if (MessageBox(question, ApplicationTitle(), MB_YESCANCELALL, QApplication::activeWindow(), Qt::PlainText) == IDCANCEL)
        return;
    const QVariantList sources =
        lateBound(OleObject, QStringLiteral("var s=[];for(var i=0;i<d.images.length;++i)s.push(String(d.images.item(i).src));"
                                            "return s;"))
            .toList();
    for (const QVariant &source : sources) {
        const QString src = source.toString();
        const QString target = SaveImageTarget(src, folder);
        if (!target.isEmpty())
            DownloadToFile(src, freePath(target));
    }
}

void SavePageTextDialog(QWidget *Owner, IWebBrowser2 *OleObject, IHTMLDocument2 *Document)
{
    if (!IsHtmlDocument(Document))
        return;
    const QString text = lateBound(OleObject, QStringLiteral("return String(d.documentElement.innerText);")).toString();
    FileDialogRequest request;
    request.kind = FileDialogKind::Save;
    request.title = QStringLiteral("Web Site Text");
    request.nameFilters = NameFiltersFromFilterText(PageTextFilter);
    request.filterIndex = 0;
    request.defaultSuffix = QStringLiteral("txt");
    request.fileName = QStringLiteral("WebSiteText.txt");
    const QString file = ChooseFile(request, Owner);
    if (!file.isEmpty())
        ListFile::writeBytes(file, (text + u'\n').toUtf8());
}

// Only a folder is explored: a file handed to the desktop would be opened,
// or run, by whatever program it belongs to.
void ExploreFolder(QWidget *, const QString &Path)
{
    const QFileInfo folder(Path);
    if (!Path.isEmpty() && folder.isDir())
        ShellOpen(QUrl::fromLocalFile(folder.absoluteFilePath()));
}

void OpenIEBrowserWithAddress(QWidget *Handle)
{
    SendCommandMessage(Handle, IE_CMD_ADDRESS, 0);
}

} // namespace vocab::HbTools

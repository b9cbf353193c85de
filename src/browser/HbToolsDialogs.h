#pragma once

// Routines of the browser tools that put the browser's dialogs in front of
// the user: a file to open in the browser, a file to save the page into,
// the browser's own Save As, Internet Options, page properties, find and
// page-source commands, the favourites folder to organise, the page's
// pictures and its text saved, a folder opened in the file manager, and the
// address command of the component's window.
//
// The file dialogs go through ChooseFile (FileDialogs.h) and the message
// boxes through MessageBox (MessageBoxes.h), so that each can be answered
// without a person. The commands answer True exactly when the document's
// command target reports success; without an HTML document they answer
// False and send nothing.
//
// Errors: a late-bound read of the page that fails (a page without
// pictures or text to read) throws EOleException to the caller.

#include <QString>

class QWidget;

namespace vocab {

class IHTMLDocument2;
class IWebBrowser2;
class THostedBrowser;

namespace HbTools {

// Lets the user choose a file ("Browser - Open Dialog") and goes to it in
// the browser without waiting. True when a file was chosen.
bool OpenDialog(THostedBrowser &Browser, QWidget *Owner);

// Lets the user choose a file ("Browser - Save Dialog" and the web-page
// filters unless a title or a filter, as "Description|patterns|...", is
// given) and saves the page into it. The file's name; empty when the user
// cancels or the page could not be saved there.
QString SaveDialogEx(THostedBrowser &Browser, QWidget *Owner, const QString &ATitle, const QString &AFilter);

// The browser's own commands over the document.
bool SaveDialog(IHTMLDocument2 *Document);
// The browser here has no settings dialog and answers that it cannot: False.
bool ShowInternetOptions(IHTMLDocument2 *Document);
bool ShowPageProperties(IHTMLDocument2 *Document);
bool ShowFindDialog(IHTMLDocument2 *Document);
bool ViewPageSourceHtml(IHTMLDocument2 *Document);

// The favourites folder, opened for the user to organise.
bool ShowOrganizeFavorites(QWidget *Handle);

// Asks for a folder, then whether to save the page's pictures there (Yes,
// Cancel, All: Yes and All save every picture, Cancel none), and downloads
// every picture of the kinds GIF, JPG, BMP and PNG into it. A picture whose
// name is taken in the folder is saved under a numbered name; one that
// cannot be downloaded is passed over.
void SaveImagesDialog(IWebBrowser2 *OleObject, IHTMLDocument2 *Document);

// Where a picture of the address `Src` is saved in `Folder`: the folder,
// "/Images" and the picture's file name, joined as they stand. The name is
// what follows the last "/" of the address, its escapes decoded and any
// separator or control character in it made "_", so that the file stays in
// the folder. Empty for a picture of another kind, which is passed over.
QString SaveImageTarget(const QString &Src, const QString &Folder);

// Lets the user choose a file ("Web Site Text", WebSiteText.txt proposed)
// and saves the page's text into it, in UTF-8, a line break after it.
void SavePageTextDialog(QWidget *Owner, IWebBrowser2 *OleObject, IHTMLDocument2 *Document);

// Opens the folder in the desktop's file manager.
void ExploreFolder(QWidget *Handle, const QString &Path);

// Sends the address command to the window (the component's own).
void OpenIEBrowserWithAddress(QWidget *Handle);

} // namespace HbTools
} // namespace vocab

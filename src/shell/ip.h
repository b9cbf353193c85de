#pragma once

#include "AllHeadwordsSearch.h"
#include "CategoryTab.h"
#include "DictionaryLookup.h"
#include "HeadwordGrid.h"
#include "LineList.h"
#include "LetterIndex.h"
#include "ListFile.h"
#include "OutsideWords.h"
#include "SearchBox.h"
#include "SearchHost.h"
#include "ShellPaths.h"
#include "StartupFiles.h"
#include "TreeEdit.h"

#include "ui_ip.h"

#include <QElapsedTimer>
#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <memory>

class QMenu;
class QPainter;
class QTimer;
class QSystemTrayIcon;

namespace vocab {

class TIniFile;
class SessionEndWatcher;
class THostedBrowser;

// The letter beside the search box for a keyboard layout: R, E or N.
QString LayoutLetter(std::uint32_t layout);

// The text selected in the browser's document; empty without a document.
QString GetBrowserSelectionText(THostedBrowser *Browser);

// The main window. Its components come from the window description (ip.ui)
// under the names the rest of the program uses (ComboBox1, StringGrid1,
// TreeView1, PageControl1, ...); its handlers only wire events to the plain
// classes that do the work.
class TForm1 : public QMainWindow, public Ui::TForm1, private SearchHost {
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // The article view, and the menu it shows on a right click in place of
    // the browser's own.
    THostedBrowser *Emb = nullptr;
    QMenu *PopupBrowser = nullptr;

    // Options and start-up state.
    std::unique_ptr<TIniFile> IniFile;
    QString dir_iniFile;
    bool Reload_F_Oglmain = false;
    bool FormShowDone = false;
    bool StartupDone = false;
    bool CloseForReal = false;

    // The global lists of the window. The open dictionary's lists and the
    // search state live in `lookup`. The combined list of all dictionaries
    // (dictionaries.ogl) can hold a million lines: one text with offsets.
    LineList AllHeadwords;
    // Where each letter's lines lie in AllHeadwords (dictionaries.dvc).
    LetterIndexTable LetterIndex;
    StringList GrayList;
    StringList GrayListWork;
    StringList TreeLines;
    QString PageHead;
    QString PickedHeadword;

    // The headword grid's rows and current row; StringGrid1 shows it.
    HeadwordGrid grid;
    DictionaryLookup lookup;
    // The search of AllHeadwords while the root is selected.
    AllHeadwordsSearch combinedSearch;

    // Timers of the window description.
    QTimer *Timer1 = nullptr;       // focus to the search box once
    QTimer *TimerSelect = nullptr;  // the search after a history pick
    QTimer *TimerFocusWB = nullptr; // focus to the article under the pointer

    const ConfigPaths &paths() const { return m_paths; }

    // Handlers of the window description.
    void FormShow();
    void FormCloseQuery(bool &canClose);
    void FormClose();
    // The desktop session ends: close for real, never just hide.
    void WMQueryEndSession();

    // The tray: the window hides here and comes back from here.
    QSystemTrayIcon *RxTrayIcon1 = nullptr;
    QMenu *PopupTray = nullptr;
    QAction *CMt_restore = nullptr;
    QAction *CMt_exit = nullptr;
    void RxTrayIcon1Click();
    void CMt_restoreClick();
    void CMt_exitClick();
    // Shows the tray icon and hides the window into it.
    void HideToTray();

    // Writes a whole page into the article view; each page replaces the last.
    void WriteHtmlToBrowser(const QString &page) override;
    // The page written last.
    const QString &ShownPage() const { return m_shownPage; }
    // How long a page waits for the first blank document before the caller
    // goes on without it; the page is written once the document is there.
    int DocumentWaitMs = 5000;
    // A page is waiting for its document.
    bool PageWaitingForDocument() const { return m_pageWaitingForDocument; }

    // The tree, the search box and the grid.
    void TreeView1Change();
    void OpenSelectedDictionary();
    void Button_One_Dic();
    void Button_All_dic_Zagolovki();
    void Button_All_dic_Content();
    void ComboBox1Change(const QString &text);
    void ComboBox1Select(int index);
    void TimerSelectTimer();
    void ComboBox1KeyDown(int key);
    void ComboBox1KeyPress();
    void ComboBox1DropDown();
    void ComboBox1CloseUp();
    void MoveGridRowFromSearchBox(int step);
    void AddToHistory(const QString &Word);
    void StringGrid1SelectCell(int ARow);
    // The description page of the selected dictionary, by double click or the tree menu.
    void TreeView1DblClick();
    void CM_aboutClick();
    void StringGrid1DblClick();
    void StringGrid1KeyDown(int key);
    void StringGrid1MouseMove();
    void Timer_StartFocus();
    void TimerFocusWBTimer();
    // Black after a match, grey after a failed search.
    void UpdateSearchBoxMode() override;
    bool SelectedNodeIsRoot() const;

    // --- Hot keys, input hooks and outside words (ipHotKeys.cpp) ---
    // The word taken from outside the search box last.
    QString ExternalWord;
    QTimer *TimerHookMouse = nullptr; // once, 50 ms after a double click in the article
    QAction *CM_copy = nullptr;
    QAction *CM_CopyInEdit = nullptr;
    QAction *CM_FindAllDic = nullptr;
    // The global hot keys (HotKeyCtrlCC, HotKeyCtrlShiftZ), switched on or
    // off at once. A key is registered or released only when the state asked
    // for differs from the one asked for last; the answer of the platform is
    // not acted on. SwitchHotKeys sets both, as the options have them.
    void SwitchHotKey(int id, bool on);
    void SwitchHotKeys(bool ctrlCC, bool ctrlShiftZ);
    bool HotKeyOn(int id) const;
    bool InstallDoubleClickHook();
    bool InstallLayoutHook();
    // `time`: the press's time on the X server, which the window's request
    // for the keyboard carries (0: not known).
    void WMHotKey(int id, std::uint32_t time = 0);
    void LookUpExternalWord();
    void TrimTrailingPunctuation();
    void TimerHookMouseTimer();
    void PopupBrowserPopup();
    void CM_copyClick();
    void CM_CopyInEditClick();
    void CM_FindAllDicClick();
    // Where the article view lies on the screen, as the hooks and timers estimate it.
    ArticleViewArea ArticleViewRect() const;
    // --- The dictionary tree: its menu, folders, moves, drag and drop and the
    // grey list (ipTree.cpp); deleting a dictionary from it.
    QMenu *TreeMenu = nullptr;
    QAction *M_about = nullptr;
    QAction *Mrename = nullptr;
    QAction *M_NewKatalog = nullptr;
    QAction *M_DeleteKatalog = nullptr;
    QAction *M_DeleteDic = nullptr;
    QAction *M_notSearch = nullptr;
    QAction *M_Arrow_Up = nullptr;
    QAction *M_Arrow_down = nullptr;
    // Starts the in-place edit of a new folder once the folder has been opened.
    QTimer *Timer_TreeMenu = nullptr;

    void TreeView1MouseDown(Qt::MouseButton button, QPoint pos);
    void TreeMenuPopup();
    void CM_RenameClick();
    void TreeView1Edited(QTreeWidgetItem *node, const QString &s);
    void CM_NewKatalogClick();
    void Timer_TreeMenuTimer();
    void CM_DeleteKatalogClick();
    void CM_DeleteDicClick();
    void CM_notSearchClick();
    bool TreeView1DragOver(QTreeWidgetItem *target) const;
    void TreeView1DragDrop(QTreeWidgetItem *target);
    void CM_Arrow_UpClick();
    void CM_Arrow_downClick();
    // The main menu's "Развернуть все" and "Свернуть все".
    void MM_unfoldClick();
    void MM_foldClick();
    // The menu as its last opening left it; its arrows' shortcuts act on it.
    const TreeMenuState &LastTreeMenuState() const { return m_treeMenuState; }

private:
    void setUpTree();
    void selectFirstNodeThenRoot();
    TreeMenuState m_treeMenuState;

public:
    // --- Window geometry and the tray (ipGeometry.cpp).
    // Keeps the panes inside the client area as the window is resized.
    void FormResize();
    // Minimizing may hide the window into the tray.
    void ApplicationMinimize();
    // Whether the desktop has a tray to hide into; tests stand in for one.
    std::function<bool()> TrayAvailable;
    bool FormResizeAttached() const { return m_formResizeAttached; }

private:
    // The position policy and the handlers set up when the window is created.
    void FormCreateGeometry();
    // The saved geometry and the keep-on-screen test, applied when the
    // window is made; the start-up load's own step of the geometry.
    void applySavedGeometry();
    void RestoreWindowGeometry();
    bool m_savedGeometryApplied = false;
    bool m_formResizeAttached = true;
    // The start-up load got as far as the geometry: from then on the window's
    // place and sizes are the user's and are saved at close.
    bool m_geometryRestored = false;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // What the lookup asks of the window.
    TreeNodeKind SelectedNodeKind() const override;
    QString SelectedNodeCaption() const override;
    QString SelectedNodeFolder() const override;
    void BeginOpening() override;
    void InvalidatePageControl() override;
    void SetSearchMode(TreeNodeKind kind) override;
    void SearchRootOnOpening() override;
    void SetSearchBoxText(const QString &text) override;
    void FocusSearchBox() override;
    void RefocusSearchBoxAtEnd() override;
    int SelectedCategoryItem() const override;
    void ShowCategories(const QString &caption, const QStringList &names) override;

    void setUpSearch();
    void setUpOutsideWords();
    void BringWindowForward(std::uint32_t userTime);
    bool ExternalWordIsHeadword() const;
    void UpdateLayoutLetter();
    bool eventFilter(QObject *watched, QEvent *event) override;
    // The grid's viewport as the filter was installed on it. The filter
    // still sees events while the window's widgets are destroyed, when the
    // grid can no longer be asked for it.
    QObject *m_gridViewport = nullptr;

    void FormCreate();
    void startupLoad();
    void readLetterIndex();
    void rebuildLetterIndexIfNeeded();
    void loadHistory();
    void loadLists();
    void loadTree();
    void openStartPage();
    void writePendingPage();
    void dropPendingPage();
    QTimer *m_pendingPageTimer = nullptr;
    bool m_pageWaitingForDocument = false;

    ConfigPaths m_paths;
    SessionEndWatcher *m_sessionEnd = nullptr;
    SearchBoxMode m_boxMode;
    SearchChangeHandler m_changeHandler = SearchChangeHandler::Button_One_Dic;
    QString m_shownPage;

    // The files of the start-up and of the close whose faults were told.
    FileFaults m_faults;
    // How far the start-up load got with the history and the grey list.
    // Closing writes back a list that was read or made. One that could not
    // be made is written only when the session gave it lines, and one the
    // load never reached not at all, so a load that failed half-way never
    // overwrites the user's lists with empty ones.
    enum class ListState { NotReached, Loaded, Unmade };
    ListState m_historyState = ListState::NotReached;
    ListState m_grayListState = ListState::NotReached;
    void saveListAtClose(ListState state, const QString &path, const QStringList &lines);
    // The required files were missing: the program is ending and must not
    // create or rewrite anything on its way out.
    bool m_startupAborted = false;
    bool m_closed = false;
    // The start-up load found the letter index unreadable, or changed the
    // combined list: the index is built anew before the root is opened.
    bool ReindexNeeded = false;

    // Hot keys, input hooks and outside words.
    QObject *DoubleClickHookHandle = nullptr;
    QObject *LayoutHookHandle = nullptr;
    bool m_hotKeyCtrlCC = false;
    bool m_hotKeyCtrlShiftZ = false;
    // --- the page of one headword from all dictionaries, and the categories tab
public:
    // The categories of the selected dictionary, listed on the second tab.
    CategoryTab categoryTab{lookup, *this};
    // Whether the page control may change to tab `newIndex`.
    void PageControl1Changing(int newIndex, bool &AllowChange);
    void PageControl1Change();
    // Colours the tab captions; runs before the tabs are painted.
    void PageControl1DrawTab();
    void ListBox1Click();
    void ListBox1DrawItem(QPainter &canvas, const QRect &rect, const QString &text, bool selected) const;
    QString CurrentCategoryFile() const { return categoryTab.CurrentCategoryFile(); }

private:
    void setUpCategories();
    // Puts the progress bar at a position, kept inside its range.
    void SetProgress(int position);
    static constexpr int ProgressFrameMs = 16;
    QElapsedTimer m_progressPainted;

    // The tab the page control shows; a refused change goes back to it.
    int m_pageControlIndex = 0;
    bool m_refusingTabChange = false;
    // The list's current row when the mouse was last pressed on it: a click
    // on the row that was current already changes no row, and is picked so.
    int m_listBoxRowAtPress = -1;

    // --- Installing new dictionaries and rebuilding the combined list (ipInstall.cpp)
public:
    // The main menu's "Обновление списка" (enabled by CombinedListIncomplete):
    // saves the tree, runs the rebuild dialog, then reads the combined list
    // and its index again when a run finished, and opens the root anew.
    void MM_CompilClick();

private:
    friend class BusyWork;
    // 12.–13. of the start-up load: the tree lines reconciled with the
    // folders under "dic", and the new dictionaries installed.
    void installNewDictionaries();
    void reloadCombinedList();
    void reopenRoot();
    // A close asked for while a progress loop runs cancels the loop, and the
    // window closes once it has ended. True when the close is put off so.
    bool deferCloseWhileBusy();
    // Cancels the progress loop that runs now; empty when none does.
    std::function<void()> m_cancelWork;
    bool m_closeAfterWork = false;

    // --- The main menu: the options dialog, help, the maker's pages and the
    // about box (ipMenus.cpp). The items come from the window description.
public:
    // Enables "Обновление списка" while [List]incomplete is set.
    void MainMenu1Change();
    // Opens the options dialog modally.
    void MM_OptionsClick();
    // Opens ConfigFiles/help.chm beside the program; also F1.
    void MM_HelpClick();
    void MM_site_newsClick();
    void MM_site_dicClick();
    // Opens a fresh about box modally.
    void MM_aboutClick();

private:
    void setUpMenus();
};

} // namespace vocab

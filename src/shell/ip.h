#pragma once

#include "ListFile.h"
#include "ShellPaths.h"

#include "ui_ip.h"

#include <QMainWindow>

#include <cstdint>
#include <memory>

class QMenu;
class QSystemTrayIcon;
class QWebEngineView;

namespace vocab {

class TIniFile;
class SessionEndWatcher;

// The letter beside the search box for a keyboard layout: R, E or N.
QString LayoutLetter(std::uint32_t layout);

// The main window. Its components come from the window description (ip.ui)
// under the names the rest of the program uses (ComboBox1, StringGrid1,
// TreeView1, PageControl1, ...); its handlers only wire events to the plain
// classes that do the work.
class TForm1 : public QMainWindow, public Ui::TForm1 {
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // The article view.
    QWebEngineView *Emb = nullptr;

    // Options and start-up state.
    std::unique_ptr<TIniFile> IniFile;
    QString dir_iniFile;
    bool Reload_F_Oglmain = false;
    bool FormShowDone = false;
    bool StartupDone = false;
    bool CloseForReal = false;

    // The global lists of the window.
    StringList CurrentHeadwords;
    StringList AllHeadwords;
    StringList CurrentArticles;
    StringList GrayList;
    StringList GrayListWork;
    StringList CategoryList;
    StringList TreeLines;
    QString PageHead;

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
    void WriteHtmlToBrowser(const QString &page);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void startupLoad();
    void loadHistory();
    void loadLists();
    void loadTree();
    void openStartPage();

    ConfigPaths m_paths;
    SessionEndWatcher *m_sessionEnd = nullptr;

    // What the start-up load got as far as reading. Closing writes back only
    // what was read, so a load that failed half-way never overwrites the
    // user's history or grey list with empty lists.
    bool m_historyLoaded = false;
    bool m_grayListLoaded = false;
    // The required files were missing: the program is ending and must not
    // create or rewrite anything on its way out.
    bool m_startupAborted = false;
    bool m_closed = false;
};

} // namespace vocab

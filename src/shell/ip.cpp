#include "ip.h"

#include "DictionaryTree.h"
#include "AppError.h"
#include "ErrorHandler.h"
#include "HostedBrowser.h"
#include "IniFile.h"
#include "InstallerRegistry.h"
#include "KeyboardLayout.h"
#include "MessageBoxes.h"
#include "PageHead.h"
#include "SessionEnd.h"
#include "ShellTexts.h"
#include "StartupFiles.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrl>

// The window's pictures live in a static library, whose resources are linked
// only when asked for by name.
static void initShellResources()
{
    Q_INIT_RESOURCE(shell);
}

namespace vocab {

namespace {

QString section(const char *name) { return QString::fromLatin1(name); }

} // namespace

QString LayoutLetter(std::uint32_t layout)
{
    switch (layout) {
    case 0x04190419: return QStringLiteral("R");
    case 0x04090409: return QStringLiteral("E");
    default: return QStringLiteral("N");
    }
}

TForm1::TForm1(QWidget *parent)
    : QMainWindow(parent), lookup(*this, grid, TreeLines, QDir::currentPath()),
      combinedSearch(*this, grid, lookup, AllHeadwords, LetterIndex), m_paths(QDir::currentPath())
{
    initShellResources();
    setupUi(this);
    setWindowTitle(texts::MainWindowCaption);

    // A right click over an article opens the window's own menu.
    PopupBrowser = new QMenu(this);
    Emb = CreateArticleView(PanelRight, PopupBrowser);
    m_pendingPageTimer = new QTimer(this);
    m_pendingPageTimer->setInterval(50);
    connect(m_pendingPageTimer, &QTimer::timeout, this, [this] { guarded([this] { writePendingPage(); }); });
    PanelRightLayout->insertWidget(0, Emb, 1);
    setUpOutsideWords();

    // Design-time sizes of the left panel and of the tabs below the grid.
    SplitterPanels->setSizes({217, width() - 217});
    SplitterGridTabs->setSizes({height() - 193, 193});

    setUpSearch();
    setUpCategories();
    setUpTree();
    setUpMenus();
    // The bar colour is given as a Windows BGR value 0xA4A0A0, which is RGB #A0A0A4.
    ProgressBar1->setStyleSheet(QStringLiteral("QProgressBar::chunk { background: #A0A0A4; }"));

    setWindowIcon(QIcon(QStringLiteral(":/vocabulinarum.png")));
    PopupTray = new QMenu(this);
    CMt_restore = PopupTray->addAction(QStringLiteral("Открыть Vocabulinarum"));
    CMt_exit = PopupTray->addAction(QStringLiteral("Выход"));
    RxTrayIcon1 = new QSystemTrayIcon(windowIcon(), this);
    RxTrayIcon1->setToolTip(texts::ApplicationTitle);
    RxTrayIcon1->setContextMenu(PopupTray);
    connect(CMt_restore, &QAction::triggered, this, [this] { guarded([this] { CMt_restoreClick(); }); });
    connect(CMt_exit, &QAction::triggered, this, [this] { guarded([this] { CMt_exitClick(); }); });
    connect(RxTrayIcon1, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
            guarded([this] { RxTrayIcon1Click(); });
    });

    m_sessionEnd = new SessionEndWatcher(this);
    connect(m_sessionEnd, &SessionEndWatcher::sessionEnding, this, [this] { guarded([this] { WMQueryEndSession(); }); });

    guarded([this] { FormCreate(); });
}

TForm1::~TForm1()
{
    // The widgets go first, while the grid, the lookup and the lists their
    // handlers use are still alive.
    delete takeCentralWidget();
}

void TForm1::FormCreate()
{
    dir_iniFile = m_paths.base;
    IniFile = std::make_unique<TIniFile>(m_paths.optionsIni);

    FormCreateGeometry();
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // The load runs once the window is on screen, outside the show event,
    // because it may spin nested event loops.
    if (!FormShowDone)
        QTimer::singleShot(0, this, [this] { guarded([this] { FormShow(); }); });
}

void TForm1::FormShow()
{
    if (FormShowDone)
        return;
    FormShowDone = true;
    startupLoad();
}

void TForm1::startupLoad()
{
    // 1. Without the folder of the combined list and the start page the
    // program cannot run. It ends here, creating and rewriting nothing.
    if (!RequiredFilesPresent(m_paths)) {
        m_startupAborted = true;
        ShowMessage(texts::FatalMissingFiles);
        QCoreApplication::exit(1);
        return;
    }

    // 2.–5. List version, page head, the installers' destination. Each
    // is of use to the load only as far as it is read: a value that cannot
    // be stored shows its message, once for its file, and the load goes on
    // with what it read. The installers' values serve only an installer
    // that runs later.
    m_faults.Try([this] { RaiseListVersion(*IniFile); });
    const PageFont font = ReadPageFont(*IniFile);
    PageHead = ComposePageHead(font);
    m_faults.Try([&] { StoreDefaultPageFont(*IniFile, font); });
    m_faults.Try([this] { RegisterInstallFolder(ProgramDir()); });

    // 6. What a first start lacks. A file that cannot be made is read as
    // the empty one it would have been.
    CreateMissingFiles(m_paths, m_faults);

    // 7. The letter index as saved; whether it fits the combined list is
    // seen once that list is read (14.).
    readLetterIndex();

    // 8. History.
    loadHistory();

    // 9. Progress bar and the empty page.
    ProgressBar1->setValue(100);
    WriteHtmlToBrowser(QString());
    Reload_F_Oglmain = false;

    // 10. The global lists.
    loadLists();

    // 11. Keyboard.
    if (IniFile->ReadBool(section("options"), QStringLiteral("OnRussian"), false))
        KeyboardLayout::activate(QStringLiteral("00000419"));

    // 12.–13. The tree lines, reconciled with the folders under "dic", and
    // the dictionaries new there installed.
    installNewDictionaries();

    // 14. The letter index is made to fit the combined list before the tree
    // opens the root.
    rebuildLetterIndexIfNeeded();

    // 15. The tree.
    loadTree();

    // 16. The window's geometry as it was saved.
    RestoreWindowGeometry();

    StartupDone = true;
    // 17. The input hooks.
    InstallDoubleClickHook();
    InstallLayoutHook();

    // 18. The global hot keys the options ask for.
    SwitchHotKeys(IniFile->ReadBool(section("options"), QStringLiteral("CtrlCC"), false),
                  IniFile->ReadBool(section("options"), QStringLiteral("CtrlShiftZ"), false));

    // 19. The layout letter.
    Labellayout->setText(LayoutLetter(KeyboardLayout::current()));

    // 20. Start page.
    openStartPage();
}

void TForm1::readLetterIndex()
{
    // Any failure only means the index is built again from the list.
    ReindexNeeded = false;
    if (const std::optional<LetterIndexTable> read = LetterIndexTable::ReadFile(m_paths.letterIndex)) {
        LetterIndex = *read;
    } else {
        LetterIndex = {};
        ReindexNeeded = true;
    }
}

void TForm1::rebuildLetterIndexIfNeeded()
{
    // A record that does not fit the list, say one left from another list,
    // would send the searches to the wrong lines or past the end: it counts
    // as unreadable. The empty index stays for an empty list, which has none.
    if (!LetterIndex.FitsList(AllHeadwords)) {
        LetterIndex = {};
        ReindexNeeded = true;
    }
    if (!ReindexNeeded || AllHeadwords.isEmpty())
        return;
    LetterIndex = LetterIndexTable::Build(AllHeadwords);
    ReindexNeeded = false;
    // The index in memory serves this session whether or not it could be
    // saved; a failed write is shown and the start-up goes on.
    m_faults.Try([this] { LetterIndex.WriteFile(m_paths.letterIndex); });
}

void TForm1::loadHistory()
{
    if (QFileInfo::exists(m_paths.history)) {
        ComboBox1->setItemsInCode(ListFile::read(m_paths.history));
        m_historyState = ListState::Loaded;
    } else {
        m_historyState = m_faults.Write(m_paths.history, {}) ? ListState::Loaded : ListState::Unmade;
    }
}

void TForm1::loadLists()
{
    lookup.List().ClearLists();
    GrayListWork.clear();
    AllHeadwords = QFileInfo::exists(m_paths.allHeadwords) ? LineList::Read(m_paths.allHeadwords) : LineList();
    GrayList.clear();
    if (QFileInfo::exists(m_paths.grayList)) {
        GrayList = ListFile::read(m_paths.grayList);
        m_grayListState = ListState::Loaded;
    } else {
        m_grayListState = m_faults.Write(m_paths.grayList, {}) ? ListState::Loaded : ListState::Unmade;
    }
}

void TForm1::loadTree()
{
    {
        // Filling the tree is not the user choosing nodes.
        const QSignalBlocker block(TreeView1);
        TreeView1->clear();
        RepairTreeLines(TreeLines);
        // The tree shown is the one repaired, saved or not. A tree file
        // that could not be made is not tried again for the same lines.
        m_faults.Write(m_paths.treeView, TreeLines);
        LoadDictionaryTree(TreeView1, TreeLines, m_paths.treeTemp);
    }
    // Selecting the root opens it through the tree's change handler.
    if (QTreeWidgetItem *root = TreeNodes::at(TreeView1, 0))
        TreeView1->setCurrentItem(root);
}

void TForm1::openStartPage()
{
    const int startPage = IniFile->ReadInteger(section("options"), QStringLiteral("BrowserLoad"), 0);
    // A start page takes the place of an empty page still waiting for its
    // document.
    if (startPage == 0 || startPage == 2)
        dropPendingPage();
    switch (startPage) {
    case 0:
        Emb->Navigate(ProgramDir() + QStringLiteral("/ConfigFiles/references.htm"));
        break;
    case 2:
        Emb->Navigate(texts::NewsPageUrl);
        break;
    default:
        break; // the empty page stays
    }
}

void TForm1::WriteHtmlToBrowser(const QString &page)
{
    m_shownPage = page;
    // A page can only be written into a document: the first write waits for
    // a blank one. The page is written at the program's folder, so that the
    // pictures' paths resolve.
    if (!Emb->Document() && !m_pageWaitingForDocument) {
        Emb->Navigate(QStringLiteral("about:blank"));
        Emb->WaitForDocument(DocumentWaitMs);
    }
    IHTMLDocument2 *document = Emb->Document();
    if (!document) {
        // A blank document slow to come holds nothing up: the page waits
        // and is written the moment the document is there. A later page
        // takes its place, and waits no longer than this one.
        m_pageWaitingForDocument = true;
        m_pendingPageTimer->start();
        return;
    }
    dropPendingPage();
    document->write(page);
    document->close();
}

void TForm1::writePendingPage()
{
    if (!m_pageWaitingForDocument || !Emb->Document())
        return;
    WriteHtmlToBrowser(m_shownPage);
}

void TForm1::dropPendingPage()
{
    m_pageWaitingForDocument = false;
    m_pendingPageTimer->stop();
}

void TForm1::FormCloseQuery(bool &canClose)
{
    canClose = true;
    if (CloseForReal)
        return;
    if (IniFile && IniFile->ReadBool(section("options"), QStringLiteral("OnCloseApplication"), false)) {
        // Living in the tray needs a tray. Without one the window would be
        // lost from sight, so the close goes ahead instead.
        if (!TrayAvailable())
            return;
        HideToTray();
        canClose = false;
    }
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (deferCloseWhileBusy()) {
        event->ignore();
        return;
    }
    bool canClose = true;
    guarded([&] { FormCloseQuery(canClose); });
    if (!canClose) {
        event->ignore();
        return;
    }
    event->accept();
    FormClose();
    QCoreApplication::quit();
}

void TForm1::FormClose()
{
    if (m_closed || m_startupAborted)
        return;
    m_closed = true;
    // Each file is written on its own: one that cannot be written shows its
    // message, unless the start-up told it already, and the others are still
    // saved.
    m_faults.Try([this] {
        // The window's geometry is its own only once the load has put back
        // the saved one: a load that failed or never ran would write the
        // design-time sizes over the user's. The root alone is no tree either.
        if (!m_geometryRestored || TreeNodes::count(TreeView1) <= 1)
            return;
        IniFile->WriteInteger(section("size"), QStringLiteral("HeightSplitter"), PageControl1->height());
        IniFile->WriteInteger(section("size"), QStringLiteral("WidthSplitter"), Panel1->width());
        if (isMaximized()) {
            IniFile->WriteBool(section("size"), QStringLiteral("WindowStateNormal"), false);
        } else {
            IniFile->WriteBool(section("size"), QStringLiteral("WindowStateNormal"), true);
            // The frame's place but the client's size: the start-up restores
            // the geometry before the window manager may have told the frame's
            // size, and a frame size taken for a client size would grow the
            // window by its title bar at every start.
            IniFile->WriteInteger(section("size"), QStringLiteral("Top"), y());
            IniFile->WriteInteger(section("size"), QStringLiteral("Left"), x());
            IniFile->WriteInteger(section("size"), QStringLiteral("Height"), height());
            IniFile->WriteInteger(section("size"), QStringLiteral("Width"), width());
        }
    });
    // The tree as the start-up saved it, or failed to, is not written again.
    if (const QStringList tree = TreeFileLines(TreeView1, TreeLines); !tree.isEmpty())
        m_faults.Write(m_paths.treeView, tree);
    saveListAtClose(m_historyState, m_paths.history, ComboBox1->itemsText());
    saveListAtClose(m_grayListState, m_paths.grayList, GrayList);
}

void TForm1::saveListAtClose(ListState state, const QString &path, const QStringList &lines)
{
    // A list that could not be made began empty: only lines the session
    // gave it are something to save.
    if (state == ListState::Loaded || (state == ListState::Unmade && !lines.isEmpty()))
        m_faults.Write(path, lines);
}

void TForm1::HideToTray()
{
    RxTrayIcon1->show();
    hide();
}

void TForm1::RxTrayIcon1Click()
{
    CMt_restoreClick();
}

void TForm1::CMt_restoreClick()
{
    show();
    RxTrayIcon1->hide();
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    raise();
    activateWindow();
    ComboBox1->setFocus();
    ComboBox1->caretToEnd();
}

void TForm1::CMt_exitClick()
{
    CloseForReal = true;
    close();
}

void TForm1::WMQueryEndSession()
{
    CloseForReal = true;
    close();
}

} // namespace vocab

// The main window's search box, headword grid and the lookup they drive.
#include "ip.h"

#include "ArticlePage.h"
#include "ErrorHandler.h"
#include "HeadwordGridView.h"
#include "IniFile.h"
#include "SearchText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>

namespace vocab {

void TForm1::setUpSearch()
{
    QFont boxFont(QStringLiteral("Arial"));
    boxFont.setPixelSize(13);
    ComboBox1->setFont(boxFont);
    QPalette boxPalette = ComboBox1->lineEdit()->palette();
    boxPalette.setColor(QPalette::Base, Qt::white);
    boxPalette.setColor(QPalette::Text, Qt::black);
    ComboBox1->lineEdit()->setPalette(boxPalette);

    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    TimerSelect = new QTimer(this);
    TimerSelect->setInterval(1);
    TimerFocusWB = new QTimer(this);
    TimerFocusWB->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, [this] { guarded([this] { Timer_StartFocus(); }); });
    connect(TimerSelect, &QTimer::timeout, this, [this] { guarded([this] { TimerSelectTimer(); }); });
    connect(TimerFocusWB, &QTimer::timeout, this, [this] { guarded([this] { TimerFocusWBTimer(); }); });
    Timer1->start();

    connect(ComboBox1, &TComboBox::userTextChanged, this, [this](const QString &t) { guarded([&] { ComboBox1Change(t); }); });
    connect(ComboBox1, &QComboBox::activated, this, [this](int i) { guarded([&] { ComboBox1Select(i); }); });
    connect(ComboBox1, &TComboBox::keyDown, this, [this](int key) { guarded([&] { ComboBox1KeyDown(key); }); });
    connect(ComboBox1, &TComboBox::enterPressed, this, [this] { guarded([this] { ComboBox1KeyPress(); }); });
    connect(ComboBox1, &TComboBox::dropDown, this, [this] { guarded([this] { ComboBox1DropDown(); }); });
    connect(ComboBox1, &TComboBox::closeUp, this, [this] { guarded([this] { ComboBox1CloseUp(); }); });
    connect(ComboBox1, &TComboBox::rowStepRequested, this, [this](int step) { guarded([&] { MoveGridRowFromSearchBox(step); }); });

    // The hidden buttons are entry points that code can click: the search of
    // the selected dictionary, the search of the combined list, and the page
    // of one headword from all dictionaries.
    connect(Button1, &QPushButton::clicked, this, [this] { guarded([this] { Button_One_Dic(); }); });
    connect(Button_List_all, &QPushButton::clicked, this, [this] { guarded([this] { Button_All_dic_Zagolovki(); }); });
    connect(button_vse, &QPushButton::clicked, this, [this] { guarded([this] { Button_All_dic_Content(); }); });

    connect(TreeView1, &QTreeWidget::currentItemChanged, this, [this] { guarded([this] { TreeView1Change(); }); });
    // The tree's double click is taken from its viewport (see setUpTree), so
    // that it counts off the nodes too.

    // The grid's widget shows the grid model and follows its row and scroll
    // position; the user's clicks and scrolling go back into the model.
    new HeadwordGridView(StringGrid1, grid);
    StringGrid1->installEventFilter(this);
    m_gridViewport = StringGrid1->viewport();
    m_gridViewport->installEventFilter(this);
    grid.SetSelectCellHandler([this](int row) { StringGrid1SelectCell(row); });
    // The grid's double click is taken from its viewport (see eventFilter), so
    // that it counts below the last row too.
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == StringGrid1) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                guarded([&] { StringGrid1KeyDown(key); });
                return true;
            }
        }
    } else if (watched == m_gridViewport) {
        if (event->type() == QEvent::MouseMove)
            guarded([this] { StringGrid1MouseMove(); });
        // Anywhere in the grid, on a row or on the empty space below the rows;
        // a row's double click has already picked the row with its first click.
        else if (event->type() == QEvent::MouseButtonDblClick)
            guarded([this] { StringGrid1DblClick(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- what the lookup asks of the window ---------------------------------------

TreeNodeKind TForm1::SelectedNodeKind() const
{
    const QTreeWidgetItem *node = TreeView1->currentItem();
    return node ? TreeNodes::kind(node) : tnkFolder;
}

QString TForm1::SelectedNodeCaption() const
{
    const QTreeWidgetItem *node = TreeView1->currentItem();
    return node ? node->text(0) : QString();
}

QString TForm1::SelectedNodeFolder() const
{
    return TreeNodes::folder(TreeView1->currentItem());
}

bool TForm1::SelectedNodeIsRoot() const
{
    const QTreeWidgetItem *node = TreeView1->currentItem();
    return node && TreeNodes::absoluteIndex(TreeView1, node) == 0;
}

void TForm1::BeginOpening()
{
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Timer1->start();
}

void TForm1::InvalidatePageControl()
{
    // The captions are the tab bar's, a widget of its own.
    PageControl1->update();
    PageControl1->tabBar()->update();
}

void TForm1::SetSearchMode(TreeNodeKind kind)
{
    m_changeHandler = kind == tnkRoot ? SearchChangeHandler::Button_All_dic_Zagolovki : SearchChangeHandler::Button_One_Dic;
}

void TForm1::SearchRootOnOpening()
{
    combinedSearch.SearchRootOnOpening(ComboBox1->currentText());
}

void TForm1::SetSearchBoxText(const QString &text)
{
    ComboBox1->setTextInCode(text);
}

void TForm1::FocusSearchBox()
{
    ComboBox1->setFocus();
}

void TForm1::RefocusSearchBoxAtEnd()
{
    ComboBox1->setFocus();
    ComboBox1->caretToEnd();
}

int TForm1::SelectedCategoryItem() const
{
    return ListBox1->currentRow();
}

void TForm1::ShowCategories(const QString &caption, const QStringList &names)
{
    const QSignalBlocker block(ListBox1);
    ListBox1->clear();
    ListBox1->addItem(caption);
    ListBox1->addItem(QString());
    ListBox1->addItems(names);
    ListBox1->setCurrentRow(0);
}

void TForm1::UpdateSearchBoxMode()
{
    const auto look = m_boxMode.UpdateSearchBoxMode(lookup.State().SearchFound, SelectedNodeKind());
    if (!look)
        return;
    // A colour change is not an edit: the text and the caret stay, no search runs.
    QLineEdit *edit = ComboBox1->lineEdit();
    const int caret = edit->cursorPosition();
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, QColor::fromRgb(look->colour));
    edit->setPalette(palette);
    m_changeHandler = look->handler;
    edit->setCursorPosition(caret);
    edit->deselect();
}

// --- the tree, the box and the grid -------------------------------------------

void TForm1::TreeView1Change()
{
    OpenSelectedDictionary();
}

void TForm1::OpenSelectedDictionary()
{
    lookup.OpenSelectedDictionary();
}

void TForm1::Button_One_Dic()
{
    lookup.SearchOneDictionary(ComboBox1->currentText());
}

void TForm1::Button_All_dic_Zagolovki()
{
    combinedSearch.SearchAllHeadwords(ComboBox1->currentText());
}

void TForm1::ComboBox1Change(const QString &)
{
    if (m_changeHandler == SearchChangeHandler::Button_All_dic_Zagolovki)
        Button_All_dic_Zagolovki();
    else
        Button_One_Dic();
}

void TForm1::ComboBox1Select(int index)
{
    if (!TreeView1->currentItem() || index < 0)
        return;
    // The picked word moves to the top of the history.
    const QString picked = ComboBox1->itemText(index);
    ComboBox1->insertItem(0, picked);
    ComboBox1->setCurrentIndex(0);
    ComboBox1->removeItem(index + 1);
    ComboBox1->caretToEnd();
    TimerSelect->start();
}

void TForm1::TimerSelectTimer()
{
    TimerSelect->stop();
    ComboBox1->caretToEnd();
    if (!SelectedNodeIsRoot()) {
        Button_One_Dic();
    } else {
        Button_All_dic_Zagolovki();
        Button_All_dic_Content();
    }
}

void TForm1::ComboBox1KeyDown(int key)
{
    if (IsEraseKey(key, ReadEraseStr(*IniFile), ComboBox1->currentText().isEmpty()))
        lookup.EraseSearchText();
}

void TForm1::ComboBox1KeyPress()
{
    if (!SelectedNodeIsRoot())
        Button_One_Dic();
    else
        Button_All_dic_Content();
}

void TForm1::ComboBox1DropDown()
{
    m_boxMode.ComboBox1DropDown(lookup.State().SearchFound);
    UpdateSearchBoxMode();
    ComboBox1->repaint();
}

void TForm1::ComboBox1CloseUp()
{
    m_boxMode.ComboBox1CloseUp(lookup.State().SearchFound);
    UpdateSearchBoxMode();
}

void TForm1::MoveGridRowFromSearchBox(int step)
{
    grid.MoveRowFromSearchBox(step);
}

void TForm1::AddToHistory(const QString &Word)
{
    const QString word = LowerCaseText(Word);
    const HistoryAddition plan = vocab::AddToHistory(ComboBox1->itemsText(), word);
    const QString text = ComboBox1->currentText();
    if (plan.append) {
        // Qt makes the first item of an empty box the current one, and its
        // text the box's; the list grew, nothing was chosen from it.
        const QSignalBlocker block(ComboBox1);
        ComboBox1->addItem(word);
        ComboBox1->setCurrentIndex(-1);
    } else {
        ComboBox1->insertItem(0, word);
        if (plan.removeIndex >= 0 && plan.removeIndex < ComboBox1->count())
            ComboBox1->removeItem(int(plan.removeIndex));
    }
    if (plan.selectTop) {
        ComboBox1->setCurrentIndex(0);
        ComboBox1->caretToEnd();
    } else {
        // Adding to the list is not choosing from it: the text stays.
        ComboBox1->setTextInCode(text);
    }
}

void TForm1::StringGrid1SelectCell(int ARow)
{
    PickedHeadword = grid.Cell(ARow);
    const bool gridActive = QApplication::focusWidget() == StringGrid1;
    if (StartupDone && gridActive && PickedHeadword.isEmpty())
        return;
    SearchState &state = lookup.State();
    if (PickedHeadword.compare(ComboBox1->currentText(), Qt::CaseInsensitive) != 0 && state.SyncSearchBoxFromGrid == 1)
        SetSearchBoxText(PickedHeadword);
    if (StartupDone && (gridActive || grid.Tag() == HeadwordGrid::RowFromSearchBoxTag)) {
        if (grid.Tag() == HeadwordGrid::RowFromSearchBoxTag) {
            ComboBox1->caretToEnd();
            grid.SetTag(HeadwordGrid::NormalTag);
        }
        state.SearchFound = true;
        UpdateSearchBoxMode();
    }
    if (SelectedNodeKind() != tnkDictionary)
        return;

    const auto article = lookup.ArticleOfRow(ARow);
    const ArticleRequest request{PageHead, SelectedNodeCaption(), lookup.SelectedDictionaryDir(), ProgramDir(),
                                 PickedHeadword, article ? article->index : -1, lookup.List().CurrentArticles.Path()};
    WriteHtmlToBrowser(article ? ComposeArticlePage(request, article->article, article->headword)
                               : HeadingOnlyPage(request));
    TimerFocusWB->start(100);
}

void TForm1::TreeView1DblClick()
{
    if (SelectedNodeKind() != tnkDictionary)
        return;
    const QString text = AboutText(lookup.SelectedFolder().Find(QStringLiteral("about.info")).value_or(QString()));
    // The grid is left empty under the description, and the article shown
    // before is forgotten, so that typing its word again shows it again.
    // The description is the one page written.
    lookup.ClearGridAndPage(AboutPage(PageHead, text));
}

void TForm1::CM_aboutClick()
{
    TreeView1DblClick();
}

void TForm1::StringGrid1DblClick()
{
    if (SelectedNodeIsRoot())
        Button_All_dic_Content();
}

void TForm1::StringGrid1KeyDown(int key)
{
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && SelectedNodeIsRoot()) {
        Button_All_dic_Content();
        StringGrid1->setFocus();
    }
}

void TForm1::StringGrid1MouseMove()
{
    ComboBox1->setFocus();
    ComboBox1->caretToEnd();
}

void TForm1::Timer_StartFocus()
{
    ComboBox1->setFocus();
    ComboBox1->caretToEnd();
    Timer1->stop();
}

} // namespace vocab

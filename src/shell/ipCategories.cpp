// The main window's categories tab: the page control's two tabs and the list
// of the selected dictionary's categories.
#include "ip.h"

#include "ErrorHandler.h"
#include "EventHook.h"

#include <QEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTabBar>

#include <functional>

namespace vocab {

namespace {

constexpr int CategoriesTabIndex = 1;

// Runs a function before its widget paints, the moment an owner-drawn control
// is asked for its looks.
class BeforePaint : public QObject {
public:
    BeforePaint(QWidget *widget, std::function<void()> run) : QObject(widget), m_run(std::move(run))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            guarded(m_run);
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_run;
};

// Draws the list's items through the window's handler.
class ListBox1Delegate : public QStyledItemDelegate {
public:
    ListBox1Delegate(const TForm1 &form, QObject *parent) : QStyledItemDelegate(parent), m_form(form) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        painter->save();
        m_form.ListBox1DrawItem(*painter, option.rect, index.data().toString(),
                                option.state.testFlag(QStyle::State_Selected));
        painter->restore();
    }

private:
    const TForm1 &m_form;
};

} // namespace

void TForm1::setUpCategories()
{
    m_pageControlIndex = PageControl1->currentIndex();
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        if (m_refusingTabChange)
            return;
        bool allow = true;
        guarded([&] { PageControl1Changing(index, allow); });
        if (!allow) {
            // The change is taken back before anything is painted.
            m_refusingTabChange = true;
            PageControl1->setCurrentIndex(m_pageControlIndex);
            m_refusingTabChange = false;
            return;
        }
        m_pageControlIndex = index;
        guarded([this] { PageControl1Change(); });
    });
    new BeforePaint(PageControl1->tabBar(), [this] { PageControl1DrawTab(); });

    ListBox1->setItemDelegate(new ListBox1Delegate(*this, ListBox1));
    connect(ListBox1, &QListWidget::currentRowChanged, this, [this] { guarded([this] { ListBox1Click(); }); });
    // A click on the item that is current already changes no row, yet it is a
    // pick too: a category whose files failed is tried again so. A click
    // that changed the row was picked by the change above and is not picked
    // twice.
    new EventHook(ListBox1->viewport(), [this](QEvent *event) {
        if (event->type() == QEvent::MouseButtonPress)
            m_listBoxRowAtPress = ListBox1->currentRow();
        return false;
    });
    connect(ListBox1, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        if (ListBox1->row(item) == m_listBoxRowAtPress && ListBox1->currentItem() == item)
            guarded([this] { ListBox1Click(); });
    });
}

void TForm1::PageControl1Changing(int newIndex, bool &AllowChange)
{
    // Only entering the categories needs them. Leaving is always allowed, so
    // that the tree can be reached again even when the categories file went
    // away while they were shown.
    if (newIndex == CategoriesTabIndex && !categoryTab.Usable())
        AllowChange = false;
}

void TForm1::PageControl1Change()
{
    // Either way the whole dictionary is shown again, unless it is shown already.
    {
        const QSignalBlocker block(ListBox1);
        ListBox1->setCurrentRow(CategoryTab::DictionaryItem);
    }
    ListBox1Click();
    InvalidatePageControl();
}

void TForm1::PageControl1DrawTab()
{
    QTabBar *tabs = PageControl1->tabBar();
    const bool usable = categoryTab.Usable();
    for (int i = 0; i < tabs->count(); ++i) {
        const std::optional<QRgb> colour = TabCaptionColour(i == tabs->currentIndex(), usable);
        const QColor wanted = colour ? QColor::fromRgb(*colour) : QColor();
        // Setting a colour repaints the tab; only a change may, or painting
        // would never end.
        if (tabs->tabTextColor(i) != wanted)
            tabs->setTabTextColor(i, wanted);
    }
}

void TForm1::ListBox1Click()
{
    const int item = ListBox1->currentRow();
    if (item < 0)
        return;
    categoryTab.PickItem(item, ListBox1->item(item)->text());
}

void TForm1::ListBox1DrawItem(QPainter &canvas, const QRect &rect, const QString &text, bool selected) const
{
    if (selected)
        canvas.fillRect(rect, QColor(192, 192, 192));
    canvas.setPen(Qt::black);
    canvas.setFont(ListBox1->font());
    canvas.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

} // namespace vocab

#include "Options.h"

#include "ErrorHandler.h"

#include <QButtonGroup>
#include <QRadioButton>

#include <initializer_list>
#include <utility>

namespace vocab {

namespace {

// A radio group's buttons, numbered by their place in it.
QButtonGroup *itemsOf(QWidget *group, std::initializer_list<QRadioButton *> buttons)
{
    auto *items = new QButtonGroup(group);
    int index = 0;
    for (QRadioButton *button : buttons)
        items->addButton(button, index++);
    return items;
}

// Item -1 is no item: the group lets go of its exclusive hold to clear them all.
void selectItem(QButtonGroup *items, int index)
{
    if (QAbstractButton *button = items->button(index)) {
        button->setChecked(true);
        return;
    }
    items->setExclusive(false);
    for (QAbstractButton *button : items->buttons())
        button->setChecked(false);
    items->setExclusive(true);
}

} // namespace

TFormOptions::TFormOptions(TIniFile &ini, HotKeySwitch switchHotKey, QWidget *parent)
    : QDialog(parent), m_ini(ini), m_switchHotKey(std::move(switchHotKey))
{
    setupUi(this);
    // A fixed border with only the system menu's close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);

    RadioGroup1Items = itemsOf(RadioGroup1, {RadioGroup1Item0, RadioGroup1Item1, RadioGroup1Item2});
    RadioGroupBrowserItems = itemsOf(RadioGroupBrowser, {RadioGroupBrowserItem0, RadioGroupBrowserItem1});

    // The window's own settings come first.
    TreeView1->setCurrentItem(TreeView1->topLevelItem(0));
    connect(TreeView1, &QTreeWidget::currentItemChanged, this, [this] { guarded([this] { TreeView1Change(); }); });
    connect(ButtonOK, &QPushButton::clicked, this, [this] { guarded([this] { ButtonOKClick(); }); });
    connect(ButtonCancel, &QPushButton::clicked, this, [this] { guarded([this] { ButtonCancelClick(); }); });
}

void TFormOptions::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    guarded([this] { FormShow(); });
}

void TFormOptions::FormShow()
{
    showSettings(ReadOptionsForDialog(m_ini));
}

void TFormOptions::showSettings(const OptionsSettings &s)
{
    CheckBox1_1->setChecked(s.NoSaveWindow);
    CheckBox1_2->setChecked(s.OnMinimizedWindow);
    CheckBox1_3->setChecked(s.OnCloseApplication);
    CheckBox2_1->setChecked(s.CtrlCC);
    CheckBox2_2->setChecked(s.CtrlShiftZ);
    CheckBox3_1->setChecked(s.OnRussian);
    selectItem(RadioGroup1Items, s.EraseStr);
    selectItem(RadioGroupBrowserItems, s.BrowserLoad);
}

OptionsSettings TFormOptions::Chosen() const
{
    OptionsSettings s;
    s.NoSaveWindow = CheckBox1_1->isChecked();
    s.OnMinimizedWindow = CheckBox1_2->isChecked();
    s.OnCloseApplication = CheckBox1_3->isChecked();
    s.CtrlCC = CheckBox2_1->isChecked();
    s.CtrlShiftZ = CheckBox2_2->isChecked();
    s.OnRussian = CheckBox3_1->isChecked();
    s.EraseStr = RadioGroup1Items->checkedId();
    s.BrowserLoad = RadioGroupBrowserItems->checkedId();
    return s;
}

void TFormOptions::TreeView1Change()
{
    const int node = TreeView1->indexOfTopLevelItem(TreeView1->currentItem());
    if (node >= 0 && node < Panels->count())
        Panels->setCurrentIndex(node);
}

void TFormOptions::ButtonOKClick()
{
    // A write that fails leaves the dialog open, with the choices still in it.
    WriteOptionsFromDialog(m_ini, Chosen(), m_switchHotKey);
    accept();
}

void TFormOptions::ButtonCancelClick()
{
    reject();
}

} // namespace vocab

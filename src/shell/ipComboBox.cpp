#include "ipComboBox.h"

#include "SearchText.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>
#include <QWheelEvent>

#include <cstdlib>

namespace vocab {

namespace {

// Turns whatever is typed or pasted into lower case as it arrives.
class LowerCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        input = LowerCaseText(input);
        return Acceptable;
    }
};

} // namespace

TComboBox::TComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    attach();
}

void TComboBox::attach()
{
    // Qt's editable combo box completes, inserts on Enter and walks its items
    // with the arrows; none of that belongs to the search box.
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    lineEdit()->setMaxLength(130);
    lineEdit()->setValidator(new LowerCaseValidator(this));
    connect(lineEdit(), &QLineEdit::textEdited, this, &TComboBox::userTextChanged);
    // When its edit field loses the focus, Qt's box looks for an item equal to
    // the text and reports it as picked; a history word typed and then left
    // must not count as a pick of that word.
    disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
    installEventFilter(this);
    lineEdit()->installEventFilter(this);
    view()->installEventFilter(this);
}

void TComboBox::setTextInCode(const QString &text)
{
    lineEdit()->setText(LowerCaseText(text));
}

void TComboBox::setItemsInCode(const QStringList &items)
{
    const QString text = currentText();
    const QSignalBlocker block(this);
    clear();
    for (const QString &item : items)
        addItem(LowerCaseText(item));
    setCurrentIndex(-1);
    lineEdit()->setText(text);
}

QStringList TComboBox::itemsText() const
{
    QStringList out;
    for (int i = 0; i < count(); ++i)
        out.append(itemText(i));
    return out;
}

void TComboBox::caretToEnd()
{
    lineEdit()->deselect();
    lineEdit()->setCursorPosition(int(lineEdit()->text().size()));
}

void TComboBox::showPopup()
{
    Tag = 2;
    Q_EMIT dropDown();
    QComboBox::showPopup();
}

void TComboBox::hidePopup()
{
    QComboBox::hidePopup();
    // Qt also calls this when the box is hidden with its list never opened.
    if (Tag != 2)
        return;
    Tag = 1;
    Q_EMIT closeUp();
}

void TComboBox::wheelTurned(int dy)
{
    // A notch of a mouse wheel is 120; a touchpad or a fine wheel sends many
    // small turns, which together make one notch. A turn the other way starts
    // counting afresh. One event moves one row at most, however many notches
    // it carries, and what is left below a notch waits for the next turn.
    if (dy == 0)
        return;
    if ((dy < 0) != (m_wheelAngle < 0))
        m_wheelAngle = 0;
    m_wheelAngle += dy;
    if (std::abs(m_wheelAngle) < WheelNotch)
        return;
    const int step = m_wheelAngle < 0 ? 1 : -1;
    m_wheelAngle %= WheelNotch;
    Q_EMIT rowStepRequested(step);
}

bool TComboBox::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            // The arrows are the grid's: a press moves its row (the keypad's
            // arrows and Alt+arrow move nothing), and the box never sees them.
            const bool plain = !(key->modifiers() & (Qt::KeypadModifier | Qt::AltModifier));
            if (event->type() == QEvent::KeyPress && plain)
                Q_EMIT rowStepRequested(key->key() == Qt::Key_Down ? 1 : -1);
            return true;
        }
        // Keys arrive at the box, which hands them on to its edit field; a key
        // sent to the field itself and left unused there comes up to the box
        // too. Either way the box sees each key once.
        if (event->type() == QEvent::KeyPress && watched == this) {
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                Q_EMIT enterPressed();
                return true;
            }
            Q_EMIT keyDown(key->key(), key->modifiers());
        }
        break;
    }
    case QEvent::Wheel: {
        // While the list is open the wheel scrolls the list.
        if (Tag == 2)
            break;
        wheelTurned(static_cast<QWheelEvent *>(event)->angleDelta().y());
        return true;
    }
    default:
        break;
    }
    return QComboBox::eventFilter(watched, event);
}

} // namespace vocab

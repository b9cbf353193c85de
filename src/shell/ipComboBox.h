#pragma once

#include <QComboBox>

namespace vocab {

// The search box. Besides an ordinary editable combo box it keeps its text
// and items in lower case, and takes the Up and Down keys and the mouse wheel
// for itself: they move the headword grid's row instead of the box's items.
// Whatever code puts into it goes in through setTextInCode and the item
// helpers, which never count as the user's edits.
class TComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TComboBox(QWidget *parent = nullptr);

    // 1 normally, 2 while the drop-down list is open.
    int Tag = 1;

    void setTextInCode(const QString &text);
    void setItemsInCode(const QStringList &items);
    QStringList itemsText() const;
    // Caret after the last character, nothing selected.
    void caretToEnd();

    void showPopup() override;
    void hidePopup() override;

Q_SIGNALS:
    // The user changed the text (typing, pasting, deleting); never code.
    void userTextChanged(const QString &text);
    // Up/Down or a notch of the wheel: move the grid's row by this step.
    void rowStepRequested(int step);
    // A key went down in the box; it still reaches the box afterwards.
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    // Enter was pressed; the key is eaten.
    void enterPressed();
    void dropDown();
    void closeUp();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void attach();
    // A turn of the wheel by `dy` (angleDelta's y; 120 a notch, below 0
    // towards the user) while the list is closed.
    void wheelTurned(int dy);

    static constexpr int WheelNotch = 120;
    // The turn gathered so far towards the next row, in one direction.
    int m_wheelAngle = 0;
};

} // namespace vocab

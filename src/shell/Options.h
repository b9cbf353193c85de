#pragma once

#include "OptionsSettings.h"

#include "ui_Options.h"

#include <QDialog>
#include <QPointer>

class QButtonGroup;

namespace vocab {

class TIniFile;

// The options dialog: the [options] section of options.ini, read into the
// controls when the dialog is shown and written back by OK, which also
// switches the global hot keys at once. Cancel, Escape and the close box
// write nothing. Closing frees the dialog.
class TFormOptions : public QDialog, public Ui::TFormOptions {
    Q_OBJECT
public:
    // `ini` is the main window's options file; it must outlive the dialog.
    TFormOptions(TIniFile &ini, HotKeySwitch switchHotKey, QWidget *parent = nullptr);

    // The radio groups' buttons under their item indexes.
    QButtonGroup *RadioGroup1Items = nullptr;
    QButtonGroup *RadioGroupBrowserItems = nullptr;

    void FormShow();
    // Brings the panel of the selected node to the front.
    void TreeView1Change();
    void ButtonOKClick();
    void ButtonCancelClick();

    // The settings as the controls hold them.
    OptionsSettings Chosen() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showSettings(const OptionsSettings &settings);

    TIniFile &m_ini;
    HotKeySwitch m_switchHotKey;
};

// The options dialog while it is open.
inline QPointer<TFormOptions> FormOptions;

} // namespace vocab

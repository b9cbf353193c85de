#pragma once

#include "ShellPaths.h"

#include "ui_FormCompil.h"

#include <QDialog>

namespace vocab {

class TIniFile;

// The dialog that builds the combined headword list and its letter index
// anew from every dictionary of the saved tree; a tool window of one size.
// Idle (begin shown, exit enabled) → running (stop shown, exit disabled) →
// finished (begin disabled, exit focused) or, stopped, idle again. Its Tag
// is the stop request. A request to close it while it runs stops the run and
// closes it then; a run that is already writing its files finishes first.
class TForm_compil : public QDialog, public Ui::TForm_compil {
    Q_OBJECT
public:
    TForm_compil(const ConfigPaths &paths, TIniFile &IniFile, QWidget *parent = nullptr);

    bool Tag = false;

    // A run finished: the files on disk are new and the main window is to
    // read them again.
    bool RunFinished() const { return m_finished; }
    bool Running() const { return m_running; }

    // Shows "Обновление: " and the name of the dictionary being read, cut as
    // ShortDictionaryName cuts it, and cut further to the width of its label.
    void ShowDictionaryName(const QString &text);

    void ButtonBeginClick();
    void ButtonStopClick();
    void ButtonExitClick();

private:
    void layOut();

protected:
    // FormShow: the bar's colour, full.
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    // Escape.
    void reject() override;

private:
    void showFinished();
    void showStopped();

    const ConfigPaths &m_paths;
    TIniFile &m_ini;
    bool m_running = false;
    bool m_finished = false;
    bool m_closeWhenStopped = false;
};

} // namespace vocab

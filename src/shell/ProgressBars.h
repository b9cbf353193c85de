#pragma once

#include <QCoreApplication>

class QProgressBar;

namespace vocab {

// The program's bars are 0xA4A0A0, a Windows BGR value: RGB #A0A0A4. Native
// styles ignore the palette's colour for the chunk, so a style sheet sets it.
void ColourProgressBar(QProgressBar *bar);

// Shows a position that a progress formula took past either end of the bar
// as empty or full (the bar itself would ignore it), and paints it at once:
// the loops that move it leave paint events few turns.
void ShowBarPosition(QProgressBar *bar, int position);

// What a merge run asks of a progress window (Host, a MergeProgressHost)
// that has a ProgressBar1 and a Tag for its stop request: the bar, and the
// program's events handled while the run works inside the window's handler.
template <typename Host, typename Form>
class DialogProgress : public Host {
public:
    explicit DialogProgress(Form &form) : m_form(form) {}

    void ShowPosition(int position) override { ShowBarPosition(m_form.ProgressBar1, position); }
    bool ProcessMessages() override
    {
        QCoreApplication::processEvents();
        return m_form.Tag;
    }

protected:
    Form &m_form;
};

} // namespace vocab

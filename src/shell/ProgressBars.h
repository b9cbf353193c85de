#pragma once

class QProgressBar;

namespace vocab {

// The program's bars are 0xA4A0A0, a Windows BGR value: RGB #A0A0A4. Native
// styles ignore the palette's colour for the chunk, so a style sheet sets it.
void ColourProgressBar(QProgressBar *bar);

// Shows a position that a progress formula took past either end of the bar
// as empty or full (the bar itself would ignore it), and paints it at once:
// the loops that move it leave paint events few turns.
void ShowBarPosition(QProgressBar *bar, int position);

} // namespace vocab

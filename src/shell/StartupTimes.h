#pragma once

// For measuring the start: with VOCABULINARUM_STARTUP_TIMES naming a file,
// the moments the start-up load ends and the article view ends each load are
// appended to it, one line each, as milliseconds since the epoch; with the
// page moments, where the article view and the dictionary tree lie in the
// window when they have moved.

namespace vocab {

class TForm1;

// Does nothing unless the variable is set.
void WatchStartupTimes(TForm1 &form);

} // namespace vocab

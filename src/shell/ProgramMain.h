#pragma once

namespace vocab {

// The program: one copy at a time, then the main window and its message loop.
int ProgramMain(int argc, char **argv);

} // namespace vocab

#pragma once

namespace ml {

// The whole run: reads the switches, runs the one mode they select and returns the process's
// exit code: 0, or 1 after an error outside any window was shown.
int RunStartSequence(int argc, char** argv);

} // namespace ml

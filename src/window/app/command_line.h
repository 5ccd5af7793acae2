// The window program's command line: it takes --help and --version and
// nothing else. It is read before Qt connects to a display, so both answer
// on a terminal with no desktop at all.
#pragma once

#include <optional>

// Answers --help or --version, or reports a command line the game cannot
// use; returns the exit status when the program is to end there, and
// nothing when the game is to start (no arguments at all).
std::optional<int> ReadCommandLine(int argc, char* argv[]);

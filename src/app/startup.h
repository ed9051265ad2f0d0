#pragma once
#include <windows.h>

namespace kelvane {

// The whole life of the process after the entry point: start-up, the
// command-line jobs (or the interactive start), retention, shut-down.
// Returns the exit code.
int RunProgram(HINSTANCE instance, const char* commandLine, int showCommand);

}  // namespace kelvane

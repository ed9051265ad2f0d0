#pragma once
// A 32-bit build started on 64-bit Windows hands its whole run over to the
// 64-bit build beside it, Kelvane64.exe.
#include <string>

namespace kelvane {

// Whether `file` is a 64-bit Windows program (so a handover to it cannot
// come back to a 32-bit build and loop).
bool IsNative64BitProgram(const std::string& file);

// Starts `programFolder`\Kelvane64.exe with `commandLine` (the words after
// the program's name, as given) and `showCommand`, waits for it to end and
// puts its exit code in `exitCode` (8 when it cannot be waited for). False,
// with nothing started, when this process is not under WOW64, there is no
// 64-bit program of that name, or it could not be started: then the run
// goes on here.
bool HandOverToNativeBuild(const std::string& programFolder, const char* commandLine,
                           int showCommand, int& exitCode);

}  // namespace kelvane

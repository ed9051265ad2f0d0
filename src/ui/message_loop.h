#pragma once
// The user-interface thread's message loop.
#include <windows.h>

namespace kelvane {

// Runs until the quit message and returns its code. Keyboard messages for
// `dialog` (Tab, Enter, Escape) go to the dialog manager first.
int RunMessageLoop(HWND dialog);

}  // namespace kelvane

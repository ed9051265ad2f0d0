#pragma once
// The help menu of the main window's help button.
#include <windows.h>

namespace kelvane {

enum class HelpCommand { kNone = 0, kLanguage = 1, kAbout = 2 };

// Opens the menu at the lower left corner of `button` and waits for the
// choice; kNone when the menu was dismissed.
HelpCommand ShowHelpMenu(HWND owner, HWND button);

}  // namespace kelvane

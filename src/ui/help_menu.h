#pragma once
// The help menu of the main window's help button, and the help page that
// ships beside the program.
#include <windows.h>

#include <string>

namespace kelvane {

enum class HelpCommand { kNone = 0, kHelpPage = 1, kLanguage = 2, kAbout = 3 };

// Opens the menu at the lower left corner of `button` and waits for the
// choice; kNone when the menu was dismissed.
HelpCommand ShowHelpMenu(HWND owner, HWND button);

// `programFolder`\Help\Kelvane.html: the user manual.
std::string HelpPagePath(const std::string& programFolder);

// Opens the help page with the program the system opens such pages with.
// When that fails the user is told, in a message box owned by `owner`; false
// then.
bool OpenHelpPage(HWND owner, const std::string& programFolder);

}  // namespace kelvane

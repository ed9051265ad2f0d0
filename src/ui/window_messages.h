#pragma once
// Private window messages of the user interface. Both parameters are 0
// unless a message says otherwise.
#include <windows.h>

namespace kelvane {

// The shell's messages: a second start asks the running main window to come
// forward (through its marker window); the home page's buttons ask the main
// window to show a page and start its job; the options page hears of a
// changed exclusion list.
constexpr UINT WM_SHOW_MAIN_WINDOW = 0x04F0;
constexpr UINT WM_START_SCAN = 0x04F3;
constexpr UINT WM_EXCLUSIONS_CHANGED = 0x04F7;
constexpr UINT WM_START_DEFRAG = 0x04F8;
constexpr UINT WM_START_BACKUP = 0x04F9;
// The options page hears that the help menu's chooser stored another language.
constexpr UINT WM_LANGUAGE_CHANGED = 0x04FA;

// Posted to the main window by the update check (a newer version was found)
// and by its offer waiting for a modal window to close; UpdateNotifier
// handles it.
constexpr UINT WM_UPDATE_OFFERED = WM_APP + 0x0280;

// Sent to a page right after it was shown, and right before it is hidden.
constexpr UINT WM_PAGE_ACTIVATED = 0x1BE3;
constexpr UINT WM_PAGE_DEACTIVATED = 0x1BE4;

}  // namespace kelvane

#pragma once
// Private window messages of the user interface. Both parameters are 0
// unless a message says otherwise.
#include <windows.h>

namespace kelvane {

// Sent to a page right after it was shown, and right before it is hidden.
constexpr UINT WM_PAGE_ACTIVATED = 0x1BE3;
constexpr UINT WM_PAGE_DEACTIVATED = 0x1BE4;

}  // namespace kelvane

#pragma once
// The caption of a window as a string.
#include <windows.h>

#include <string>

namespace kelvane {

std::string WindowText(HWND window);

}  // namespace kelvane

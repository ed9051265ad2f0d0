#pragma once
// The caption of a window as a string, and how wide it is drawn.
#include <windows.h>

#include <string>

namespace kelvane {

std::string WindowText(HWND window);

// The width in pixels of the window's caption in the window's own font (the
// font of its dialog when it has none); 0 when it cannot be measured.
int WindowTextWidth(HWND window);

}  // namespace kelvane

#pragma once
// Placing windows on the screen.
#include <windows.h>

namespace kelvane {

// The screen's work area (without the task bar).
RECT WorkArea();

// Resizes `window` so that its client area is `width` by `height` pixels.
void SetClientSize(HWND window, int width, int height);

// Centres `window` on `area`, kept inside the work area.
void CentreWindowOn(HWND window, const RECT& area);

// Centres `window` on its owner or, without one, on the work area.
void CentreOnOwner(HWND window);

}  // namespace kelvane

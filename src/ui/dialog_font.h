#pragma once
// The fonts a window draws its own texts with, made from its dialog font so
// that they follow the template's face.
#include <windows.h>

#include "foundation/scoped_handle.h"

namespace kelvane {

// The font the dialog was created with.
HFONT DialogFont(HWND dialog);

// The dialog font in another height (0 keeps it) and weight.
ScopedFont FontLike(HWND dialog, int pixelHeight, int weight);

}  // namespace kelvane

#pragma once
// Pictures of the skin folder and how they are drawn. PNGs go through GDI+,
// which start-up has started; a picture that is missing or unreadable comes
// back empty and its element is drawn without it.
#include <windows.h>
#include <objidl.h>  // before GDI+, which needs its property types
#include <gdiplus.h>

#include <memory>
#include <string>

#include "foundation/scoped_handle.h"

namespace kelvane {

using SkinImage = std::unique_ptr<Gdiplus::Bitmap>;

// `folder`\`name` as a 32-bit ARGB picture held in memory (the file is not
// kept open); null when it cannot be read.
SkinImage LoadSkinImage(const std::string& folder, const char* name);

// A Windows bitmap file (main.bmp, a flag); invalid when missing.
ScopedBitmap LoadBitmapFile(const std::string& path);
ScopedBitmap LoadSkinBitmap(const std::string& folder, const char* name);

// The smallest rectangle holding every pixel that is not fully transparent
// (an empty one for a wholly transparent picture).
Gdiplus::Rect OpaqueBounds(Gdiplus::Bitmap& image);

// Draws the `source` part of `image` into `target`, stretched (nearest
// pixels), while the `corner` pixels along each edge keep their size, so
// rounded corners stay round at any size.
void DrawStretched(Gdiplus::Graphics& graphics, Gdiplus::Bitmap& image, const Gdiplus::Rect& source,
                   const RECT& target, int corner);

}  // namespace kelvane

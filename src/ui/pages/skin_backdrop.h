#pragma once
// The skin's main.bmp, the background of the main window and of every page
// in it. A page paints the part of the picture that lies behind it, so the
// main window and its pages look like one surface.
#include <windows.h>

#include <string>

#include "foundation/scoped_handle.h"

namespace kelvane {

class SkinBackdrop {
 public:
  // main.bmp of `skinFolder`; without it the header keeps a plain colour.
  void Load(const std::string& skinFolder);
  bool loaded() const { return picture_.IsValid(); }

  // Paints `size` pixels of the main window's background whose top left
  // corner is the main client point `origin`, at (0, 0) of `dc`.
  void Paint(HDC dc, POINT origin, SIZE size) const;

  // Paints the whole client area of `window`, a descendant of the main
  // window, with the background behind it.
  void PaintBehind(HDC dc, HWND window) const;

 private:
  ScopedBitmap picture_;
  SIZE size_ = {0, 0};
};

}  // namespace kelvane

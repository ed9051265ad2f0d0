#pragma once
// Painting into a bitmap that is copied to the screen in one go, so nothing
// flickers.
#include <windows.h>

#include "ui/ui_handles.h"

namespace kelvane {

class BufferedDc {
 public:
  // `width` by `height` pixels, copied to (0, 0) of `target` at the end.
  BufferedDc(HDC target, int width, int height)
      : target_(target),
        width_(width),
        height_(height),
        dc_(CreateCompatibleDC(target)),
        bitmap_(CreateCompatibleBitmap(target, width, height)),
        selected_(dc_.Get(), bitmap_.Get()) {}
  ~BufferedDc() {
    if (dc_.IsValid() && bitmap_.IsValid())
      BitBlt(target_, 0, 0, width_, height_, dc_.Get(), 0, 0, SRCCOPY);
  }
  BufferedDc(const BufferedDc&) = delete;
  BufferedDc& operator=(const BufferedDc&) = delete;

  HDC dc() const { return dc_.Get(); }

 private:
  HDC target_;
  int width_;
  int height_;
  ScopedMemoryDc dc_;
  ScopedBitmap bitmap_;
  SelectedObject selected_;
};

}  // namespace kelvane

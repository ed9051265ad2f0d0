#include "ui/pages/skin_backdrop.h"

#include <algorithm>

#include "ui/main_window_layout.h"
#include "ui/skin_image.h"
#include "ui/ui_handles.h"

namespace kelvane {

void SkinBackdrop::Load(const std::string& skinFolder) {
  picture_ = LoadSkinBitmap(skinFolder, "main.bmp");
  size_ = {0, 0};
  BITMAP info = {};
  if (picture_.IsValid() && GetObjectA(picture_.Get(), sizeof info, &info) == sizeof info)
    size_ = {info.bmWidth, info.bmHeight};
}

void SkinBackdrop::Paint(HDC dc, POINT origin, SIZE size) const {
  RECT all = {0, 0, size.cx, size.cy};
  FillRect(dc, &all, GetSysColorBrush(COLOR_3DFACE));
  if (picture_.IsValid()) {
    ScopedMemoryDc source(CreateCompatibleDC(dc));
    SelectedObject selected(source.Get(), picture_.Get());
    // A smaller picture of another skin leaves the rest in the face colour.
    const int width = std::min<int>(size.cx, size_.cx - origin.x);
    const int height = std::min<int>(size.cy, size_.cy - origin.y);
    if (width > 0 && height > 0)
      BitBlt(dc, 0, 0, width, height, source.Get(), origin.x, origin.y, SRCCOPY);
    return;
  }
  // Without its picture the header keeps its colour, so its text stays legible.
  if (origin.y >= kHeaderHeight) return;
  RECT header = {0, 0, size.cx, kHeaderHeight - origin.y};
  ScopedBrush brush(CreateSolidBrush(kHeaderFallbackColour));
  FillRect(dc, &header, brush.Get());
}

void SkinBackdrop::PaintBehind(HDC dc, HWND window) const {
  RECT client;
  GetClientRect(window, &client);
  POINT origin = {0, 0};
  MapWindowPoints(window, GetAncestor(window, GA_ROOT), &origin, 1);
  Paint(dc, origin, SIZE{client.right, client.bottom});
}

}  // namespace kelvane

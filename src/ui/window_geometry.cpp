#include "ui/window_geometry.h"

#include <algorithm>

namespace kelvane {

RECT WorkArea() {
  RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

void SetClientSize(HWND window, int width, int height) {
  // The frame as the window has it now: a skinned pop-up's frame is its own
  // (WM_NCCALCSIZE), which the styles do not tell.
  RECT outer, inner;
  if (!IsIconic(window) && GetWindowRect(window, &outer) && GetClientRect(window, &inner)) {
    SetWindowPos(window, nullptr, 0, 0, width + (outer.right - outer.left) - inner.right,
                 height + (outer.bottom - outer.top) - inner.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  RECT frame = {0, 0, width, height};
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE));
  AdjustWindowRectEx(&frame, style, GetMenu(window) != nullptr, exStyle);
  SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CentreWindowOn(HWND window, const RECT& area) {
  RECT own;
  GetWindowRect(window, &own);
  const int width = own.right - own.left;
  const int height = own.bottom - own.top;
  const RECT work = WorkArea();
  int x = area.left + ((area.right - area.left) - width) / 2;
  int y = area.top + ((area.bottom - area.top) - height) / 2;
  // A window larger than the work area keeps its top left corner visible.
  x = std::max<int>(work.left, std::min<int>(x, work.right - width));
  y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CentreOnOwner(HWND window) {
  const HWND owner = GetWindow(window, GW_OWNER);
  RECT area;
  if (owner == nullptr || !IsWindowVisible(owner) || IsIconic(owner) ||
      !GetWindowRect(owner, &area))
    area = WorkArea();
  CentreWindowOn(window, area);
}

}  // namespace kelvane

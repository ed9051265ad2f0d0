#include "ui/window_text.h"

#include <vector>

#include "ui/dialog_font.h"
#include "ui/ui_handles.h"

namespace kelvane {

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return std::string();
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, 0);
  GetWindowTextA(window, buffer.data(), length + 1);
  return buffer.data();
}

int WindowTextWidth(HWND window) {
  const std::string text = WindowText(window);
  const HDC dc = GetDC(window);
  if (dc == nullptr) return 0;
  SIZE size = {0, 0};
  {
    const auto font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    SelectedObject selected(dc, font != nullptr ? font : DialogFont(GetParent(window)));
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  }
  ReleaseDC(window, dc);
  return size.cx;
}

}  // namespace kelvane

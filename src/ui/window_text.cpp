#include "ui/window_text.h"

#include <vector>

namespace kelvane {

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return std::string();
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, 0);
  GetWindowTextA(window, buffer.data(), length + 1);
  return buffer.data();
}

}  // namespace kelvane

#include "ui/page.h"

#include "ui/window_messages.h"

namespace kelvane {

void Page::Activate(HWND page) {
  ShowWindow(page, SW_SHOW);
  SendMessageA(page, WM_PAGE_ACTIVATED, 0, 0);
}

void Page::Deactivate(HWND page) {
  ShowWindow(page, SW_HIDE);
  SendMessageA(page, WM_PAGE_DEACTIVATED, 0, 0);
}

bool Page::Route(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  if (message == WM_PAGE_ACTIVATED) {
    OnActivated();
    result = TRUE;
    return true;
  }
  if (message == WM_PAGE_DEACTIVATED) {
    OnDeactivated();
    result = TRUE;
    return true;
  }
  return Dialog::Route(message, wParam, lParam, result);
}

}  // namespace kelvane

#pragma once
// A page: a child dialog that the main window shows one at a time. It hears
// WM_PAGE_ACTIVATED when it has been shown and WM_PAGE_DEACTIVATED when it
// has been hidden, and refreshes or stops its work there.
#include "ui/dialog.h"

namespace kelvane {

class Page : public Dialog {
 public:
  using Dialog::Dialog;

  // Shows `page` and then tells it; hides `page` and then tells it.
  static void Activate(HWND page);
  static void Deactivate(HWND page);

 protected:
  virtual void OnActivated() {}
  virtual void OnDeactivated() {}

  bool Route(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
};

}  // namespace kelvane

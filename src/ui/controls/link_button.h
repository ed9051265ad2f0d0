#pragma once
// A push button that looks like a link on a skinned page: its caption in the
// link colour, underlined, on the page's own background, and the hand cursor
// over it. Made from a button of the template by Attach; it lets go of the
// window when the window goes.
#include <windows.h>

#include "ui/ui_handles.h"

namespace kelvane {

class LinkButton {
 public:
  LinkButton() = default;
  ~LinkButton() { Detach(); }
  LinkButton(const LinkButton&) = delete;
  LinkButton& operator=(const LinkButton&) = delete;

  // False when `button` is no window or one is attached already.
  bool Attach(HWND button);
  void Detach();

 private:
  static LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR id, DWORD_PTR data);
  void Paint(HDC dc) const;
  // The parent paints the background again under the whole button.
  void RepaintBackground() const;

  HWND window_ = nullptr;
  ScopedFont font_;
  bool hovered_ = false;
};

}  // namespace kelvane

#pragma once
// The overlay (template 212) that dims the whole primary screen while the
// registry is analysed: a layered window that fades in, runs one piece of
// work on the user-interface thread once it is nearly opaque, and fades out
// again when the work has returned. The work opens its own modal windows
// with the overlay as their owner, so they stay above it.
#include <windows.h>

#include <functional>

#include "ui/dialog.h"

namespace kelvane {

class FadeOverlay : public Dialog {
 public:
  using Work = std::function<void(HWND overlay)>;

  explicit FadeOverlay(Work work);
  ~FadeOverlay() override { Destroy(); }

  // Shows the overlay over `owner` (disabled meanwhile) until the work has
  // run and the overlay has faded out. The work runs even when no overlay
  // could be made, then owned by `owner`.
  void Run(HWND owner);

  // The opacity this moment, 0 to 255.
  int alpha() const { return alpha_; }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

 private:
  void Step();
  void SetAlpha(int alpha);

  const Work work_;
  int alpha_ = 0;
  bool fadingOut_ = false;
  bool workDone_ = false;
};

}  // namespace kelvane

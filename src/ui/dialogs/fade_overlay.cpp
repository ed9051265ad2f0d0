#include "ui/dialogs/fade_overlay.h"

#include <algorithm>
#include <utility>

#include "foundation/scoped_handle.h"
#include "resource_ids.h"

namespace kelvane {

namespace {

constexpr UINT_PTR kFadeTimer = 1;
constexpr UINT kFadeIntervalMs = 50;
constexpr int kFadeStep = 30;
// Above this the screen is dim enough for the work to start.
constexpr int kWorkAlpha = 220;
// Posted to itself, so that the work runs outside the timer's message.
constexpr UINT WM_OVERLAY_WORK = WM_APP + 0x320;

constexpr COLORREF kOverlayColour = RGB(0x12, 0x1A, 0x28);

}  // namespace

FadeOverlay::FadeOverlay(Work work) : Dialog(IDD_DEFRAG_OVERLAY), work_(std::move(work)) {}

void FadeOverlay::Run(HWND owner) {
  alpha_ = 0;
  fadingOut_ = false;
  workDone_ = false;
  DoModal(owner);
  if (!workDone_) {
    workDone_ = true;
    work_(owner);
  }
}

bool FadeOverlay::OnInit() {
  const LONG_PTR exStyle = GetWindowLongPtrA(window(), GWL_EXSTYLE);
  SetWindowLongPtrA(window(), GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
  SetAlpha(0);
  SetWindowPos(window(), HWND_TOP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
               GetSystemMetrics(SM_CYSCREEN), SWP_NOACTIVATE);
  if (SetTimer(window(), kFadeTimer, kFadeIntervalMs, nullptr) == 0)
    PostMessageA(window(), WM_OVERLAY_WORK, 0, 0);  // no fade, but the work still runs
  return false;
}

void FadeOverlay::SetAlpha(int alpha) {
  alpha_ = std::clamp(alpha, 0, 255);
  SetLayeredWindowAttributes(window(), 0, static_cast<BYTE>(alpha_), LWA_ALPHA);
}

void FadeOverlay::Step() {
  if (!fadingOut_) {
    SetAlpha(alpha_ + kFadeStep);
    if (alpha_ <= kWorkAlpha) return;
    KillTimer(window(), kFadeTimer);
    PostMessageA(window(), WM_OVERLAY_WORK, 0, 0);
    return;
  }
  SetAlpha(alpha_ - kFadeStep);
  if (alpha_ > 0) return;
  KillTimer(window(), kFadeTimer);
  End(IDOK);
}

bool FadeOverlay::OnCommand(int id, int, HWND) {
  // Escape and Enter must not take the overlay away from under the work.
  return id == IDOK || id == IDCANCEL;
}

bool FadeOverlay::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
  switch (message) {
    case WM_TIMER:
      if (wParam != kFadeTimer) return false;
      Step();
      result = TRUE;
      return true;
    case WM_OVERLAY_WORK:
      if (!workDone_) {
        workDone_ = true;
        work_(window());
      }
      fadingOut_ = true;
      if (SetTimer(window(), kFadeTimer, kFadeIntervalMs, nullptr) == 0) End(IDOK);
      result = TRUE;
      return true;
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window(), &client);
      const ScopedBrush brush(CreateSolidBrush(kOverlayColour));
      FillRect(reinterpret_cast<HDC>(wParam), &client, brush.Get());
      SetWindowLongPtrA(window(), DWLP_MSGRESULT, TRUE);
      result = TRUE;
      return true;
    }
  }
  return false;
}

}  // namespace kelvane

#pragma once
// The frame of the skinned pop-up windows, drawn from the skin's b11 to b23:
// the top row (b11 left, b12 stretched, b13 right) is the title bar with the
// window's caption and a close button, the bottom row (b21, b22, b23) closes
// the frame, and the sides continue the bottom row's outer edge. The frame
// lies in the non-client area, so the client area keeps its size and every
// layout made in client coordinates stays as it was; the window keeps its
// text, which the frame paints. The body takes the colour of b22's middle.
//
// A skin without all six pictures leaves the window its system frame.
#include <windows.h>
#include <objidl.h>  // before GDI+, which needs its property types
#include <gdiplus.h>

#include <string>

#include "foundation/scoped_handle.h"
#include "ui/skin_image.h"

namespace kelvane {

// How the six pictures divide the window's edge, in pixels.
struct FrameInsets {
  int top = 0;
  int bottom = 0;
  int left = 0;
  int right = 0;
};

class SkinnedFrame {
 public:
  SkinnedFrame() = default;
  ~SkinnedFrame() { Detach(); }
  SkinnedFrame(const SkinnedFrame&) = delete;
  SkinnedFrame& operator=(const SkinnedFrame&) = delete;

  // The six pictures of `skinFolder`; false when one is missing or unreadable.
  bool Load(const std::string& skinFolder);
  // Gives `window` the loaded frame in place of its caption and border,
  // keeping its client size. False (nothing changed) without pictures.
  bool Attach(HWND window);
  void Detach();

  const FrameInsets& insets() const { return insets_; }
  // The close button in window coordinates; empty when the system menu
  // has no enabled close command (a wait window that cannot be stopped).
  RECT CloseButton() const;

  // WM_CTLCOLORDLG, WM_CTLCOLORSTATIC and WM_CTLCOLORBTN of the dialog
  // procedure: the body's brush in `result`; false for other messages.
  bool PaintBody(UINT message, WPARAM wParam, INT_PTR& result) const;

 private:
  static LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR id, DWORD_PTR data);
  LRESULT HitTest(LPARAM screenPoint) const;
  void PaintFrame() const;
  void DrawTitle(HDC dc, const SIZE& size) const;
  void DrawCloseButton(HDC dc, const RECT& button) const;
  void UpdateRegion() const;
  void SetHover(bool hovered, bool pressed);

  HWND window_ = nullptr;
  SkinImage pieces_[6];  // b11 b12 b13 b21 b22 b23
  FrameInsets insets_;
  COLORREF bodyColour_ = 0;
  COLORREF titleColour_ = 0;
  COLORREF captionColour_ = 0;
  ScopedBrush bodyBrush_;
  ScopedFont captionFont_;
  bool active_ = true;
  bool closeHovered_ = false;
  bool closePressed_ = false;
};

}  // namespace kelvane

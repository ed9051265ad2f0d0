#pragma once
// The program's progress bar: a window class of its own, drawn with a
// gradient background and a gradient fill, and a centred caption chosen by
// its style bits. It answers the standard progress bar messages (PBM_SETRANGE,
// PBM_SETRANGE32, PBM_GETRANGE, PBM_SETPOS, PBM_GETPOS, PBM_DELTAPOS), so code
// and templates treat it like the system's one. Painting is double-buffered.
//
// Templates name it by class: CONTROL "", id, "KelvaneProgressBar", WS_CHILD | style, ...
// RegisterProgressBarClass() must have run before such a template is made.
#include <windows.h>

#include <string>

namespace kelvane {

constexpr const char* kProgressBarClass = "KelvaneProgressBar";

// Style bits of the caption (the low bits of the window style); the first set
// one wins.
constexpr DWORD kProgressShowsPercent = 0x1;     // "42%"
constexpr DWORD kProgressShowsCount = 0x2;       // position "/" maximum: "3/7"
constexpr DWORD kProgressShowsWindowText = 0x4;  // the control's own window text

// Registers the class in this module once; true when it is registered.
bool RegisterProgressBarClass();

// The caption for the style bits: the percentage of the range filled, the
// position over the maximum, or `windowText`; "" when no bit is set.
std::string ProgressBarCaption(DWORD style, int position, int minimum, int maximum,
                               const std::string& windowText);

// The filled width of a bar `width` pixels wide (0 for an empty range).
int ProgressFillWidth(int width, int position, int minimum, int maximum);

// Colours of the bar, shared with the percent cells of the result list.
constexpr COLORREF kBarBackTop = RGB(0xFA, 0xFA, 0xFA);
constexpr COLORREF kBarBackBottom = RGB(0xDC, 0xE0, 0xE6);
constexpr COLORREF kBarFrame = RGB(0x9A, 0xA2, 0xAE);
constexpr COLORREF kBarFillTop = RGB(0x8E, 0xD8, 0x8E);
constexpr COLORREF kBarFillBottom = RGB(0x2E, 0x9A, 0x44);
constexpr COLORREF kBarFillFrame = RGB(0x25, 0x7A, 0x37);
constexpr COLORREF kBarText = RGB(0x1E, 0x1E, 0x1E);

// A vertical two-colour gradient over `rect`.
void FillVerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom);

// One bar in `rect`: framed background gradient, the first `fillWidth` pixels
// filled with the fill gradient, `caption` centred on one line in `font`
// (the DC's font when null).
void DrawProgressBar(HDC dc, const RECT& rect, int fillWidth, const std::string& caption,
                     HFONT font);

// A handle wrapper: sends the messages above.
class ProgressBar {
 public:
  ProgressBar() = default;
  explicit ProgressBar(HWND window) : window_(window) {}

  // A new child bar; registers the class first. The wrapper of nullptr on failure.
  static ProgressBar Create(HWND parent, int id, const RECT& rect, DWORD captionStyle);

  HWND window() const { return window_; }
  void SetRange(int minimum, int maximum) const;
  // Kept inside the range.
  void SetPosition(int position) const;
  int position() const;

 private:
  HWND window_ = nullptr;
};

}  // namespace kelvane

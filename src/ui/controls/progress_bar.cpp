#include "ui/controls/progress_bar.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "ui/buffered_dc.h"
#include "ui/ui_handles.h"
#include "ui/window_text.h"

namespace kelvane {

namespace {

struct BarState {
  int minimum = 0;
  int maximum = 100;
  int position = 0;
  HFONT font = nullptr;
};

BarState* StateOf(HWND window) {
  return reinterpret_cast<BarState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

int Mix(int from, int to, int step, int steps) {
  return steps <= 0 ? from : from + (to - from) * step / steps;
}

void FrameRectangle(HDC dc, const RECT& rect, COLORREF colour) {
  ScopedBrush brush(CreateSolidBrush(colour));
  FrameRect(dc, &rect, brush.Get());
}

void Paint(HWND window, HDC target) {
  const BarState* state = StateOf(window);
  if (state == nullptr) return;
  RECT client;
  GetClientRect(window, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  BufferedDc buffer(target, client.right, client.bottom);
  const HDC dc = buffer.dc();
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
  const std::string caption = ProgressBarCaption(style, state->position, state->minimum,
                                                 state->maximum, WindowText(window));
  const int fill = ProgressFillWidth(client.right, state->position, state->minimum, state->maximum);
  DrawProgressBar(dc, client, fill, caption, state->font);
}

LRESULT SetPosition(HWND window, BarState& state, int position) {
  const int previous = state.position;
  state.position = std::clamp(position, state.minimum, std::max(state.minimum, state.maximum));
  if (state.position != previous) InvalidateRect(window, nullptr, FALSE);
  return previous;
}

LRESULT SetRange(HWND window, BarState& state, int minimum, int maximum) {
  const LRESULT previous = MAKELRESULT(state.minimum, state.maximum);
  state.minimum = minimum;
  state.maximum = maximum;
  state.position = std::clamp(state.position, minimum, std::max(minimum, maximum));
  InvalidateRect(window, nullptr, FALSE);
  return previous;
}

LRESULT CALLBACK BarProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new BarState));
    return DefWindowProcA(window, message, wParam, lParam);
  }
  BarState* state = StateOf(window);
  if (state == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      delete state;
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      Paint(window, dc);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(window, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_SETFONT:
      state->font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam) != 0) InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(state->font);
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
      InvalidateRect(window, nullptr, FALSE);
      return result;
    }
    case WM_STYLECHANGED:
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case PBM_SETRANGE:
      return SetRange(window, *state, LOWORD(lParam), HIWORD(lParam));
    case PBM_SETRANGE32:
      return SetRange(window, *state, static_cast<int>(wParam), static_cast<int>(lParam));
    case PBM_GETRANGE: {
      auto* range = reinterpret_cast<PBRANGE*>(lParam);
      if (range != nullptr) {
        range->iLow = state->minimum;
        range->iHigh = state->maximum;
      }
      return wParam != 0 ? state->minimum : state->maximum;
    }
    case PBM_SETPOS:
      return SetPosition(window, *state, static_cast<int>(wParam));
    case PBM_DELTAPOS:
      return SetPosition(window, *state, state->position + static_cast<int>(wParam));
    case PBM_GETPOS:
      return state->position;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

bool RegisterProgressBarClass() {
  const HINSTANCE module = GetModuleHandleA(nullptr);
  WNDCLASSA existing;
  if (GetClassInfoA(module, kProgressBarClass, &existing)) return true;
  WNDCLASSA windowClass = {};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = BarProcedure;
  windowClass.hInstance = module;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kProgressBarClass;
  return RegisterClassA(&windowClass) != 0;
}

std::string ProgressBarCaption(DWORD style, int position, int minimum, int maximum,
                               const std::string& windowText) {
  char text[32];
  if (style & kProgressShowsPercent) {
    const long long span = static_cast<long long>(maximum) - minimum;
    const long long done = static_cast<long long>(position) - minimum;
    const int percent = span <= 0 ? 0 : static_cast<int>(std::clamp(done * 100 / span, 0LL, 100LL));
    std::snprintf(text, sizeof text, "%d%%", percent);
    return text;
  }
  if (style & kProgressShowsCount) {
    std::snprintf(text, sizeof text, "%d/%d", position, maximum);
    return text;
  }
  if (style & kProgressShowsWindowText) return windowText;
  return std::string();
}

int ProgressFillWidth(int width, int position, int minimum, int maximum) {
  const long long span = static_cast<long long>(maximum) - minimum;
  if (span <= 0 || width <= 0) return 0;
  const long long done = std::clamp(static_cast<long long>(position) - minimum, 0LL, span);
  return static_cast<int>(done * width / span);
}

void FillVerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom) {
  const int steps = rect.bottom - rect.top - 1;
  for (int y = rect.top; y < rect.bottom; ++y) {
    const int step = y - rect.top;
    const COLORREF colour = RGB(Mix(GetRValue(top), GetRValue(bottom), step, steps),
                                Mix(GetGValue(top), GetGValue(bottom), step, steps),
                                Mix(GetBValue(top), GetBValue(bottom), step, steps));
    const RECT line = {rect.left, y, rect.right, y + 1};
    SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &line, nullptr, 0, nullptr);
  }
}

void DrawProgressBar(HDC dc, const RECT& rect, int fillWidth, const std::string& caption,
                     HFONT font) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  FillVerticalGradient(dc, rect, kBarBackTop, kBarBackBottom);
  FrameRectangle(dc, rect, kBarFrame);
  const int width = rect.right - rect.left;
  fillWidth = std::clamp(fillWidth, 0, width);
  if (fillWidth > 0) {
    const RECT filled = {rect.left, rect.top, rect.left + fillWidth, rect.bottom};
    FillVerticalGradient(dc, filled, kBarFillTop, kBarFillBottom);
    FrameRectangle(dc, filled, kBarFillFrame);
  }
  if (caption.empty()) return;
  const SelectedObject selected(
      dc, font != nullptr ? static_cast<HGDIOBJ>(font) : GetCurrentObject(dc, OBJ_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kBarText);
  RECT textRect = rect;
  DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void ProgressBar::SetRange(int minimum, int maximum) const {
  SendMessageA(window_, PBM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
}

void ProgressBar::SetPosition(int position) const {
  SendMessageA(window_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

int ProgressBar::position() const {
  return static_cast<int>(SendMessageA(window_, PBM_GETPOS, 0, 0));
}

ProgressBar ProgressBar::Create(HWND parent, int id, const RECT& rect, DWORD captionStyle) {
  if (!RegisterProgressBarClass()) return ProgressBar();
  const HWND window = CreateWindowExA(
      0, kProgressBarClass, "", WS_CHILD | WS_VISIBLE | captionStyle, rect.left, rect.top,
      rect.right - rect.left, rect.bottom - rect.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  if (window != nullptr && parent != nullptr)
    SendMessageA(window, WM_SETFONT, SendMessageA(parent, WM_GETFONT, 0, 0), FALSE);
  return ProgressBar(window);
}

}  // namespace kelvane

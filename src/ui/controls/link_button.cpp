#include "ui/controls/link_button.h"

#include <commctrl.h>

#include <string>

#include "ui/rules/rgb_color.h"
#include "ui/window_text.h"

namespace kelvane {

namespace {

constexpr UINT_PTR kSubclassId = 0x4C4B;
constexpr RgbColor kLinkColor = MakeRgb(0x1A, 0x5F, 0xB4);
constexpr RgbColor kHoverColor = MakeRgb(0x0D, 0x3F, 0x80);

}  // namespace

bool LinkButton::Attach(HWND button) {
  if (window_ != nullptr || !IsWindow(button)) return false;
  LOGFONTA look = {};
  const auto shown = reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0));
  GetObjectA(shown != nullptr ? static_cast<HGDIOBJ>(shown) : GetStockObject(DEFAULT_GUI_FONT),
             sizeof look, &look);
  look.lfUnderline = TRUE;
  font_.Reset(CreateFontIndirectA(&look));
  if (!SetWindowSubclass(button, Subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
    return false;
  window_ = button;
  InvalidateRect(window_, nullptr, TRUE);
  return true;
}

void LinkButton::Detach() {
  if (window_ == nullptr) return;
  RemoveWindowSubclass(window_, Subclass, kSubclassId);
  window_ = nullptr;
}

void LinkButton::Paint(HDC dc) const {
  RECT client;
  GetClientRect(window_, &client);
  const std::string caption = WindowText(window_);
  const HGDIOBJ previous = SelectObject(dc, font_.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, hovered_ ? kHoverColor : kLinkColor);
  RECT text = client;
  DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  text.top = client.top;
  text.bottom = client.bottom;
  DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (GetFocus() == window_) {
    InflateRect(&text, 2, 0);
    DrawFocusRect(dc, &text);
  }
  SelectObject(dc, previous);
}

void LinkButton::RepaintBackground() const {
  const HWND parent = GetParent(window_);
  RECT area;
  GetWindowRect(window_, &area);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
  RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT CALLBACK LinkButton::Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<LinkButton*>(data);
  switch (message) {
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, Subclass, kSubclassId);
      self->window_ = nullptr;
      break;
    case WM_ERASEBKGND:
      return TRUE;  // the page's background shows through
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      self->Paint(dc);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_SETCURSOR:
      SetCursor(LoadCursor(nullptr, IDC_HAND));
      return TRUE;
    case WM_MOUSEMOVE:
      if (!self->hovered_) {
        self->hovered_ = true;
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, window, 0};
        TrackMouseEvent(&track);
        self->RepaintBackground();
      }
      break;
    case WM_MOUSELEAVE:
      self->hovered_ = false;
      self->RepaintBackground();
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case BM_SETSTATE:
    case WM_SETTEXT: {
      // The button would draw itself as a button: the page paints under it
      // and the link is drawn again.
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      self->RepaintBackground();
      return result;
    }
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace kelvane

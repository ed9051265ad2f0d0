#include "ui/skinned_frame.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/buffered_dc.h"
#include "ui/dialog_font.h"
#include "ui/ui_handles.h"

namespace kelvane {

namespace {

constexpr UINT_PTR kFrameSubclassId = 0x4B46;
constexpr const char* kPieceNames[6] = {"b11.png", "b12.png", "b13.png",
                                        "b21.png", "b22.png", "b23.png"};
enum Piece { kTopLeft, kTop, kTopRight, kBottomLeft, kBottom, kBottomRight };

using ScopedRegion = ScopedHandle<GdiObjectTraits<HRGN>>;

int Width(const SkinImage& image) { return static_cast<int>(image->GetWidth()); }
int Height(const SkinImage& image) { return static_cast<int>(image->GetHeight()); }

Gdiplus::Color PixelAt(const SkinImage& image, int x, int y) {
  Gdiplus::Color colour;
  image->GetPixel(x, y, &colour);
  return colour;
}

COLORREF ToColorRef(const Gdiplus::Color& colour) {
  return RGB(colour.GetR(), colour.GetG(), colour.GetB());
}

bool CloseTo(const Gdiplus::Color& colour, COLORREF target) {
  const auto within = [](int a, int b) { return a - b <= 8 && b - a <= 8; };
  return colour.GetA() == 255 && within(colour.GetR(), GetRValue(target)) &&
         within(colour.GetG(), GetGValue(target)) && within(colour.GetB(), GetBValue(target));
}

COLORREF Blend(COLORREF from, COLORREF to, int percent) {
  const auto mix = [&](int a, int b) { return a + (b - a) * percent / 100; };
  return RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
             mix(GetBValue(from), GetBValue(to)));
}

// How many pixels of the top row of a bottom corner, counted from its outer
// side, differ from the body: the width of the frame's side.
int SideWidth(const SkinImage& corner, COLORREF body, bool fromLeft) {
  const int width = Width(corner);
  for (int step = 0; step < width; ++step)
    if (CloseTo(PixelAt(corner, fromLeft ? step : width - 1 - step, 0), body)) return step;
  return width;
}

RECT WindowBounds(HWND window) {
  RECT bounds;
  GetWindowRect(window, &bounds);
  OffsetRect(&bounds, -bounds.left, -bounds.top);
  return bounds;
}

// The `sourceX`.. part of `image` (all of it by default), stretched pixel
// by pixel: GDI+'s own stretching blends the edges with nothing, a seam.
void DrawPiece(Gdiplus::Graphics& graphics, const SkinImage& image, int x, int y, int width,
               int height, int sourceX = 0, int sourceWidth = -1, int sourceHeight = -1) {
  if (width <= 0 || height <= 0) return;
  if (sourceWidth < 0) sourceWidth = Width(image);
  if (sourceHeight < 0) sourceHeight = Height(image);
  DrawStretched(graphics, *image, Gdiplus::Rect(sourceX, 0, sourceWidth, sourceHeight),
                RECT{x, y, x + width, y + height}, 0);
}

}  // namespace

bool SkinnedFrame::Load(const std::string& skinFolder) {
  for (int index = 0; index < 6; ++index) {
    pieces_[index] = LoadSkinImage(skinFolder, kPieceNames[index]);
    if (!pieces_[index]) return false;
  }
  const SkinImage& bottom = pieces_[kBottom];
  bodyColour_ = ToColorRef(PixelAt(bottom, Width(bottom) / 2, Height(bottom) / 2));
  const SkinImage& title = pieces_[kTop];
  titleColour_ = ToColorRef(PixelAt(title, Width(title) / 2, Height(title) / 2));
  // Light text on a dark title bar, dark text on a light one.
  const int luminance = (GetRValue(titleColour_) * 299 + GetGValue(titleColour_) * 587 +
                         GetBValue(titleColour_) * 114) /
                        1000;
  captionColour_ = luminance < 140 ? RGB(0xFF, 0xFF, 0xFF) : RGB(0x20, 0x20, 0x20);
  insets_.top = std::max({Height(pieces_[kTopLeft]), Height(title), Height(pieces_[kTopRight])});
  insets_.bottom =
      std::max({Height(pieces_[kBottomLeft]), Height(bottom), Height(pieces_[kBottomRight])});
  insets_.left = SideWidth(pieces_[kBottomLeft], bodyColour_, true);
  insets_.right = SideWidth(pieces_[kBottomRight], bodyColour_, false);
  return true;
}

bool SkinnedFrame::Attach(HWND window) {
  if (window_ != nullptr || !pieces_[kBottomRight]) return false;
  RECT client;
  GetClientRect(window, &client);
  bodyBrush_.Reset(CreateSolidBrush(bodyColour_));
  captionFont_ = FontLike(window, 0, FW_BOLD);
  if (!SetWindowSubclass(window, Subclass, kFrameSubclassId, reinterpret_cast<DWORD_PTR>(this)))
    return false;
  window_ = window;
  const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
  SetWindowLongPtrA(window, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_CAPTION | WS_THICKFRAME));
  const LONG_PTR exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
  SetWindowLongPtrA(window, GWL_EXSTYLE,
                    exStyle & ~static_cast<LONG_PTR>(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE |
                                                     WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
  SetWindowPos(window, nullptr, 0, 0, client.right + insets_.left + insets_.right,
               client.bottom + insets_.top + insets_.bottom,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateRegion();
  return true;
}

void SkinnedFrame::Detach() {
  if (window_ == nullptr) return;
  RemoveWindowSubclass(window_, Subclass, kFrameSubclassId);
  window_ = nullptr;
}

RECT SkinnedFrame::CloseButton() const {
  RECT button = {0, 0, 0, 0};
  if (window_ == nullptr || !(GetWindowLongPtrA(window_, GWL_STYLE) & WS_SYSMENU)) return button;
  if (const HMENU menu = GetSystemMenu(window_, FALSE)) {
    const UINT state = GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND);
    if (state == static_cast<UINT>(-1) || (state & (MF_GRAYED | MF_DISABLED))) return button;
  }
  const RECT bounds = WindowBounds(window_);
  const int size = insets_.top * 5 / 8;
  const int margin = (insets_.top - size) / 2;
  button.right = bounds.right - insets_.right - margin;
  button.left = button.right - size;
  button.top = margin;
  button.bottom = margin + size;
  return button;
}

bool SkinnedFrame::PaintBody(UINT message, WPARAM wParam, INT_PTR& result) const {
  if (window_ == nullptr || !bodyBrush_.IsValid()) return false;
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkColor(reinterpret_cast<HDC>(wParam), bodyColour_);
      [[fallthrough]];
    case WM_CTLCOLORDLG:
      result = reinterpret_cast<INT_PTR>(bodyBrush_.Get());
      return true;
  }
  return false;
}

LRESULT SkinnedFrame::HitTest(LPARAM screenPoint) const {
  RECT place;
  GetWindowRect(window_, &place);
  const POINT at = {static_cast<short>(LOWORD(screenPoint)) - place.left,
                    static_cast<short>(HIWORD(screenPoint)) - place.top};
  const RECT bounds = WindowBounds(window_);
  if (!PtInRect(&bounds, at)) return HTNOWHERE;
  if (at.y < insets_.top) {
    const RECT close = CloseButton();
    return PtInRect(&close, at) ? HTCLOSE : HTCAPTION;
  }
  const RECT client = {insets_.left, insets_.top, bounds.right - insets_.right,
                       bounds.bottom - insets_.bottom};
  return PtInRect(&client, at) ? HTCLIENT : HTBORDER;
}

void SkinnedFrame::UpdateRegion() const {
  const RECT bounds = WindowBounds(window_);
  ScopedRegion region(CreateRectRgn(0, 0, bounds.right, bounds.bottom));
  if (!region.IsValid()) return;
  // The corners' transparent pixels lie outside the window.
  const struct {
    Piece piece;
    bool right;
    bool bottom;
  } kCorners[] = {{kTopLeft, false, false},
                  {kTopRight, true, false},
                  {kBottomLeft, false, true},
                  {kBottomRight, true, true}};
  for (const auto& corner : kCorners) {
    const SkinImage& image = pieces_[corner.piece];
    const int left = corner.right ? bounds.right - Width(image) : 0;
    const int top = corner.bottom ? bounds.bottom - Height(image) : 0;
    for (int y = 0; y < Height(image); ++y) {
      for (int x = 0; x < Width(image);) {
        if (PixelAt(image, x, y).GetA() >= 128) {
          ++x;
          continue;
        }
        const int start = x;
        while (x < Width(image) && PixelAt(image, x, y).GetA() < 128) ++x;
        ScopedRegion run(CreateRectRgn(left + start, top + y, left + x, top + y + 1));
        if (run.IsValid()) CombineRgn(region.Get(), region.Get(), run.Get(), RGN_DIFF);
      }
    }
  }
  if (SetWindowRgn(window_, region.Get(), IsWindowVisible(window_))) region.Release();
}

void SkinnedFrame::DrawTitle(HDC dc, const SIZE& size) const {
  const RECT close = CloseButton();
  RECT text = {std::max(Width(pieces_[kTopLeft]), 10), 0,
               (close.right > close.left ? close.left : size.cx - Width(pieces_[kTopRight])) - 4,
               insets_.top};
  const std::string caption = [this] {
    char buffer[512] = "";
    GetWindowTextA(window_, buffer, sizeof buffer);
    return std::string(buffer);
  }();
  SelectedObject font(dc, captionFont_.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, active_ ? captionColour_ : Blend(captionColour_, titleColour_, 40));
  DrawTextA(dc, caption.c_str(), -1, &text,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void SkinnedFrame::DrawCloseButton(HDC dc, const RECT& button) const {
  if (button.right <= button.left) return;
  const COLORREF cross = active_ ? captionColour_ : Blend(captionColour_, titleColour_, 40);
  if (closeHovered_) {
    ScopedBrush face(CreateSolidBrush(Blend(titleColour_, cross, closePressed_ ? 40 : 22)));
    FillRect(dc, &button, face.Get());
  }
  Gdiplus::Graphics graphics(dc);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  Gdiplus::Pen pen(Gdiplus::Color(255, GetRValue(cross), GetGValue(cross), GetBValue(cross)), 1.6f);
  const float size = static_cast<float>(button.right - button.left);
  const float inset = size * 0.3f;
  const float left = button.left + inset, top = button.top + inset;
  const float right = button.right - inset, bottom = button.bottom - inset;
  graphics.DrawLine(&pen, left, top, right, bottom);
  graphics.DrawLine(&pen, left, bottom, right, top);
}

void SkinnedFrame::PaintFrame() const {
  const HDC dc = GetWindowDC(window_);
  if (dc == nullptr) return;
  const RECT bounds = WindowBounds(window_);
  const int width = bounds.right;
  const int height = bounds.bottom;
  ExcludeClipRect(dc, insets_.left, insets_.top, width - insets_.right, height - insets_.bottom);
  {
    BufferedDc buffer(dc, width, height);
    FillRect(buffer.dc(), &bounds, bodyBrush_.Get());
    {
      Gdiplus::Graphics graphics(buffer.dc());
      const SkinImage* rows[2][3] = {
          {&pieces_[kTopLeft], &pieces_[kTop], &pieces_[kTopRight]},
          {&pieces_[kBottomLeft], &pieces_[kBottom], &pieces_[kBottomRight]}};
      for (int row = 0; row < 2; ++row) {
        const SkinImage& left = *rows[row][0];
        const SkinImage& middle = *rows[row][1];
        const SkinImage& right = *rows[row][2];
        const auto y = [&](const SkinImage& image) {
          return row == 0 ? 0 : height - Height(image);
        };
        DrawPiece(graphics, middle, Width(left), y(middle), width - Width(left) - Width(right),
                  Height(middle));
        DrawPiece(graphics, left, 0, y(left), Width(left), Height(left));
        DrawPiece(graphics, right, width - Width(right), y(right), Width(right), Height(right));
      }
      // The sides continue the top row of the bottom corners upwards.
      const int sideHeight = height - insets_.top - insets_.bottom;
      const SkinImage& bottomLeft = pieces_[kBottomLeft];
      const SkinImage& bottomRight = pieces_[kBottomRight];
      DrawPiece(graphics, bottomLeft, 0, insets_.top, insets_.left, sideHeight, 0, insets_.left, 1);
      DrawPiece(graphics, bottomRight, width - insets_.right, insets_.top, insets_.right,
                sideHeight, Width(bottomRight) - insets_.right, insets_.right, 1);
    }
    DrawCloseButton(buffer.dc(), CloseButton());
    DrawTitle(buffer.dc(), SIZE{width, height});
  }
  ReleaseDC(window_, dc);
}

void SkinnedFrame::SetHover(bool hovered, bool pressed) {
  if (hovered == closeHovered_ && pressed == closePressed_) return;
  closeHovered_ = hovered;
  closePressed_ = pressed;
  PaintFrame();
}

LRESULT CALLBACK SkinnedFrame::Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<SkinnedFrame*>(data);
  switch (message) {
    case WM_NCCALCSIZE: {
      RECT* area = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                          : reinterpret_cast<RECT*>(lParam);
      area->left += self->insets_.left;
      area->top += self->insets_.top;
      area->right -= self->insets_.right;
      area->bottom -= self->insets_.bottom;
      return 0;
    }
    case WM_NCPAINT:
      self->PaintFrame();
      return 0;
    case WM_NCACTIVATE:
      self->active_ = wParam != FALSE;
      self->PaintFrame();
      return TRUE;
    case WM_NCHITTEST:
      return self->HitTest(lParam);
    case WM_NCMOUSEMOVE: {
      const bool overClose = wParam == HTCLOSE;
      self->SetHover(overClose, overClose && self->closePressed_);
      TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE | TME_NONCLIENT, window, 0};
      TrackMouseEvent(&track);
      if (overClose) return 0;
      break;
    }
    case WM_NCMOUSELEAVE:
      self->SetHover(false, false);
      return 0;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (wParam != HTCLOSE) break;
      self->SetHover(true, true);
      return 0;
    case WM_NCLBUTTONUP:
      if (wParam == HTCLOSE && self->closePressed_) {
        self->SetHover(true, false);
        // As the system's close button: Escape's way out, if the window has one.
        PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
      }
      self->SetHover(wParam == HTCLOSE, false);
      break;
    case WM_SETTEXT: {
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      self->PaintFrame();
      return result;
    }
    case WM_SIZE:
      self->UpdateRegion();
      break;
    case WM_NCDESTROY:
      self->Detach();
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace kelvane

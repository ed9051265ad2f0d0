#include "ui/controls/skin_button.h"

#include <commctrl.h>

#include "ui/ui_handles.h"

namespace kelvane {

namespace {

constexpr UINT_PTR kHoverSubclassId = 0x4B56;  // one subclass of ours per button

const SkinImage& ImageFor(const SkinButtonImages& images, ButtonLook look) {
  switch (look) {
    case ButtonLook::kHover:
    case ButtonLook::kPressed:
      return images.hover ? images.hover : images.normal;
    case ButtonLook::kDisabled:
      return images.disabled ? images.disabled : images.normal;
    case ButtonLook::kNormal:
      break;
  }
  return images.normal;
}

}  // namespace

SkinButtonImages LoadSkinButtonImages(const std::string& folder, const char* normal,
                                      const char* hover, const char* disabled) {
  SkinButtonImages images;
  images.normal = LoadSkinImage(folder, normal);
  images.hover = LoadSkinImage(folder, hover);
  images.disabled = LoadSkinImage(folder, disabled);
  return images;
}

ButtonLook LookOf(UINT itemState, bool hovered) {
  if (itemState & ODS_DISABLED) return ButtonLook::kDisabled;
  if (itemState & ODS_SELECTED) return ButtonLook::kPressed;
  return hovered ? ButtonLook::kHover : ButtonLook::kNormal;
}

const SkinButtonImages& ImagesForLook(ButtonLook look, const SkinButtonImages& usual,
                                      const SkinButtonImages& pressed) {
  return look == ButtonLook::kPressed && pressed.normal ? pressed : usual;
}

void DrawSkinButton(HDC dc, const RECT& rect, const SkinButtonImages& images, ButtonLook look,
                    const std::string& caption, HFONT font, COLORREF textColour, int corner) {
  const SkinImage& image = ImageFor(images, look);
  if (image) {
    Gdiplus::Graphics graphics(dc);
    const Gdiplus::Rect source = OpaqueBounds(*image);
    if (source.Width > 0) DrawStretched(graphics, *image, source, rect, corner);
  } else {
    DrawEdge(dc, const_cast<RECT*>(&rect), EDGE_RAISED, BF_RECT);  // no picture: a plain button
  }

  RECT text = rect;
  if (look == ButtonLook::kPressed) OffsetRect(&text, 1, 1);
  SelectedObject selected(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, look == ButtonLook::kDisabled ? GetSysColor(COLOR_GRAYTEXT) : textColour);
  DrawTextA(dc, caption.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

bool FocusCues::Observe(UINT message, WPARAM wParam) {
  if (shown_) return false;
  const bool tabbed = message == WM_NEXTDLGCTL;  // Tab and Shift+Tab through the dialog manager
  const bool cleared = (message == WM_UPDATEUISTATE || message == WM_CHANGEUISTATE) &&
                       LOWORD(wParam) == UIS_CLEAR && (HIWORD(wParam) & UISF_HIDEFOCUS);
  shown_ = tabbed || cleared;
  return shown_;
}

bool ButtonHoverTracker::Attach(HWND button) {
  Detach();
  if (!SetWindowSubclass(button, Subclass, kHoverSubclassId, reinterpret_cast<DWORD_PTR>(this)))
    return false;
  button_ = button;
  return true;
}

void ButtonHoverTracker::Detach() {
  if (button_ == nullptr) return;
  RemoveWindowSubclass(button_, Subclass, kHoverSubclassId);
  button_ = nullptr;
  hovered_ = false;
}

LRESULT CALLBACK ButtonHoverTracker::Subclass(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<ButtonHoverTracker*>(data);
  switch (message) {
    case WM_MOUSEMOVE:
      if (!self->hovered_) {
        self->hovered_ = true;
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, window, 0};
        TrackMouseEvent(&track);
        InvalidateRect(window, nullptr, FALSE);
      }
      break;
    case WM_MOUSELEAVE:
      self->hovered_ = false;
      InvalidateRect(window, nullptr, FALSE);
      break;
    case WM_ERASEBKGND:
      return TRUE;  // WM_DRAWITEM paints every pixel
    case WM_NCDESTROY:
      self->Detach();
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace kelvane

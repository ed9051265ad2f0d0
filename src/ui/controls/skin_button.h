#pragma once
// A push button drawn from skin pictures: one for its normal look, one for
// the mouse over it, one for disabled. The button is owner-drawn
// (BS_OWNERDRAW); its dialog forwards WM_DRAWITEM to Draw.
#include <windows.h>

#include <string>

#include "ui/skin_image.h"

namespace kelvane {

struct SkinButtonImages {
  SkinImage normal;
  SkinImage hover;
  SkinImage disabled;
};

// The three pictures from `folder`.
SkinButtonImages LoadSkinButtonImages(const std::string& folder, const char* normal,
                                      const char* hover, const char* disabled);

// What the button looks like this moment.
enum class ButtonLook { kNormal, kHover, kPressed, kDisabled };

// The look for a WM_DRAWITEM item state and the mouse.
ButtonLook LookOf(UINT itemState, bool hovered);

// The pictures to draw `look` with: `pressed` while pressed, when the skin
// has that picture, else `usual`.
const SkinButtonImages& ImagesForLook(ButtonLook look, const SkinButtonImages& usual,
                                      const SkinButtonImages& pressed);

// Draws one button look into `dc` at `rect`, over whatever `dc` holds there
// already (the parent's background): the picture stretched with `corner`
// unscaled pixels at the edges, then the caption centred in `textColour`.
// The picture's transparent margin is left out, so it fills `rect`.
void DrawSkinButton(HDC dc, const RECT& rect, const SkinButtonImages& images, ButtonLook look,
                    const std::string& caption, HFONT font, COLORREF textColour, int corner);

// Whether focus rectangles are due: Windows hides them until the keyboard
// moves the focus; Wine tells an owner-drawn button neither by
// ODS_NOFOCUSRECT nor by WM_QUERYUISTATE, so the dialog watches for it.
class FocusCues {
 public:
  bool shown() const { return shown_; }
  // Give it every message of the dialog; true when the cues just came on.
  bool Observe(UINT message, WPARAM wParam);

 private:
  bool shown_ = false;
};

// Follows the mouse over one button so that it can be drawn with its hover
// picture. Owned by the window that owns the button; detaches itself when
// the button goes.
class ButtonHoverTracker {
 public:
  ButtonHoverTracker() = default;
  ~ButtonHoverTracker() { Detach(); }
  ButtonHoverTracker(const ButtonHoverTracker&) = delete;
  ButtonHoverTracker& operator=(const ButtonHoverTracker&) = delete;

  bool Attach(HWND button);
  void Detach();
  bool hovered() const { return hovered_; }

 private:
  static LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR id, DWORD_PTR data);
  HWND button_ = nullptr;
  bool hovered_ = false;
};

}  // namespace kelvane

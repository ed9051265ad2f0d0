// The skin's frame of the pop-up windows: it replaces the caption and border
// around an unchanged client area, lets the window be dragged by its title and
// closed by its close button as before, and leaves the system frame when the
// skin lacks a picture.
#include <gtest/gtest.h>

#include <string>

#include "ui/window_geometry.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

class FramedDialog : public Dialog {
 public:
  FramedDialog(std::string skinFolder, bool closeDisabled = false)
      : Dialog(IDD_TEST_DIALOG),
        skinFolder_(std::move(skinFolder)),
        closeDisabled_(closeDisabled) {}
  ~FramedDialog() override { Destroy(); }

 protected:
  std::string FrameSkinFolder() const override { return skinFolder_; }
  bool OnInit() override {
    if (closeDisabled_)
      EnableMenuItem(GetSystemMenu(window(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    return true;
  }

 private:
  const std::string skinFolder_;
  const bool closeDisabled_;
};

std::string ShippedSkin() { return SourcePath("package\\Skin\\Default"); }

SIZE ClientSize(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  return SIZE{client.right, client.bottom};
}

// The window's hit test at `x`, `y` of its own top left corner.
LRESULT HitTestAt(HWND window, int x, int y) {
  RECT place;
  GetWindowRect(window, &place);
  return SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(place.left + x, place.top + y));
}

// A point of the close button, sought along the middle of the shipped
// skin's title bar (32 pixels high).
POINT CloseButtonPoint(HWND window) {
  RECT place;
  GetWindowRect(window, &place);
  for (int x = place.right - place.left - 1; x > 0; --x)
    if (HitTestAt(window, x, 16) == HTCLOSE) return POINT{x - 4, 16};
  return POINT{-1, -1};
}

}  // namespace

TEST(SkinnedFrame, ReplacesTheSystemFrameAroundTheSameClientArea) {
  UseRepositoryLanguage();
  GdiplusScope gdiplus;
  FramedDialog plain("");
  ASSERT_NE(plain.Create(nullptr), nullptr);
  const SIZE systemClient = ClientSize(plain.window());
  ScratchFolder partial;  // the skin without b23.png
  for (const char* name : {"b11.png", "b12.png", "b13.png", "b21.png", "b22.png"})
    CopyFileA((ShippedSkin() + "\\" + name).c_str(), (partial / name).c_str(), FALSE);
  for (const std::string& folder : {ShippedSkin(), partial.path(), std::string("C:\\NoSkin")}) {
    const bool skinned = folder == ShippedSkin();
    FramedDialog dialog(folder);
    ASSERT_NE(dialog.Create(nullptr), nullptr) << folder;
    const HWND window = dialog.window();
    EXPECT_EQ((GetWindowLongPtrA(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION, !skinned)
        << folder;
    EXPECT_EQ(ClientSize(window).cx, systemClient.cx) << folder;
    EXPECT_EQ(ClientSize(window).cy, systemClient.cy) << folder;
    if (!skinned) continue;
    EXPECT_EQ(HitTestAt(window, 60, 10), HTCAPTION) << "the title drags the window";
    // Layouts that size the client area must get what they ask for.
    SetClientSize(window, 300, 120);
    EXPECT_EQ(ClientSize(window).cx, 300);
    EXPECT_EQ(ClientSize(window).cy, 120);
  }
}

TEST(SkinnedFrame, TheCloseButtonClosesOnlyWhereTheSystemMenuAllowsIt) {
  UseRepositoryLanguage();
  GdiplusScope gdiplus;
  for (const bool closeDisabled : {false, true}) {
    FramedDialog dialog(ShippedSkin(), closeDisabled);
    bool closeShown = false;
    ModalDriver driver([&](ModalDriver& d) {
      const HWND window = d.WaitForWindow("#32770", "About Kelvane");
      if (window == nullptr) return;
      const POINT close = CloseButtonPoint(window);
      closeShown = close.x >= 0;
      if (closeShown) {
        RECT place;
        GetWindowRect(window, &place);
        const LPARAM at = MAKELPARAM(place.left + close.x, place.top + close.y);
        SendMessageA(window, WM_NCLBUTTONDOWN, HTCLOSE, at);
        SendMessageA(window, WM_NCLBUTTONUP, HTCLOSE, at);
      } else {
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
      }
      d.WaitUntilGone(window);
    });
    const INT_PTR result = dialog.DoModal(nullptr);
    driver.Finish();
    EXPECT_TRUE(driver.ok()) << driver.report();
    EXPECT_EQ(closeShown, !closeDisabled);
    EXPECT_EQ(result, IDCANCEL) << "as the system's close button";
  }
}

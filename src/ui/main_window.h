#pragma once
// The main window: a modeless dialog with the skin's background, the
// product name in the header and the help button at the top right. Closing
// it (the close box, Escape) ends the message loop.
#include <string>

#include "ui/controls/skin_button.h"
#include "ui/dialog.h"
#include "ui/ui_handles.h"

namespace kelvane {

class MainWindow : public Dialog {
 public:
  // Pictures come from the skin folder of `programFolder`, languages from
  // its Language folder.
  explicit MainWindow(std::string programFolder);
  ~MainWindow() override { Destroy(); }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

 private:
  void LoadSkin();
  void SetIcons();
  void PlaceHelpButton();
  // Paints the client background with the client point `origin` at the
  // DC's (0, 0), `size` pixels of it.
  void PaintBackground(HDC dc, POINT origin, SIZE size) const;
  void Paint();
  void DrawButton(const DRAWITEMSTRUCT& item) const;
  void OpenHelpMenu();

  const std::string programFolder_;
  std::string productName_;  // drawn in the header
  ScopedIcon bigIcon_;
  ScopedIcon smallIcon_;
  ScopedBitmap background_;
  SIZE backgroundSize_ = {0, 0};
  ScopedFont titleFont_;
  SkinButtonImages buttonImages_;
  ButtonHoverTracker helpHover_;
  FocusCues focusCues_;
};

// Creates the main window, shows it with `showCommand`, runs the message
// loop until the window closes and returns the loop's code (0 after a
// normal close; 1 when the window could not be made).
int RunMainWindow(const char* commandLine, int showCommand);

}  // namespace kelvane

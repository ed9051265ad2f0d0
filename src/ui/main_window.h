#pragma once
// The main window: a modeless dialog with the skin's background, the
// product name in the header, a row of navigation buttons, the help button
// at the top right and the page area in which exactly one of five pages is
// shown. Closing it (the close box, Escape) ends the message loop; while a
// page is busy it asks first, and the navigation buttons do nothing.
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "ui/controls/skin_button.h"
#include "ui/dialog.h"
#include "ui/pages/skin_backdrop.h"
#include "ui/pages/skinned_page.h"
#include "ui/ui_handles.h"
#include "ui/update_notifier.h"

namespace kelvane {

class MainWindow : public Dialog {
 public:
  // The pages in the order of their navigation buttons.
  enum PageIndex { kHomePage = 0, kScanPage, kDefragPage, kBackupPage, kOptionsPage, kPageCount };

  // Makes the page of `index`; tests give pages of their own.
  using PageFactory = std::function<std::unique_ptr<SkinnedPage>(int index, PageContext context)>;
  static std::unique_ptr<SkinnedPage> MakeStandardPage(int index, PageContext context);

  // Pictures come from the skin folder of `programFolder`, languages from
  // its Language folder.
  explicit MainWindow(std::string programFolder, PageFactory pages = MakeStandardPage);
  ~MainWindow() override { Destroy(); }

  // Hides the page shown and shows page `index` (0 to 4) in the page area;
  // the selected page's button is the one disabled. Selecting the page
  // shown only refreshes the buttons.
  void SelectPage(int index);
  int currentPage() const { return currentPage_; }
  HWND PageWindow(int index) const;
  // While the scan page works.
  bool busy() const;
  // Looks for a newer version at `endpoint` in the background and offers
  // it when found; once per interactive start (RunMainWindow).
  void StartUpdateCheck(const UpdateEndpoint& endpoint);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

 private:
  void LoadSkin();
  void SetIcons();
  void PlaceHelpButton();
  void PlaceNavButtons();
  void CreatePages();
  // Paints the client background with the client point `origin` at the
  // DC's (0, 0), `size` pixels of it.
  void PaintBackground(HDC dc, POINT origin, SIZE size) const;
  void Paint();
  void DrawButton(const DRAWITEMSTRUCT& item) const;
  void DrawNavButton(HDC dc, const RECT& face, const DRAWITEMSTRUCT& item, bool hovered) const;
  void OpenHelpMenu();
  void Close(int code);
  // Shows page `index` and presses its start button (1000).
  void StartOnPage(int index);
  static LRESULT CALLBACK PageAreaProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR id, DWORD_PTR data);

  const std::string programFolder_;
  const PageFactory pageFactory_;
  std::string productName_;  // drawn in the header
  ScopedIcon bigIcon_;
  ScopedIcon smallIcon_;
  SkinBackdrop backdrop_;
  ScopedFont titleFont_;
  ScopedFont selectedTabFont_;
  SkinButtonImages buttonImages_;
  ButtonHoverTracker helpHover_;
  std::array<ButtonHoverTracker, kPageCount> navHover_;
  FocusCues focusCues_;
  bool navCaptionsWrap_ = false;  // the captions did not fit in one row
  std::array<std::unique_ptr<SkinnedPage>, kPageCount> pages_;
  std::unique_ptr<UpdateNotifier> updates_;  // its thread is joined when the object goes
  int currentPage_ = -1;
};

// Creates the main window, shows it with `showCommand`, runs the message
// loop until the window closes and returns the loop's code (0 after a
// normal close; 1 when the window could not be made).
int RunMainWindow(const char* commandLine, int showCommand);

}  // namespace kelvane

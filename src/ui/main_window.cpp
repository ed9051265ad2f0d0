#include "ui/main_window.h"

#include <algorithm>
#include <utility>

#include "foundation/program_paths.h"
#include "foundation/version_info.h"
#include "resource_ids.h"
#include "ui/buffered_dc.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/language_dialog.h"
#include "ui/help_menu.h"
#include "ui/main_window_layout.h"
#include "ui/message_loop.h"
#include "ui/program_title.h"
#include "ui/skin_folder.h"
#include "ui/window_geometry.h"
#include "ui/window_text.h"

namespace kelvane {

namespace {

HFONT DialogFont(HWND dialog) {
  return reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
}

}  // namespace

MainWindow::MainWindow(std::string programFolder)
    : Dialog(IDD_MAIN), programFolder_(std::move(programFolder)) {}

bool MainWindow::OnInit() {
  SetWindowTextA(window(), ProgramTitle().c_str());
  productName_ = ProgramProductName();
  SetIcons();
  LoadSkin();
  SetClientSize(window(), kMainClientWidth, kMainClientHeight);
  CentreOnOwner(window());
  PlaceHelpButton();
  helpHover_.Attach(Item(IDC_HELP_BUTTON));
  return true;
}

void MainWindow::SetIcons() {
  const auto load = [](int width, int height) {
    return static_cast<HICON>(
        LoadImageA(ResourceModule(), MAKEINTRESOURCEA(IDI_KELVANE), IMAGE_ICON, width, height, 0));
  };
  bigIcon_.Reset(load(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)));
  smallIcon_.Reset(load(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)));
  SendMessageA(window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.Get()));
  SendMessageA(window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));
}

void MainWindow::LoadSkin() {
  const std::string folder = CurrentSkinFolder(programFolder_);
  background_ = LoadSkinBitmap(folder, "main.bmp");
  BITMAP info = {};
  if (background_.IsValid() && GetObjectA(background_.Get(), sizeof info, &info) == sizeof info)
    backgroundSize_ = {info.bmWidth, info.bmHeight};
  buttonImages_ =
      LoadSkinButtonImages(folder, "btn_normal.png", "btn_hover.png", "btn_disable.png");

  LOGFONTA font = {};
  const HFONT dialogFont = DialogFont(window());
  if (dialogFont != nullptr) GetObjectA(dialogFont, sizeof font, &font);
  font.lfHeight = -kTitleFontHeight;
  font.lfWidth = 0;
  font.lfWeight = FW_BOLD;
  titleFont_.Reset(CreateFontIndirectA(&font));
}

void MainWindow::PlaceHelpButton() {
  const HWND button = Item(IDC_HELP_BUTTON);
  const std::string caption = WindowText(button);
  SIZE text = {0, 0};
  const HDC dc = GetDC(button);
  if (dc != nullptr) {
    SelectedObject font(dc, DialogFont(window()));
    GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    ReleaseDC(button, dc);
  }
  int width = static_cast<int>(text.cx) + 2 * kHelpButtonPadding;
  if (width < kHelpButtonMinWidth) width = kHelpButtonMinWidth;
  SetWindowPos(button, nullptr, kMainClientWidth - kHelpButtonRightMargin - width, kHelpButtonTop,
               width, kHelpButtonHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::PaintBackground(HDC dc, POINT origin, SIZE size) const {
  RECT all = {0, 0, size.cx, size.cy};
  FillRect(dc, &all, GetSysColorBrush(COLOR_3DFACE));
  if (background_.IsValid()) {
    ScopedMemoryDc source(CreateCompatibleDC(dc));
    SelectedObject picture(source.Get(), background_.Get());
    // A smaller picture of another skin leaves the rest in the face colour.
    const int width = std::min<int>(size.cx, backgroundSize_.cx - origin.x);
    const int height = std::min<int>(size.cy, backgroundSize_.cy - origin.y);
    if (width > 0 && height > 0)
      BitBlt(dc, 0, 0, width, height, source.Get(), origin.x, origin.y, SRCCOPY);
  } else {
    // Without its picture the header keeps its colour, so its text stays legible.
    RECT header = {0, 0, size.cx, kHeaderHeight - origin.y};
    ScopedBrush brush(CreateSolidBrush(kHeaderFallbackColour));
    FillRect(dc, &header, brush.Get());
  }

  RECT band = {kTitleLeft - origin.x, -origin.y, kMainClientWidth / 2 - origin.x,
               kTitleBandHeight - origin.y};
  SelectedObject font(dc, titleFont_.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kHeaderTextColour);
  DrawTextA(dc, productName_.c_str(), -1, &band,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void MainWindow::Paint() {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(window(), &paint);
  if (dc == nullptr) return;
  RECT client;
  GetClientRect(window(), &client);
  {
    BufferedDc buffer(dc, client.right, client.bottom);
    PaintBackground(buffer.dc(), POINT{0, 0}, SIZE{client.right, client.bottom});
  }
  EndPaint(window(), &paint);
}

void MainWindow::DrawButton(const DRAWITEMSTRUCT& item) const {
  const int width = item.rcItem.right - item.rcItem.left;
  const int height = item.rcItem.bottom - item.rcItem.top;
  RECT place;
  GetWindowRect(item.hwndItem, &place);
  MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&place), 2);

  BufferedDc buffer(item.hDC, width, height);
  PaintBackground(buffer.dc(), POINT{place.left, place.top}, SIZE{width, height});
  const RECT face = {0, 0, width, height};
  DrawSkinButton(buffer.dc(), face, buttonImages_, LookOf(item.itemState, helpHover_.hovered()),
                 WindowText(item.hwndItem), DialogFont(window()), kHeaderTextColour,
                 kSkinButtonCorner);
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT) && focusCues_.shown()) {
    RECT focus = face;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(buffer.dc(), &focus);
  }
}

void MainWindow::OpenHelpMenu() {
  switch (ShowHelpMenu(window(), Item(IDC_HELP_BUTTON))) {
    case HelpCommand::kLanguage:
      ChooseLanguage(window(), programFolder_);
      break;
    case HelpCommand::kAbout: {
      AboutDialog about;
      about.DoModal(window());
      break;
    }
    case HelpCommand::kNone:
      break;
  }
}

bool MainWindow::OnCommand(int id, int notifyCode, HWND) {
  switch (id) {
    case IDC_HELP_BUTTON:
      if (notifyCode == BN_CLICKED) OpenHelpMenu();
      return true;
    case IDCANCEL:  // the close box and Escape
      Destroy();
      PostQuitMessage(notifyCode);
      return true;
    case IDOK:  // Enter: the main window has no default button
      return true;
  }
  return false;
}

bool MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  if (focusCues_.Observe(message, wParam)) InvalidateRect(Item(IDC_HELP_BUTTON), nullptr, FALSE);
  switch (message) {
    case WM_ERASEBKGND:
      result = TRUE;  // WM_PAINT covers every pixel
      SetWindowLongPtrA(window(), DWLP_MSGRESULT, TRUE);
      return true;
    case WM_PAINT:
      Paint();
      result = TRUE;
      return true;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item == nullptr || item->CtlType != ODT_BUTTON) return false;
      DrawButton(*item);
      result = TRUE;
      return true;
    }
  }
  return false;
}

int RunMainWindow(const char*, int showCommand) {
  MainWindow main(GetProgramFolder());
  if (main.Create(nullptr) == nullptr) return 1;
  ShowWindow(main.window(), showCommand);
  UpdateWindow(main.window());
  return RunMessageLoop(main.window());
}

}  // namespace kelvane

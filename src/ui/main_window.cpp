#include "ui/main_window.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "foundation/language_table.h"
#include "foundation/program_paths.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "foundation/version_info.h"
#include "resource_ids.h"
#include "ui/buffered_dc.h"
#include "ui/buffered_paint.h"
#include "ui/dialog_font.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/language_dialog.h"
#include "ui/help_menu.h"
#include "ui/instance.h"
#include "ui/main_window_layout.h"
#include "ui/message_loop.h"
#include "ui/pages/backup_page.h"
#include "ui/pages/defrag_page.h"
#include "ui/pages/home_page.h"
#include "ui/pages/options_page.h"
#include "ui/pages/scan_page.h"
#include "ui/program_title.h"
#include "ui/skin_folder.h"
#include "ui/window_geometry.h"
#include "ui/window_messages.h"
#include "ui/window_text.h"

namespace kelvane {

namespace {

// The navigation button of each page, in page order.
constexpr int kNavButtonIds[MainWindow::kPageCount] = {IDC_NAV_HOME, IDC_NAV_SCAN, IDC_NAV_DEFRAG,
                                                       IDC_NAV_BACKUP, IDC_NAV_OPTIONS};
// The start button of the defragmentation and backup pages.
constexpr int kPageStartButton = 1000;
constexpr UINT_PTR kPageAreaSubclassId = 0x4B57;

int NavIndexOf(int id) {
  for (int index = 0; index < MainWindow::kPageCount; ++index)
    if (kNavButtonIds[index] == id) return index;
  return -1;
}

SIZE TextSize(HWND window, HFONT font, const std::string& text) {
  SIZE size = {0, 0};
  const HDC dc = GetDC(window);
  if (dc == nullptr) return size;
  {
    SelectedObject selected(dc, font);
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  }
  ReleaseDC(window, dc);
  return size;
}

}  // namespace

std::unique_ptr<SkinnedPage> MainWindow::MakeStandardPage(int index, PageContext context) {
  switch (index) {
    case kHomePage:
      return std::make_unique<HomePage>(std::move(context));
    case kScanPage:
      return std::make_unique<ScanPage>(std::move(context));
    case kDefragPage:
      return std::make_unique<DefragPage>(std::move(context));
    case kBackupPage:
      return std::make_unique<BackupPage>(std::move(context));
    case kOptionsPage:
      return std::make_unique<OptionsPage>(std::move(context));
  }
  return nullptr;
}

MainWindow::MainWindow(std::string programFolder, PageFactory pages)
    : Dialog(IDD_MAIN),
      programFolder_(std::move(programFolder)),
      pageFactory_(pages ? std::move(pages) : PageFactory(MakeStandardPage)) {}

bool MainWindow::OnInit() {
  SetWindowTextA(window(), ProgramTitle().c_str());
  productName_ = ProgramProductName();
  SetIcons();
  CreateMarkerWindow(window());
  LoadSkin();
  SetClientSize(window(), kMainClientWidth, kMainClientHeight);
  CentreOnOwner(window());
  PlaceHelpButton();
  PlaceNavButtons();
  helpHover_.Attach(Item(IDC_HELP_BUTTON));
  for (int index = 0; index < kPageCount; ++index)
    navHover_[static_cast<std::size_t>(index)].Attach(Item(kNavButtonIds[index]));
  CreatePages();
  // Only the program writes InitPage; a hand-edited value shows the home page.
  SelectPage(ReadSettingInRange(kKeyInitPage, kHomePage, kHomePage, kOptionsPage));
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
  backdrop_.Load(folder);
  buttonImages_ =
      LoadSkinButtonImages(folder, "btn_normal.png", "btn_hover.png", "btn_disable.png");
  titleFont_ = FontLike(window(), kTitleFontHeight, FW_BOLD);
  selectedTabFont_ = FontLike(window(), 0, FW_BOLD);
}

void MainWindow::PlaceHelpButton() {
  const HWND button = Item(IDC_HELP_BUTTON);
  const SIZE text = TextSize(button, DialogFont(window()), WindowText(button));
  const int width = std::max<int>(kHelpButtonMinWidth, text.cx + 2 * kHelpButtonPadding);
  SetWindowPos(button, nullptr, kMainClientWidth - kHelpButtonRightMargin - width, kHelpButtonTop,
               width, kHelpButtonHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::PlaceNavButtons() {
  // Measured in the bold face of the selected tab, the wider of the two.
  std::array<int, kPageCount> widths;
  int total = (kPageCount - 1) * kNavGap;
  for (int index = 0; index < kPageCount; ++index) {
    const HWND button = Item(kNavButtonIds[index]);
    const SIZE text = TextSize(button, selectedTabFont_.Get(), WindowText(button));
    widths[static_cast<std::size_t>(index)] =
        std::max<int>(kNavButtonWidth, text.cx + 2 * kNavPadding);
    total += widths[static_cast<std::size_t>(index)];
  }
  const int room = kMainClientWidth - kNavLeft - kNavRightMargin;
  navCaptionsWrap_ = total > room;
  if (navCaptionsWrap_) widths.fill((room - (kPageCount - 1) * kNavGap) / kPageCount);
  int left = kNavLeft;
  for (int index = 0; index < kPageCount; ++index) {
    const int width = widths[static_cast<std::size_t>(index)];
    SetWindowPos(Item(kNavButtonIds[index]), nullptr, left, kNavButtonTop, width, kNavButtonHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    left += width + kNavGap;
  }
}

void MainWindow::CreatePages() {
  const HWND area = Item(IDC_PAGE_AREA);
  SetWindowPos(area, nullptr, 0, kHeaderHeight, kMainClientWidth, kMainClientHeight - kHeaderHeight,
               SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowSubclass(area, PageAreaProcedure, kPageAreaSubclassId,
                    reinterpret_cast<DWORD_PTR>(&backdrop_));
  RECT room;
  GetClientRect(area, &room);
  for (int index = 0; index < kPageCount; ++index) {
    auto& page = pages_[static_cast<std::size_t>(index)];
    page = pageFactory_(index, PageContext{programFolder_, &backdrop_});
    if (!page || page->Create(area) == nullptr) continue;
    SetWindowLongPtrA(page->window(), GWLP_ID, IDC_PAGE_FIRST + index);
    SetWindowPos(page->window(), nullptr, 0, 0, room.right, room.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

HWND MainWindow::PageWindow(int index) const {
  if (index < 0 || index >= kPageCount) return nullptr;
  const auto& page = pages_[static_cast<std::size_t>(index)];
  return page ? page->window() : nullptr;
}

void MainWindow::StartUpdateCheck(const UpdateEndpoint& endpoint) {
  if (updates_ || window() == nullptr) return;
  updates_ = std::make_unique<UpdateNotifier>(window(), WM_UPDATE_OFFERED, endpoint,
                                              GetProductVersion(GetProgramFilePath()));
  updates_->Start();
}

bool MainWindow::busy() const {
  const auto& scan = pages_[kScanPage];
  return scan && scan->IsBusy();
}

void MainWindow::SelectPage(int index) {
  if (index < 0 || index >= kPageCount) return;
  if (index != currentPage_) {
    if (const HWND old = PageWindow(currentPage_)) Page::Deactivate(old);
    RECT room;
    GetClientRect(Item(IDC_PAGE_AREA), &room);
    const HWND page = PageWindow(index);
    if (page != nullptr)
      SetWindowPos(page, nullptr, 0, 0, room.right, room.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    currentPage_ = index;
    if (page != nullptr) Page::Activate(page);
  }
  const HWND selected = Item(kNavButtonIds[index]);
  const bool hadFocus = GetFocus() == selected;
  for (int id : kNavButtonIds) EnableWindow(Item(id), TRUE);
  EnableWindow(selected, FALSE);
  // A disabled button cannot keep the keyboard focus.
  if (hadFocus) SetFocus(window());
}

void MainWindow::PaintBackground(HDC dc, POINT origin, SIZE size) const {
  backdrop_.Paint(dc, origin, size);
  RECT band = {kTitleLeft - origin.x, -origin.y, kMainClientWidth / 2 - origin.x,
               kTitleBandHeight - origin.y};
  SelectedObject font(dc, titleFont_.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kHeaderTextColour);
  DrawTextA(dc, productName_.c_str(), -1, &band,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void MainWindow::Paint() {
  PaintBuffered(window(), [this](HDC dc, const RECT& client) {
    PaintBackground(dc, POINT{0, 0}, SIZE{client.right, client.bottom});
  });
}

void MainWindow::DrawNavButton(HDC dc, const RECT& face, const DRAWITEMSTRUCT& item,
                               bool hovered) const {
  const ButtonLook look = LookOf(item.itemState, hovered);
  const bool selected = look == ButtonLook::kDisabled;
  if (selected && !buttonImages_.disabled) {
    FillRect(dc, &face, GetSysColorBrush(COLOR_3DFACE));  // the tab runs into the page
  } else {
    DrawSkinButton(dc, face, buttonImages_, look, std::string(), selectedTabFont_.Get(),
                   kHeaderTextColour, kSkinButtonCorner);
  }
  // The caption is drawn here: the selected tab's is dark on the page colour.
  const std::string caption = WindowText(item.hwndItem);
  RECT text = face;
  InflateRect(&text, -kNavPadding / 2, 0);
  if (look == ButtonLook::kPressed) OffsetRect(&text, 1, 1);
  SelectedObject font(dc, selectedTabFont_.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, selected ? kSelectedTabTextColour : kHeaderTextColour);
  UINT format = DT_CENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
  if (navCaptionsWrap_) {
    RECT measure = text;
    DrawTextA(dc, caption.c_str(), -1, &measure, format | DT_WORDBREAK | DT_CALCRECT);
    const int height = std::min<int>(measure.bottom - measure.top, text.bottom - text.top);
    text.top += (text.bottom - text.top - height) / 2;
    text.bottom = text.top + height;
    format |= DT_WORDBREAK;
  } else {
    format |= DT_VCENTER | DT_SINGLELINE;
  }
  DrawTextA(dc, caption.c_str(), -1, &text, format);
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
  const int nav = NavIndexOf(static_cast<int>(item.CtlID));
  if (nav >= 0) {
    DrawNavButton(buffer.dc(), face, item, navHover_[static_cast<std::size_t>(nav)].hovered());
  } else {
    DrawSkinButton(buffer.dc(), face, buttonImages_, LookOf(item.itemState, helpHover_.hovered()),
                   WindowText(item.hwndItem), DialogFont(window()), kHeaderTextColour,
                   kSkinButtonCorner);
  }
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT) && focusCues_.shown()) {
    RECT focus = face;
    InflateRect(&focus, -3, -3);
    if (nav >= 0) focus.bottom -= 3;  // the pictures end above the header's edge
    SetTextColor(buffer.dc(), kHeaderTextColour);
    DrawFocusRect(buffer.dc(), &focus);
  }
}

void MainWindow::OpenHelpMenu() {
  switch (ShowHelpMenu(window(), Item(IDC_HELP_BUTTON))) {
    case HelpCommand::kHelpPage:
      OpenHelpPage(window(), programFolder_);
      break;
    case HelpCommand::kLanguage:
      if (ChooseLanguage(window(), programFolder_))
        if (const HWND options = PageWindow(kOptionsPage))
          SendMessageA(options, WM_LANGUAGE_CHANGED, 0, 0);
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

void MainWindow::Close(int code) {
  if (busy()) {
    const int answer = MessageBoxA(window(), LanguageText("L0057").c_str(),
                                   LanguageText("L0025").c_str(), MB_OKCANCEL | MB_ICONEXCLAMATION);
    if (answer != IDOK) return;
  }
  Destroy();
  PostQuitMessage(code);
}

void MainWindow::StartOnPage(int index) {
  // The page would be hidden behind the scan page at once: a scan keeps it.
  if (busy()) return;
  SelectPage(index);
  const HWND page = PageWindow(index);
  if (page == nullptr) return;
  SendMessageA(page, WM_COMMAND, MAKEWPARAM(kPageStartButton, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(page, kPageStartButton)));
}

bool MainWindow::OnCommand(int id, int notifyCode, HWND) {
  const int nav = NavIndexOf(id);
  if (nav >= 0) {
    if (notifyCode == BN_CLICKED && !busy()) SelectPage(nav);
    return true;
  }
  switch (id) {
    case IDC_HELP_BUTTON:
      if (notifyCode == BN_CLICKED) OpenHelpMenu();
      return true;
    case IDCANCEL:  // the close box and Escape
      Close(notifyCode);
      return true;
    case IDOK:  // Enter: the main window has no default button
      return true;
  }
  return false;
}

bool MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  if (focusCues_.Observe(message, wParam)) {
    InvalidateRect(Item(IDC_HELP_BUTTON), nullptr, FALSE);
    for (int id : kNavButtonIds) InvalidateRect(Item(id), nullptr, FALSE);
  }
  // The shell's messages answer 0.
  const auto answered = [&] {
    SetWindowLongPtrA(window(), DWLP_MSGRESULT, 0);
    result = TRUE;
    return true;
  };
  if (updates_ && updates_->Handle(message, wParam)) return answered();
  if (AnswerPaintMessage(window(), message, result, [this] { Paint(); })) return true;
  switch (message) {
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item == nullptr || item->CtlType != ODT_BUTTON) return false;
      DrawButton(*item);
      result = TRUE;
      return true;
    }
    case WM_SHOW_MAIN_WINDOW:
      ShowWindow(window(), SW_SHOW);
      ShowWindow(window(), SW_SHOWNORMAL);  // also out of the minimised state
      SetForegroundWindow(window());
      return answered();
    case WM_START_SCAN:
      SelectPage(kScanPage);
      if (const HWND scan = PageWindow(kScanPage)) SendMessageA(scan, WM_START_SCAN, 0, 0);
      return answered();
    case WM_START_DEFRAG:
      StartOnPage(kDefragPage);
      return answered();
    case WM_START_BACKUP:
      StartOnPage(kBackupPage);
      return answered();
    case WM_EXCLUSIONS_CHANGED:
      if (const HWND options = PageWindow(kOptionsPage))
        SendMessageA(options, WM_EXCLUSIONS_CHANGED, 0, 0);
      return answered();
    case WM_DESTROY:
      if (updates_) updates_->RequestStop();  // joined when the object goes
      if (currentPage_ >= 0) WriteSettingInt(kKeyInitPage, currentPage_);
      return false;
  }
  return false;
}

LRESULT CALLBACK MainWindow::PageAreaProcedure(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  // The area shows only for a moment between two pages: in the skin's colours.
  const auto* backdrop = reinterpret_cast<const SkinBackdrop*>(data);
  switch (message) {
    case WM_ERASEBKGND:
      backdrop->PaintBehind(reinterpret_cast<HDC>(wParam), window);
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      if (BeginPaint(window, &paint) != nullptr) {
        backdrop->PaintBehind(paint.hdc, window);
        EndPaint(window, &paint);
      }
      return 0;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, PageAreaProcedure, kPageAreaSubclassId);
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

int RunMainWindow(const char*, int showCommand) {
  MainWindow main(GetProgramFolder());
  if (main.Create(nullptr) == nullptr) return 1;
  main.StartUpdateCheck(ShippedUpdateEndpoint());
  ShowWindow(main.window(), showCommand);
  UpdateWindow(main.window());
  return RunMessageLoop(main.window());
}

}  // namespace kelvane

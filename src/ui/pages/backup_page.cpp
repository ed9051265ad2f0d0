#include "ui/pages/backup_page.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "foundation/file_checks.h"
#include "foundation/language_table.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "foundation/version_info.h"
#include "repair/backup_manager.h"
#include "resource_ids.h"
#include "ui/buffered_paint.h"
#include "ui/controls/row_selection.h"
#include "ui/dialogs/partial_backups_dialog.h"
#include "ui/dialogs/wait_dialog.h"
#include "ui/pages/page_card.h"
#include "ui/rules/cell_markup.h"
#include "ui/window_text.h"

namespace kelvane {

namespace {

// Measures in pixels.
constexpr int kMargin = 24;
constexpr int kFirstCardTop = 58;
constexpr int kCardGap = 10;
constexpr int kCardPadding = 20;  // inside a card, at its left and right
constexpr int kHeadingTop = 14;
constexpr int kHeadingHeight = 20;
constexpr int kHeadingFontHeight = 15;
constexpr int kRowTop = 46;  // the list and the buttons below a card's heading
constexpr int kRetentionHeight = 100;
constexpr int kCheckTop = 18;
constexpr int kCheckHeight = 20;
constexpr int kDaysTop = 54;
constexpr int kLineHeight = 18;
constexpr int kIndent = 20;  // the day count belongs to the switch above it
constexpr int kEditWidth = 44;
constexpr int kEditHeight = 22;
constexpr int kSpinWidth = 18;
constexpr int kButtonMinWidth = 150;
constexpr int kButtonPadding = 16;  // on each side of the widest caption
constexpr int kButtonHeight = 28;
constexpr int kGap = 8;

constexpr int kButtons[] = {IDC_BACKUP_START, IDC_BACKUP_RESTORE, IDC_BACKUP_DELETE,
                            IDC_BACKUP_PARTIAL};

// What a command behind the wait window did: finished and succeeded.
bool RanAndSucceeded(HWND owner, const char* titleKey, const char* messageKey,
                     const std::function<bool()>& work) {
  WaitWindowOptions options;
  options.titleKey = titleKey;
  options.messageKey = messageKey;
  bool succeeded = false;
  // The worker has returned once the window is closed: `succeeded` is ours again.
  const WaitOutcome outcome =
      RunWithWaitWindow(owner, options, [&succeeded, &work](WaitReporter&) { succeeded = work(); });
  return outcome == WaitOutcome::kFinished && succeeded;
}

}  // namespace

BackupPage::BackupPage(PageContext context) : SkinnedPage(IDD_PAGE_BACKUP, std::move(context)) {}

bool BackupPage::OnInit() {
  SkinnedPage::OnInit();
  headingFont_ = MakeFont(kHeadingFontHeight, FW_BOLD);
  SendMessageA(Item(IDC_BACKUP_HEADING), WM_SETFONT, reinterpret_cast<WPARAM>(headingFont_.Get()),
               FALSE);
  cardBrush_.Reset(CreateSolidBrush(kPageCardColour));
  list_.Attach(Item(IDC_BACKUP_LIST));
  list_.AddColumn(LanguageText("L0241"), 100);
  list_.AddColumn(LanguageText("L0242"), 100);
  list_.AddColumn(LanguageText("L0243"), 100, true);
  days_.Attach(Item(IDC_BACKUP_DAYS), Item(IDC_BACKUP_DAYS_SPIN), kKeyAutoDelFullBackupDays,
               kDefaultAutoDelFullBackupDays);
  RECT client;
  GetClientRect(window(), &client);
  Layout(client.right, client.bottom);
  Refresh();
  return true;
}

void BackupPage::Layout(int width, int height) {
  const int retentionTop = std::max(height - kMargin - kRetentionHeight,
                                    kFirstCardTop + kRowTop + 3 * (kButtonHeight + kGap));
  cards_[kListCard] = {kMargin, kFirstCardTop, width - kMargin, retentionTop - kCardGap};
  cards_[kRetentionCard] = {kMargin, retentionTop, width - kMargin,
                            retentionTop + kRetentionHeight};
  const auto place = [this](int id, int x, int y, int w, int h) {
    SetWindowPos(Item(id), nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  };
  int buttonWidth = kButtonMinWidth;
  for (int id : kButtons)
    buttonWidth = std::max(buttonWidth, WindowTextWidth(Item(id)) + 2 * kButtonPadding);

  const RECT& backups = cards_[kListCard];
  const int left = backups.left + kCardPadding;
  const int buttonLeft = backups.right - kCardPadding - buttonWidth;
  const int listWidth = buttonLeft - 2 * kGap - left;
  place(IDC_BACKUP_HEADING, left, backups.top + kHeadingTop, listWidth, kHeadingHeight);
  const int rowTop = backups.top + kRowTop;
  place(IDC_BACKUP_LIST, left, rowTop, listWidth, backups.bottom - kCardPadding - rowTop);
  int top = rowTop;
  for (int id : {IDC_BACKUP_START, IDC_BACKUP_RESTORE, IDC_BACKUP_DELETE}) {
    place(id, buttonLeft, top, buttonWidth, kButtonHeight);
    top += kButtonHeight + kGap;
  }
  // Date and time take what they need; the size gets the rest.
  const int columns = listWidth - GetSystemMetrics(SM_CXVSCROLL) - 4;
  ListView_SetColumnWidth(list_.window(), 0, columns * 2 / 5);
  ListView_SetColumnWidth(list_.window(), 1, columns * 3 / 10);
  ListView_SetColumnWidth(list_.window(), 2, columns - columns * 2 / 5 - columns * 3 / 10);

  const RECT& retention = cards_[kRetentionCard];
  place(IDC_BACKUP_AUTO_DELETE, left, retention.top + kCheckTop, buttonLeft - kGap - left,
        kCheckHeight);
  const int row = retention.top + kDaysTop;
  const int labelLeft = left + kIndent;
  const int labelWidth = std::min(WindowTextWidth(Item(IDC_BACKUP_DAYS_LABEL)) + 4,
                                  buttonLeft - 2 * kGap - kEditWidth - kSpinWidth - labelLeft);
  place(IDC_BACKUP_DAYS_LABEL, labelLeft, row + (kEditHeight - kLineHeight) / 2 + 1, labelWidth,
        kLineHeight);
  const int editLeft = labelLeft + labelWidth + kGap;
  place(IDC_BACKUP_DAYS, editLeft, row, kEditWidth, kEditHeight);
  place(IDC_BACKUP_DAYS_SPIN, editLeft + kEditWidth, row, kSpinWidth, kEditHeight);
  place(IDC_BACKUP_PARTIAL, buttonLeft, retention.top + (kRetentionHeight - kButtonHeight) / 2,
        buttonWidth, kButtonHeight);
  InvalidateRect(window(), nullptr, TRUE);
}

void BackupPage::Refresh() {
  const bool autoDelete = ReadAutoDelFullBackup();
  CheckDlgButton(window(), IDC_BACKUP_AUTO_DELETE, autoDelete ? BST_CHECKED : BST_UNCHECKED);
  days_.Reload();
  EnableDays(autoDelete);
  RefreshList();
}

void BackupPage::RefreshList() {
  const int remembered = SelectedRow(list_);
  list_.DeleteAllRows();
  for (const FullBackupRow& row : ListFullBackups(context().programFolder))
    list_.AppendRow({EscapeCellText(row.date), EscapeCellText(row.time), EscapeCellText(row.size)},
                    row.folder);
  Reselect(list_, remembered);
  EnableRowCommands();
}

void BackupPage::EnableRowCommands() {
  const bool selected = SelectedRow(list_) >= 0;
  EnableWindow(Item(IDC_BACKUP_RESTORE), selected ? TRUE : FALSE);
  EnableWindow(Item(IDC_BACKUP_DELETE), selected ? TRUE : FALSE);
}

void BackupPage::EnableDays(bool enabled) {
  days_.Enable(enabled);
  EnableWindow(Item(IDC_BACKUP_DAYS_LABEL), enabled ? TRUE : FALSE);
}

std::string BackupPage::SelectedFolder() const {
  const int row = SelectedRow(list_);
  const std::string* folder = row < 0 ? nullptr : list_.RowData<std::string>(row);
  return folder != nullptr ? *folder : std::string();
}

void BackupPage::Tell(const char* key, UINT icon) const {
  MessageBoxA(window(), LanguageText(key).c_str(), ProgramProductName().c_str(), MB_OK | icon);
}

void BackupPage::MakeBackup() {
  const std::string programFolder = context().programFolder;
  const bool made = RanAndSucceeded(window(), "L0005", "L0011",
                                    [&programFolder] { return MakeFullBackup(programFolder); });
  // Only a backup that was written may say the work is done.
  Tell(made ? "L0021" : "L0247", made ? MB_ICONINFORMATION : MB_ICONWARNING);
  RefreshList();
}

void BackupPage::RestoreSelected() {
  const std::string folder = SelectedFolder();
  if (folder.empty() || !FileExists(folder + "\\" + kFullBackupFileName)) return;
  const bool confirmed =
      MessageBoxA(window(), LanguageText("L0018").c_str(), LanguageText("L0019").c_str(),
                  MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
  if (!confirmed) return;
  const bool restored =
      RanAndSucceeded(window(), "L0009", "L0020", [&folder] { return RestoreFullBackup(folder); });
  Tell(restored ? "L0021" : "L0248", restored ? MB_ICONINFORMATION : MB_ICONWARNING);
}

void BackupPage::DeleteSelected() {
  const std::string folder = SelectedFolder();
  if (folder.empty()) return;
  const bool confirmed =
      MessageBoxA(window(), LanguageText("L0018").c_str(), LanguageText("L0019").c_str(),
                  MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
  if (!confirmed) return;
  // A folder that cannot be deleted stays in the list; that says enough.
  RanAndSucceeded(window(), "L0017", "L0240", [&folder] { return DeleteFullBackup(folder); });
  RefreshList();
}

void BackupPage::Paint() {
  PaintCardPage(window(), context().backdrop, [this](Gdiplus::Graphics& graphics) {
    for (const RECT& card : cards_) DrawCard(graphics, card);
  });
}

bool BackupPage::OnCommand(int id, int notifyCode, HWND control) {
  if (days_.OnCommand(control, notifyCode)) return true;
  if (notifyCode != BN_CLICKED) return SkinnedPage::OnCommand(id, notifyCode, control);
  switch (id) {
    case IDC_BACKUP_START:
      MakeBackup();
      return true;
    case IDC_BACKUP_RESTORE:
      RestoreSelected();
      return true;
    case IDC_BACKUP_DELETE:
      DeleteSelected();
      return true;
    case IDC_BACKUP_AUTO_DELETE: {
      const bool on = IsDlgButtonChecked(window(), id) == BST_CHECKED;
      WriteSettingInt(kKeyAutoDelFullBackup, on ? 1 : 0);
      EnableDays(on);
      return true;
    }
    case IDC_BACKUP_PARTIAL:
      ShowPartialBackups(MainWindowHandle(), context().programFolder);
      return true;
  }
  return SkinnedPage::OnCommand(id, notifyCode, control);
}

bool BackupPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  if (AnswerPaintMessage(window(), message, result, [this] { Paint(); })) return true;
  switch (message) {
    case WM_SIZE:
      Layout(LOWORD(lParam), HIWORD(lParam));
      return false;
    case WM_CTLCOLORSTATIC: {
      const auto control = reinterpret_cast<HWND>(lParam);
      if (control == Item(IDC_PAGE_TITLE)) return false;
      // Opaque on the card: a switch or a text that turns grey repaints
      // itself without the old look showing through.
      const HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, kPageCardColour);
      SetBkMode(dc, OPAQUE);
      SetTextColor(dc, IsWindowEnabled(control) ? kPageHeadingColour : GetSysColor(COLOR_GRAYTEXT));
      result = reinterpret_cast<INT_PTR>(cardBrush_.Get());
      return true;
    }
    case WM_NOTIFY: {
      if (lParam == 0) return false;
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      LRESULT answer = 0;
      if (header.hwndFrom == list_.window() && header.code == LVN_ITEMCHANGED) {
        EnableRowCommands();
      } else if (!days_.OnNotify(header, answer)) {
        return false;
      }
      SetWindowLongPtrA(window(), DWLP_MSGRESULT, answer);
      result = TRUE;
      return true;
    }
  }
  return false;
}

}  // namespace kelvane

#include "ui/pages/options_page.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "foundation/file_checks.h"
#include "foundation/language_choice.h"
#include "foundation/language_table.h"
#include "foundation/program_paths.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "resource_ids.h"
#include "scan/scan_config.h"
#include "ui/buffered_paint.h"
#include "ui/dialogs/exclusion_dialog.h"
#include "ui/dialogs/language_dialog.h"
#include "ui/dialogs/skin_dialog.h"
#include "ui/pages/page_card.h"
#include "ui/rules/text_format.h"
#include "ui/skin_folder.h"
#include "ui/skin_image.h"
#include "ui/window_messages.h"
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
constexpr int kRowTop = 46;  // the first row below a card's heading
constexpr int kLineHeight = 18;
constexpr int kCheckHeight = 20;
constexpr int kRowGap = 26;
constexpr int kIndent = 20;  // the day count belongs to the switch above it
constexpr int kEditWidth = 44;
constexpr int kEditHeight = 22;
constexpr int kSpinWidth = 18;
constexpr int kButtonMinWidth = 150;
constexpr int kButtonPadding = 16;  // on each side of the widest caption
constexpr int kButtonHeight = 28;
constexpr int kLookRowGap = 36;
constexpr int kFlagWidth = 32;  // the flag pictures' size
constexpr int kFlagHeight = 20;
constexpr int kGap = 8;
constexpr int kCardHeights[] = {132, 80, 126};
constexpr const char* kFallbackLanguageFile = "English.txt";

constexpr int kCardButtons[] = {IDC_OPT_EXCL_BUTTON, IDC_OPT_LANGUAGE_BUTTON, IDC_OPT_SKIN_BUTTON};

}  // namespace

OptionsPage::OptionsPage(PageContext context) : SkinnedPage(IDD_PAGE_OPTIONS, std::move(context)) {}

bool OptionsPage::OnInit() {
  SkinnedPage::OnInit();
  headingFont_ = MakeFont(kHeadingFontHeight, FW_BOLD);
  for (int id : {IDC_OPT_BACKUP_HEADING, IDC_OPT_EXCL_HEADING, IDC_OPT_LOOK_HEADING})
    SendMessageA(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(headingFont_.Get()), FALSE);
  cardBrush_.Reset(CreateSolidBrush(kPageCardColour));
  days_.Attach(Item(IDC_OPT_DAYS), Item(IDC_OPT_DAYS_SPIN), kKeyAutoDelBackupDays,
               kDefaultAutoDelBackupDays);
  RECT client;
  GetClientRect(window(), &client);
  Layout(client.right);
  Refresh();
  return true;
}

void OptionsPage::Layout(int width) {
  int top = kFirstCardTop;
  for (int card = 0; card < kCardCount; ++card) {
    cards_[static_cast<std::size_t>(card)] = {kMargin, top, width - kMargin,
                                              top + kCardHeights[card]};
    top += kCardHeights[card] + kCardGap;
  }
  const auto place = [this](int id, int x, int y, int w, int h) {
    SetWindowPos(Item(id), nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  };
  int buttonWidth = kButtonMinWidth;
  for (int id : kCardButtons)
    buttonWidth = std::max(buttonWidth, WindowTextWidth(Item(id)) + 2 * kButtonPadding);
  const auto& backup = cards_[kBackupCard];
  const int left = backup.left + kCardPadding;
  const int inner = backup.right - kCardPadding - left;
  const int buttonLeft = backup.right - kCardPadding - buttonWidth;

  place(IDC_OPT_BACKUP_HEADING, left, backup.top + kHeadingTop, inner, kHeadingHeight);
  int row = backup.top + kRowTop - 2;
  place(IDC_OPT_BACKUP_WHEN_CLEAN, left, row, inner, kCheckHeight);
  row += kRowGap;
  place(IDC_OPT_AUTO_DELETE, left, row, inner, kCheckHeight);
  row += kRowGap + 4;
  const int labelLeft = left + kIndent;
  const int labelWidth = std::min(WindowTextWidth(Item(IDC_OPT_DAYS_LABEL)) + 4, inner / 2);
  place(IDC_OPT_DAYS_LABEL, labelLeft, row + (kEditHeight - kLineHeight) / 2 + 1, labelWidth,
        kLineHeight);
  const int editLeft = labelLeft + labelWidth + kGap;
  place(IDC_OPT_DAYS, editLeft, row, kEditWidth, kEditHeight);
  place(IDC_OPT_DAYS_SPIN, editLeft + kEditWidth, row, kSpinWidth, kEditHeight);

  const auto& exclusions = cards_[kExclusionCard];
  place(IDC_OPT_EXCL_HEADING, left, exclusions.top + kHeadingTop, buttonLeft - kGap - left,
        kHeadingHeight);
  place(IDC_OPT_EXCL_COUNT, left, exclusions.top + kRowTop, buttonLeft - kGap - left, kLineHeight);
  place(IDC_OPT_EXCL_BUTTON, buttonLeft,
        exclusions.top + (kCardHeights[kExclusionCard] - kButtonHeight) / 2, buttonWidth,
        kButtonHeight);

  const auto& look = cards_[kLookCard];
  place(IDC_OPT_LOOK_HEADING, left, look.top + kHeadingTop, inner, kHeadingHeight);
  const int valueLeft = left +
                        std::max(WindowTextWidth(Item(IDC_OPT_LANGUAGE_LABEL)),
                                 WindowTextWidth(Item(IDC_OPT_SKIN_LABEL))) +
                        3 * kGap;
  const int valueWidth = buttonLeft - kGap - valueLeft;
  const int languageRow = look.top + kRowTop;
  const int skinRow = languageRow + kLookRowGap;
  const int textOffset = (kButtonHeight - kLineHeight) / 2;
  place(IDC_OPT_LANGUAGE_LABEL, left, languageRow + textOffset, valueLeft - left, kLineHeight);
  place(IDC_OPT_LANGUAGE_FLAG, valueLeft, languageRow + (kButtonHeight - kFlagHeight) / 2,
        kFlagWidth, kFlagHeight);
  place(IDC_OPT_LANGUAGE_TITLE, valueLeft + kFlagWidth + kGap, languageRow + textOffset,
        valueWidth - kFlagWidth - kGap, kLineHeight);
  place(IDC_OPT_LANGUAGE_BUTTON, buttonLeft, languageRow, buttonWidth, kButtonHeight);
  place(IDC_OPT_SKIN_LABEL, left, skinRow + textOffset, valueLeft - left, kLineHeight);
  place(IDC_OPT_SKIN_NAME, valueLeft, skinRow + textOffset, valueWidth, kLineHeight);
  place(IDC_OPT_SKIN_BUTTON, buttonLeft, skinRow, buttonWidth, kButtonHeight);
}

void OptionsPage::Refresh() {
  CheckDlgButton(window(), IDC_OPT_BACKUP_WHEN_CLEAN,
                 ReadBackupWhenClean() ? BST_CHECKED : BST_UNCHECKED);
  const bool autoDelete = ReadAutoDelBackup();
  CheckDlgButton(window(), IDC_OPT_AUTO_DELETE, autoDelete ? BST_CHECKED : BST_UNCHECKED);
  days_.Reload();
  EnableDays(autoDelete);
  ShowExclusionCount();
  ShowLanguage();
  ShowSkin();
}

void OptionsPage::EnableDays(bool enabled) {
  days_.Enable(enabled);
  EnableWindow(Item(IDC_OPT_DAYS_LABEL), enabled ? TRUE : FALSE);
}

void OptionsPage::ShowExclusionCount() {
  // A translation may hold conversions of its own: filled only when they fit.
  SetText(IDC_OPT_EXCL_COUNT,
          FormatChecked(LanguageText("L0101"), {CountExclusions(SettingsXmlPath())}));
}

void OptionsPage::ShowLanguage() {
  std::string file = ReadSetting(kKeyLanguageFile);
  // None chosen yet: every text comes from the fallback file, so that is the
  // language in use.
  if (file.empty()) file = kFallbackLanguageFile;
  SetText(IDC_OPT_LANGUAGE_TITLE, LanguageTitleOf(file));
  ScopedBitmap flag = LoadBitmapFile(LanguageFlagPath(context().programFolder, file));
  SendDlgItemMessageA(window(), IDC_OPT_LANGUAGE_FLAG, STM_SETIMAGE, IMAGE_BITMAP,
                      reinterpret_cast<LPARAM>(flag.Get()));
  flag_ = std::move(flag);  // the picture shown before goes only now
  // The picture control takes the bitmap's size: back to its place.
  RECT client;
  GetClientRect(window(), &client);
  Layout(client.right);
}

void OptionsPage::ShowSkin() {
  std::string name = ReadSetting(kKeySkinName);
  if (name.empty()) {
    // No choice made: the shipped skin when that is what the windows use.
    const std::string folder = SkinFolderPath(context().programFolder, name);
    name = folder == context().programFolder + "\\Skin" ? LanguageText("L0266")
                                                        : GetFileNameOf(folder, true);
  }
  SetText(IDC_OPT_SKIN_NAME, name);
}

bool OptionsPage::OnCard(HWND control) const { return control != Item(IDC_PAGE_TITLE); }

void OptionsPage::Paint() {
  PaintCardPage(window(), context().backdrop, [this](Gdiplus::Graphics& graphics) {
    for (const RECT& card : cards_) DrawCard(graphics, card);
  });
}

bool OptionsPage::OnCommand(int id, int notifyCode, HWND control) {
  if (days_.OnCommand(control, notifyCode)) return true;
  if (notifyCode != BN_CLICKED) return SkinnedPage::OnCommand(id, notifyCode, control);
  const HWND owner = MainWindowHandle();
  switch (id) {
    case IDC_OPT_BACKUP_WHEN_CLEAN:
      WriteSettingInt(kKeyBackupWhenClean, IsDlgButtonChecked(window(), id) == BST_CHECKED ? 1 : 0);
      return true;
    case IDC_OPT_AUTO_DELETE: {
      const bool on = IsDlgButtonChecked(window(), id) == BST_CHECKED;
      WriteSettingInt(kKeyAutoDelBackup, on ? 1 : 0);
      EnableDays(on);
      return true;
    }
    case IDC_OPT_EXCL_BUTTON:
      EditExclusions(owner, SettingsXmlPath());
      ShowExclusionCount();
      return true;
    case IDC_OPT_LANGUAGE_BUTTON:
      if (ChooseLanguage(owner, context().programFolder)) ShowLanguage();
      return true;
    case IDC_OPT_SKIN_BUTTON:
      if (ChooseSkin(owner, context().programFolder)) ShowSkin();
      return true;
  }
  return SkinnedPage::OnCommand(id, notifyCode, control);
}

bool OptionsPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  if (AnswerPaintMessage(window(), message, result, [this] { Paint(); })) return true;
  switch (message) {
    case WM_EXCLUSIONS_CHANGED:
      ShowExclusionCount();
      return true;
    case WM_LANGUAGE_CHANGED:
      ShowLanguage();
      return true;
    case WM_SIZE:
      Layout(LOWORD(lParam));
      return false;
    case WM_CTLCOLORSTATIC: {
      const auto control = reinterpret_cast<HWND>(lParam);
      if (!OnCard(control)) return false;
      // Opaque on the card: a switch or a text that changes, or turns grey,
      // repaints itself without the old one showing through.
      const HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, kPageCardColour);
      SetBkMode(dc, OPAQUE);
      SetTextColor(dc, IsWindowEnabled(control) ? kPageHeadingColour : GetSysColor(COLOR_GRAYTEXT));
      result = reinterpret_cast<INT_PTR>(cardBrush_.Get());
      return true;
    }
    case WM_NOTIFY: {
      if (lParam == 0) return false;
      LRESULT answer = 0;
      if (!days_.OnNotify(*reinterpret_cast<const NMHDR*>(lParam), answer)) return false;
      SetWindowLongPtrA(window(), DWLP_MSGRESULT, answer);
      result = TRUE;
      return true;
    }
  }
  return false;
}

}  // namespace kelvane

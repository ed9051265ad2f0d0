#include "ui/dialogs/defrag_result_dialog.h"

#include <string>

#include "foundation/file_size_text.h"
#include "foundation/language_table.h"
#include "resource_ids.h"
#include "ui/controls/progress_bar.h"
#include "ui/dialog_font.h"
#include "ui/rules/text_format.h"
#include "ui/ui_handles.h"
#include "ui/window_geometry.h"
#include "ui/window_text.h"

namespace kelvane {

namespace {

// What DoModal gives once the user confirmed; no button's id, so that no
// stray IDOK (Enter without a default button) can stand for a yes.
constexpr INT_PTR kReplaceConfirmed = 0x7A11;

RECT ChildRect(HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The height the static `control` needs for its text wrapped to `width`.
int WrappedHeight(HWND control, int width) {
  const HDC dc = GetDC(control);
  if (dc == nullptr) return 0;
  RECT rect = {0, 0, width, 0};
  {
    const SelectedObject font(dc,
                              reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    std::string text = WindowText(control);
    if (text.empty()) text = " ";
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
  }
  ReleaseDC(control, dc);
  return rect.bottom - rect.top;
}

}  // namespace

DefragResultDialog::DefragResultDialog(const DefragSavings& savings)
    : Dialog(IDD_DEFRAG_RESULT), savings_(savings) {}

bool DefragResultDialog::ConfirmReplacement(HWND owner) {
  if (!RegisterProgressBarClass()) return false;
  return DoModal(owner) == kReplaceConfirmed;
}

bool DefragResultDialog::OnInit() {
  headlineFont_ = FontLike(window(), 0, FW_BOLD);
  SendMessageA(Item(IDC_RESULT_SAVED), WM_SETFONT, reinterpret_cast<WPARAM>(headlineFont_.Get()),
               FALSE);
  Fill();
  Layout();
  CentreOnOwner(window());
  return true;
}

void DefragResultDialog::Fill() {
  const int percent = static_cast<int>(savings_.percent);
  const std::string saved = FormatFileSize(savings_.saved);
  const auto set = [this](int id, const std::string& text) {
    SetDlgItemTextA(window(), id, text.c_str());
  };
  const ProgressBar bar(Item(IDC_RESULT_BAR));
  bar.SetRange(0, 100);
  bar.SetPosition(100 - percent);
  set(IDC_RESULT_BAR, FormatChecked(LanguageText("L0032"), {percent}));
  set(IDC_RESULT_AFTER,
      FormatChecked(LanguageText("L0033"), {FormatFileSize(savings_.newSize), 100 - percent}));
  set(IDC_RESULT_FREED, FormatChecked(LanguageText("L0034"), {saved, percent}));
  if (percent > 0) {
    set(IDC_RESULT_SAVED, FormatChecked(LanguageText("L0031"), {saved, percent}));
    return;
  }
  // Nothing to gain: nothing to replace, and the window only closes.
  set(IDC_RESULT_SAVED, LanguageText("L0035"));
  set(IDC_RESULT_ADVICE, LanguageText("L0036"));
  EnableWindow(Item(IDC_RESULT_REPLACE), FALSE);
  set(IDCANCEL, LanguageText("L0037"));
  SendMessageA(window(), DM_SETDEFID, IDCANCEL, 0);
}

void DefragResultDialog::Layout() {
  RECT client;
  GetClientRect(window(), &client);
  RECT units = {10, 6, 4, 8};  // margin, gap between lines, gap within a group, before buttons
  MapDialogRect(window(), &units);
  const int margin = units.left;
  const int width = client.right - 2 * margin;
  int y = margin;
  const auto stack = [&](int id, int height, int gapAfter) {
    MoveWindow(Item(id), margin, y, width, height, TRUE);
    y += height + gapAfter;
  };
  const RECT bar = ChildRect(Item(IDC_RESULT_BAR));
  stack(IDC_RESULT_SAVED, WrappedHeight(Item(IDC_RESULT_SAVED), width), units.top);
  stack(IDC_RESULT_BAR, bar.bottom - bar.top, units.top);
  stack(IDC_RESULT_AFTER, WrappedHeight(Item(IDC_RESULT_AFTER), width), units.right);
  stack(IDC_RESULT_FREED, WrappedHeight(Item(IDC_RESULT_FREED), width), units.top);
  stack(IDC_RESULT_ADVICE, WrappedHeight(Item(IDC_RESULT_ADVICE), width), units.bottom);
  // The buttons keep their order and gap at the right edge.
  const RECT replace = ChildRect(Item(IDC_RESULT_REPLACE));
  const RECT cancel = ChildRect(Item(IDCANCEL));
  const int gap = cancel.left - replace.right;
  const int cancelLeft = client.right - margin - (cancel.right - cancel.left);
  MoveWindow(Item(IDCANCEL), cancelLeft, y, cancel.right - cancel.left, cancel.bottom - cancel.top,
             TRUE);
  MoveWindow(Item(IDC_RESULT_REPLACE), cancelLeft - gap - (replace.right - replace.left), y,
             replace.right - replace.left, replace.bottom - replace.top, TRUE);
  SetClientSize(window(), client.right, y + (cancel.bottom - cancel.top) + margin);
}

bool DefragResultDialog::OnCommand(int id, int notifyCode, HWND control) {
  if (id == IDOK) return true;
  if (id != IDC_RESULT_REPLACE) return Dialog::OnCommand(id, notifyCode, control);
  if (notifyCode != BN_CLICKED || !IsWindowEnabled(Item(IDC_RESULT_REPLACE))) return true;
  // The restart closes every program: the user says so once more first.
  const int answer = MessageBoxA(window(), LanguageText("L0038").c_str(),
                                 LanguageText("L0025").c_str(), MB_OKCANCEL | MB_ICONWARNING);
  if (answer == IDOK) End(kReplaceConfirmed);
  return true;
}

}  // namespace kelvane

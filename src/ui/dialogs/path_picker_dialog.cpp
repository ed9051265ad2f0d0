#include "ui/dialogs/path_picker_dialog.h"

#include <commctrl.h>

#include "foundation/language_table.h"
#include "foundation/version_info.h"
#include "resource_ids.h"
#include "ui/window_geometry.h"
#include "ui/window_text.h"

namespace kelvane {

namespace {

// Blanks a user types around a path by accident. Left in, a lone blank
// would be an exclusion found in every path that holds a space.
std::string TrimBlanks(const std::string& text) {
  const char* blanks = " \t\r\n";
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace

PathPickerDialog::PathPickerDialog() : Dialog(IDD_PATH_PICKER) {}

bool PathPickerDialog::OnInit() {
  tree_.Attach(Item(IDC_PICKER_TREE));
  tree_.FillTree(std::string(), kUnticked, TVI_ROOT);
  CheckRadioButton(window(), IDC_PICKER_BY_TREE, IDC_PICKER_BY_TEXT, IDC_PICKER_BY_TREE);
  EnableByChoice();
  CentreOnOwner(window());
  return true;
}

bool PathPickerDialog::ByTree() const {
  return IsDlgButtonChecked(window(), IDC_PICKER_BY_TREE) == BST_CHECKED;
}

void PathPickerDialog::EnableByChoice() {
  const bool byTree = ByTree();
  EnableWindow(Item(IDC_PICKER_TREE), byTree ? TRUE : FALSE);
  EnableWindow(Item(IDC_PICKER_TEXT), byTree ? FALSE : TRUE);
  EnableWindow(Item(IDC_PICKER_EXAMPLE), byTree ? FALSE : TRUE);
}

void PathPickerDialog::Tell(const char* key) const {
  MessageBoxA(window(), LanguageText(key).c_str(), ProgramProductName().c_str(),
              MB_OK | MB_ICONINFORMATION);
}

void PathPickerDialog::Accept() {
  if (ByTree()) {
    std::vector<std::string> ticked = tree_.CollectTicked();
    if (ticked.empty()) {
      Tell("L0114");
      return;
    }
    paths_ = std::move(ticked);
  } else {
    const std::string typed = TrimBlanks(WindowText(Item(IDC_PICKER_TEXT)));
    if (typed.empty()) {
      Tell("L0115");
      return;
    }
    paths_ = {typed};
  }
  End(IDOK);
}

bool PathPickerDialog::OnCommand(int id, int notifyCode, HWND control) {
  switch (id) {
    case IDC_PICKER_BY_TREE:
    case IDC_PICKER_BY_TEXT:
      if (notifyCode == BN_CLICKED) EnableByChoice();
      return true;
    case IDOK:
      Accept();
      return true;
  }
  return Dialog::OnCommand(id, notifyCode, control);
}

bool PathPickerDialog::OnMessage(UINT message, WPARAM, LPARAM lParam, INT_PTR& result) {
  if (message != WM_NOTIFY || lParam == 0) return false;
  if (!tree_.OnNotify(*reinterpret_cast<const NMHDR*>(lParam))) return false;
  result = 0;
  SetWindowLongPtrA(window(), DWLP_MSGRESULT, 0);
  return true;
}

bool PickRegistryPaths(HWND owner, std::vector<std::string>& paths) {
  PathPickerDialog dialog;
  if (dialog.DoModal(owner) != IDOK) return false;
  paths = dialog.paths();
  return true;
}

}  // namespace kelvane

#include "ui/dialogs/exclusion_dialog.h"

#include <utility>

#include "foundation/language_table.h"
#include "foundation/version_info.h"
#include "resource_ids.h"
#include "scan/scan_config.h"
#include "ui/dialogs/path_picker_dialog.h"
#include "ui/rules/cell_markup.h"
#include "ui/window_geometry.h"

namespace kelvane {

ExclusionDialog::ExclusionDialog(std::string configPath, Picker pick)
    : Dialog(IDD_EXCLUSIONS),
      configPath_(std::move(configPath)),
      pick_(pick != nullptr ? pick : PickRegistryPaths) {}

bool ExclusionDialog::OnInit() {
  const HWND list = Item(IDC_EXCL_LIST);
  list_.Attach(list);
  RECT client = {};
  GetClientRect(list, &client);
  list_.AddColumn(std::string(), client.right - GetSystemMetrics(SM_CXVSCROLL));
  ShowRows(ReadExclusions(configPath_, false));
  CentreOnOwner(window());
  return true;
}

std::vector<std::string> ExclusionDialog::Rows() const {
  std::vector<std::string> rows;
  for (int row = 0; row < list_.RowCount(); ++row)
    if (const std::string* value = list_.RowData<std::string>(row)) rows.push_back(*value);
  return rows;
}

void ExclusionDialog::ShowRows(const std::vector<std::string>& rows) {
  list_.DeleteAllRows();
  AppendRows(rows);
}

void ExclusionDialog::AppendRows(const std::vector<std::string>& rows) {
  // A path is the user's text: shown as it is, even where it looks like markup.
  for (const std::string& value : rows) list_.AppendRow({EscapeCellText(value)}, value);
}

void ExclusionDialog::RemoveSelected() {
  const std::vector<int> selected = list_.SelectedRows();
  if (selected.empty()) {
    MessageBoxA(window(), LanguageText("L0107").c_str(), ProgramProductName().c_str(),
                MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  const int row = selected.front();
  list_.DeleteRow(row);
  const int count = list_.RowCount();
  if (count == 0) return;
  const int next = row < count ? row : count - 1;
  list_.SelectOnly(next);  // and scrolled into view
}

bool ExclusionDialog::Save() {
  if (WriteExclusions(configPath_, Rows())) return true;
  // Never shown as done: the list stays for another try or Cancel.
  MessageBoxA(window(), LanguageText("L0226").c_str(), ProgramProductName().c_str(),
              MB_OK | MB_ICONEXCLAMATION);
  return false;
}

void ExclusionDialog::Add() {
  std::vector<std::string> paths;
  if (pick_(window(), paths)) AppendRows(paths);
}

bool ExclusionDialog::OnCommand(int id, int notifyCode, HWND control) {
  switch (id) {
    case IDC_EXCL_ADD:
      Add();
      return true;
    case IDC_EXCL_REMOVE:
      RemoveSelected();
      return true;
    case IDC_EXCL_DEFAULTS:
      ShowRows(ReadExclusions(configPath_, true));
      return true;
    case IDOK:
      if (Save()) End(IDOK);
      return true;
  }
  return Dialog::OnCommand(id, notifyCode, control);
}

bool EditExclusions(HWND owner, const std::string& configPath) {
  ExclusionDialog dialog(configPath);
  return dialog.DoModal(owner) == IDOK;
}

}  // namespace kelvane

#include "ui/dialogs/partial_backups_dialog.h"

#include <shellapi.h>

#include <utility>
#include <vector>

#include "foundation/file_checks.h"
#include "foundation/language_table.h"
#include "foundation/version_info.h"
#include "repair/backup_folders.h"
#include "repair/backup_manager.h"
#include "resource_ids.h"
#include "ui/controls/row_selection.h"
#include "ui/dialogs/wait_dialog.h"
#include "ui/rules/cell_markup.h"
#include "ui/ui_handles.h"

namespace kelvane {

namespace {

constexpr int kIconSize = 16;

// Adds the icon to `images`; its index, or -1.
int AddIcon(HIMAGELIST images, HICON icon) {
  return icon != nullptr ? ImageList_AddIcon(images, icon) : -1;
}

int AddFileIcon(HIMAGELIST images, const std::string& path) {
  SHFILEINFOA info = {};
  if (SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON) == 0)
    return -1;
  const ScopedIcon icon(info.hIcon);
  return AddIcon(images, icon.Get());
}

std::string IconCell(int icon, const std::string& text) {
  CellMarkup markup;
  markup.icon = icon;
  return ComposeCell(markup, text);
}

}  // namespace

PartialBackupsDialog::PartialBackupsDialog(std::string programFolder, std::string editor)
    : Dialog(IDD_PARTIAL_BACKUPS),
      programFolder_(std::move(programFolder)),
      editor_(std::move(editor)) {}

bool PartialBackupsDialog::OnInit() {
  const HWND view = Item(IDC_PARTIAL_LIST);
  list_.Attach(view);
  RECT inside;
  GetClientRect(view, &inside);
  list_.AddColumn("", inside.right - GetSystemMetrics(SM_CXVSCROLL));
  Refresh();
  return true;
}

void PartialBackupsDialog::Refresh() {
  const int remembered = SelectedRow(list_);
  const std::vector<PartialBackupRow> rows = ListPartialBackups(programFolder_);
  ScopedImageList images(ImageList_Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK,
                                          static_cast<int>(rows.size()) + 1, 1));
  list_.DeleteAllRows();
  for (const PartialBackupRow& row : rows)
    list_.AppendRow({IconCell(AddFileIcon(images.Get(), row.path), row.text)}, row.path);
  if (rows.empty()) {
    // A shared system icon: the image list keeps a copy of it.
    const int warning = AddIcon(images.Get(), LoadIcon(nullptr, IDI_EXCLAMATION));
    list_.AppendRow({IconCell(warning, LanguageText("L0091"))});
  }
  list_.SetImageList(std::move(images));
  EnableWindow(Item(IDC_PARTIAL_RESTORE), !rows.empty());
  EnableWindow(Item(IDC_PARTIAL_DELETE), !rows.empty());
  if (!rows.empty()) Reselect(list_, remembered);
}

const std::string* PartialBackupsDialog::SelectedFile() const {
  const int row = SelectedRow(list_);
  return row < 0 ? nullptr : list_.RowData<std::string>(row);
}

void PartialBackupsDialog::EnableCommands(bool enabled) {
  for (int id : {IDC_PARTIAL_RESTORE, IDC_PARTIAL_DELETE, IDC_PARTIAL_OPEN_FOLDER, IDCANCEL})
    EnableWindow(Item(id), enabled ? TRUE : FALSE);
}

void PartialBackupsDialog::Tell(const char* key, UINT icon) const {
  MessageBoxA(window(), LanguageText(key).c_str(), ProgramProductName().c_str(), MB_OK | icon);
}

bool PartialBackupsDialog::Confirm(const char* key) const {
  return MessageBoxA(window(), LanguageText(key).c_str(), LanguageText("L0088").c_str(),
                     MB_OKCANCEL | MB_ICONINFORMATION) == IDOK;
}

void PartialBackupsDialog::SetStatus(const char* key) {
  SetDlgItemTextA(window(), IDC_PARTIAL_STATUS, key != nullptr ? LanguageText(key).c_str() : "");
}

void PartialBackupsDialog::RestoreSelected() {
  const std::string* selected = SelectedFile();
  if (selected == nullptr) {
    Tell("L0092", MB_ICONINFORMATION);
    return;
  }
  if (!Confirm("L0095")) return;
  const std::string file = *selected;
  EnableCommands(false);
  SetStatus(nullptr);
  bool restored = false;
  WaitWindowOptions options;
  options.titleKey = "L0009";
  options.messageKey = "L0020";
  // The worker has returned once the window is closed: `restored` is ours again.
  RunWithWaitWindow(window(), options, [&restored, &file, this](WaitReporter&) {
    restored = RestorePartialBackup(file, editor_);
  });
  EnableCommands(true);
  Refresh();
  if (restored) {
    SetStatus("L0094");
  } else {
    Tell("L0248", MB_ICONWARNING);
  }
}

void PartialBackupsDialog::DeleteSelected() {
  const std::string* selected = SelectedFile();
  if (selected == nullptr) {
    Tell("L0092", MB_ICONINFORMATION);
    return;
  }
  if (!Confirm("L0093")) return;
  EnableCommands(false);
  const bool deleted = DeletePartialBackup(*selected);
  EnableCommands(true);
  Refresh();
  SetStatus(deleted ? "L0094" : nullptr);
}

bool PartialBackupsDialog::OnCommand(int id, int notifyCode, HWND control) {
  if (notifyCode == BN_CLICKED) {
    switch (id) {
      case IDC_PARTIAL_RESTORE:
        RestoreSelected();
        return true;
      case IDC_PARTIAL_DELETE:
        DeleteSelected();
        return true;
      case IDC_PARTIAL_OPEN_FOLDER: {
        const std::string folder = PartialBackupRoot(programFolder_);
        CreateFolderPath(folder + "\\");  // a folder window on nothing would only fail
        ShowFolderInExplorer(folder);
        return true;
      }
    }
  }
  return Dialog::OnCommand(id, notifyCode, control);
}

bool PartialBackupsDialog::OnMessage(UINT message, WPARAM, LPARAM lParam, INT_PTR& result) {
  if (message != WM_NOTIFY || lParam == 0) return false;
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header->hwndFrom != list_.window() || header->code != NM_DBLCLK) return false;
  const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
  if (click->iItem >= 0)
    if (const std::string* file = list_.RowData<std::string>(click->iItem))
      ShowFileInExplorer(*file);
  result = 0;
  return true;
}

void ShowPartialBackups(HWND owner, const std::string& programFolder) {
  PartialBackupsDialog(programFolder).DoModal(owner);
}

}  // namespace kelvane

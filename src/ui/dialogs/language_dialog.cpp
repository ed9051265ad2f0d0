#include "ui/dialogs/language_dialog.h"

#include <utility>

#include "foundation/language_table.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "foundation/version_info.h"
#include "resource_ids.h"
#include "ui/skin_image.h"
#include "ui/window_geometry.h"

namespace kelvane {

LanguageDialog::LanguageDialog(std::string programFolder)
    : Dialog(IDD_LANGUAGE), programFolder_(std::move(programFolder)) {}

bool LanguageDialog::OnInit() {
  const HWND list = Item(IDC_LANGUAGE_LIST);
  SendMessageA(list, CB_RESETCONTENT, 0, 0);
  entries_ = ListLanguageFiles(programFolder_);
  previousFile_ = ReadSetting(kKeyLanguageFile);
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const LRESULT row =
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entries_[i].title.c_str()));
    if (row < 0) continue;
    SendMessageA(list, CB_SETITEMDATA, static_cast<WPARAM>(row), static_cast<LPARAM>(i));
    // File names are compared as the file system does, without letter case.
    if (lstrcmpiA(entries_[i].fileName.c_str(), previousFile_.c_str()) == 0)
      SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
  }
  ShowFlag();
  CentreOnOwner(window());
  return true;
}

std::string LanguageDialog::SelectedFile() const {
  const HWND list = Item(IDC_LANGUAGE_LIST);
  const LRESULT row = SendMessageA(list, CB_GETCURSEL, 0, 0);
  if (row == CB_ERR) return std::string();
  const LRESULT index = SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(row), 0);
  if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) return std::string();
  return entries_[static_cast<std::size_t>(index)].fileName;
}

void LanguageDialog::ShowFlag() {
  ScopedBitmap flag = LoadBitmapFile(LanguageFlagPath(programFolder_, SelectedFile()));
  SendDlgItemMessageA(window(), IDC_LANGUAGE_FLAG, STM_SETIMAGE, IMAGE_BITMAP,
                      reinterpret_cast<LPARAM>(flag.Get()));
  flag_ = std::move(flag);  // the picture shown before goes only now
}

void LanguageDialog::StoreSelection() {
  const std::string chosen = SelectedFile();
  if (chosen.empty()) return;  // nothing chosen: nothing changes
  changed_ = StoreLanguageChoice(chosen, previousFile_);
}

bool LanguageDialog::OnCommand(int id, int notifyCode, HWND control) {
  if (id == IDC_LANGUAGE_LIST && notifyCode == CBN_SELCHANGE) {
    ShowFlag();
    return true;
  }
  if (id == IDOK) {
    StoreSelection();
    End(IDOK);
    return true;
  }
  return Dialog::OnCommand(id, notifyCode, control);
}

bool ChooseLanguage(HWND owner, const std::string& programFolder) {
  LanguageDialog dialog(programFolder);
  if (dialog.DoModal(owner) != IDOK) return false;
  if (dialog.changed()) {
    MessageBoxA(owner, LanguageText("L0120").c_str(), ProgramProductName().c_str(),
                MB_OK | MB_ICONINFORMATION);
  }
  return true;
}

}  // namespace kelvane

#include "ui/dialogs/skin_dialog.h"

#include <utility>

#include "foundation/file_checks.h"
#include "foundation/language_table.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "foundation/version_info.h"
#include "resource_ids.h"
#include "ui/window_geometry.h"

namespace kelvane {

namespace {

int AddSkin(const std::string&, const std::string& name, const std::string&, WIN32_FIND_DATAA,
            void* userData) {
  static_cast<std::vector<std::string>*>(userData)->push_back(name);
  return 1;
}

}  // namespace

std::vector<std::string> ListSkins(const std::string& programFolder) {
  std::vector<std::string> skins;
  SearchFolders(programFolder + "\\Skin", PatternTable{{"*", ""}}, AddSkin, &skins);
  return skins;
}

SkinDialog::SkinDialog(std::string programFolder)
    : Dialog(IDD_SKIN), programFolder_(std::move(programFolder)) {}

bool SkinDialog::OnInit() {
  const HWND list = Item(IDC_SKIN_LIST);
  SendMessageA(list, CB_RESETCONTENT, 0, 0);
  previousSkin_ = ReadSetting(kKeySkinName);
  for (const std::string& skin : ListSkins(programFolder_)) {
    const LRESULT row = SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(skin.c_str()));
    // Folder names are compared as the file system does, without letter case.
    if (row >= 0 && lstrcmpiA(skin.c_str(), previousSkin_.c_str()) == 0)
      SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
  }
  CentreOnOwner(window());
  return true;
}

std::string SkinDialog::SelectedSkin() const {
  const HWND list = Item(IDC_SKIN_LIST);
  const LRESULT row = SendMessageA(list, CB_GETCURSEL, 0, 0);
  if (row == CB_ERR) return std::string();
  const LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(row), 0);
  if (length <= 0) return std::string();
  std::string name(static_cast<std::size_t>(length) + 1, '\0');
  SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&name[0]));
  name.resize(static_cast<std::size_t>(length));
  return name;
}

bool SkinDialog::OnCommand(int id, int notifyCode, HWND control) {
  if (id == IDOK) {
    const std::string chosen = SelectedSkin();
    // Nothing selected: the skin in use stays, rather than an empty name.
    if (!chosen.empty()) {
      WriteSetting(kKeySkinName, chosen);
      changed_ = chosen != previousSkin_;
    }
    End(IDOK);
    return true;
  }
  return Dialog::OnCommand(id, notifyCode, control);
}

bool ChooseSkin(HWND owner, const std::string& programFolder) {
  SkinDialog dialog(programFolder);
  if (dialog.DoModal(owner) != IDOK) return false;
  if (dialog.changed()) {
    MessageBoxA(owner, LanguageText("L0124").c_str(), ProgramProductName().c_str(),
                MB_OK | MB_ICONINFORMATION);
  }
  return true;
}

}  // namespace kelvane

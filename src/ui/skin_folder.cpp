#include "ui/skin_folder.h"

#include "foundation/file_checks.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"

namespace kelvane {

std::string SkinFolderPath(const std::string& programFolder, const std::string& skinName) {
  const std::string skins = programFolder + "\\Skin";
  if (!skinName.empty()) return skins + "\\" + skinName;
  const std::string shipped = skins + "\\Default";
  if (!FileExists(skins + "\\main.bmp") && FolderExists(shipped)) return shipped;
  return skins;
}

std::string CurrentSkinFolder(const std::string& programFolder) {
  return SkinFolderPath(programFolder, ReadSetting(kKeySkinName));
}

}  // namespace kelvane

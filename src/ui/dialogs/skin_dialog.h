#pragma once
// The skin chooser: a drop-down of the folders in Skin, showing the one in
// "SkinName". OK stores the folder chosen (nothing when none is selected);
// the new skin is used by windows made from then on.
#include <string>
#include <vector>

#include "ui/dialog.h"

namespace kelvane {

// The names of the subfolders of `programFolder`\Skin, in the order found.
std::vector<std::string> ListSkins(const std::string& programFolder);

class SkinDialog : public Dialog {
 public:
  explicit SkinDialog(std::string programFolder);
  ~SkinDialog() override { Destroy(); }

  // After OK: whether "SkinName" now names another folder than before.
  bool changed() const { return changed_; }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;

 private:
  std::string SelectedSkin() const;

  const std::string programFolder_;
  std::string previousSkin_;
  bool changed_ = false;
};

// The chooser, owned by `owner`; when OK changed the skin, a note that it
// takes effect at the next start. True when it ended with OK.
bool ChooseSkin(HWND owner, const std::string& programFolder);

}  // namespace kelvane

#pragma once
// The scan areas: one tick per area of Settings.xml's user copy. "Restore
// defaults" ticks the factory copy's choice without saving; OK writes the
// ticks and is refused, with a message, while they cannot be saved.
#include <string>

#include "scan/scan_area.h"
#include "ui/dialog.h"

namespace kelvane {

class AreaDialog : public Dialog {
 public:
  explicit AreaDialog(std::string configPath);
  ~AreaDialog() override { Destroy(); }

  // The ticks in area order.
  AreaFlags Ticked() const;
  void Show(const AreaFlags& flags);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;

 private:
  const std::string configPath_;
};

// The dialog, owned by `owner`; true when OK saved the areas.
bool ChooseScanAreas(HWND owner, const std::string& configPath);

}  // namespace kelvane

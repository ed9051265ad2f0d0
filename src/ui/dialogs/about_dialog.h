#pragma once
// The about box: icon, product name and version, licence, OK.
#include "ui/dialog.h"
#include "ui/ui_handles.h"

namespace kelvane {

class AboutDialog : public Dialog {
 public:
  AboutDialog();
  ~AboutDialog() override { Destroy(); }

 protected:
  bool OnInit() override;

 private:
  ScopedFont titleFont_;
};

}  // namespace kelvane

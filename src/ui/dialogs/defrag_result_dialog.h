#pragma once
// The result window of the registry analysis (template 211): what the
// compact copies save, as a bar and three lines, and the button that asks
// for the replacement and the restart. It only asks; the caller replaces
// the hives once the user said yes twice.
#include <windows.h>

#include "defrag/defrag_savings.h"
#include "foundation/scoped_handle.h"
#include "ui/dialog.h"

namespace kelvane {

class DefragResultDialog : public Dialog {
 public:
  explicit DefragResultDialog(const DefragSavings& savings);
  ~DefragResultDialog() override { Destroy(); }

  // Shows the figures owned by `owner`. True when the user chose "L0030"
  // and then confirmed the restart ("L0038"); false when the window was
  // closed without that.
  bool ConfirmReplacement(HWND owner);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;

 private:
  void Fill();
  // Stacks the texts at the heights they wrap to and fits the window.
  void Layout();

  const DefragSavings savings_;
  ScopedFont headlineFont_;
};

}  // namespace kelvane

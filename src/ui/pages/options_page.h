#pragma once
// The options page (page 4), in three cards: the partial backups (a backup
// before every fix, deleting old ones after a number of days), the user's
// scan exclusions (their count and the dialog that edits them), and the
// language and skin with their choosers. Every change is written to the
// settings at once; the page reads them again whenever it is shown, and the
// exclusion count when the main window says the list changed.
#include <windows.h>

#include <array>
#include <string>

#include "ui/controls/day_spin.h"
#include "ui/pages/skinned_page.h"
#include "ui/ui_handles.h"

namespace kelvane {

class OptionsPage : public SkinnedPage {
 public:
  explicit OptionsPage(PageContext context);
  ~OptionsPage() override { Destroy(); }

  // Reads every setting shown again.
  void Refresh();
  void ShowExclusionCount();
  void ShowLanguage();
  void ShowSkin();

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
  void OnActivated() override { Refresh(); }

 private:
  enum Card { kBackupCard, kExclusionCard, kLookCard, kCardCount };

  void Layout(int width);
  void Paint();
  void EnableDays(bool enabled);
  // Whether control `id` lies on a card (every control but the title).
  bool OnCard(HWND control) const;

  DaySpin days_;
  ScopedBitmap flag_;
  ScopedFont headingFont_;
  ScopedBrush cardBrush_;
  std::array<RECT, kCardCount> cards_ = {};
};

}  // namespace kelvane

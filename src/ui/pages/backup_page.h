#pragma once
// The backup page (page 3), in two cards: the full backups (one row per
// stamped folder with its date, time and size; make, restore and delete,
// each behind the wait window), and their retention (the switch and the day
// count of "AutoDelFullBackup" / "AutoDelFullBackupDays", written at once)
// with the button that opens the partial backups window. The main window
// presses the start button (1000) for the home page's backup panel.
#include <windows.h>

#include <array>
#include <string>

#include "ui/controls/day_spin.h"
#include "ui/controls/result_list.h"
#include "ui/pages/skinned_page.h"
#include "ui/ui_handles.h"

namespace kelvane {

class BackupPage : public SkinnedPage {
 public:
  explicit BackupPage(PageContext context);
  ~BackupPage() override { Destroy(); }

  // Reads the backup folders and the settings again.
  void Refresh();
  void RefreshList();
  // The buttons' commands, with the questions and messages they bring.
  void MakeBackup();
  void RestoreSelected();
  void DeleteSelected();

  ResultList& list() { return list_; }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
  void OnActivated() override { Refresh(); }

 private:
  enum Card { kListCard, kRetentionCard, kCardCount };

  void Layout(int width, int height);
  void Paint();
  void EnableRowCommands();
  void EnableDays(bool enabled);
  // The folder of the selected row, or "".
  std::string SelectedFolder() const;
  void Tell(const char* key, UINT icon) const;

  ResultList list_;
  DaySpin days_;
  ScopedFont headingFont_;
  ScopedBrush cardBrush_;
  std::array<RECT, kCardCount> cards_ = {};
};

}  // namespace kelvane

#pragma once
// The partial backups window (template 216, title "L0088"): one row per
// partial backup file of the program folder, which it restores, deletes or
// shows in a folder window. A restore runs behind the wait window and
// consumes its file, but only once the file's entries are found in the
// registry again: the file is the only copy of what a fix removed.
#include <windows.h>

#include <string>

#include "repair/registry_editor.h"
#include "ui/controls/result_list.h"
#include "ui/dialog.h"

namespace kelvane {

class PartialBackupsDialog : public Dialog {
 public:
  // `editor` is the registry editor a restore starts.
  explicit PartialBackupsDialog(std::string programFolder,
                                std::string editor = RegistryEditorPath());
  ~PartialBackupsDialog() override { Destroy(); }

  // Lists the files again; without any, one row says so and restore and
  // delete are off.
  void Refresh();
  // The buttons' commands, each asking first.
  void RestoreSelected();
  void DeleteSelected();

  ResultList& list() { return list_; }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

 private:
  // The file of the selected row, or nullptr (no selection, or the row
  // that says there is none).
  const std::string* SelectedFile() const;
  void EnableCommands(bool enabled);
  void Tell(const char* key, UINT icon) const;
  bool Confirm(const char* key) const;
  void SetStatus(const char* key);

  const std::string programFolder_;
  const std::string editor_;
  ResultList list_;
};

// Shows the window modally over `owner`.
void ShowPartialBackups(HWND owner, const std::string& programFolder);

}  // namespace kelvane

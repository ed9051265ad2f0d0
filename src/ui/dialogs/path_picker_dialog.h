#pragma once
// The registry path picker: the user ticks keys in a tree of the whole
// registry or types one path or pattern. After OK, paths() holds the ticked
// keys' full paths in tree order, or the typed text without the blanks
// around it. OK with nothing ticked, or with nothing but blanks typed, says
// so and keeps the dialog open.
#include <string>
#include <vector>

#include "ui/controls/registry_key_tree.h"
#include "ui/dialog.h"

namespace kelvane {

class PathPickerDialog : public Dialog {
 public:
  PathPickerDialog();
  ~PathPickerDialog() override { Destroy(); }

  const std::vector<std::string>& paths() const { return paths_; }
  RegistryKeyTree& tree() { return tree_; }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

 private:
  bool ByTree() const;
  void EnableByChoice();
  void Accept();
  void Tell(const char* key) const;

  RegistryKeyTree tree_;
  std::vector<std::string> paths_;
};

// The picker, owned by `owner`; true when it ended with OK, `paths` then
// holds what was picked.
bool PickRegistryPaths(HWND owner, std::vector<std::string>& paths);

}  // namespace kelvane

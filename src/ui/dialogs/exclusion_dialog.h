#pragma once
// The user's exclusion list of Settings.xml: keys and patterns every scan
// leaves alone. Rows are added through the registry path picker, removed
// one at a time, or replaced by the factory list; nothing is saved before
// OK, and OK stays open with a message while the list cannot be saved.
#include <string>
#include <vector>

#include "ui/controls/result_list.h"
#include "ui/dialog.h"

namespace kelvane {

class ExclusionDialog : public Dialog {
 public:
  // `pick` asks the user for paths to add (the path picker by default);
  // false when nothing is to be added.
  using Picker = bool (*)(HWND owner, std::vector<std::string>& paths);

  explicit ExclusionDialog(std::string configPath, Picker pick = nullptr);
  ~ExclusionDialog() override { Destroy(); }

  // The rows in list order.
  std::vector<std::string> Rows() const;
  void ShowRows(const std::vector<std::string>& rows);
  void AppendRows(const std::vector<std::string>& rows);
  // Removes the selected row and selects the one now in its place; without
  // a selection, says so.
  void RemoveSelected();
  // Saves the rows; false (after telling the user) when they were not saved.
  bool Save();

  ResultList& list() { return list_; }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;

 private:
  void Add();

  const std::string configPath_;
  const Picker pick_;
  ResultList list_;
};

// The dialog, owned by `owner`; true when OK saved the list.
bool EditExclusions(HWND owner, const std::string& configPath);

}  // namespace kelvane

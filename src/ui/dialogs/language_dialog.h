#pragma once
// The language chooser: a drop-down of the files in Language, showing the
// one in "LanguageFile" and the flag of the one selected. OK stores the
// chosen file; the new language is used from the next start on.
#include <string>
#include <vector>

#include "foundation/language_choice.h"
#include "ui/dialog.h"
#include "ui/ui_handles.h"

namespace kelvane {

class LanguageDialog : public Dialog {
 public:
  explicit LanguageDialog(std::string programFolder);
  ~LanguageDialog() override { Destroy(); }

  // After OK: whether "LanguageFile" now names another file than before.
  bool changed() const { return changed_; }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;

 private:
  // The file of the entry selected; "" when none is.
  std::string SelectedFile() const;
  void ShowFlag();
  void StoreSelection();

  const std::string programFolder_;
  std::string previousFile_;
  std::vector<LanguageEntry> entries_;
  bool changed_ = false;
  ScopedBitmap flag_;
};

// The chooser, owned by `owner`; when OK changed the language, a note that
// it takes effect at the next start. True when it ended with OK.
bool ChooseLanguage(HWND owner, const std::string& programFolder);

}  // namespace kelvane

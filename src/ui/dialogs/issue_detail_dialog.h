#pragma once
// The issue detail pop-up (template 214, title "L0065"): the five fields of
// one scan issue, each under its label ("L0069".."L0073"), and the buttons
// "L0068" (open the registry editor at the issue), "L0082" (copy the issue
// to the clipboard) and close. It is modeless and owned by the window that
// shows it; closing only hides it, so it is shown again for the next issue.
//
// Each value wraps and takes as many lines as it needs up to a few; one that
// still does not fit gets a scroll bar, so no text is ever cut off unseen.
#include <windows.h>

#include <functional>
#include <string>

#include "scan/scan_issue.h"
#include "ui/dialog.h"

namespace kelvane {

// "root name\key", "value name", "description" on three lines ("\n").
std::string IssueClipboardText(const ScanIssue& issue);

// Replaces the clipboard's content with `text` as plain text; false when the
// clipboard could not be had.
bool PutTextOnClipboard(HWND owner, const std::string& text);

class IssueDetailDialog : public Dialog {
 public:
  // Opens the registry editor at a key path with a value name.
  using EditorJump = std::function<bool(const std::string& keyPath, const std::string& valueName)>;

  IssueDetailDialog();
  ~IssueDetailDialog() override { Destroy(); }

  // Tests put a jump of their own in place of the real editor.
  void SetEditorJump(EditorJump jump) { jump_ = std::move(jump); }

  // Fills the pop-up with `issue` and shows it with its top left corner at
  // `screenPoint` (kept on the work area), made on first use as a window
  // owned by `owner`. False when the window could not be made.
  bool ShowIssue(HWND owner, const ScanIssue& issue, POINT screenPoint);
  void Hide();
  bool IsShown() const;
  const ScanIssue& issue() const { return issue_; }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;

 private:
  void Fill();
  void FitLabels();

  ScanIssue issue_;
  EditorJump jump_;
  int bottomMargin_ = 0;  // below the buttons, as the template has it
};

}  // namespace kelvane

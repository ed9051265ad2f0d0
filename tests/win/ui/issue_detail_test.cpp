// The issue detail pop-up: the clipboard text, a long key held whole, and
// the registry editor jump after the pop-up is hidden.
#include <gtest/gtest.h>

#include <string>

#include "modal_driver.h"
#include "resource_ids.h"
#include "ui/dialogs/issue_detail_dialog.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

ScanIssue SampleIssue() {
  ScanIssue issue;
  issue.root = kCurrentUser;
  issue.key = "Software\\App\\";
  issue.valueName = "InstallPath";
  issue.description = "Missing file or folder: C:\\App\\app.exe";
  return issue;
}

std::string ClipboardText() {
  std::string text = "(no text)";
  if (!OpenClipboard(nullptr)) return "(clipboard busy)";
  if (const HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const auto* bytes = static_cast<const char*>(GlobalLock(data))) text = bytes;
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

}  // namespace

TEST(IssueDetail, CopiesTheIssueHoldsALongKeyWholeAndJumpsAfterHiding) {
  UseRepositoryLanguage();
  ASSERT_TRUE(PutTextOnClipboard(nullptr, "something else"));
  IssueDetailDialog detail;
  std::string jumpedTo;
  bool shownDuringJump = true;
  detail.SetEditorJump([&](const std::string& path, const std::string& value) {
    jumpedTo = path + "|" + value;
    shownDuringJump = detail.IsShown();
    return true;
  });
  ASSERT_TRUE(detail.ShowIssue(nullptr, SampleIssue(), POINT{40, 40}));
  SendMessageA(detail.window(), WM_COMMAND, IDC_DETAIL_COPY, 0);
  EXPECT_EQ(ClipboardText(),
            "HKEY_CURRENT_USER\\Software\\App\\\nInstallPath\n"
            "Missing file or folder: C:\\App\\app.exe");
  EXPECT_FALSE(detail.IsShown()) << "copy hides the pop-up";

  ScanIssue issue = SampleIssue();
  for (int i = 0; i < 30; ++i) issue.key += "Level" + std::to_string(i) + "WithALongName\\";
  ASSERT_TRUE(detail.ShowIssue(nullptr, issue, POINT{40, 40}));
  const HWND key = GetDlgItem(detail.window(), IDC_DETAIL_KEY);
  EXPECT_EQ(WindowTextOf(key), issue.key) << "a key longer than its field is held whole";
  EXPECT_TRUE(GetWindowLongPtrA(key, GWL_STYLE) & WS_VSCROLL) << "and can be scrolled to";
  SendMessageA(detail.window(), WM_COMMAND, IDC_DETAIL_REGEDIT, 0);
  EXPECT_EQ(jumpedTo,
            "HKEY_CURRENT_USER\\" + issue.key.substr(0, issue.key.size() - 1) + "|InstallPath")
      << "no trailing backslash on the key";
  EXPECT_FALSE(shownDuringJump) << "the pop-up was hidden first";
}

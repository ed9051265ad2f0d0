// The issue detail pop-up: its translated captions and the issue's fields,
// long values that wrap and scroll rather than vanish, the clipboard text,
// the registry editor jump with the issue's key and value, hiding, and a
// screenshot.
#include <gtest/gtest.h>

#include <string>

#include "modal_driver.h"
#include "resource_ids.h"
#include "ui/dialogs/issue_detail_dialog.h"
#include "ui_test_support.h"
#include "window_screenshot.h"

using namespace kelvane;

namespace {

ScanIssue SampleIssue() {
  ScanIssue issue;
  issue.root = kCurrentUser;
  issue.key = "Software\\App";
  issue.valueName = "InstallPath";
  issue.data = "C:\\Program Files\\App\\app.exe";
  issue.description = "Missing file or folder: C:\\Program Files\\App\\app.exe";
  return issue;
}

std::string ClipboardText() {
  if (!OpenClipboard(nullptr)) return "(clipboard busy)";
  std::string text = "(no text)";
  if (const HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const auto* bytes = static_cast<const char*>(GlobalLock(data))) {
      text = bytes;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

bool HasScrollBar(HWND field) { return (GetWindowLongPtrA(field, GWL_STYLE) & WS_VSCROLL) != 0; }

}  // namespace

TEST(IssueDetail, ShowsTheIssuesFieldsUnderTranslatedLabelsWhereItWasAskedFor) {
  UseRepositoryLanguage();
  IssueDetailDialog detail;
  ASSERT_TRUE(detail.ShowIssue(nullptr, SampleIssue(), POINT{120, 90})) << "the pop-up is made";
  const HWND window = detail.window();
  EXPECT_TRUE(detail.IsShown()) << "and shown";
  EXPECT_EQ(WindowTextOf(window), "Problem Details") << "its title";
  EXPECT_EQ(WindowTextOf(GetDlgItem(window, IDC_DETAIL_ROOT_LABEL)), "Root key:") << "a label";
  EXPECT_EQ(WindowTextOf(GetDlgItem(window, IDC_DETAIL_PROBLEM_LABEL)), "Problem:")
      << "the last label";
  EXPECT_EQ(WindowTextOf(GetDlgItem(window, IDC_DETAIL_REGEDIT)), "Open in Registry Editor")
      << "the jump button";
  EXPECT_EQ(WindowTextOf(GetDlgItem(window, IDC_DETAIL_COPY)), "Copy to Clipboard")
      << "the copy button";
  EXPECT_EQ(WindowTextOf(GetDlgItem(window, IDCANCEL)), "Close") << "the close button";
  EXPECT_EQ(WindowTextOf(GetDlgItem(window, IDC_DETAIL_ROOT)), "HKEY_CURRENT_USER") << "root";
  EXPECT_EQ(WindowTextOf(GetDlgItem(window, IDC_DETAIL_KEY)), "Software\\App") << "key";
  EXPECT_EQ(WindowTextOf(GetDlgItem(window, IDC_DETAIL_VALUE)), "InstallPath") << "value name";
  EXPECT_EQ(WindowTextOf(GetDlgItem(window, IDC_DETAIL_DATA)), "C:\\Program Files\\App\\app.exe")
      << "value data";
  EXPECT_EQ(WindowTextOf(GetDlgItem(window, IDC_DETAIL_PROBLEM)), SampleIssue().description)
      << "the problem";
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, 120) << "its left edge at the click";
  EXPECT_EQ(rect.top, 90) << "its top edge at the click";
  EXPECT_FALSE(HasScrollBar(GetDlgItem(window, IDC_DETAIL_KEY)))
      << "a short key needs no scrolling";

  SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
  EXPECT_FALSE(detail.IsShown()) << "close hides it";
  EXPECT_TRUE(IsWindow(window)) << "without destroying it";
  ScanIssue other = SampleIssue();
  other.valueName = "";
  ASSERT_TRUE(detail.ShowIssue(nullptr, other, POINT{10, 10})) << "shown again";
  EXPECT_EQ(detail.window(), window) << "the same window";
  EXPECT_EQ(WindowTextOf(GetDlgItem(window, IDC_DETAIL_VALUE)), "") << "with the new issue";
}

TEST(IssueDetail, LongValuesWrapAndScrollButAreNeverCut) {
  GdiplusScope gdiplus;
  UseRepositoryLanguage();
  ScanIssue issue = SampleIssue();
  issue.key = "Software\\Classes\\CLSID\\{01234567-89AB-CDEF-0123-456789ABCDEF}\\InprocServer32";
  std::string deep = "Software";
  for (int i = 0; i < 30; ++i) deep += "\\Level" + std::to_string(i) + "WithALongName";
  IssueDetailDialog detail;
  ASSERT_TRUE(detail.ShowIssue(nullptr, issue, POINT{60, 60}));
  const HWND key = GetDlgItem(detail.window(), IDC_DETAIL_KEY);
  EXPECT_GT(SendMessageA(key, EM_GETLINECOUNT, 0, 0), 1) << "a long key wraps";
  EXPECT_FALSE(HasScrollBar(key)) << "and fits in the field's lines";
  EXPECT_TRUE(SaveScreenshot(detail.window(), ShotPath("issue_detail.png")))
      << "the screenshot was written";

  issue.key = deep;
  ASSERT_TRUE(detail.ShowIssue(nullptr, issue, POINT{60, 60}));
  EXPECT_EQ(WindowTextOf(key), deep) << "a key longer than the field is held whole";
  EXPECT_TRUE(HasScrollBar(key)) << "and can be scrolled to";
  EXPECT_TRUE(SaveScreenshot(detail.window(), ShotPath("issue_detail_long.png")))
      << "the screenshot of a long key was written";
}

TEST(IssueDetail, CopyPutsTheIssueOnTheClipboardAsPlainTextAndHides) {
  UseRepositoryLanguage();
  ASSERT_TRUE(PutTextOnClipboard(nullptr, "something else")) << "the clipboard holds other text";
  IssueDetailDialog detail;
  ASSERT_TRUE(detail.ShowIssue(nullptr, SampleIssue(), POINT{40, 40}));
  SendMessageA(detail.window(), WM_COMMAND, IDC_DETAIL_COPY, 0);
  EXPECT_EQ(ClipboardText(),
            "HKEY_CURRENT_USER\\Software\\App\nInstallPath\n"
            "Missing file or folder: C:\\Program Files\\App\\app.exe")
      << "root\\key, value name and problem, one a line, replacing what was there";
  EXPECT_FALSE(detail.IsShown()) << "then the pop-up hides";
  EXPECT_EQ(IssueClipboardText(ScanIssue{}), "\\\n\n") << "an empty issue gives the bare frame";
}

TEST(IssueDetail, TheJumpGetsTheIssuesKeyPathAndValueAfterThePopUpIsHidden) {
  UseRepositoryLanguage();
  IssueDetailDialog detail;
  std::string keyPath;
  std::string valueName;
  bool shownDuringJump = true;
  detail.SetEditorJump([&](const std::string& path, const std::string& value) {
    keyPath = path;
    valueName = value;
    shownDuringJump = detail.IsShown();
    return true;
  });
  ScanIssue issue = SampleIssue();
  issue.key = "Software\\App\\";
  ASSERT_TRUE(detail.ShowIssue(nullptr, issue, POINT{40, 40}));
  SendMessageA(detail.window(), WM_COMMAND, IDC_DETAIL_REGEDIT, 0);
  EXPECT_EQ(keyPath, "HKEY_CURRENT_USER\\Software\\App")
      << "root\\key without the trailing backslash";
  EXPECT_EQ(valueName, "InstallPath") << "the value name";
  EXPECT_FALSE(shownDuringJump) << "the pop-up was hidden first";
}

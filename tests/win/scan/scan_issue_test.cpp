#include "scan/scan_issue.h"

#include "scan/registry_walker.h"
#include "support/checker_harness.h"

namespace {

ScanIssue Value(const std::string& name) {
  return MakeIssue(kCurrentUser, "Software\\Demo", name, "data", IssueCategory::kHistoryList, "arg",
                   REG_SZ);
}

ScanIssue Key(RootKey root, const std::string& key, const std::string& valueName = "") {
  return MakeIssue(root, key, valueName, "", IssueCategory::kMenuOrder, "x", kWholeKeyType);
}

using ScanMessages = CheckerHarness;

TEST_F(ScanMessages, CannotRemoveEntriesMatchWholePathsIgnoringCase) {
  SetCannotRemoveList({"hkey_current_user\\SOFTWARE\\demo\\NAME",
                       "HKEY_LOCAL_MACHINE\\Software\\Empty",
                       "HKEY_CURRENT_USER\\Software\\Demo\\"});
  const struct {
    ScanIssue issue;
    bool known;
  } cases[] = {
      {Value("Name"), true},
      {Value(""), true},  // the default value: path ends in a backslash
      {Key(kLocalMachine, "Software\\Empty"), true},
      {Value("Nam"), false},
      {Key(kLocalMachine, "Software\\Empty\\Sub"), false},
      {Key(kLocalMachine, "Software"), false},
      {Key(kCurrentUser, "Software\\Demo", "Name"), false},  // a key's path has no value name
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsKnownUnremovable(c.issue), c.known) << DescribeIssue(c.issue);
  // Known entries are dropped; the others, duplicates too, collected and announced.
  for (const char* name : {"Kept", "NAME", "Kept"}) AddIssue(context, Value(name));
  EXPECT_EQ(DescribeIssues(context.issues), DescribeIssues({Value("Kept"), Value("Kept")}));
  ExpectAnnounced();
}

TEST_F(ScanMessages, ARealWindowGetsEachMessageAndNullOrDestroyedOnesNothing) {
  ReportCurrentKey(context, "Software\\Key", false);
  ReportProgressPercent(context, 42);
  AddIssue(context, Value("A"));
  EXPECT_EQ(recorder.currentKeys, std::vector<std::string>{"Software\\Key"});
  EXPECT_EQ(recorder.progress, std::vector<int>{42});
  EXPECT_EQ(recorder.wParams.size(), 3u);
  ExpectAnnounced();  // the issue itself, every wParam 0

  HWND destroyed =
      CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_TRUE(DestroyWindow(destroyed));
  for (HWND window : {HWND(nullptr), destroyed}) {
    ScanContext other;
    other.hwndCurrentKey = other.hwndIssues = other.hwndProgress = window;
    ReportCurrentKey(other, "x", false);
    ReportProgressPercent(other, 50);
    AddIssue(other, Value("B"));
    EXPECT_EQ(other.issues.size(), 1u);  // collected all the same
  }
}

}  // namespace

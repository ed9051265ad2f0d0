#include "scan/scan_issue.h"

#include <gtest/gtest.h>

#include "support/scan_recorder.h"
#include "support/test_paths.h"

namespace {

ScanIssue ValueIssue(const std::string& key, const std::string& name) {
  return MakeIssue(kCurrentUser, key, name, "data", IssueCategory::kHistoryList, "arg", REG_SZ);
}

ScanIssue KeyIssue(const std::string& key) {
  return MakeIssue(kLocalMachine, key, "", "", IssueCategory::kEmptySoftwareKey, "Empty",
                   kWholeKeyType);
}

class ScanIssues : public ::testing::Test {
 protected:
  void SetUp() override { UseRepositoryLanguage(); }
  void TearDown() override { SetCannotRemoveList({}); }
};

}  // namespace

TEST_F(ScanIssues, MakeIssueFormatsTheCategoryText) {
  const ScanIssue issue = KeyIssue("Software\\Empty");
  EXPECT_EQ(issue.root, kLocalMachine);
  EXPECT_EQ(issue.key, "Software\\Empty");
  EXPECT_EQ(issue.type, kWholeKeyType);
  EXPECT_NE(issue.description.find("Empty"), std::string::npos) << issue.description;
  EXPECT_EQ(issue.description.find("%"), std::string::npos) << issue.description;
}

TEST_F(ScanIssues, FullPathsOfKeyAndValueIssues) {
  EXPECT_EQ(IssueFullPath(KeyIssue("Software\\Empty")), "HKEY_LOCAL_MACHINE\\Software\\Empty");
  EXPECT_EQ(IssueFullPath(ValueIssue("Software\\Demo", "Name")),
            "HKEY_CURRENT_USER\\Software\\Demo\\Name");
  // The default value leaves a trailing backslash.
  EXPECT_EQ(IssueFullPath(ValueIssue("Software\\Demo", "")), "HKEY_CURRENT_USER\\Software\\Demo\\");
}

TEST_F(ScanIssues, CannotRemoveEntriesMatchWholePathsIgnoringCase) {
  SetCannotRemoveList({"hkey_current_user\\SOFTWARE\\demo\\NAME", "HKEY_LOCAL_MACHINE\\Software\\Empty",
                       "HKEY_CURRENT_USER\\Software\\Demo\\"});
  EXPECT_TRUE(IsKnownUnremovable(ValueIssue("Software\\Demo", "Name")));
  EXPECT_TRUE(IsKnownUnremovable(ValueIssue("Software\\Demo", "")));
  EXPECT_TRUE(IsKnownUnremovable(KeyIssue("Software\\Empty")));
  EXPECT_FALSE(IsKnownUnremovable(ValueIssue("Software\\Demo", "Nam")));
  EXPECT_FALSE(IsKnownUnremovable(KeyIssue("Software\\Empty\\Sub")));
  EXPECT_FALSE(IsKnownUnremovable(KeyIssue("Software")));
  // A key issue is compared without a value name.
  EXPECT_FALSE(IsKnownUnremovable(MakeIssue(kCurrentUser, "Software\\Demo", "Name", "",
                                            IssueCategory::kMenuOrder, "x", kWholeKeyType)));
  SetCannotRemoveList({});
  EXPECT_FALSE(IsKnownUnremovable(ValueIssue("Software\\Demo", "Name")));
}

TEST_F(ScanIssues, AddIssueCollectsAnnouncesOrDrops) {
  ScanRecorder recorder;
  ScanContext context;
  recorder.Attach(context);
  SetCannotRemoveList({"HKEY_CURRENT_USER\\Software\\Demo\\Dropped"});

  AddIssue(context, ValueIssue("Software\\Demo", "Kept"));
  AddIssue(context, ValueIssue("Software\\Demo", "Dropped"));
  AddIssue(context, ValueIssue("Software\\Demo", "Kept"));  // duplicates stay

  ASSERT_EQ(context.issues.size(), 2u);
  ASSERT_EQ(recorder.issues.size(), 2u);
  EXPECT_EQ(recorder.issues[0].valueName, "Kept");
  EXPECT_EQ(recorder.issues[0].description, context.issues[0].description);
  EXPECT_EQ(recorder.wParams, (std::vector<WPARAM>{0, 0}));

  ScanContext unattended;  // null handles: collected, nothing sent
  AddIssue(unattended, ValueIssue("Software\\Demo", "Kept"));
  EXPECT_EQ(unattended.issues.size(), 1u);
  EXPECT_EQ(recorder.issues.size(), 2u);
}

TEST_F(ScanIssues, ContinueAnswerFollowsTheStopFlag) {
  ScanContext context;
  EXPECT_EQ(ContinueAnswer(context), 1);
  volatile LONG stop = 0;
  context.cancelFlag = &stop;
  EXPECT_EQ(ContinueAnswer(context), 1);
  stop = 7;
  EXPECT_EQ(ContinueAnswer(context), 0);
}

#pragma once
// What a checker test needs: the sandboxed registry, a scratch folder on C:, the English texts,
// and a scan context whose messages go to a recorder window. The cannot-remove list is emptied
// before and after each test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/cannot_remove_list.h"
#include "scan/scan_issue.h"
#include "support/registry_sandbox.h"
#include "support/scan_recorder.h"
#include "support/scratch_folder.h"
#include "support/test_paths.h"

namespace kelvane {

// Every field on one line, so that a mismatch shows which one differs.
inline std::string DescribeIssue(const ScanIssue& issue) {
  return RootKeyName(issue.root) + " | key=" + issue.key + " | value=" + issue.valueName +
         " | data=" + issue.data + " | " + issue.description +
         " | type=" + std::to_string(issue.type) + (issue.wholeKey ? " | whole key" : "");
}

inline std::vector<std::string> DescribeIssues(const std::vector<ScanIssue>& issues) {
  std::vector<std::string> texts;
  for (const ScanIssue& issue : issues) texts.push_back(DescribeIssue(issue));
  return texts;
}

class CheckerHarness : public ::testing::Test {
 protected:
  CheckerHarness() {
    UseRepositoryLanguage();
    SetCannotRemoveList({});
    recorder.Attach(context);
    context.cancelFlag = &cancel;
  }
  ~CheckerHarness() override { SetCannotRemoveList({}); }

  // Every issue collected was announced, in the same order, with wParam 0.
  void ExpectAnnounced() const {
    EXPECT_EQ(DescribeIssues(recorder.issues), DescribeIssues(context.issues));
    for (WPARAM wParam : recorder.wParams) EXPECT_EQ(wParam, 0u);
  }

  RegistrySandbox sandbox;
  ScratchFolder folder;
  ScanRecorder recorder;
  ScanContext context;
  volatile LONG cancel = 0;  // context.cancelFlag points here
};

}  // namespace kelvane

#include "support/checker_harness.h"

#include <cstdio>

#include "support/test_paths.h"

CheckerHarness::CheckerHarness() {
  UseRepositoryLanguage();
  SetCannotRemoveList({});
  recorder.Attach(context);
  context.cancelFlag = &cancel;
}

CheckerHarness::~CheckerHarness() { SetCannotRemoveList({}); }

void CheckerHarness::ExpectAnnounced() const {
  EXPECT_EQ(DescribeIssues(recorder.issues), DescribeIssues(context.issues));
  for (WPARAM wParam : recorder.wParams) EXPECT_EQ(wParam, 0u);
}

ScanIssue ExpectedIssue(RootKey root, const std::string& key, const std::string& valueName,
                        const std::string& data, const std::string& description,
                        std::uint32_t type) {
  ScanIssue issue;
  issue.root = root;
  issue.key = key;
  issue.valueName = valueName;
  issue.data = data;
  issue.description = description;
  issue.type = type;
  return issue;
}

std::string DescribeIssue(const ScanIssue& issue) {
  char type[16];
  std::snprintf(type, sizeof type, "%#x", static_cast<unsigned>(issue.type));
  return RootKeyName(issue.root) + " | key=" + issue.key + " | value=" + issue.valueName +
         " | data=" + issue.data + " | " + issue.description + " | type=" + type;
}

std::vector<std::string> DescribeIssues(const std::vector<ScanIssue>& issues) {
  std::vector<std::string> texts;
  for (const ScanIssue& issue : issues) texts.push_back(DescribeIssue(issue));
  return texts;
}

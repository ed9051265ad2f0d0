#pragma once
// What a checker test needs: the sandboxed registry, a scratch folder on C:,
// the English texts, and a scan context whose messages go to a recorder
// window. The cannot-remove list is emptied before and after each test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/scan_issue.h"
#include "support/registry_sandbox.h"
#include "support/scan_recorder.h"
#include "support/scratch_folder.h"

class CheckerHarness : public ::testing::Test {
 protected:
  CheckerHarness();
  ~CheckerHarness() override;

  // Every issue collected was announced, in the same order, with wParam 0.
  void ExpectAnnounced() const;

  RegistrySandbox sandbox;
  ScratchFolder folder;
  ScanRecorder recorder;
  ScanContext context;
  volatile LONG cancel = 0;  // context.cancelFlag points here
};

// A record built from literal fields, for comparison with DescribeIssue.
ScanIssue ExpectedIssue(RootKey root, const std::string& key, const std::string& valueName,
                        const std::string& data, const std::string& description,
                        std::uint32_t type);

// All six fields on one line, so that a mismatch shows which one differs.
std::string DescribeIssue(const ScanIssue& issue);
std::vector<std::string> DescribeIssues(const std::vector<ScanIssue>& issues);

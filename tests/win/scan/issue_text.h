#pragma once
// Issue records as one comparable line each (see DescribeIssue).
#include <string>
#include <vector>

#include "support/checker_harness.h"

inline std::string IssueText(const ScanIssue& issue) { return DescribeIssue(issue); }

inline std::vector<std::string> IssueTexts(const std::vector<ScanIssue>& issues) {
  return DescribeIssues(issues);
}

// The expected line of an issue built from its parts.
inline std::string ExpectedIssueText(RootKey root, const std::string& key,
                                     const std::string& valueName, const std::string& data,
                                     const std::string& description, std::uint32_t type) {
  return DescribeIssue(ExpectedIssue(root, key, valueName, data, description, type));
}

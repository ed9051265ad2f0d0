#pragma once
// Issue records as one comparable line each (see DescribeIssue).
#include <algorithm>
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

// Sorted copies, for results whose order the registry's enumeration decides.
inline std::vector<std::string> Sorted(std::vector<std::string> texts) {
  std::sort(texts.begin(), texts.end());
  return texts;
}

inline std::vector<std::string> SortedIssueTexts(const std::vector<ScanIssue>& issues) {
  return Sorted(IssueTexts(issues));
}

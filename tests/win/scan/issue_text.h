#pragma once
// One line per issue, every field in order, so that a test compares whole
// records and a failure shows what differs.
#include <cstdio>
#include <string>
#include <vector>

#include "foundation/registry_path.h"
#include "scan/scan_issue.h"

inline std::string IssueText(const ScanIssue& issue) {
  char type[16];
  std::snprintf(type, sizeof type, "%#x", static_cast<unsigned>(issue.type));
  return RootKeyName(issue.root) + " | " + issue.key + " | " + issue.valueName + " | " +
         issue.data + " | " + issue.description + " | " + type;
}

inline std::vector<std::string> IssueTexts(const std::vector<ScanIssue>& issues) {
  std::vector<std::string> texts;
  for (const ScanIssue& issue : issues) texts.push_back(IssueText(issue));
  return texts;
}

// The expected line of an issue built from its parts.
inline std::string ExpectedIssue(RootKey root, const std::string& key, const std::string& valueName,
                                 const std::string& data, const std::string& description,
                                 std::uint32_t type) {
  ScanIssue issue;
  issue.root = root;
  issue.key = key;
  issue.valueName = valueName;
  issue.data = data;
  issue.description = description;
  issue.type = type;
  return IssueText(issue);
}

#include "scan/scan_issue.h"

#include "foundation/case_map.h"
#include "foundation/language_table.h"
#include "foundation/printf_format.h"
#include "foundation/wildcard.h"
#include "scan/cannot_remove_list.h"

namespace kelvane {

int ContinueAnswer(const ScanContext& context) {
  return context.cancelFlag != nullptr && *context.cancelFlag != 0 ? 0 : 1;
}

ScanIssue MakeIssue(RootKey root, const std::string& key, const std::string& valueName,
                    const std::string& data, const char* category, const std::string& argument,
                    std::uint32_t type) {
  ScanIssue issue;
  issue.root = root;
  issue.key = key;
  issue.valueName = valueName;
  issue.data = data;
  // The text comes from a language file: a format that would read more than
  // the one string passed is shown as it stands, followed by the argument.
  const std::string format = LanguageText(category);
  issue.description = TakesOnlyStrings(format, 1) ? FormatLanguageText(category, argument.c_str())
                                                  : format + " " + argument;
  issue.type = type;
  issue.category = category;
  return issue;
}

ScanIssue MakeKeyIssue(RootKey root, const std::string& key, const std::string& data,
                       const char* category, const std::string& argument) {
  ScanIssue issue = MakeIssue(root, key, "", data, category, argument, kWholeKeyType);
  issue.wholeKey = true;
  return issue;
}

std::string IssueFullPath(const ScanIssue& issue) {
  std::string path = RootKeyName(issue.root) + "\\" + issue.key;
  if (!issue.wholeKey) path += "\\" + issue.valueName;
  return path;
}

void SendToWindow(HWND window, UINT message, LPARAM lParam) {
  if (window != nullptr && IsWindow(window)) SendMessageA(window, message, 0, lParam);
}

bool IsExcludedIssue(const ScanContext& context, const ScanIssue& issue) {
  if (context.exclusions.empty()) return false;
  const std::string path = ToLowerText(FullRegistryPath(issue.root, issue.key));
  for (const std::string& item : context.exclusions)
    if (path.find(item) != std::string::npos || WildcardMatch(item, path)) return true;
  return false;
}

void AddIssue(ScanContext& context, const ScanIssue& issue) {
  if (IsExcludedIssue(context, issue) || IsKnownUnremovable(issue)) return;
  context.issues.push_back(issue);
  SendToWindow(context.hwndIssues, WM_SCAN_ISSUE, reinterpret_cast<LPARAM>(&issue));
}

}  // namespace kelvane

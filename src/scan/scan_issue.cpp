#include "scan/scan_issue.h"

#include <unordered_set>

#include "foundation/case_map.h"
#include "foundation/language_table.h"
#include "foundation/printf_format.h"

namespace {

struct CannotRemoveState {
  std::vector<std::string> paths;            // as read, in file order
  std::unordered_set<std::string> lowered;   // for the whole-path comparison
};

CannotRemoveState& State() {
  static CannotRemoveState state;
  return state;
}

}  // namespace

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
  const std::string format = Text(category);
  issue.description = TakesOnlyStrings(format, 1) ? FormatText(category, argument.c_str())
                                                  : format + " " + argument;
  issue.type = type;
  return issue;
}

std::string IssueFullPath(const ScanIssue& issue) {
  std::string path = RootKeyName(issue.root) + "\\" + issue.key;
  if (issue.type != kWholeKeyType) path += "\\" + issue.valueName;
  return path;
}

void SetCannotRemoveList(const std::vector<std::string>& paths) {
  CannotRemoveState& state = State();
  state.paths = paths;
  state.lowered.clear();
  for (const std::string& path : paths) state.lowered.insert(ToLowerText(path));
}

const std::vector<std::string>& CannotRemoveList() { return State().paths; }

bool IsKnownUnremovable(const ScanIssue& issue) {
  const CannotRemoveState& state = State();
  if (state.lowered.empty()) return false;
  return state.lowered.count(ToLowerText(IssueFullPath(issue))) != 0;
}

void SendToWindow(HWND window, UINT message, LPARAM lParam) {
  if (window != nullptr && IsWindow(window)) SendMessageA(window, message, 0, lParam);
}

void AddIssue(ScanContext& context, const ScanIssue& issue) {
  if (IsKnownUnremovable(issue)) return;
  context.issues.push_back(issue);
  SendToWindow(context.hwndIssues, WM_SCAN_ISSUE, reinterpret_cast<LPARAM>(&issue));
}

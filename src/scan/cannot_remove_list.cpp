#include "scan/cannot_remove_list.h"

#include <cstdio>
#include <unordered_set>
#include <vector>

#include "foundation/case_map.h"
#include "foundation/scoped_handle.h"

namespace kelvane {

namespace {

struct CannotRemoveState {
  std::vector<std::string> paths;           // as read, in file order
  std::unordered_set<std::string> lowered;  // for the whole-path comparison
};

CannotRemoveState& State() {
  static CannotRemoveState state;
  return state;
}

}  // namespace

std::string CannotRemoveListPath(const std::string& programFolder) {
  return programFolder + "\\tmp_rccantremove.lst";
}

void RecordCannotRemove(const std::string& programFolder, const std::string& path) {
  ScopedStdioFile file(std::fopen(CannotRemoveListPath(programFolder).c_str(), "a"));
  if (!file.IsValid()) return;
  std::fputs(CannotRemoveLineOf(path).c_str(), file.Get());
  std::fputs("\n", file.Get());
}

void LoadCannotRemoveList(const std::string& programFolder) {
  std::vector<std::string> paths;
  ScopedStdioFile file(std::fopen(CannotRemoveListPath(programFolder).c_str(), "r"));
  if (file.IsValid()) {
    char line[2500];
    while (std::fgets(line, sizeof line, file.Get()) != nullptr) {
      std::string text = line;
      const std::size_t first = text.find_first_not_of(" \r\n");
      if (first == std::string::npos) continue;
      const std::size_t last = text.find_last_not_of(" \r\n");
      paths.push_back(text.substr(first, last - first + 1));
    }
  }
  SetCannotRemoveList(paths);
}

std::string CannotRemoveLineOf(const std::string& path) {
  std::string line = path;
  for (char& c : line) {
    if (c == '\r') c = '\x1d';
    if (c == '\n') c = '\x1c';
  }
  return line;
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
  return state.lowered.count(ToLowerText(CannotRemoveLineOf(IssueFullPath(issue)))) != 0;
}

}  // namespace kelvane

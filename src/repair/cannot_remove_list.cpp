#include "repair/cannot_remove_list.h"

#include <cstdio>
#include <vector>

#include "foundation/scoped_handle.h"

#include "scan/scan_issue.h"

namespace kelvane {

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

}  // namespace kelvane

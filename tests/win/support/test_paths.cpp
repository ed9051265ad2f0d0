#include "support/test_paths.h"

#include <algorithm>

#include "foundation/language_table.h"

namespace kelvane {

std::string SourcePath(const std::string& relative) {
  return KELVANE_SOURCE_DIR_WIN "\\" + relative;
}

std::string KelvaneExePath() {
  std::string path = "Z:" KELVANE_EXE_PATH;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

void UseRepositoryLanguage() {
  const std::string english = SourcePath("package\\Language\\English.txt");
  ProcessLanguageTable().Open(english, english);
}

}  // namespace kelvane

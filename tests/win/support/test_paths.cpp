#include "support/test_paths.h"

#include "foundation/language_table.h"

std::string SourcePath(const std::string& relative) {
  std::string path = std::string(KELVANE_SOURCE_DIR_WIN) + "\\" + relative;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

void UseRepositoryLanguage() {
  const std::string english = SourcePath("package\\Language\\English.txt");
  Language().Open(english, english);
}

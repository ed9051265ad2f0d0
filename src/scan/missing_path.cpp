#include "scan/missing_path.h"

#include "foundation/file_checks.h"

bool FindMissingPath(const std::string& text, std::string& path) {
  if (!ExtractFilePath(text, path)) return false;
  if (path.find('%') != std::string::npos) {
    path.clear();
    return false;
  }
  return !PathExists(path);
}

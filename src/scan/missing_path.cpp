#include "scan/missing_path.h"

#include "foundation/case_map.h"
#include "foundation/file_checks.h"

bool FindMissingPath(const std::string& text, std::string& path) {
  // The drive answer may be a second old here; a path judged missing is
  // confirmed below with the drive asked afresh, so a drive that went away
  // meanwhile never makes its paths look missing.
  if (!ExtractFilePathWith(text, path, IsRecentlyFixedDriveLetter)) return false;
  if (path.find('%') != std::string::npos || QuickPathExists(path) || PathExists(path) ||
      !IsFixedDriveLetter(ToUpperText(path.substr(0, 1))[0])) {
    path.clear();
    return false;
  }
  return true;
}

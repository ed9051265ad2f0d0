#include "scan/missing_path.h"

#include "foundation/file_checks.h"

bool FindMissingPath(const std::string& text, std::string& path) {
  // The drive answer may be a second old here; a path judged missing is
  // confirmed below by its drive's root being there now, so a drive that
  // went away meanwhile never makes its paths look missing.
  if (!ExtractFilePathWith(text, path, IsRecentlyFixedDriveLetter)) return false;
  if (path.find('%') != std::string::npos || FastPathExists(path) ||
      !QuickPathExists(path.substr(0, 3))) {
    path.clear();
    return false;
  }
  return true;
}

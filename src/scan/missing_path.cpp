#include "scan/missing_path.h"

#include "foundation/file_checks.h"

#include <windows.h>

#include "foundation/ansi_text.h"

namespace kelvane {

namespace {

// The ANSI file functions look no further than MAX_PATH characters.
constexpr std::size_t kLongestAnsiPath = MAX_PATH - 1;

// A long path in the form the wide functions take literally: only a plain
// absolute path ("C:\dir\file") means the same there, so one with "." or
// ".." parts, doubled separators or names ending in a dot or blank (which
// the system would trim) is not looked up at all.
bool LongPathIsMissing(const std::string& path) {
  std::wstring wide = AnsiToWide(path);
  while (wide.size() > 3 && wide.back() == L'\\') wide.pop_back();
  if (wide.find(L'/') != std::wstring::npos || wide.find(L"\\\\") != std::wstring::npos)
    return false;
  for (std::size_t start = 3; start < wide.size();) {
    std::size_t end = wide.find(L'\\', start);
    if (end == std::wstring::npos) end = wide.size();
    const std::wstring name = wide.substr(start, end - start);
    if (name.empty() || name == L"." || name == L".." || name.back() == L'.' || name.back() == L' ')
      return false;
    start = end + 1;
  }
  if (GetFileAttributesW((L"\\\\?\\" + wide).c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool IsLookedUpMissing(const std::string& path) {
  if (path.size() > kLongestAnsiPath) return LongPathIsMissing(path);
  return !FastPathExists(path);
}

}  // namespace

bool FindMissingPath(const std::string& text, std::string& path) {
  // The drive answer may be a second old here; a path judged missing is
  // confirmed below by its drive's root being there now, so a drive that
  // went away meanwhile never makes its paths look missing. A '?' stands for
  // a character the code page could not hold (or is a wildcard): the real
  // name cannot be looked up through this text. A path too long for the
  // ANSI file functions is looked up through the wide ones.
  if (!ExtractFilePathWith(text, path, IsRecentlyFixedDriveLetter)) return false;
  if (path.find_first_of("%?*") != std::string::npos || !IsLookedUpMissing(path) ||
      !QuickPathExists(path.substr(0, 3))) {
    path.clear();
    return false;
  }
  return true;
}

}  // namespace kelvane

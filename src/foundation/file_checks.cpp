#include "foundation/file_checks.h"

#include <vector>

#include "foundation/ansi_chars.h"
#include "foundation/case_map.h"
#include "foundation/find_handle.h"
#include "foundation/wildcard.h"

namespace kelvane {

bool ExtractFilePath(const std::string& text, std::string& path) {
  return ExtractFilePathWith(text, path, IsFixedDriveLetter);
}

bool FileExists(const std::string& path) {
  FindHandle find(path);
  return find.IsOpen() && (find.data().dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::string& path) {
  FindHandle find(WithoutTrailingBackslashes(path) + "\\*");
  return find.IsOpen();
}

bool PathExists(const std::string& path) { return FileExists(path) || FolderExists(path); }

std::string GetFixedDriveLetters() {
  char roots[500] = {};
  GetLogicalDriveStringsA(sizeof roots - 1, roots);
  std::string letters;
  for (const char* root = roots; *root != 0 && root < roots + sizeof roots;
       root += lstrlenA(root) + 1) {
    if (GetDriveTypeA(root) == DRIVE_FIXED) letters += ToUpperText(std::string(1, root[0]));
  }
  return letters;
}

bool IsFixedDriveLetter(char upperLetter) {
  // Same answer as a look-up in GetFixedDriveLetters(), with one system call
  // instead of one per drive: a drive that does not exist has no root.
  const char root[4] = {upperLetter, ':', '\\', 0};
  return GetDriveTypeA(root) == DRIVE_FIXED;
}

bool IsRecentlyFixedDriveLetter(char upperLetter) {
  constexpr DWORD kLifetime = 1000;  // ms
  struct Remembered {
    DWORD time = 0;
    bool known = false;
    bool fixed = false;
  };
  thread_local Remembered drives[26];
  if (upperLetter < 'A' || upperLetter > 'Z') return IsFixedDriveLetter(upperLetter);
  Remembered& drive = drives[upperLetter - 'A'];
  const DWORD now = GetTickCount();
  if (!drive.known || now - drive.time > kLifetime) {
    drive.fixed = IsFixedDriveLetter(upperLetter);
    drive.time = now;
    drive.known = true;
  }
  return drive.fixed;
}

bool QuickPathExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool FastPathExists(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  const DWORD error = GetLastError();
  const bool conclusive = (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) &&
                          path.find_first_of("?*<>\"") == std::string::npos;
  return conclusive ? false : PathExists(path);
}

std::uint64_t GetFileSize64(const std::string& path) {
  FindHandle find(path);
  if (!find.IsOpen()) return 0;
  return (static_cast<std::uint64_t>(find.data().nFileSizeHigh) << 32) | find.data().nFileSizeLow;
}

bool IsRunningUnderWow64() {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  HMODULE kernel = LoadLibraryA("kernel32.dll");
  if (kernel == nullptr) return false;
  BOOL wow64 = FALSE;
  auto isWow64 = reinterpret_cast<IsWow64ProcessFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
  const bool result = isWow64 != nullptr && isWow64(GetCurrentProcess(), &wow64) && wow64;
  FreeLibrary(kernel);
  return result;
}

void CreateFolderPath(const std::string& path) {
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (path[i] != '\\') continue;
    const std::string prefix = path.substr(0, i);
    if (!prefix.empty() && !FolderExists(prefix)) CreateDirectoryA(prefix.c_str(), nullptr);
  }
}

bool DeleteFileForced(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) != FILE_ATTRIBUTE_NORMAL)
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return DeleteFileA(path.c_str()) != FALSE;
}

namespace {

std::string WithBackslash(const std::string& folder) {
  return !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
}

bool IsDotEntry(const char* name) {
  return lstrcmpiA(name, ".") == 0 || lstrcmpiA(name, "..") == 0;
}

// The text of the first pattern (in table order) that the lower-cased name
// matches.
const std::string* MatchPattern(const PatternTable& patterns, const std::string& name) {
  const std::string lower = ToLowerText(name);
  for (const auto& entry : patterns)
    if (WildcardMatch(ToLowerText(entry.first), lower)) return &entry.second;
  return nullptr;
}

}  // namespace

void ListSubfolders(const std::string& folder, std::map<std::string, std::string>& out,
                    ListInto into, DWORD skippedAttributes) {
  if (into == ListInto::kEmptied) out.clear();
  if (folder.empty()) return;
  const std::string base = WithBackslash(folder);
  FindHandle find(base + "*.*");
  if (!find.IsOpen()) return;
  do {
    const WIN32_FIND_DATAA& entry = find.data();
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) continue;
    if (IsDotEntry(entry.cFileName)) continue;
    if ((skippedAttributes & entry.dwFileAttributes) != 0) continue;
    out[entry.cFileName] = base + entry.cFileName;
  } while (find.Next());
}

int SearchFiles(const std::string& folder, const PatternTable& patterns,
                FileSearchCallback callback, void* userData,
                const std::vector<std::string>& excludedFolders) {
  const std::string base = WithoutTrailingBackslashes(folder);
  const std::string lowerBase = ToLowerText(base);
  for (const std::string& excluded : excludedFolders) {
    const std::string item = ToLowerText(excluded);
    if (lowerBase.find(item) != std::string::npos || WildcardMatch(item, lowerBase)) return 1;
  }
  FindHandle find(base + "\\*.*");
  if (!find.IsOpen()) return 1;
  do {
    const WIN32_FIND_DATAA& entry = find.data();
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    const std::string* text = MatchPattern(patterns, entry.cFileName);
    if (text == nullptr || callback == nullptr) continue;
    if (callback(base + "\\" + entry.cFileName, *text, entry, userData) == 0) return 0;
  } while (find.Next());
  return 1;
}

void SearchFolders(const std::string& folder, const PatternTable& patterns,
                   FolderSearchCallback callback, void* userData) {
  const std::string base = WithoutTrailingBackslashes(folder);
  FindHandle find(base + "\\*.*");
  if (!find.IsOpen()) return;
  do {
    const WIN32_FIND_DATAA& entry = find.data();
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) continue;
    if (IsDotEntry(entry.cFileName)) continue;
    const std::string* text = MatchPattern(patterns, entry.cFileName);
    if (text == nullptr || callback == nullptr) continue;
    callback(base + "\\" + entry.cFileName, entry.cFileName, *text, entry, userData);
  } while (find.Next());
}

}  // namespace kelvane

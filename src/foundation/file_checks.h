#pragma once
// File-system tests and utilities shared by the checkers, backups and UI.
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "foundation/file_path_rules.h"

namespace kelvane {

// The local path on a fixed drive that registry text names (the text rules
// plus the current fixed drives). `path` is emptied first.
bool ExtractFilePath(const std::string& text, std::string& path);

// An existing file (not a folder).
bool FileExists(const std::string& path);
// An existing folder; one trailing backslash is ignored ("C:\" is true).
bool FolderExists(const std::string& path);
// FileExists, else FolderExists.
bool PathExists(const std::string& path);

// The upper-case letters of the fixed drives, in drive order ("CD").
std::string GetFixedDriveLetters();
// Whether `upperLetter` is one of GetFixedDriveLetters(), asked directly.
bool IsFixedDriveLetter(char upperLetter);

// IsFixedDriveLetter, remembered for at most a second per thread. Asking the
// system is slow on some platforms (milliseconds under Wine), and a scan asks
// for every candidate path; callers confirm a verdict that matters afresh.
bool IsRecentlyFixedDriveLetter(char upperLetter);

// One attribute query: true when the file or folder is certainly there. A
// false answer proves nothing (wildcards, odd names); use PathExists then.
bool QuickPathExists(const std::string& path);

// The same answer as PathExists for the paths ExtractFilePath returns, with
// one attribute query where it is conclusive: a file or folder that is there,
// or a name the system reports as not found and that holds no wildcard
// character the directory search would expand. Anything else takes the full
// directory search.
bool FastPathExists(const std::string& path);

// Size from the directory entry; 0 when nothing is found.
std::uint64_t GetFileSize64(const std::string& path);

// Whether this 32-bit process runs on 64-bit Windows.
bool IsRunningUnderWow64();

// Creates every prefix of `path` that ends before a backslash.
void CreateFolderPath(const std::string& path);

// Clears read-only and other attributes first, then deletes.
bool DeleteFileForced(const std::string& path);

// Whether ListSubfolders empties the map first or adds to what it holds.
enum class ListInto { kEmptied, kKept };

// Immediate subfolders of `folder` (name -> full path), leaving out those
// with an attribute of `skippedAttributes`.
void ListSubfolders(const std::string& folder, std::map<std::string, std::string>& out,
                    ListInto into, DWORD skippedAttributes);

// Ordered wildcard pattern -> text table; the first matching key wins.
using PatternTable = std::map<std::string, std::string>;

// Answers non-zero to go on, 0 to stop.
using FileSearchCallback = int (*)(const std::string& fullPath, const std::string& text,
                                   WIN32_FIND_DATAA findData, void* userData);
using FolderSearchCallback = int (*)(const std::string& fullPath, const std::string& name,
                                     const std::string& text, WIN32_FIND_DATAA findData,
                                     void* userData);

// Files directly in `folder` whose lower-cased name matches a pattern.
// Returns 0 when the callback stopped the search, else 1.
int SearchFiles(const std::string& folder, const PatternTable& patterns,
                FileSearchCallback callback, void* userData,
                const std::vector<std::string>& excludedFolders);

// Subfolders directly in `folder` whose lower-cased name matches a pattern.
void SearchFolders(const std::string& folder, const PatternTable& patterns,
                   FolderSearchCallback callback, void* userData);

}  // namespace kelvane

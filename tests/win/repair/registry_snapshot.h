#pragma once
// The registry as the wide-character API reports it, for comparing a tree
// before and after a restore; and the system registry editor's import.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

struct WideValue {
  DWORD type = 0;
  std::vector<unsigned char> data;
  bool operator==(const WideValue& other) const {
    return type == other.type && data == other.data;
  }
};
using WideKeyValues = std::map<std::wstring, WideValue>;
// Key path relative to the snapshot's start ("" = the start key) -> values.
using WideSnapshot = std::map<std::wstring, WideKeyValues>;

// Every key and value below HKEY_CURRENT_USER\<subkey>; empty when the key
// does not exist. Fails the test when something cannot be read.
WideSnapshot SnapshotTree(const std::string& subkey);

// Readable differences between two snapshots ("" when equal).
std::string SnapshotDifferences(const WideSnapshot& before, const WideSnapshot& after);

// The part of a snapshot at and below `relative` (paths kept).
WideSnapshot SnapshotPart(const WideSnapshot& snapshot, const std::wstring& relative);

// Runs `regedit /s file` and waits for it; false when it could not run.
bool ImportWithRegedit(const std::string& file);

// Creates keys and values through the wide API below HKEY_CURRENT_USER.
void SetWideValue(const std::wstring& key, const std::wstring& name, DWORD type,
                  const void* data, DWORD size);
void CreateWideKey(const std::wstring& key);

// Text in the ANSI code page, and back.
std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const std::string& text);

#include "registry_snapshot.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "foundation/registry_key.h"

namespace {

void ReadKey(HKEY key, const std::wstring& path, WideSnapshot& snapshot) {
  WideRegValues& values = snapshot[path];
  DWORD longestSubkey = 0, longestName = 0, longestData = 0;
  ASSERT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &longestSubkey, nullptr,
                             nullptr, &longestName, &longestData, nullptr, nullptr),
            ERROR_SUCCESS);
  std::vector<wchar_t> name(std::max(longestName, longestSubkey) + 1);
  std::vector<unsigned char> data(longestData + 1);
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD dataLength = static_cast<DWORD>(data.size());
    WideRegValue value;
    const LONG status = RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &value.type,
                                      data.data(), &dataLength);
    if (status == ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(status, ERROR_SUCCESS);
    value.data.assign(data.begin(), data.begin() + dataLength);
    values[std::wstring(name.data(), nameLength)] = value;
  }
  for (DWORD j = 0;; ++j) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    const LONG status =
        RegEnumKeyExW(key, j, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(status, ERROR_SUCCESS);
    const std::wstring child(name.data(), nameLength);
    HKEY opened = nullptr;
    ASSERT_EQ(RegOpenKeyExW(key, child.c_str(), 0, KEY_READ, &opened), ERROR_SUCCESS);
    RegKey sub(opened);
    ReadKey(sub.Get(), path.empty() ? child : path + L"\\" + child, snapshot);
  }
}

std::string Printable(const std::wstring& text) {
  std::string printable;
  for (wchar_t c : text) {
    char buffer[12];
    if (c >= 0x20 && c < 0x7F)
      printable += static_cast<char>(c);
    else {
      std::snprintf(buffer, sizeof buffer, "<U+%04X>", static_cast<unsigned>(c));
      printable += buffer;
    }
  }
  return printable;
}

std::string Describe(const WideRegValue& value) {
  std::string text = "type " + std::to_string(value.type) + ":";
  for (unsigned char b : value.data) {
    char hex[4];
    std::snprintf(hex, sizeof hex, " %02x", b);
    text += hex;
  }
  return text;
}

}  // namespace

WideSnapshot SnapshotTree(const std::string& subkey) {
  WideSnapshot snapshot;
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, AnsiToWide(subkey).c_str(), 0, KEY_READ, &opened) !=
      ERROR_SUCCESS)
    return snapshot;
  RegKey key(opened);
  ReadKey(key.Get(), L"", snapshot);
  return snapshot;
}

std::string SnapshotDifferences(const WideSnapshot& before, const WideSnapshot& after) {
  std::string text;
  for (const auto& key : before) {
    const auto found = after.find(key.first);
    if (found == after.end()) {
      text += "key lost: [" + Printable(key.first) + "]\n";
      continue;
    }
    for (const auto& value : key.second) {
      const auto other = found->second.find(value.first);
      if (other == found->second.end())
        text += "value lost: [" + Printable(key.first) + "] \"" + Printable(value.first) + "\"\n";
      else if (!(other->second == value.second))
        text += "value changed: [" + Printable(key.first) + "] \"" + Printable(value.first) +
                "\" " + Describe(value.second) + " -> " + Describe(other->second) + "\n";
    }
    for (const auto& value : found->second)
      if (key.second.find(value.first) == key.second.end())
        text += "value added: [" + Printable(key.first) + "] \"" + Printable(value.first) + "\"\n";
  }
  for (const auto& key : after)
    if (before.find(key.first) == before.end())
      text += "key added: [" + Printable(key.first) + "]\n";
  return text;
}

bool ImportWithRegedit(const std::string& file) {
  std::string command = "regedit.exe /s \"" + file + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return false;
  // A generous bound so that a hung import fails the test instead of the run.
  const bool finished = WaitForSingleObject(process.hProcess, 300000) == WAIT_OBJECT_0;
  if (!finished) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return finished;
}

void SetWideValue(const std::wstring& key, const std::wstring& name, DWORD type, const void* data,
                  DWORD size) {
  HKEY created = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &created, nullptr),
            ERROR_SUCCESS);
  RegKey owned(created);
  ASSERT_EQ(RegSetValueExW(created, name.c_str(), 0, type, static_cast<const BYTE*>(data), size),
            ERROR_SUCCESS);
}

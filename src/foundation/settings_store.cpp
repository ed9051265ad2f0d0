#include "foundation/settings_store.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "foundation/ansi_chars.h"
#include "foundation/local_time.h"
#include "foundation/program_paths.h"
#include "foundation/setting_number.h"
#include "foundation/settings_keys.h"
#include "foundation/time_stamp.h"

namespace kelvane {

namespace {

constexpr DWORD kValueBufferSize = 65535;

std::string WithoutTrailingBackslash(const char* folder, DWORD length) {
  return WithoutTrailingBackslashes(std::string(folder, length));
}

std::string WindowsFolder() {
  char buffer[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryA(buffer, MAX_PATH);
  return WithoutTrailingBackslash(buffer, length < MAX_PATH ? length : 0);
}

std::string SystemFolder() {
  char buffer[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(buffer, MAX_PATH);
  return WithoutTrailingBackslash(buffer, length < MAX_PATH ? length : 0);
}

std::string TempFolder() {
  char buffer[MAX_PATH] = {};
  const DWORD length = GetTempPathA(MAX_PATH, buffer);
  return WithoutTrailingBackslash(buffer, length < MAX_PATH ? length : 0);
}

void ReplaceEvery(std::string& text, const std::string& token, const std::string& folder) {
  for (std::size_t pos = text.find(token); pos != std::string::npos;
       pos = text.find(token, pos + folder.size()))
    text.replace(pos, token.size(), folder);
}

// Only the first token that occurs is expanded; the others stay as they are.
std::string ExpandPathTokens(std::string value) {
  struct Token {
    const char* text;
    std::string (*folder)();
  };
  static const Token kTokens[] = {
      {"%module_path%", GetProgramFolder},
      {"%window_path%", WindowsFolder},
      {"%system_path%", SystemFolder},
      {"%temp_path%", TempFolder},
  };
  for (const Token& token : kTokens) {
    if (value.find(token.text) != std::string::npos) {
      ReplaceEvery(value, token.text, token.folder());
      break;
    }
  }
  return value;
}

}  // namespace

namespace SettingsStore {

std::string ReadString(const std::string& section, const std::string& key,
                       const std::string& defaultValue, const std::string& file) {
  std::vector<char> buffer(kValueBufferSize, 0);
  GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                           kValueBufferSize, file.c_str());
  buffer.back() = 0;
  return ExpandPathTokens(buffer.data());
}

bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                 const std::string& file) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) !=
         FALSE;
}

int ReadInt(const std::string& section, const std::string& key, int defaultValue,
            const std::string& file) {
  return static_cast<int>(
      GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue, file.c_str()));
}

bool WriteInt(const std::string& section, const std::string& key, int value,
              const std::string& file) {
  char text[16];
  std::snprintf(text, sizeof text, "%ld", static_cast<long>(value));
  return WriteString(section, key, text, file);
}

}  // namespace SettingsStore

std::string ReadSetting(const char* key, const std::string& defaultValue) {
  return SettingsStore::ReadString(kSettingsSection, key, defaultValue, SettingsIniPath());
}

int ReadSettingInt(const char* key, int defaultValue) {
  return SettingsStore::ReadInt(kSettingsSection, key, defaultValue, SettingsIniPath());
}

int ReadSettingInRange(const char* key, int defaultValue, int minimum, int maximum) {
  int value = defaultValue;
  return ParseSettingNumber(ReadSetting(key), minimum, maximum, value) ? value : defaultValue;
}

bool ReadBackupWhenClean() {
  return ReadSettingInRange(kKeyBackupWhenClean, kDefaultBackupWhenClean, 0, 1) != 0;
}
bool ReadAutoDelBackup() {
  return ReadSettingInRange(kKeyAutoDelBackup, kDefaultAutoDelBackup, 0, 1) != 0;
}
int ReadAutoDelBackupDays() {
  return ReadSettingInRange(kKeyAutoDelBackupDays, kDefaultAutoDelBackupDays, 1,
                            kDefaultAutoDelBackupDays);
}
bool ReadAutoDelFullBackup() {
  return ReadSettingInRange(kKeyAutoDelFullBackup, kDefaultAutoDelFullBackup, 0, 1) != 0;
}
int ReadAutoDelFullBackupDays() {
  return ReadSettingInRange(kKeyAutoDelFullBackupDays, kDefaultAutoDelFullBackupDays, 1,
                            kDefaultAutoDelFullBackupDays);
}

bool WriteSetting(const char* key, const std::string& value) {
  return SettingsStore::WriteString(kSettingsSection, key, value, SettingsIniPath());
}

bool WriteSettingInt(const char* key, int value) {
  return SettingsStore::WriteInt(kSettingsSection, key, value, SettingsIniPath());
}

bool WriteSettingNow(const char* key) {
  return WriteSetting(key, FormatStamp(kSettingsStampFormat, NowLocal()));
}

}  // namespace kelvane

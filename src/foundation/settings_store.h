#pragma once
// Settings.ini through the Windows profile functions. Nothing is cached:
// every read sees the file as it is now.
#include <string>

namespace kelvane {

namespace SettingsStore {

// The value, or `defaultValue`; the first path token found
// ("%module_path%", "%window_path%", "%system_path%", "%temp_path%") is
// replaced by its folder everywhere in the value.
std::string ReadString(const std::string& section, const std::string& key,
                       const std::string& defaultValue, const std::string& file);
bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                 const std::string& file);
int ReadInt(const std::string& section, const std::string& key, int defaultValue,
            const std::string& file);
// Stored as signed decimal text.
bool WriteInt(const std::string& section, const std::string& key, int value,
              const std::string& file);

}  // namespace SettingsStore

// Shorthands for section "Settings" of the process's Settings.ini.
std::string ReadSetting(const char* key, const std::string& defaultValue = std::string());
int ReadSettingInt(const char* key, int defaultValue);
bool WriteSetting(const char* key, const std::string& value);
bool WriteSettingInt(const char* key, int value);
// An integer setting with its documented range: stored text that is not a
// whole number within [minimum, maximum] (a typo, an overflow, a hand-edited
// 0 day count) reads as `defaultValue`.
int ReadSettingInRange(const char* key, int defaultValue, int minimum, int maximum);

// The switches and day counts that guard the user's data, each read with its
// range and default.
bool ReadBackupWhenClean();       // 0 or 1, default 1
bool ReadAutoDelBackup();         // 0 or 1, default 1
int ReadAutoDelBackupDays();      // 1..60, default 60
bool ReadAutoDelFullBackup();     // 0 or 1, default 1
int ReadAutoDelFullBackupDays();  // 1..90, default 90

// Writes the local time now as a settings stamp.
bool WriteSettingNow(const char* key);

}  // namespace kelvane

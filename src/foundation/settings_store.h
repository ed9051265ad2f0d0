#pragma once
// Settings.ini through the Windows profile functions. Nothing is cached:
// every read sees the file as it is now.
#include <string>

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
// Writes the local time now as a settings stamp.
bool WriteSettingNow(const char* key);

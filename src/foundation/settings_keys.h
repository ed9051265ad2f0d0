#pragma once
// The one table of keys of section "Settings" in Settings.ini, with the
// defaults that readers use.

namespace kelvane {

constexpr const char* kSettingsSection = "Settings";

constexpr const char* kKeyLastScan = "LastScan";
constexpr const char* kKeyLastClean = "LastClean";
constexpr const char* kKeyLastBackup = "LastBackup";
constexpr const char* kKeyLastDefrag = "LastDefrag";
constexpr const char* kKeyErrorCount = "ErrorCnt";
constexpr const char* kKeyBackupWhenClean = "BackupWhenClean";
constexpr const char* kKeyAutoDelBackup = "AutoDelBackup";
constexpr const char* kKeyAutoDelBackupDays = "AutoDelBackupDays";
constexpr const char* kKeyAutoDelFullBackup = "AutoDelFullBackup";
constexpr const char* kKeyAutoDelFullBackupDays = "AutoDelFullBackupDays";
constexpr const char* kKeySkinName = "SkinName";
constexpr const char* kKeyLanguageFile = "LanguageFile";
constexpr const char* kKeyInitPage = "InitPage";

// Time stamps, "SkinName" and "LanguageFile" default to the empty text.
constexpr int kDefaultBackupWhenClean = 1;
constexpr int kDefaultAutoDelBackup = 1;
constexpr int kDefaultAutoDelBackupDays = 60;  // also the maximum
constexpr int kDefaultAutoDelFullBackup = 1;
constexpr int kDefaultAutoDelFullBackupDays = 90;  // also the maximum
constexpr int kDefaultInitPage = 0;

}  // namespace kelvane

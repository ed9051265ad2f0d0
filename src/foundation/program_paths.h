#pragma once
// The program's folder and the process-wide paths of its settings files.
#include <string>

namespace kelvane {

// Full path of the running executable.
std::string GetProgramFilePath();

// Folder of the executable without a trailing backslash ("C:" for a drive
// root).
std::string GetProgramFolder();

// The folder part of an executable path, by the same rule.
std::string ProgramFolderOf(const std::string& modulePath);

// Set once at start-up, read everywhere afterwards.
void SetSettingsPaths(const std::string& iniPath, const std::string& xmlPath);
const std::string& SettingsIniPath();
const std::string& SettingsXmlPath();

}  // namespace kelvane

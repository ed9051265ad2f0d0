#include "foundation/program_paths.h"

#include <windows.h>

#include "foundation/ansi_chars.h"

namespace kelvane {

namespace {

std::string g_settingsIniPath;
std::string g_settingsXmlPath;

}  // namespace

std::string GetProgramFilePath() {
  char buffer[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  return std::string(buffer, length < MAX_PATH ? length : MAX_PATH - 1);
}

std::string ProgramFolderOf(const std::string& modulePath) {
  const std::size_t sep = FindLastAnsiChar(modulePath, "\\:");
  std::string folder = sep == std::string::npos ? std::string() : modulePath.substr(0, sep);
  // "C:Kelvane.exe" leaves the bare drive letter, which needs its colon back;
  // a folder on a network share (\\server\share\dir) has none and needs none.
  if (folder.size() == 1) folder += ':';
  return folder;
}

std::string GetProgramFolder() { return ProgramFolderOf(GetProgramFilePath()); }

void SetSettingsPaths(const std::string& iniPath, const std::string& xmlPath) {
  g_settingsIniPath = iniPath;
  g_settingsXmlPath = xmlPath;
}

const std::string& SettingsIniPath() { return g_settingsIniPath; }
const std::string& SettingsXmlPath() { return g_settingsXmlPath; }

}  // namespace kelvane

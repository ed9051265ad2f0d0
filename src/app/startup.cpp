#include "app/startup.h"

#include <commctrl.h>
#include <objbase.h>

#include "app/command_line.h"
#include "app/command_line_jobs.h"
#include "defrag/hive_discovery.h"
#include "foundation/language_table.h"
#include "foundation/program_paths.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "foundation/version_info.h"
#include "repair/backup_manager.h"

namespace {

// COM for the scan configuration document and the scheduler; released on
// every way out.
class ComScope {
 public:
  ComScope() { CoInitialize(nullptr); }
  ~ComScope() { CoUninitialize(); }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
};

void InitWindowControls() {
  INITCOMMONCONTROLSEX controls = {};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_BAR_CLASSES | ICC_COOL_CLASSES;
  InitCommonControlsEx(&controls);
}

}  // namespace

int RunProgram(HINSTANCE, const char* commandLine, int) {
  const std::string programFolder = GetProgramFolder();
  SetSettingsPaths(programFolder + "\\Settings.ini", programFolder + "\\Settings.xml");
  SetCommandLineWords(SplitCommandLine(commandLine, true));

  const std::string languageFile = ReadSetting(kKeyLanguageFile);
  Language().Open(programFolder + "\\Language\\" + languageFile,
                  programFolder + "\\Language\\English.txt");

  const bool interactive = CommandLineWords().empty();
  ComScope com;
  InitWindowControls();

  SetProcessHiveList(DiscoverHives());
  if (ProcessHiveList().empty() && interactive) {
    MessageBoxA(nullptr, Text("L0026").c_str(), ProgramProductName().c_str(),
                MB_OK | MB_ICONEXCLAMATION);
  }

  int exitCode = 0;
  if (!interactive) RunCommandLineJobs();

  PrunePartialBackups(programFolder);
  PruneFullBackups(programFolder);
  return exitCode;
}

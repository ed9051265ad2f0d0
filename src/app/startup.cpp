#include "app/startup.h"

#include <commctrl.h>
#include <objidl.h>  // before GDI+, which needs its property types
#include <gdiplus.h>

#include "app/command_line.h"
#include "app/command_line_jobs.h"
#include "app/exit_codes.h"
#include "app/handover.h"
#include "app/report_switch.h"
#include "defrag/hive_discovery.h"
#include "foundation/com_ptr.h"
#include "foundation/language_table.h"
#include "foundation/program_paths.h"
#include "foundation/scoped_handle.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "foundation/version_info.h"
#include "repair/backup_retention.h"
#include "ui/instance.h"
#include "ui/main_window.h"

namespace kelvane {

namespace {

struct GdiplusTraits {
  using Handle = ULONG_PTR;
  static Handle Invalid() { return 0; }
  static void Close(Handle token) { Gdiplus::GdiplusShutdown(token); }
};

// GDI+ for the skin images, started for the whole run and shut down on
// every way out.
ScopedHandle<GdiplusTraits> StartGdiplus() {
  Gdiplus::GdiplusStartupInput input;  // version 1, no callbacks
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) token = 0;
  return ScopedHandle<GdiplusTraits>(token);
}

// A crash of an unattended job (a fault no code foresaw) ends the process
// with its own exit code instead of whatever the system makes of it, so the
// scheduled task shows it.
LONG WINAPI EndCrashedJob(EXCEPTION_POINTERS*) {
  TerminateProcess(GetCurrentProcess(), kExitJobCrashed);
  return EXCEPTION_EXECUTE_HANDLER;
}

void InitWindowControls() {
  INITCOMMONCONTROLSEX controls = {};
  controls.dwSize = sizeof controls;
  // The toolbar and rebar classes, and the lists, trees, progress bars and
  // spin buttons the pages are made of.
  controls.dwICC = ICC_BAR_CLASSES | ICC_COOL_CLASSES | ICC_LISTVIEW_CLASSES |
                   ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_UPDOWN_CLASS;
  InitCommonControlsEx(&controls);
}

}  // namespace

int RunProgram(HINSTANCE, const char* commandLine, int showCommand) {
  const std::string programFolder = GetProgramFolder();
  // On 64-bit Windows the 64-bit build beside this one does the whole run.
  int handedOverExitCode = kExitSuccess;
  if (HandOverToNativeBuild(programFolder, commandLine, showCommand, handedOverExitCode))
    return handedOverExitCode;
  SetSettingsPaths(programFolder + "\\Settings.ini", programFolder + "\\Settings.xml");
  SetCommandLineWords(SplitCommandLine(commandLine, true));

  const std::string languageFile = ReadSetting(kKeyLanguageFile);
  ProcessLanguageTable().Open(programFolder + "\\Language\\" + languageFile,
                              programFolder + "\\Language\\English.txt");

  const bool interactive = CommandLineWords().empty();
  // One interactive instance: a second start brings the first one's window
  // forward and ends before anything else is set up. Unattended jobs run
  // beside an open window.
  ScopedKernelHandle instanceMutex;
  if (interactive && HandOverToRunningInstance(instanceMutex)) return kExitSuccess;
  if (!interactive) SetUnhandledExceptionFilter(EndCrashedJob);
  ComApartment com;  // the scan configuration document and the scheduler
  const ScopedHandle<GdiplusTraits> gdiplus = StartGdiplus();
  InitWindowControls();

  SetProcessHiveList(DiscoverHives());
  if (ProcessHiveList().empty() && interactive) {
    MessageBoxA(nullptr, LanguageText("L0026").c_str(), ProgramProductName().c_str(),
                MB_OK | MB_ICONEXCLAMATION);
  }

  // Without words the main window runs until it is closed.
  const int exitCode =
      interactive ? RunMainWindow(commandLine, showCommand)
                  : RunCommandLineJobs(FindReportRequest(SplitCommandLine(commandLine, false)));

  PrunePartialBackups(programFolder);
  PruneFullBackups(programFolder);
  return exitCode;
}

}  // namespace kelvane

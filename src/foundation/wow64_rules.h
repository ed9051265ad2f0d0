#pragma once
// What a run of the 32-bit build does on 64-bit Windows (under WOW64), where
// the registry view of HKLM\Software and the files below
// %windir%\System32 are those of 32-bit programs. The facts are passed in,
// so the decisions are the same whether asked by the program or a test.
#include <string>

namespace kelvane {

// The 64-bit build that a 32-bit build hands its run over to, in the same
// folder.
constexpr const char* kNativeBuildFileName = "Kelvane64.exe";

struct Wow64Facts {
  bool underWow64 = false;  // a 32-bit process on 64-bit Windows
  // The thread's file system redirection can be switched off, so that
  // System32 (the hive files, the 64-bit registry editor's start) is the
  // native one.
  bool redirectionSwitchable = false;
};

enum class RunPlan { kRunHere, kHandOver };

// Under WOW64 with a 64-bit build beside it, the whole run (window or jobs)
// is handed over to that build; otherwise it runs here.
RunPlan PlanRun(bool underWow64, bool nativeBuildBeside);

enum class ProgramJob { kBackup, kFix, kDefrag };
enum class JobPlan { kRun, kRefuse };

// Whether a job can do its whole work in this process:
// - backup: the 64-bit registry editor exports the whole registry, started
//   with the redirection switched off;
// - defrag: the hive files below System32\config are reached with the
//   redirection switched off (the hive keys are opened in the 64-bit view);
// - fix: refused under WOW64. Its scan would read the 32-bit view of the
//   software keys and judge paths below System32 through the redirection,
//   so healthy 64-bit entries would look dead.
JobPlan PlanJob(ProgramJob job, const Wow64Facts& facts);

// The language key of the message that says why `job` is refused.
const char* RefusalTextKey(ProgramJob job);

// The registry editor that works on the native view: the one in the
// Windows folder, started with the redirection switched off under WOW64
// (there a plain start of that path runs the 32-bit editor).
struct EditorLaunch {
  std::string path;
  bool redirectionOff = false;
};
EditorLaunch NativeRegistryEditor(const std::string& windowsFolder, bool underWow64);

}  // namespace kelvane

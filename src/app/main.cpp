#include <windows.h>

#include <exception>

#include "app/exit_codes.h"
#include "app/startup.h"

// The one place an exception of the main thread ends up: memory running out
// ends the run with its own exit code (workers and dialogs catch their own).
// The fix reads every entry before it deletes any, so nothing is left half
// done.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
  try {
    return kelvane::RunProgram(instance, commandLine, showCommand);
  } catch (const std::exception&) {
    return kelvane::kExitJobCrashed;
  }
}

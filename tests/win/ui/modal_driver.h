#pragma once
// Drives the windows of the test's own thread from a second thread while the
// test thread sits in a modal loop (DoModal, a menu, a message box, the main
// window's message loop). Every wait is bounded. When a step fails, the
// driver closes whatever is still open on the test thread, so the modal call
// returns and the test fails instead of hanging; should even that not help,
// a watchdog ends the test process.
//
// The script only reads and records; the test asserts on what it recorded
// after Finish().
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace kelvane {

class ModalDriver {
 public:
  using Script = std::function<void(ModalDriver&)>;

  // Starts `script` at once on a thread of its own; the test thread is the
  // one that calls this.
  explicit ModalDriver(Script script, DWORD watchdogMs = 60000);
  ~ModalDriver() { Finish(); }
  ModalDriver(const ModalDriver&) = delete;
  ModalDriver& operator=(const ModalDriver&) = delete;

  // Waits for the script to end; then `problems()` is complete.
  void Finish();
  bool ok() const { return problems_.empty(); }
  // The problems met, one a line.
  std::string report() const;

  // For the script: a visible top-level window of the test thread of class
  // `className` whose caption is `caption` ("" takes any); nullptr (and a
  // recorded problem) after `timeoutMs`.
  HWND WaitForWindow(const char* className, const std::string& caption, DWORD timeoutMs = 5000);
  // The same that is expected not to come: true when none came.
  bool NoWindowFor(const char* className, DWORD timeoutMs);
  // Until `window` is gone or hidden.
  bool WaitUntilGone(HWND window, DWORD timeoutMs = 5000);
  // Records a problem and closes every window the test thread still shows.
  void Problem(const std::string& what);

  DWORD testThread() const { return testThread_; }

 private:
  HWND FindWindowOfTest(const char* className, const std::string& caption) const;
  void CloseEverything();

  const DWORD testThread_;
  std::vector<std::string> problems_;
  HANDLE finished_ = nullptr;  // signalled by Finish(): the watchdog stands down
  std::thread watchdog_;
  std::thread script_;
};

// The text of a window of this process.
std::string WindowTextOf(HWND window);

}  // namespace kelvane

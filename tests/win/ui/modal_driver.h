#pragma once
// Drives the test thread's modal windows (DoModal, menus, message boxes, the
// message loop) from a second thread. Every wait is bounded: a failed step
// closes what the test thread still shows so the modal call returns, and a
// watchdog ends the process should even that not help.
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace kelvane {

class ModalDriver {
 public:
  using Script = std::function<void(ModalDriver&)>;
  explicit ModalDriver(Script script, DWORD watchdogMs = 60000);
  ~ModalDriver() { Finish(); }
  ModalDriver(const ModalDriver&) = delete;
  ModalDriver& operator=(const ModalDriver&) = delete;

  void Finish();  // waits for the script
  bool ok() const { return problems_.empty(); }
  std::string report() const;

  // A visible top-level window of the test thread; "" takes any caption.
  HWND WaitForWindow(const char* className, const std::string& caption, DWORD timeoutMs = 5000);
  bool WaitUntilGone(HWND window, DWORD timeoutMs = 5000);
  void Problem(const std::string& what);  // records it and closes everything
  DWORD testThread() const { return testThread_; }

 private:
  const DWORD testThread_;
  std::vector<std::string> problems_;
  HANDLE finished_;
  std::thread watchdog_;
  std::thread script_;
};

std::string WindowTextOf(HWND window);

}  // namespace kelvane

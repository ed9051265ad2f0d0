#include "modal_driver.h"

#include <cstdio>

namespace kelvane {

namespace {

struct Search {
  const char* className;  // nullptr: close every menu and dialog instead
  const std::string* caption;
  HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  char className[64] = "";
  GetClassNameA(window, className, sizeof className);
  if (!IsWindowVisible(window)) return TRUE;
  if (search->className == nullptr) {
    if (lstrcmpA(className, "#32768") == 0) PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 1);
    if (lstrcmpA(className, "#32770") == 0) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
  }
  if (lstrcmpiA(className, search->className) != 0) return TRUE;
  if (!search->caption->empty() && WindowTextOf(window) != *search->caption) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

std::string WindowTextOf(HWND window) {
  char text[1024] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

ModalDriver::ModalDriver(Script script, DWORD watchdogMs)
    : testThread_(GetCurrentThreadId()), finished_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
  watchdog_ = std::thread([this, watchdogMs] {
    if (WaitForSingleObject(finished_, watchdogMs) == WAIT_OBJECT_0) return;
    std::fprintf(stderr, "watchdog: a modal window test still ran after %lu ms\n", watchdogMs);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
  });
  script_ = std::thread([this, script] { script(*this); });
}

std::string ModalDriver::report() const {
  std::string lines;
  for (const std::string& problem : problems_) lines += problem + "\n";
  return lines;
}

void ModalDriver::Finish() {
  if (script_.joinable()) script_.join();
  if (!watchdog_.joinable()) return;
  SetEvent(finished_);
  watchdog_.join();
  CloseHandle(finished_);
}

HWND ModalDriver::WaitForWindow(const char* className, const std::string& caption,
                                DWORD timeoutMs) {
  for (const DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(20)) {
    Search search{className, &caption, nullptr};
    EnumThreadWindows(testThread_, Visit, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
  }
  Problem(std::string("no window ") + className + " \"" + caption + "\" came");
  return nullptr;
}

bool ModalDriver::WaitUntilGone(HWND window, DWORD timeoutMs) {
  for (const DWORD start = GetTickCount(); IsWindow(window) && IsWindowVisible(window); Sleep(20))
    if (GetTickCount() - start >= timeoutMs) {
      Problem("window \"" + WindowTextOf(window) + "\" stayed");
      return false;
    }
  return true;
}

void ModalDriver::Problem(const std::string& what) {
  problems_.push_back(what);
  Search closeAll{nullptr, nullptr, nullptr};
  for (int round = 0; round < 10; ++round) {  // nested modal windows close one at a time
    EnumThreadWindows(testThread_, Visit, reinterpret_cast<LPARAM>(&closeAll));
    Sleep(100);
  }
}

}  // namespace kelvane

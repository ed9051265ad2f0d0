#include "modal_driver.h"

#include <cstdio>

namespace kelvane {

namespace {

constexpr DWORD kPollMs = 20;

struct Search {
  const char* className;
  const std::string* caption;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  char className[64] = "";
  GetClassNameA(window, className, sizeof className);
  if (!IsWindowVisible(window) || lstrcmpiA(className, search->className) != 0) return TRUE;
  if (!search->caption->empty() && WindowTextOf(window) != *search->caption) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK CloseWindow(HWND window, LPARAM) {
  char className[64] = "";
  GetClassNameA(window, className, sizeof className);
  if (!IsWindowVisible(window)) return TRUE;
  if (lstrcmpA(className, "#32768") == 0)
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 1);  // a menu
  else if (lstrcmpA(className, "#32770") == 0)
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);  // a dialog or a message box
  return TRUE;
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
  if (finished_ != nullptr) SetEvent(finished_);
  if (watchdog_.joinable()) watchdog_.join();
  if (finished_ != nullptr) CloseHandle(finished_);
  finished_ = nullptr;
}

HWND ModalDriver::FindWindowOfTest(const char* className, const std::string& caption) const {
  Search search{className, &caption, nullptr};
  EnumThreadWindows(testThread_, MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND ModalDriver::WaitForWindow(const char* className, const std::string& caption,
                                DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (HWND window = FindWindowOfTest(className, caption)) return window;
    if (GetTickCount() - start >= timeoutMs) break;
    Sleep(kPollMs);
  }
  Problem(std::string("no window ") + className + " \"" + caption + "\" came");
  return nullptr;
}

bool ModalDriver::NoWindowFor(const char* className, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    if (HWND window = FindWindowOfTest(className, "")) {
      Problem(std::string("a window ") + className + " \"" + WindowTextOf(window) + "\" came");
      return false;
    }
    Sleep(kPollMs);
  }
  return true;
}

bool ModalDriver::WaitUntilGone(HWND window, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (IsWindow(window) && IsWindowVisible(window)) {
    if (GetTickCount() - start >= timeoutMs) {
      Problem("window \"" + WindowTextOf(window) + "\" stayed");
      return false;
    }
    Sleep(kPollMs);
  }
  return true;
}

void ModalDriver::Problem(const std::string& what) {
  problems_.push_back(what);
  CloseEverything();
}

void ModalDriver::CloseEverything() {
  // Nested modal windows close one level at a time.
  for (int round = 0; round < 10; ++round) {
    EnumThreadWindows(testThread_, CloseWindow, 0);
    Sleep(100);
  }
}

}  // namespace kelvane

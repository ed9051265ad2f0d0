#include "foundation/wow64_redirection.h"

#include <windows.h>

#include "foundation/ansi_chars.h"
#include "foundation/file_checks.h"

namespace kelvane {

namespace {

using DisableFn = BOOL(WINAPI*)(PVOID*);
using RevertFn = BOOL(WINAPI*)(PVOID);

// Looked up, not linked: older 32-bit systems lack them.
template <typename Fn>
Fn KernelFunction(const char* name) {
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (kernel == nullptr) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(kernel, name)));
}

}  // namespace

FsRedirectionOff::FsRedirectionOff(bool wanted) : wanted_(wanted) {
  if (!wanted_) return;
  const auto disable = KernelFunction<DisableFn>("Wow64DisableWow64FsRedirection");
  off_ = disable != nullptr && disable(&previous_) != FALSE;
}

FsRedirectionOff::~FsRedirectionOff() {
  if (!off_) return;
  if (const auto revert = KernelFunction<RevertFn>("Wow64RevertWow64FsRedirection"))
    revert(previous_);
}

bool CanSwitchRedirection() {
  return KernelFunction<DisableFn>("Wow64DisableWow64FsRedirection") != nullptr &&
         KernelFunction<RevertFn>("Wow64RevertWow64FsRedirection") != nullptr;
}

Wow64Facts CurrentWow64Facts() {
  Wow64Facts facts;
  facts.underWow64 = IsRunningUnderWow64();
  facts.redirectionSwitchable = CanSwitchRedirection();
  return facts;
}

std::string SystemWindowsFolder() {
  char folder[MAX_PATH] = {};
  const UINT length = GetSystemWindowsDirectoryA(folder, MAX_PATH);
  return WithoutTrailingBackslashes(std::string(folder, length < MAX_PATH ? length : 0));
}

}  // namespace kelvane

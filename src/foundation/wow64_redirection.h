#pragma once
// The file system redirection of a 32-bit process on 64-bit Windows, which
// shows it SysWOW64 in place of System32 (and the 32-bit registry editor in
// place of the Windows folder's one).
#include <string>

#include "foundation/wow64_rules.h"

namespace kelvane {

// Switches the calling thread's redirection off for its lifetime when
// `wanted`, and back on at every way out. Only the calling thread is
// affected; nothing that loads a library should run inside.
class FsRedirectionOff {
 public:
  explicit FsRedirectionOff(bool wanted);
  ~FsRedirectionOff();
  FsRedirectionOff(const FsRedirectionOff&) = delete;
  FsRedirectionOff& operator=(const FsRedirectionOff&) = delete;

  // Whether the thread is in the state asked for: always true when not
  // wanted, else whether the redirection is off.
  bool ok() const { return !wanted_ || off_; }

 private:
  bool wanted_ = false;
  bool off_ = false;
  void* previous_ = nullptr;
};

// Whether this system has the calls that switch the redirection.
bool CanSwitchRedirection();

// The facts of this process, asked of the system.
Wow64Facts CurrentWow64Facts();

// The system's Windows folder (not a per-user one on a terminal server).
std::string SystemWindowsFolder();

}  // namespace kelvane

#pragma once
// The background look for a newer version: the version file is fetched over
// https with the system's certificate checks, at most a few bytes of it are
// read, and only its leading number is compared with the program's own
// version. The thread never opens a window: it posts one message to the
// window that started it when a higher version is offered, and the
// user-interface thread asks the user (UpdatePrompt).
#include <windows.h>

#include <mutex>
#include <string>

#include "foundation/scoped_handle.h"
#include "ui/rules/update_version.h"
#include "ui/update_endpoint.h"

namespace kelvane {

// One attempt: fetches the version file of `endpoint` and judges it against
// `ownVersion`. kFailed when no answer with status 200 came (no network, no
// server, a certificate the system does not trust, a redirect, an error
// page).
UpdateFinding CheckForUpdate(const UpdateEndpoint& endpoint, const std::string& ownVersion);

struct UpdateCheckPlan {
  int attempts = 10;  // failed attempts are tried again after the delay
  DWORD retryDelayMs = 120000;
};

class UpdateCheck {
 public:
  UpdateCheck(UpdateEndpoint endpoint, std::string ownVersion, UpdateCheckPlan plan = {});
  // Stops and joins the thread.
  ~UpdateCheck();
  UpdateCheck(const UpdateCheck&) = delete;
  UpdateCheck& operator=(const UpdateCheck&) = delete;

  // Starts the thread, which posts `message` to `notify` once when a higher
  // version is offered, and then ends. False when it runs already or no
  // thread could be made.
  bool Start(HWND notify, UINT message);

  // Wakes the thread from its wait between attempts and tells it to end,
  // without waiting for it.
  void RequestStop();
  // RequestStop, then waits until the thread has ended (an attempt under way
  // ends by its own time-outs). False when `timeoutMs` passed first.
  bool Stop(DWORD timeoutMs = INFINITE);
  // Waits until the thread has ended by itself, without asking it to.
  bool Join(DWORD timeoutMs = INFINITE);

  // The version offered; empty until the message was posted.
  std::string offeredVersion() const;

 private:
  static unsigned __stdcall ThreadEntry(void* self);
  void Run();

  const UpdateEndpoint endpoint_;
  const std::string ownVersion_;
  const UpdateCheckPlan plan_;
  HWND notify_ = nullptr;
  UINT message_ = 0;
  ScopedKernelHandle stop_;  // a manual-reset event
  ScopedKernelHandle thread_;
  mutable std::mutex mutex_;
  std::string offered_;
};

}  // namespace kelvane

#pragma once
// The main window's update check: the thread that looks for a newer version
// and the offer made on the user-interface thread once it has found one.
// Both talk through one message posted to the main window.
#include <windows.h>

#include <string>

#include "ui/update_check.h"
#include "ui/update_prompt.h"

namespace kelvane {

class UpdateNotifier {
 public:
  UpdateNotifier(HWND mainWindow, UINT message, const UpdateEndpoint& endpoint,
                 std::string ownVersion, UpdateCheckPlan plan = {},
                 UpdatePrompt::PageOpener open = UpdatePrompt::OpenInBrowser);
  // The thread is stopped and joined before the notifier goes (an attempt
  // under way ends by its time-outs).
  ~UpdateNotifier() = default;

  bool Start();
  // Tells the thread to end; the notifier joins it when it goes. The main
  // window calls it when it is destroyed, so that it vanishes at once.
  void RequestStop();
  // Give it every message of the main window; true for its own message,
  // which it has handled then.
  bool Handle(UINT message, WPARAM wParam);

 private:
  const HWND main_;
  const UINT message_;
  UpdatePrompt prompt_;
  UpdateCheck check_;  // declared last: stopped first
};

}  // namespace kelvane

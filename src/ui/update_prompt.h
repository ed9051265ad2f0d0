#pragma once
// Offers a newer version to the user, on the user-interface thread: a
// message box owned by the main window asks whether to open the download
// page. It asks only while none of the program's modal windows is open (a
// dialog, a wait window, a message box or a menu); otherwise the offer waits
// until the main window is enabled again or the menu has closed.
#include <windows.h>

#include <functional>
#include <string>

namespace kelvane {

class UpdatePrompt {
 public:
  // Opens `url` for the user; the standard one hands it to the shell.
  using PageOpener = std::function<void(HWND owner, const std::string& url)>;
  static void OpenInBrowser(HWND owner, const std::string& url);

  // `retryMessage` with `retryWParam` is posted to `mainWindow` when a
  // waiting offer may be made now; the window answers it with Retry().
  UpdatePrompt(HWND mainWindow, UINT retryMessage, WPARAM retryWParam, std::string downloadUrl,
               PageOpener open = OpenInBrowser);

  // `version` is offered: asks now when nothing modal is open, else later.
  // An empty version offers nothing.
  void Offer(const std::string& version);
  // Asks about a waiting offer if nothing modal is open now.
  void Retry();

  // Give it the main window's messages: it notices when the modal windows
  // and menus are gone.
  void Observe(UINT message, WPARAM wParam);

  bool waiting() const { return !waiting_.empty(); }

 private:
  bool CanAskNow() const;
  void Ask();

  const HWND main_;
  const UINT retryMessage_;
  const WPARAM retryWParam_;
  const std::string downloadUrl_;
  const PageOpener open_;
  std::string waiting_;  // the version of an offer not made yet
  bool asking_ = false;
};

}  // namespace kelvane

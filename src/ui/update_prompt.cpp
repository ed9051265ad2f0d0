#include "ui/update_prompt.h"

#include <shellapi.h>

#include <utility>

#include "foundation/language_table.h"
#include "foundation/version_info.h"
#include "ui/rules/text_format.h"

namespace kelvane {

void UpdatePrompt::OpenInBrowser(HWND owner, const std::string& url) {
  ShellExecuteA(owner, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

UpdatePrompt::UpdatePrompt(HWND mainWindow, UINT retryMessage, WPARAM retryWParam,
                           std::string downloadUrl, PageOpener open)
    : main_(mainWindow),
      retryMessage_(retryMessage),
      retryWParam_(retryWParam),
      downloadUrl_(std::move(downloadUrl)),
      open_(open ? std::move(open) : PageOpener(OpenInBrowser)) {}

bool UpdatePrompt::CanAskNow() const {
  if (asking_ || !IsWindow(main_)) return false;
  // A modal window of the program disables the main window while it is
  // open; a box of our own on top of it would enable it again too early.
  if (!IsWindowEnabled(main_)) return false;
  GUITHREADINFO thread = {};
  thread.cbSize = sizeof thread;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(main_, nullptr), &thread) &&
      (thread.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_INMOVESIZE)) != 0)
    return false;
  return true;
}

void UpdatePrompt::Offer(const std::string& version) {
  if (version.empty()) return;
  waiting_ = version;
  Retry();
}

void UpdatePrompt::Retry() {
  if (!waiting_.empty() && CanAskNow()) Ask();
}

void UpdatePrompt::Observe(UINT message, WPARAM wParam) {
  if (waiting_.empty() || asking_) return;
  const bool freed = (message == WM_ENABLE && wParam != FALSE) || message == WM_EXITMENULOOP ||
                     message == WM_EXITSIZEMOVE;
  // Posted: the window that was in the way is still closing now.
  if (freed) PostMessageA(main_, retryMessage_, retryWParam_, 0);
}

void UpdatePrompt::Ask() {
  const std::string version = std::move(waiting_);
  waiting_.clear();
  asking_ = true;
  const std::string product = ProgramProductName();
  const std::string text = FormatChecked(LanguageText("L0228"), {product, version});
  const int answer =
      MessageBoxA(main_, text.c_str(), product.c_str(), MB_OKCANCEL | MB_ICONINFORMATION);
  asking_ = false;
  if (answer == IDOK) open_(main_, downloadUrl_);
}

}  // namespace kelvane

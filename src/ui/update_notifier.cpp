#include "ui/update_notifier.h"

#include <utility>

namespace kelvane {

namespace {

// The wParam of the message: from the check's thread, or the prompt's retry.
constexpr WPARAM kVersionFound = 0;
constexpr WPARAM kRetryOffer = 1;

}  // namespace

UpdateNotifier::UpdateNotifier(HWND mainWindow, UINT message, const UpdateEndpoint& endpoint,
                               std::string ownVersion, UpdateCheckPlan plan,
                               UpdatePrompt::PageOpener open)
    : main_(mainWindow),
      message_(message),
      prompt_(mainWindow, message, kRetryOffer, DownloadPageUrl(endpoint), std::move(open)),
      check_(endpoint, std::move(ownVersion), plan) {}

bool UpdateNotifier::Start() { return check_.Start(main_, message_); }

void UpdateNotifier::RequestStop() { check_.RequestStop(); }

bool UpdateNotifier::Handle(UINT message, WPARAM wParam) {
  if (message != message_) {
    prompt_.Observe(message, wParam);
    return false;
  }
  if (wParam == kRetryOffer)
    prompt_.Retry();
  else if (wParam == kVersionFound)
    prompt_.Offer(check_.offeredVersion());
  return true;
}

}  // namespace kelvane

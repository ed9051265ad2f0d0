// The offer of a newer version: asked on the user-interface thread at once,
// or, behind one of the program's modal windows, once that has closed; the
// download page opens only on OK.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>

#include "ui/update_prompt.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

constexpr UINT kRetryMessage = WM_APP + 1;
constexpr WPARAM kRetryWParam = 7;
constexpr UINT kOfferNow = WM_APP + 2;  // what the check's message leads to
constexpr UINT kIsWaiting = WM_APP + 3;
constexpr const char* kDownloadUrl = "https://localhost/download.htm";

// Stands in for the main window: hands its messages to the prompt.
class PromptOwner {
 public:
  PromptOwner() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KelvaneTestPromptOwner";
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(0, windowClass.lpszClassName, "owner", WS_OVERLAPPED, 0, 0, 200, 100,
                              nullptr, nullptr, windowClass.hInstance, this);
    prompt_ =
        std::make_unique<UpdatePrompt>(window_, kRetryMessage, kRetryWParam, kDownloadUrl,
                                       [this](HWND, const std::string& url) { opened_ += url; });
  }
  ~PromptOwner() { DestroyWindow(window_); }
  HWND window() const { return window_; }
  UpdatePrompt& prompt() { return *prompt_; }
  const std::string& opened() const { return opened_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
      SetWindowLongPtrA(
          window, GWLP_USERDATA,
          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<PromptOwner*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr || !self->prompt_) return DefWindowProcA(window, message, wParam, lParam);
    if (message == kRetryMessage) {
      EXPECT_EQ(wParam, kRetryWParam);
      self->prompt_->Retry();
      return 0;
    }
    if (message == kOfferNow) self->prompt_->Offer("3.1");
    if (message == kIsWaiting) return self->prompt_->waiting() ? 1 : 0;
    if (message == kOfferNow) return 0;
    self->prompt_->Observe(message, wParam);
    return DefWindowProcA(window, message, wParam, lParam);
  }

  HWND window_ = nullptr;
  std::unique_ptr<UpdatePrompt> prompt_;
  std::string opened_;
};

// Answers the offer's box with `answer`; its text, or "" when none came.
std::string AnswerOffer(ModalDriver& driver, int answer) {
  const HWND box = driver.WaitForWindow("#32770", "Kelvane");
  if (box == nullptr) return std::string();
  const std::string text = BoxText(box);
  PostMessageA(box, WM_COMMAND, answer, 0);
  driver.WaitUntilGone(box);
  return text;
}

}  // namespace

TEST(UpdatePrompt, AsksAtOnceOrOnceTheModalWindowHasClosedAndOpensThePageOnlyOnOk) {
  UseRepositoryLanguage();
  for (const bool behindModal : {false, true}) {
    const int answer = behindModal ? IDCANCEL : IDOK;
    PromptOwner owner;
    std::atomic<bool> done{false};
    bool waitedBehindDialog = false;
    std::string text;
    ModalDriver driver([&](ModalDriver& d) {
      if (!behindModal) {
        text = AnswerOffer(d, answer);
      } else if (const HWND modal = d.WaitForWindow("#32770", "About Kelvane")) {
        // An offer that asked at once would not return: its box would be open.
        DWORD_PTR waiting = 0;
        if (!SendMessageTimeoutA(owner.window(), kOfferNow, 0, 0, SMTO_NORMAL, 10000, nullptr))
          d.Problem("the offer asked on top of the modal window");
        else if (SendMessageTimeoutA(owner.window(), kIsWaiting, 0, 0, SMTO_NORMAL, 10000,
                                     &waiting))
          waitedBehindDialog = waiting == 1;
        PostMessageA(modal, WM_COMMAND, IDCANCEL, 0);
        if (d.WaitUntilGone(modal)) text = AnswerOffer(d, answer);
      }
      done = true;
    });
    if (behindModal) {
      Dialog(IDD_TEST_DIALOG).DoModal(owner.window());
    } else {
      SendMessageA(owner.window(), kOfferNow, 0, 0);
    }
    for (MSG message; !done; MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT))
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    driver.Finish();
    EXPECT_TRUE(driver.ok()) << driver.report();
    EXPECT_EQ(waitedBehindDialog, behindModal);
    EXPECT_NE(text.find("Offered version: 3.1\r\n"), std::string::npos) << text;
    EXPECT_EQ(owner.opened(), answer == IDOK ? kDownloadUrl : "") << "answer " << answer;
    EXPECT_FALSE(owner.prompt().waiting());
  }
}

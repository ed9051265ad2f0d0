// The wait window: it stays while its function runs whatever the user
// presses, asks the function to stop only when the caller allows it, shows
// what the function reports, and closes on the worker's "done".
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>

#include "modal_driver.h"
#include "resource_ids.h"
#include "ui/controls/progress_bar.h"
#include "ui/dialogs/wait_dialog.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

constexpr DWORD kBoundMs = 10000;

// A manual-reset event the functions wait for, at most kBoundMs.
class Gate {
 public:
  Gate() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  void Open() { SetEvent(event_.Get()); }
  void Wait() const { WaitForSingleObject(event_.Get(), kBoundMs); }

 private:
  ScopedKernelHandle event_;
};

// Waits until the stop flag is set, at most kBoundMs.
bool WaitForStop(const WaitReporter& reporter) {
  const DWORD start = GetTickCount();
  while (!reporter.stopRequested()) {
    if (GetTickCount() - start >= kBoundMs) return false;
    Sleep(10);
  }
  return true;
}

// What a user does to close a window: Escape, the close box, Alt+F4, the
// cancel command.
void TryToClose(HWND window) {
  PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  PostMessageA(window, WM_KEYUP, VK_ESCAPE, 0xC0010001);
  PostMessageA(window, WM_CLOSE, 0, 0);
  PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
  PostMessageA(window, WM_COMMAND, IDOK, 0);
}

WaitWindowOptions Options(bool showProgress, bool cancellable) {
  WaitWindowOptions options;
  options.titleKey = "L0005";    // "Back Up Registry"
  options.messageKey = "L0011";  // "Backing up the whole registry. ..."
  options.showProgress = showProgress;
  options.cancellable = cancellable;
  return options;
}

}  // namespace

TEST(WaitDialog, NothingTheUserPressesEndsItWhileTheFunctionRunsAndDoneEndsIt) {
  UseRepositoryLanguage();
  Gate gate;
  std::atomic<bool> stopSeen{false};
  bool stayed = false;
  bool cancelShown = true;
  ModalDriver driver([&](ModalDriver& d) {
    const HWND window = d.WaitForWindow("#32770", "Back Up Registry");
    if (window == nullptr) return;
    cancelShown = IsWindowVisible(GetDlgItem(window, IDCANCEL)) != FALSE;
    TryToClose(window);
    Sleep(500);
    stayed = IsWindowVisible(window) != FALSE;
    gate.Open();
    d.WaitUntilGone(window);
  });
  const WaitOutcome outcome =
      RunWithWaitWindow(nullptr, Options(false, false), [&](WaitReporter& r) {
        gate.Wait();
        stopSeen = r.stopRequested();
      });
  gate.Open();  // should the driver have failed
  driver.Finish();
  EXPECT_TRUE(driver.ok()) << driver.report();
  EXPECT_FALSE(cancelShown) << "no cancel button when stopping is not safe";
  EXPECT_TRUE(stayed) << "Escape, the close box, Alt+F4 and Enter left the window open";
  EXPECT_FALSE(stopSeen) << "and did not ask a function that may not stop to stop";
  EXPECT_EQ(outcome, WaitOutcome::kFinished) << "the function's return closed the window";
}

TEST(WaitDialog, WhereStoppingIsSafeEscapeOnlyAsksTheFunctionToStop) {
  UseRepositoryLanguage();
  Gate gate;
  bool stopAsked = false;
  bool stayedAfterStop = false;
  std::string cancelCaption;
  bool cancelEnabled = true;
  ModalDriver driver([&](ModalDriver& d) {
    const HWND window = d.WaitForWindow("#32770", "Back Up Registry");
    if (window == nullptr) return;
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    Sleep(500);
    stayedAfterStop = IsWindowVisible(window) != FALSE;
    cancelCaption = WindowTextOf(GetDlgItem(window, IDCANCEL));
    cancelEnabled = IsWindowEnabled(GetDlgItem(window, IDCANCEL)) != FALSE;
    gate.Open();
    d.WaitUntilGone(window);
  });
  const WaitOutcome outcome =
      RunWithWaitWindow(nullptr, Options(false, true), [&](WaitReporter& r) {
        stopAsked = WaitForStop(r);
        gate.Wait();
      });
  gate.Open();
  driver.Finish();
  EXPECT_TRUE(driver.ok()) << driver.report();
  EXPECT_TRUE(stopAsked) << "Escape set the stop flag";
  EXPECT_TRUE(stayedAfterStop) << "but did not close the window";
  EXPECT_EQ(cancelCaption, "Stopping...") << "the cancel button says it is stopping";
  EXPECT_FALSE(cancelEnabled) << "and cannot be pressed again";
  EXPECT_EQ(outcome, WaitOutcome::kStopped) << "the function returned after the stop";
}

TEST(WaitDialog, ShowsTheTitleMessageAndProgressTheFunctionReports) {
  UseRepositoryLanguage();
  Gate gate;
  Gate reported;
  Gate release;
  std::string title;
  std::string firstMessage;
  std::string laterMessage;
  int position = -1;
  bool barShown = false;
  DWORD uiThread = 0;
  HWND ownerOfAction = nullptr;
  HWND waitWindow = nullptr;
  ModalDriver driver([&](ModalDriver& d) {
    const HWND window = d.WaitForWindow("#32770", "Back Up Registry");
    if (window == nullptr) return;
    waitWindow = window;
    title = WindowTextOf(window);
    firstMessage = WindowTextOf(GetDlgItem(window, IDC_WAIT_MESSAGE));
    barShown = IsWindowVisible(GetDlgItem(window, IDC_WAIT_PROGRESS)) != FALSE;
    gate.Open();
    reported.Wait();
    laterMessage = WindowTextOf(GetDlgItem(window, IDC_WAIT_MESSAGE));
    position = ProgressBar(GetDlgItem(window, IDC_WAIT_PROGRESS)).position();
    release.Open();
    d.WaitUntilGone(window);
  });
  const WaitOutcome outcome =
      RunWithWaitWindow(nullptr, Options(true, false), [&](WaitReporter& r) {
        gate.Wait();
        r.SetProgress(40);
        r.SetMessageKey("L0039");
        r.RunOnUiThread([&](HWND owner) {
          uiThread = GetCurrentThreadId();
          ownerOfAction = owner;
        });
        reported.Open();
        release.Wait();  // the window stays while the driver reads it
      });
  gate.Open();
  reported.Open();
  release.Open();
  driver.Finish();
  EXPECT_TRUE(driver.ok()) << driver.report();
  EXPECT_EQ(outcome, WaitOutcome::kFinished) << "closed when the function returned";
  EXPECT_EQ(title, "Back Up Registry") << "the title key's text";
  EXPECT_EQ(firstMessage, LanguageText("L0011")) << "the message key's text";
  EXPECT_TRUE(barShown) << "the progress bar asked for";
  EXPECT_EQ(position, 40) << "set by the function";
  EXPECT_EQ(laterMessage, "Completed.") << "a message key the function gave later";
  EXPECT_EQ(uiThread, GetCurrentThreadId()) << "an action of the function ran on the UI thread";
  EXPECT_EQ(ownerOfAction, waitWindow) << "with the wait window as owner";
}

TEST(WaitDialog, AFunctionThatThrowsClosesTheWindowAndSaysSo) {
  UseRepositoryLanguage();
  ModalDriver watchdog([](ModalDriver&) {});  // nothing to answer; bounds the test
  EXPECT_EQ(RunWithWaitWindow(nullptr, Options(false, false),
                              [](WaitReporter&) { throw std::runtime_error("backup failed"); }),
            WaitOutcome::kFailed)
      << "the failure is the outcome";

  bool rethrown = false;
  EXPECT_EQ(RunWithWaitWindow(nullptr, Options(false, false),
                              [&](WaitReporter& r) {
                                try {
                                  r.RunOnUiThread(
                                      [](HWND) { throw std::runtime_error("window failed"); });
                                } catch (const std::runtime_error&) {
                                  rethrown = true;
                                }
                              }),
            WaitOutcome::kFinished)
      << "an action's failure goes back to the function";
  EXPECT_TRUE(rethrown) << "which caught it";
  watchdog.Finish();
}

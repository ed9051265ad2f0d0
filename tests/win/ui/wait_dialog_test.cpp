// The wait window: nothing the user presses ends it while its function runs,
// Escape only asks a function that may stop to stop, and a function that
// throws closes it with the failure as the outcome.
#include <gtest/gtest.h>

#include <stdexcept>

#include "modal_driver.h"
#include "resource_ids.h"
#include "ui/dialogs/wait_dialog.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

WaitWindowOptions Options(bool cancellable) {
  WaitWindowOptions options;
  options.titleKey = "L0005";  // "Back Up Registry"
  options.messageKey = "L0011";
  options.cancellable = cancellable;
  return options;
}

}  // namespace

TEST(WaitDialog, TheWindowStaysUntilTheFunctionReturnsAndEscapeOnlyAsksItToStop) {
  UseRepositoryLanguage();
  for (const bool cancellable : {false, true}) {
    const ScopedKernelHandle gate(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    ModalDriver driver([&](ModalDriver& d) {
      const HWND window = d.WaitForWindow("#32770", "Back Up Registry");
      if (window == nullptr) return;
      PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
      PostMessageA(window, WM_CLOSE, 0, 0);
      PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
      PostMessageA(window, WM_COMMAND, IDOK, 0);
      Sleep(500);
      if (!IsWindowVisible(window)) d.Problem("the window closed under its function");
      SetEvent(gate.Get());
      d.WaitUntilGone(window);
    });
    bool stopSeen = false;
    const WaitOutcome outcome =
        RunWithWaitWindow(nullptr, Options(cancellable), [&](WaitReporter& r) {
          WaitForSingleObject(gate.Get(), 10000);
          stopSeen = r.stopRequested();
        });
    SetEvent(gate.Get());  // should the driver have failed
    driver.Finish();
    EXPECT_TRUE(driver.ok()) << driver.report();
    EXPECT_EQ(stopSeen, cancellable) << "a stop is asked only where stopping is safe";
    EXPECT_EQ(outcome, cancellable ? WaitOutcome::kStopped : WaitOutcome::kFinished);
  }
}

TEST(WaitDialog, AFunctionThatThrowsClosesTheWindowAndSaysSo) {
  UseRepositoryLanguage();
  ModalDriver watchdog([](ModalDriver&) {});  // bounds the test
  EXPECT_EQ(RunWithWaitWindow(nullptr, Options(false),
                              [](WaitReporter&) { throw std::runtime_error("backup failed"); }),
            WaitOutcome::kFailed);
  bool rethrown = false;
  RunWithWaitWindow(nullptr, Options(false), [&](WaitReporter& r) {
    try {
      r.RunOnUiThread([](HWND) { throw std::runtime_error("window failed"); });
    } catch (const std::runtime_error&) {
      rethrown = true;
    }
  });
  EXPECT_TRUE(rethrown) << "an action's failure on the UI thread goes back to the function";
  watchdog.Finish();
}

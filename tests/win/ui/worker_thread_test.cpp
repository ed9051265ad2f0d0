// The UI's worker thread: one body at a time, the posted "done", exceptions
// kept inside, the stop flag, and a join that lets sent messages through.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

#include "ui/worker_thread.h"

using namespace kelvane;

namespace {

constexpr UINT kDone = WM_APP + 1;
constexpr UINT kReport = WM_APP + 2;
constexpr LRESULT kReportAnswer = 42;
constexpr DWORD kBoundMs = 5000;

// A hidden window of the test thread that workers report to.
class Receiver {
 public:
  Receiver() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KelvaneWorkerReceiver";
    RegisterClassA(&windowClass);  // fails harmlessly from the second test on
    window_ = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr,
                              nullptr, windowClass.hInstance, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~Receiver() { DestroyWindow(window_); }
  Receiver(const Receiver&) = delete;
  Receiver& operator=(const Receiver&) = delete;

  HWND window() const { return window_; }
  int reports() const { return reports_; }

  // The wParam of the next "done" message, or -1 when none came in time.
  int WaitDone() {
    const DWORD start = GetTickCount();
    for (;;) {
      MSG message;
      if (PeekMessageA(&message, window_, kDone, kDone, PM_REMOVE))
        return static_cast<int>(message.wParam);
      const DWORD spent = GetTickCount() - start;
      if (spent >= kBoundMs) return -1;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, kBoundMs - spent, QS_ALLINPUT);
    }
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kReport) {
      auto* self = reinterpret_cast<Receiver*>(GetWindowLongPtrA(window, GWLP_USERDATA));
      ++self->reports_;
      return kReportAnswer;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  HWND window_ = nullptr;
  int reports_ = 0;
};

// A manual-reset event the bodies wait for, at most kBoundMs.
class Gate {
 public:
  Gate() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  void Open() { SetEvent(event_.Get()); }
  void Wait() const { WaitForSingleObject(event_.Get(), kBoundMs); }

 private:
  ScopedKernelHandle event_;
};

}  // namespace

TEST(WorkerThread, RunsOneBodyAtATimeAndPostsDoneWhenTheBodyReturns) {
  Receiver receiver;
  WorkerThread worker;
  Gate gate;
  std::atomic<int> runs{0};
  ASSERT_TRUE(worker.Start(
      [&](volatile LONG*) {
        ++runs;
        gate.Wait();
      },
      receiver.window(), kDone));
  EXPECT_TRUE(worker.running()) << "running while its body runs";
  EXPECT_FALSE(worker.Start([&](volatile LONG*) { runs += 100; }, receiver.window(), kDone))
      << "a second start is refused while the first body runs";
  EXPECT_FALSE(worker.Join(50)) << "a bounded join gives up on a body still running";
  gate.Open();
  EXPECT_EQ(receiver.WaitDone(), static_cast<int>(kWorkerFinished)) << "done, the body returned";
  EXPECT_TRUE(worker.Join(kBoundMs)) << "joined";
  EXPECT_FALSE(worker.running()) << "not running once joined";

  EXPECT_TRUE(worker.Start([&](volatile LONG*) { ++runs; }, receiver.window(), kDone))
      << "a new start once the first body has ended";
  EXPECT_EQ(receiver.WaitDone(), static_cast<int>(kWorkerFinished)) << "done of the second run";
  EXPECT_TRUE(worker.Join(kBoundMs)) << "second join";
  EXPECT_EQ(runs.load(), 2) << "the refused body never ran";
}

TEST(WorkerThread, AnExceptionOfTheBodyEndsAtTheThreadAndIsReportedInDone) {
  Receiver receiver;
  WorkerThread worker;
  ASSERT_TRUE(worker.Start([](volatile LONG*) { throw std::runtime_error("scan failed"); },
                           receiver.window(), kDone));
  EXPECT_EQ(receiver.WaitDone(), static_cast<int>(kWorkerFailed)) << "done tells of the failure";
  EXPECT_TRUE(worker.Join(kBoundMs)) << "the thread ended normally";
}

TEST(WorkerThread, JoinDeliversTheMessagesTheWorkerSendsMeanwhile) {
  Receiver receiver;
  WorkerThread worker;
  std::atomic<LRESULT> answer{0};
  const HWND window = receiver.window();
  ASSERT_TRUE(worker.Start([&](volatile LONG*) { answer = SendMessageA(window, kReport, 0, 0); },
                           window, kDone));
  // No message loop runs here: only the join can let the report through.
  const bool joined = worker.Join(kBoundMs);
  EXPECT_TRUE(joined) << "the join did not deadlock on the sent message";
  if (!joined) {  // let the worker finish all the same, so that the test ends
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    worker.Join(kBoundMs);
  }
  EXPECT_EQ(receiver.reports(), 1) << "the report was handled on this thread";
  EXPECT_EQ(answer.load(), kReportAnswer) << "and its answer reached the worker";
  EXPECT_EQ(receiver.WaitDone(), static_cast<int>(kWorkerFinished)) << "done stayed queued";
}

TEST(WorkerThread, TheStopFlagReachesTheBodyAndTheOwnerJoinsAtItsEnd) {
  Receiver receiver;
  std::atomic<bool> flagClearAtStart{false};
  std::atomic<bool> sawStop{false};
  Gate started;
  const auto body = [&](volatile LONG* stop) {
    flagClearAtStart = *stop == 0;
    started.Open();
    const DWORD start = GetTickCount();
    while (*stop == 0 && GetTickCount() - start < kBoundMs) Sleep(5);
    sawStop = *stop != 0;
  };
  {
    WorkerThread worker;
    worker.RequestStop();  // left over from an earlier run
    ASSERT_TRUE(worker.Start(body, receiver.window(), kDone));
    started.Wait();
  }  // the end of the owner asks the body to stop and joins it
  EXPECT_TRUE(flagClearAtStart.load()) << "Start clears the stop flag";
  EXPECT_TRUE(sawStop.load()) << "the owner's end stopped the body before the bound";

  sawStop = false;
  WorkerThread worker;
  ASSERT_TRUE(worker.Start(body, receiver.window(), kDone));
  worker.RequestStop();
  EXPECT_TRUE(worker.stopRequested()) << "the request is visible to the owner";
  EXPECT_TRUE(worker.Join(kBoundMs)) << "a stopped body ends";
  EXPECT_TRUE(sawStop.load()) << "RequestStop reached the body";
}

// The UI's worker thread: one body at a time, how it ended reported in
// "done", and a join that lets the worker's sent messages through.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

#include "ui/worker_thread.h"

using namespace kelvane;

namespace {

constexpr UINT kDone = WM_APP + 1;

// The wParam of the next "done" for `window`, or -1 after 5 s.
int WaitDone(HWND window) {
  MSG message;
  for (const DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(5))
    if (PeekMessageA(&message, window, kDone, kDone, PM_REMOVE))
      return static_cast<int>(message.wParam);
  return -1;
}

HWND MakeReceiver() {  // its text, "abc", is what the workers ask for
  return CreateWindowExA(0, "STATIC", "abc", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                         nullptr);
}

}  // namespace

TEST(WorkerThread, RefusesASecondBodyWhileOneRunsAndReportsHowEachEnded) {
  const HWND receiver = MakeReceiver();
  WorkerThread worker;
  ScopedKernelHandle gate(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  std::atomic<int> runs{0};
  ASSERT_TRUE(worker.Start(
      [&](volatile LONG*) {
        ++runs;
        WaitForSingleObject(gate.Get(), 5000);
      },
      receiver, kDone));
  EXPECT_FALSE(worker.Start([&](volatile LONG*) { ++runs; }, receiver, kDone))
      << "a second start while the first body runs";
  SetEvent(gate.Get());
  EXPECT_EQ(WaitDone(receiver), static_cast<int>(kWorkerFinished)) << "the body returned";
  EXPECT_TRUE(worker.Join(5000)) << "joined";
  EXPECT_EQ(runs.load(), 1) << "the refused body never ran";

  ASSERT_TRUE(worker.Start([](volatile LONG*) { throw std::runtime_error("scan failed"); },
                           receiver, kDone));
  EXPECT_EQ(WaitDone(receiver), static_cast<int>(kWorkerFailed)) << "the body threw";
  EXPECT_TRUE(worker.Join(5000)) << "the thread ended normally";
  DestroyWindow(receiver);
}

TEST(WorkerThread, JoinDeliversTheMessagesTheWorkerSendsMeanwhile) {
  const HWND receiver = MakeReceiver();
  WorkerThread worker;
  std::atomic<LRESULT> answer{0};
  ASSERT_TRUE(
      worker.Start([&](volatile LONG*) { answer = SendMessageA(receiver, WM_GETTEXTLENGTH, 0, 0); },
                   receiver, kDone));
  const bool joined = worker.Join(5000);  // no message loop runs here
  EXPECT_TRUE(joined) << "the join did not deadlock on the sent message";
  MSG message;
  if (!joined) PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // let the worker end
  if (!joined) worker.Join(5000);
  EXPECT_EQ(answer.load(), 3) << "the message was answered on this thread";
  DestroyWindow(receiver);
}

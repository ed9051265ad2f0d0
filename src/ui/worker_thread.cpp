#include "ui/worker_thread.h"

#include <process.h>

#include <memory>

namespace kelvane {

namespace {

struct Launch {
  WorkerThread::Body body;
  volatile LONG* stopFlag;
  HWND notify;
  UINT doneMessage;
};

unsigned __stdcall ThreadEntry(void* parameter) {
  std::unique_ptr<Launch> launch(static_cast<Launch*>(parameter));
  WPARAM outcome = kWorkerFinished;
  try {
    launch->body(launch->stopFlag);
  } catch (...) {
    // An exception must not leave the thread (that would end the process);
    // the owner learns it from the "done" message.
    outcome = kWorkerFailed;
  }
  if (launch->notify != nullptr) PostMessageA(launch->notify, launch->doneMessage, outcome, 0);
  return 0;
}

}  // namespace

WorkerThread::~WorkerThread() {
  RequestStop();
  Join();
}

bool WorkerThread::Start(Body body, HWND notify, UINT doneMessage) {
  if (running()) return false;
  Join();  // an earlier thread that has ended
  InterlockedExchange(&stop_, 0);
  auto launch = std::make_unique<Launch>(Launch{std::move(body), &stop_, notify, doneMessage});
  const uintptr_t thread = _beginthreadex(nullptr, 0, ThreadEntry, launch.get(), 0, nullptr);
  if (thread == 0) return false;
  launch.release();  // the thread owns it now
  thread_.Reset(reinterpret_cast<HANDLE>(thread));
  return true;
}

bool WorkerThread::running() const {
  return thread_.IsValid() && WaitForSingleObject(thread_.Get(), 0) == WAIT_TIMEOUT;
}

void WorkerThread::RequestStop() { InterlockedExchange(&stop_, 1); }

bool WorkerThread::Join(DWORD timeoutMs) {
  if (!thread_.IsValid()) return true;
  const HANDLE thread = thread_.Get();
  const DWORD start = GetTickCount();
  for (;;) {
    DWORD wait = INFINITE;
    if (timeoutMs != INFINITE) {
      const DWORD spent = GetTickCount() - start;
      if (spent >= timeoutMs) return false;
      wait = timeoutMs - spent;
    }
    const DWORD woke = MsgWaitForMultipleObjects(1, &thread, FALSE, wait, QS_SENDMESSAGE);
    if (woke == WAIT_OBJECT_0) break;
    if (woke == WAIT_TIMEOUT) return false;
    if (woke == WAIT_FAILED) return false;
    // Peeking delivers the messages sent to this thread and removes nothing.
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  thread_.Reset();
  return true;
}

}  // namespace kelvane

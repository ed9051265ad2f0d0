#pragma once
// A background thread of the user interface (the scan, an analysis).
//
// Rules:
// - A worker talks to windows only by SendMessage to a window of the UI
//   thread, so the window changes on its own thread, and ends with one
//   posted "done" message. It never creates, moves or destroys a window.
// - No mutable state is shared without an owner: what the worker fills is
//   its own until "done" arrives; the stop flag is the only thing both sides
//   touch (the UI thread writes it, the worker reads it).
// - The owner joins the worker before the window it reports to goes. The
//   join keeps delivering messages sent to this thread, because a worker
//   blocked in SendMessage to it would otherwise never return and a plain
//   wait would never end.
#include <windows.h>

#include <functional>

#include "foundation/scoped_handle.h"

namespace kelvane {

// The wParam of the "done" message.
enum WorkerOutcome : WPARAM {
  kWorkerFinished = 0,  // the body returned
  kWorkerFailed = 1,    // the body threw; the exception ended at the thread entry
};

class WorkerThread {
 public:
  // The body gets the stop flag: non-zero asks it to return soon.
  using Body = std::function<void(volatile LONG* stopFlag)>;

  WorkerThread() = default;
  // Asks a running body to stop and joins it.
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Clears the stop flag and runs `body` on a new thread; when it has
  // returned, `doneMessage` is posted to `notify` (wParam: WorkerOutcome).
  // False, and nothing runs, while an earlier body still runs or when no
  // thread could be made.
  bool Start(Body body, HWND notify, UINT doneMessage);

  // From Start until the body has returned.
  bool running() const;

  void RequestStop();
  bool stopRequested() const { return stop_ != 0; }
  volatile LONG* stopFlag() { return &stop_; }

  // Waits until the thread has ended, delivering the messages other threads
  // send to this one meanwhile (posted messages stay queued); then closes
  // the thread. False when `timeoutMs` passed first (the thread is kept).
  bool Join(DWORD timeoutMs = INFINITE);

 private:
  ScopedKernelHandle thread_;
  volatile LONG stop_ = 0;
};

}  // namespace kelvane

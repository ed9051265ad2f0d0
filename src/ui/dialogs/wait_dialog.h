#pragma once
// The wait window (template 209): a small modal window with a title and a
// message, optionally a progress bar and a cancel button, that runs one
// function on a worker thread from the moment it is initialised and closes
// when the worker's posted "done" arrives.
//
// While the function runs nothing ends the window: Escape, the close box and
// the cancel button only ask the function to stop (the stop flag), and only
// when the caller made the window cancellable; otherwise they do nothing.
// The cancel button then greys out and reads "L0041". The function reports
// through the WaitReporter, whose calls are messages sent to the window.
#include <windows.h>

#include <functional>
#include <string>

#include "ui/dialog.h"
#include "ui/worker_thread.h"

namespace kelvane {

struct WaitWindowOptions {
  std::string titleKey;    // language key of the title
  std::string messageKey;  // language key of the message
  bool showProgress = false;
  // The cancel button, and Escape and the close box, ask the function to stop.
  bool cancellable = false;
};

// What the function gets: the stop flag, and the window's parts by sent
// messages. Call it from the function's own thread.
class WaitReporter {
 public:
  WaitReporter(HWND window, volatile LONG* stopFlag) : window_(window), stop_(stopFlag) {}

  bool stopRequested() const { return *stop_ != 0; }
  // For engine calls that read a flag themselves.
  volatile LONG* stopFlag() const { return stop_; }

  void SetProgress(int percent) const;
  void SetMessageKey(const std::string& key) const;
  void SetMessageText(const std::string& text) const;
  // Runs `action` on the user-interface thread, with the wait window as the
  // owner of any window it opens, and returns when it has; an exception it
  // throws is thrown again here.
  void RunOnUiThread(const std::function<void(HWND waitWindow)>& action) const;

 private:
  HWND window_;
  volatile LONG* stop_;
};

using WaitFunction = std::function<void(WaitReporter& reporter)>;

enum class WaitOutcome {
  kFinished,    // the function returned
  kStopped,     // the function returned after it was asked to stop
  kFailed,      // the function threw
  kNotStarted,  // the window or the thread could not be made; nothing ran
};

class WaitDialog : public Dialog {
 public:
  WaitDialog(WaitWindowOptions options, WaitFunction function);
  ~WaitDialog() override;

  // Shows the window owned by `owner` until the function has returned.
  WaitOutcome Run(HWND owner);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

 private:
  void AskToStop();
  // Fits the window round its message and the parts that are shown.
  void Layout();

  const WaitWindowOptions options_;
  const WaitFunction function_;
  WorkerThread worker_;
  WaitOutcome outcome_ = WaitOutcome::kNotStarted;
};

// WaitDialog(options, function).Run(owner).
WaitOutcome RunWithWaitWindow(HWND owner, const WaitWindowOptions& options, WaitFunction function);

}  // namespace kelvane

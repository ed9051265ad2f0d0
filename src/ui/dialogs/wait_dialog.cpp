#include "ui/dialogs/wait_dialog.h"

#include <exception>
#include <utility>

#include "foundation/language_table.h"
#include "resource_ids.h"
#include "ui/controls/progress_bar.h"
#include "ui/ui_handles.h"
#include "ui/window_geometry.h"
#include "ui/window_text.h"

namespace kelvane {

namespace {

// Messages of the wait window to itself; private to its procedure.
constexpr UINT WM_WAIT_DONE = WM_APP + 0x310;      // posted; wParam: WorkerOutcome
constexpr UINT WM_WAIT_PROGRESS = WM_APP + 0x311;  // wParam: percent
constexpr UINT WM_WAIT_MESSAGE = WM_APP + 0x312;  // wParam: 1 for a key; lParam: const std::string*
constexpr UINT WM_WAIT_INVOKE = WM_APP + 0x313;   // lParam: Invocation*

constexpr int kButtonTextPadding = 8;  // dialog units on each side of a caption

struct Invocation {
  const std::function<void(HWND)>* action;
  std::exception_ptr failure;
};

// `dialogUnits` across and down in pixels of `window`.
SIZE DialogUnits(HWND window, int across, int down) {
  RECT rect = {0, 0, across, down};
  MapDialogRect(window, &rect);
  return SIZE{rect.right, rect.bottom};
}

RECT ChildRect(HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The height `text` takes when wrapped to `width` pixels in `window`'s font.
int WrappedTextHeight(HWND window, const std::string& text, int width) {
  const HDC dc = GetDC(window);
  if (dc == nullptr) return 0;
  int height = 0;
  {
    const SelectedObject font(dc,
                              reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)));
    RECT rect = {0, 0, width, 0};
    const std::string measured = text.empty() ? std::string(" ") : text;
    DrawTextA(dc, measured.c_str(), static_cast<int>(measured.size()), &rect,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
    height = rect.bottom - rect.top;
  }
  ReleaseDC(window, dc);
  return height;
}

// Widens `button`, keeping its right edge, when its caption needs more room.
void FitButtonToCaption(HWND button) {
  const HDC dc = GetDC(button);
  if (dc == nullptr) return;
  SIZE text = {};
  {
    const SelectedObject font(dc,
                              reinterpret_cast<HGDIOBJ>(SendMessageA(button, WM_GETFONT, 0, 0)));
    const std::string caption = WindowText(button);
    GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
  }
  ReleaseDC(button, dc);
  const RECT rect = ChildRect(button);
  const int wanted = text.cx + 2 * DialogUnits(GetParent(button), kButtonTextPadding, 0).cx;
  if (wanted > rect.right - rect.left)
    MoveWindow(button, rect.right - wanted, rect.top, wanted, rect.bottom - rect.top, TRUE);
}

}  // namespace

void WaitReporter::SetProgress(int percent) const {
  SendMessageA(window_, WM_WAIT_PROGRESS, static_cast<WPARAM>(percent), 0);
}

void WaitReporter::SetMessageKey(const std::string& key) const {
  SendMessageA(window_, WM_WAIT_MESSAGE, 1, reinterpret_cast<LPARAM>(&key));
}

void WaitReporter::SetMessageText(const std::string& text) const {
  SendMessageA(window_, WM_WAIT_MESSAGE, 0, reinterpret_cast<LPARAM>(&text));
}

void WaitReporter::RunOnUiThread(const std::function<void(HWND)>& action) const {
  Invocation invocation{&action, nullptr};
  SendMessageA(window_, WM_WAIT_INVOKE, 0, reinterpret_cast<LPARAM>(&invocation));
  if (invocation.failure) std::rethrow_exception(invocation.failure);
}

WaitDialog::WaitDialog(WaitWindowOptions options, WaitFunction function)
    : Dialog(IDD_WAIT), options_(std::move(options)), function_(std::move(function)) {}

WaitDialog::~WaitDialog() {
  Destroy();
  worker_.RequestStop();
  worker_.Join();
}

WaitOutcome WaitDialog::Run(HWND owner) {
  outcome_ = WaitOutcome::kNotStarted;
  if (!RegisterProgressBarClass()) return outcome_;
  DoModal(owner);
  worker_.Join();  // it ended before "done" could close the window
  return outcome_;
}

bool WaitDialog::OnInit() {
  SetWindowTextA(window(), LanguageText(options_.titleKey.c_str()).c_str());
  SetDlgItemTextA(window(), IDC_WAIT_MESSAGE, LanguageText(options_.messageKey.c_str()).c_str());
  ShowWindow(Item(IDC_WAIT_PROGRESS), options_.showProgress ? SW_SHOW : SW_HIDE);
  ShowWindow(Item(IDCANCEL), options_.cancellable ? SW_SHOW : SW_HIDE);
  if (!options_.cancellable)
    EnableMenuItem(GetSystemMenu(window(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  ProgressBar(Item(IDC_WAIT_PROGRESS)).SetRange(0, 100);
  Layout();
  CentreOnOwner(window());

  const HWND window = this->window();
  const WaitFunction& function = function_;
  if (!worker_.Start(
          [window, &function](volatile LONG* stopFlag) {
            WaitReporter reporter(window, stopFlag);
            function(reporter);
          },
          window, WM_WAIT_DONE)) {
    End(-1);  // nothing runs, so nothing would ever close the window
    return false;
  }
  return true;
}

void WaitDialog::Layout() {
  RECT client;
  GetClientRect(window(), &client);
  const SIZE margin = DialogUnits(window(), 10, 8);
  const SIZE gap = DialogUnits(window(), 0, 6);
  const int width = client.right - 2 * margin.cx;
  const HWND message = Item(IDC_WAIT_MESSAGE);
  const int messageHeight = WrappedTextHeight(message, WindowText(message), width);
  MoveWindow(message, margin.cx, margin.cy, width, messageHeight, TRUE);
  int y = margin.cy + messageHeight + gap.cy;
  if (options_.showProgress) {
    const HWND bar = Item(IDC_WAIT_PROGRESS);
    const RECT rect = ChildRect(bar);
    MoveWindow(bar, margin.cx, y, width, rect.bottom - rect.top, TRUE);
    y += rect.bottom - rect.top + gap.cy;
  }
  if (options_.cancellable) {
    const HWND cancel = Item(IDCANCEL);
    FitButtonToCaption(cancel);
    const RECT rect = ChildRect(cancel);
    const int buttonWidth = rect.right - rect.left;
    MoveWindow(cancel, client.right - margin.cx - buttonWidth, y, buttonWidth,
               rect.bottom - rect.top, TRUE);
    y += rect.bottom - rect.top + gap.cy;
  }
  SetClientSize(window(), client.right, y - gap.cy + margin.cy);
}

void WaitDialog::AskToStop() {
  if (!options_.cancellable || !worker_.running() || worker_.stopRequested()) return;
  worker_.RequestStop();
  const HWND cancel = Item(IDCANCEL);
  SetWindowTextA(cancel, LanguageText("L0041").c_str());
  FitButtonToCaption(cancel);
  EnableWindow(cancel, FALSE);
}

bool WaitDialog::OnCommand(int id, int, HWND) {
  // Enter, Escape, the close box and the cancel button never end the
  // window: only the worker's "done" does.
  if (id == IDCANCEL) AskToStop();
  return id == IDCANCEL || id == IDOK;
}

bool WaitDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  switch (message) {
    case WM_WAIT_DONE:
      worker_.Join();
      if (wParam == kWorkerFailed)
        outcome_ = WaitOutcome::kFailed;
      else
        outcome_ = worker_.stopRequested() ? WaitOutcome::kStopped : WaitOutcome::kFinished;
      End(static_cast<INT_PTR>(outcome_));
      result = TRUE;
      return true;
    case WM_WAIT_PROGRESS:
      ProgressBar(Item(IDC_WAIT_PROGRESS)).SetPosition(static_cast<int>(wParam));
      result = TRUE;
      return true;
    case WM_WAIT_MESSAGE: {
      const auto* text = reinterpret_cast<const std::string*>(lParam);
      const std::string shown = wParam != 0 ? LanguageText(text->c_str()) : *text;
      SetDlgItemTextA(window(), IDC_WAIT_MESSAGE, shown.c_str());
      Layout();
      result = TRUE;
      return true;
    }
    case WM_WAIT_INVOKE: {
      auto* invocation = reinterpret_cast<Invocation*>(lParam);
      try {
        (*invocation->action)(window());
      } catch (...) {
        invocation->failure = std::current_exception();
      }
      result = TRUE;
      return true;
    }
    default:
      return false;
  }
}

WaitOutcome RunWithWaitWindow(HWND owner, const WaitWindowOptions& options, WaitFunction function) {
  WaitDialog dialog(options, std::move(function));
  return dialog.Run(owner);
}

}  // namespace kelvane

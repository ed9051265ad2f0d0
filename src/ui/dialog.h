#pragma once
// One small class per dialog template. The base stores `this` in the window
// (DWLP_USER) at WM_INITDIALOG, translates every caption that holds a
// language key before the dialog is shown, and dispatches to OnInit,
// OnCommand and OnMessage. An exception thrown by a handler is caught at the
// dialog procedure and ends only that message's work; one thrown while the
// dialog is initialised ends the dialog (DoModal gives -1, Create nullptr).
//
// A pop-up (a top-level dialog whose template says DS_MODALFRAME) wears the
// skin's frame (SkinnedFrame) from before OnInit on, so OnInit lays it out
// in its client area as usual; the main window and the pages keep theirs.
//
// Dialogs live on the user-interface thread: create, drive and destroy them
// there only.
#include <windows.h>

#include <memory>
#include <string>

namespace kelvane {

// The module whose resources hold the dialog templates and icons: the
// program's own file.
HINSTANCE ResourceModule();

class SkinnedFrame;

class Dialog {
 public:
  explicit Dialog(int templateId);
  // Destroys a modeless window still open. A subclass whose handlers use its
  // own members calls Destroy() in its own destructor, while they still live.
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Runs the dialog modally; the value given to End(), or -1 when the
  // dialog could not be made or its initialisation failed.
  INT_PTR DoModal(HWND owner);
  // Makes the dialog modeless (a child when the template says WS_CHILD);
  // the window, or nullptr. It is shown only if its template or its owner
  // says so.
  HWND Create(HWND owner);
  void Destroy();

  HWND window() const { return window_; }
  HWND Item(int id) const { return GetDlgItem(window_, id); }
  bool IsModal() const { return modal_; }

 protected:
  // Called after the captions were translated, before the dialog is shown.
  // Return true to let the system set the focus to the first control.
  virtual bool OnInit() { return true; }
  // True when handled. By default OK and Cancel end a modal dialog.
  virtual bool OnCommand(int id, int notifyCode, HWND control);
  // Every other message; true when handled, with the procedure's result.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
  // Ends a modal dialog with `result`.
  void End(INT_PTR result);

  // The dispatch after initialisation; kinds of dialog (Page) hook in here.
  virtual bool Route(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

  // Where a pop-up's frame pictures lie: the current skin of the program's
  // folder. "" keeps the system frame.
  virtual std::string FrameSkinFolder() const;

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool Initialise();

  const int templateId_;
  HWND window_ = nullptr;
  bool modal_ = false;
  std::unique_ptr<SkinnedFrame> frame_;  // a pop-up's, while it is open
};

}  // namespace kelvane

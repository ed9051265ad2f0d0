#include "ui/dialog.h"

#include <exception>
#include <string>

#include "foundation/language_table.h"
#include "foundation/program_paths.h"
#include "ui/skin_folder.h"
#include "ui/skinned_frame.h"

namespace kelvane {

namespace {

// A top-level dialog made from a DS_MODALFRAME template: a pop-up.
bool IsPopUp(HWND window) {
  const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
  return !(style & WS_CHILD) && (style & WS_CAPTION) == WS_CAPTION &&
         ((style & DS_MODALFRAME) || (exStyle & WS_EX_DLGMODALFRAME));
}

// Leaves a trace for a debugger; the user sees the dialog go on.
void ReportFailure(const std::string& what) {
  OutputDebugStringA(("Kelvane: a window handler failed: " + what + "\n").c_str());
}

}  // namespace

HINSTANCE ResourceModule() { return GetModuleHandleA(nullptr); }

Dialog::Dialog(int templateId) : templateId_(templateId) {}

Dialog::~Dialog() { Destroy(); }

std::string Dialog::FrameSkinFolder() const { return CurrentSkinFolder(GetProgramFolder()); }

INT_PTR Dialog::DoModal(HWND owner) {
  if (window_ != nullptr) return -1;  // already open
  modal_ = true;
  const INT_PTR result = DialogBoxParamA(ResourceModule(), MAKEINTRESOURCEA(templateId_), owner,
                                         Procedure, reinterpret_cast<LPARAM>(this));
  modal_ = false;
  return result;
}

HWND Dialog::Create(HWND owner) {
  if (window_ != nullptr) return nullptr;
  modal_ = false;
  CreateDialogParamA(ResourceModule(), MAKEINTRESOURCEA(templateId_), owner, Procedure,
                     reinterpret_cast<LPARAM>(this));
  return window_;  // nullptr again when initialisation destroyed the window
}

void Dialog::Destroy() {
  if (window_ != nullptr && !modal_) DestroyWindow(window_);  // WM_NCDESTROY clears window_
}

void Dialog::End(INT_PTR result) {
  if (window_ != nullptr && modal_) EndDialog(window_, result);
}

bool Dialog::OnCommand(int id, int, HWND) {
  if (modal_ && (id == IDOK || id == IDCANCEL)) {
    End(id);
    return true;
  }
  return false;
}

bool Dialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

bool Dialog::Route(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  if (message == WM_COMMAND) {
    result = OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    return result != FALSE;
  }
  return OnMessage(message, wParam, lParam, result);
}

bool Dialog::Initialise() {
  ProcessLanguageTable().TranslateWindow(window_);
  frame_.reset();
  if (IsPopUp(window_)) {
    auto frame = std::make_unique<SkinnedFrame>();
    const std::string folder = FrameSkinFolder();
    if (!folder.empty() && frame->Load(folder) && frame->Attach(window_)) frame_ = std::move(frame);
  }
  return OnInit();
}

INT_PTR CALLBACK Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    self->window_ = window;
  } else {
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
  }
  if (self == nullptr) return FALSE;  // messages before WM_INITDIALOG (WM_SETFONT)

  INT_PTR result = FALSE;
  std::string failure;  // what a handler threw; empty when none threw
  try {
    if (message == WM_INITDIALOG)
      result = self->Initialise() ? TRUE : FALSE;
    else if (!self->Route(message, wParam, lParam, result) &&
             !(self->frame_ && self->frame_->PaintBody(message, wParam, result)))
      result = FALSE;
  } catch (const std::exception& error) {
    failure = error.what();
    if (failure.empty()) failure = "exception";
  } catch (...) {
    failure = "unknown exception";
  }
  if (!failure.empty()) {
    ReportFailure(failure);
    result = FALSE;
    // A dialog that could not be set up ends at once; any other handler's
    // failure ends only its own work.
    if (message == WM_INITDIALOG) self->modal_ ? EndDialog(window, -1) : DestroyWindow(window);
  }

  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, DWLP_USER, 0);
    self->window_ = nullptr;
  }
  return result;
}

}  // namespace kelvane

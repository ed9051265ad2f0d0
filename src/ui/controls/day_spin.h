#pragma once
// A day count of Settings.ini shown in an edit with a spin control beside it.
// Every step and every valid typed number is written at once; the count
// never leaves 1..maximum: a step past either end wraps round to the other,
// and typed text outside the range (or no number at all) is not stored and
// gives way to the stored count when the edit loses the focus.
//
// The owning dialog hands it the edit's WM_COMMAND and the spin's WM_NOTIFY.
#include <windows.h>

namespace kelvane {

// `value` moved by `delta` steps within 1..`maximum`, wrapping round at the
// ends; a value already outside the range counts from the nearer end.
int StepWrapped(int value, int delta, int maximum);

class DaySpin {
 public:
  // `key` names an integer of section "Settings" whose default is its
  // maximum. Shows the stored count.
  void Attach(HWND edit, HWND spin, const char* key, int maximum);

  // Reads the stored count again and shows it.
  void Reload();
  void Enable(bool enabled);
  // The count shown.
  int value() const { return value_; }

  // True when the message was the edit's or the spin's.
  bool OnCommand(HWND control, int notifyCode);
  bool OnNotify(const NMHDR& header, LRESULT& result);

 private:
  void Show(int value);
  void Store(int value);

  HWND edit_ = nullptr;
  HWND spin_ = nullptr;
  const char* key_ = nullptr;
  int maximum_ = 1;
  int value_ = 1;
  bool showing_ = false;  // the edit's text is being set by Show
};

}  // namespace kelvane

#include "ui/controls/day_spin.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "foundation/setting_number.h"
#include "foundation/settings_store.h"
#include "ui/window_text.h"

namespace kelvane {

int StepWrapped(int value, int delta, int maximum) {
  if (maximum < 1) return 1;
  const long long range = maximum;
  const long long start = std::clamp(value, 1, maximum) - 1;
  long long step = (start + delta) % range;
  if (step < 0) step += range;
  return static_cast<int>(step + 1);
}

void DaySpin::Attach(HWND edit, HWND spin, const char* key, int maximum) {
  edit_ = edit;
  spin_ = spin;
  key_ = key;
  maximum_ = std::max(maximum, 1);
  // Room for the largest count only: longer text cannot be a valid one.
  SendMessageA(edit_, EM_SETLIMITTEXT, std::to_string(maximum_).size(), 0);
  SendMessageA(spin_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit_), 0);
  SendMessageA(spin_, UDM_SETRANGE32, 1, maximum_);
  Reload();
}

void DaySpin::Reload() {
  if (key_ == nullptr) return;
  Show(ReadSettingInRange(key_, maximum_, 1, maximum_));
}

void DaySpin::Enable(bool enabled) {
  EnableWindow(edit_, enabled ? TRUE : FALSE);
  EnableWindow(spin_, enabled ? TRUE : FALSE);
}

void DaySpin::Show(int value) {
  value_ = value;
  showing_ = true;
  SetWindowTextA(edit_, std::to_string(value).c_str());
  showing_ = false;
  SendMessageA(spin_, UDM_SETPOS32, 0, value);
}

void DaySpin::Store(int value) {
  value_ = value;
  SendMessageA(spin_, UDM_SETPOS32, 0, value);
  WriteSettingInt(key_, value);
}

bool DaySpin::OnCommand(HWND control, int notifyCode) {
  if (control == nullptr || control != edit_) return false;
  if (notifyCode == EN_CHANGE && !showing_) {
    int typed = 0;
    if (ParseSettingNumber(WindowText(edit_), 1, maximum_, typed)) Store(typed);
  } else if (notifyCode == EN_KILLFOCUS) {
    Show(value_);  // what is stored, whatever was left typed
  }
  return true;
}

bool DaySpin::OnNotify(const NMHDR& header, LRESULT& result) {
  if (header.hwndFrom != spin_ || spin_ == nullptr || header.code != UDN_DELTAPOS) return false;
  const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
  const int next = StepWrapped(value_, change.iDelta, maximum_);
  Show(next);
  Store(next);
  result = TRUE;  // the spin keeps the position set here, not its own
  return true;
}

}  // namespace kelvane

#pragma once
// The home page's scheduled tasks strip: per job a check box that has the
// Task Scheduler run the program with the job's word (ticked: the task is
// made; cleared: it is deleted), its label, and a button that shows the
// task's times and opens the system's editor of them. The strip shows what
// the scheduler holds: it is read again on every refresh and after every
// click. Its controls lie in the home page's template; the page hands it
// their messages.
#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "foundation/time_stamp.h"
#include "ui/controls/skin_button.h"
#include "ui/schedule/scheduled_job.h"

namespace kelvane {

class ScheduleStrip {
 public:
  using Clock = std::function<LocalDateTime()>;

  // `clock` dates the default triggers.
  explicit ScheduleStrip(Clock clock) : clock_(std::move(clock)) {}

  // Builds the jobs for the running program and takes the button pictures
  // from `skinFolder`.
  void Init(HWND page, const std::string& skinFolder, HFONT titleFont);
  // Shows what the scheduler holds.
  void Refresh();

  // The strip within the page's `width`, below `top`: its card.
  void Layout(int top, int width);
  const RECT& card() const { return card_; }

  // True when the message was the strip's.
  bool OnCommand(int id, int notifyCode);
  bool OnColourStatic(HWND control, HDC dc, HBRUSH cardBrush, INT_PTR& result) const;
  bool OnDrawItem(const DRAWITEMSTRUCT& item, bool focusCuesShown) const;
  void InvalidateButtons() const;

 private:
  HWND Item(int id) const { return GetDlgItem(page_, id); }
  void OnCheckBoxClicked(std::size_t job);
  void OnButtonClicked(std::size_t job);
  // Ticks the box when a task of the job exists and shows its times.
  void ShowJobState(std::size_t job);
  // The button's caption, enabled only while the job has a task (`ticked`).
  void ShowSchedule(std::size_t job, bool ticked);
  int LabelWidth() const;

  Clock clock_;
  HWND page_ = nullptr;
  std::array<ScheduledJob, kScheduledJobCount> jobs_;
  SkinButtonImages buttonImages_;   // normal, mouse over, disabled
  SkinButtonImages pressedImages_;  // pressed
  std::array<ButtonHoverTracker, kScheduledJobCount> hover_;
  RECT card_ = {};
};

}  // namespace kelvane

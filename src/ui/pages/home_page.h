#pragma once
// The home page (page 0): one panel for each job (cleanup, defragmentation,
// backup) telling when it last ran and whether it is due again, with a
// button that has the main window show the job's page and start it. The
// panels are refreshed whenever the page is shown. Below them lies the
// scheduled tasks strip.
#include <windows.h>

#include <array>
#include <functional>

#include "foundation/time_stamp.h"
#include "ui/controls/skin_button.h"
#include "ui/pages/schedule_strip.h"
#include "ui/pages/skinned_page.h"
#include "ui/rules/job_status.h"

namespace kelvane {

class HomePage : public SkinnedPage {
 public:
  using Clock = std::function<LocalDateTime()>;
  static constexpr int kPanelCount = 3;

  // `clock` gives the local time the panels are judged against and the
  // schedule strip's default triggers start on.
  explicit HomePage(PageContext context, Clock clock = nullptr);
  ~HomePage() override { Destroy(); }

  // Reads the three time stamps again and shows them, and the scheduled
  // tasks as the Task Scheduler holds them.
  void Refresh();

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
  void OnActivated() override { Refresh(); }

 private:
  void ShowJobStatus(int panel);
  // As wide as the pictures, or as the widest caption needs.
  int ButtonWidth() const;
  void Layout(int width);
  void Paint();
  void DrawPanelButton(const DRAWITEMSTRUCT& item) const;
  // The panel whose control `id` is, or -1.
  static int PanelOf(int id);

  Clock clock_;
  ScheduleStrip schedule_;
  std::array<RgbColor, kPanelCount> colours_ = {kNeverDoneColor, kNeverDoneColor, kNeverDoneColor};
  std::array<RECT, kPanelCount> cards_ = {};
  SkinButtonImages buttonImages_;   // normal and mouse over
  SkinButtonImages pressedImages_;  // pressed
  std::array<ButtonHoverTracker, kPanelCount> hover_;
  FocusCues focusCues_;
  ScopedFont titleFont_;
  ScopedFont adviceFont_;
  ScopedBrush cardBrush_;
};

}  // namespace kelvane

#include "ui/pages/schedule_strip.h"

#include <algorithm>
#include <utility>

#include "foundation/language_table.h"
#include "foundation/program_paths.h"
#include "foundation/version_info.h"
#include "resource_ids.h"
#include "ui/buffered_dc.h"
#include "ui/pages/page_card.h"
#include "ui/pages/skinned_page.h"
#include "ui/ui_handles.h"
#include "ui/window_text.h"

namespace kelvane {

namespace {

struct JobControls {
  int checkBox;
  int label;
  int button;
};

// In the order of kScheduledJobKinds.
constexpr JobControls kControls[kScheduledJobCount] = {
    {IDC_SCHEDULE_FIX_CHECK, IDC_SCHEDULE_FIX_LABEL, IDC_SCHEDULE_FIX_BUTTON},
    {IDC_SCHEDULE_DEFRAG_CHECK, IDC_SCHEDULE_DEFRAG_LABEL, IDC_SCHEDULE_DEFRAG_BUTTON},
    {IDC_SCHEDULE_BACKUP_CHECK, IDC_SCHEDULE_BACKUP_LABEL, IDC_SCHEDULE_BACKUP_BUTTON},
};

// The job whose control `id` is in `field`, or -1.
int JobOf(int id, int JobControls::*field) {
  for (int job = 0; job < kScheduledJobCount; ++job)
    if (kControls[job].*field == id) return job;
  return -1;
}

// Measures in pixels, from the card's edges.
constexpr int kMargin = 24;  // the card's, as the panels above it
constexpr int kInset = 20;
constexpr int kTitleTop = 10;
constexpr int kTitleHeight = 20;
constexpr int kRowTop = 36;
constexpr int kRowPitch = 32;
constexpr int kButtonHeight = 28;
constexpr int kCheckSize = 16;
constexpr int kLabelGap = 6;    // between the box and its label
constexpr int kButtonGap = 16;  // between the longest label and the buttons
constexpr int kLabelHeight = 16;
constexpr int kButtonCorner = 6;
constexpr int kCaptionPadding = 10;
constexpr int kStripHeight = kRowTop + (kScheduledJobCount - 1) * kRowPitch + kButtonHeight + 12;

constexpr COLORREF kButtonTextColour = RGB(0xFF, 0xFF, 0xFF);
// Darker than the system's grey: the disabled picture is light.
constexpr COLORREF kDisabledTextColour = RGB(0x6B, 0x74, 0x80);

}  // namespace

void ScheduleStrip::Init(HWND page, const std::string& skinFolder, HFONT titleFont) {
  page_ = page;
  const std::string programPath = GetProgramFilePath();
  for (int job = 0; job < kScheduledJobCount; ++job) {
    jobs_[static_cast<std::size_t>(job)] = MakeScheduledJob(kScheduledJobKinds[job], programPath);
    hover_[static_cast<std::size_t>(job)].Attach(Item(kControls[job].button));
  }
  buttonImages_ = LoadSkinButtonImages(skinFolder, "normal99.png", "hover99.png", "disable99.png");
  pressedImages_.normal = LoadSkinImage(skinFolder, "pressed99.png");
  SendMessageA(Item(IDC_SCHEDULE_TITLE), WM_SETFONT, reinterpret_cast<WPARAM>(titleFont), FALSE);
}

void ScheduleStrip::Refresh() {
  if (!IsTaskSchedulerAvailable()) {
    const std::string unavailable = LanguageText("L0219");
    for (const JobControls& controls : kControls) {
      for (int id : {controls.checkBox, controls.label, controls.button})
        EnableWindow(Item(id), FALSE);
      SetWindowTextA(Item(controls.button), unavailable.c_str());
    }
    return;
  }
  for (std::size_t job = 0; job < jobs_.size(); ++job) {
    EnableWindow(Item(kControls[job].checkBox), TRUE);
    EnableWindow(Item(kControls[job].label), TRUE);
    ShowJobState(job);
  }
}

void ScheduleStrip::ShowJobState(std::size_t job) {
  ScheduledJob& record = jobs_[job];
  const bool found =
      FindJobTask(record.programPath, record.parameters, record.taskName, record.triggers);
  SendMessageA(Item(kControls[job].checkBox), BM_SETCHECK, found ? BST_CHECKED : BST_UNCHECKED, 0);
  ShowSchedule(job, found);
}

void ScheduleStrip::ShowSchedule(std::size_t job, bool ticked) {
  const HWND button = Item(kControls[job].button);
  // Without a task of its own the job's name may still be taken by another
  // task, whose times are not the job's.
  const std::string caption = ticked ? GetScheduleText(jobs_[job].taskName) : NoScheduleText();
  SetWindowTextA(button, caption.c_str());
  EnableWindow(button, ticked);
  InvalidateRect(button, nullptr, FALSE);
}

void ScheduleStrip::OnCheckBoxClicked(std::size_t job) {
  ScheduledJob& record = jobs_[job];
  const bool ticked = SendMessageA(Item(kControls[job].checkBox), BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (!ticked) {
    // The remembered triggers stay, for a tick that makes the task again.
    DeleteJobTask(record.taskName);
  } else {
    const TaskTriggers triggers = record.triggers.empty()
                                      ? TaskTriggers{DefaultTrigger(record.kind, clock_())}
                                      : record.triggers;
    // A name that is taken by a task that is not the job's leaves that
    // task alone; the box then shows that the job has none.
    if (CreateJobTask(TaskDefinitionOf(record), triggers))
      ReadJobTriggers(record.taskName, record.triggers);
  }
  // What the scheduler holds now, whatever the call gave.
  ShowJobState(job);
}

void ScheduleStrip::OnButtonClicked(std::size_t job) {
  ScheduledJob& record = jobs_[job];
  if (EditJobTask(record.taskName, page_) == EditOutcome::kNoPropertySheet)
    MessageBoxA(page_, LanguageText("L0279").c_str(), ProgramProductName().c_str(),
                MB_OK | MB_ICONINFORMATION);
  ReadJobTriggers(record.taskName, record.triggers);
  ShowSchedule(job, SendMessageA(Item(kControls[job].checkBox), BM_GETCHECK, 0, 0) == BST_CHECKED);
}

bool ScheduleStrip::OnCommand(int id, int notifyCode) {
  if (const int job = JobOf(id, &JobControls::checkBox); job >= 0) {
    if (notifyCode == BN_CLICKED) OnCheckBoxClicked(static_cast<std::size_t>(job));
    return true;
  }
  if (const int job = JobOf(id, &JobControls::button); job >= 0) {
    if (notifyCode == BN_CLICKED) OnButtonClicked(static_cast<std::size_t>(job));
    return true;
  }
  if (const int job = JobOf(id, &JobControls::label); job >= 0) {
    // A click on the label is a click on its box, as with a box's own text.
    const HWND box = Item(kControls[job].checkBox);
    if (notifyCode == STN_CLICKED && IsWindowEnabled(box)) SendMessageA(box, BM_CLICK, 0, 0);
    return true;
  }
  return false;
}

int ScheduleStrip::LabelWidth() const {
  int width = 0;
  const HDC dc = GetDC(page_);
  if (dc == nullptr) return 200;
  {
    SelectedObject font(dc, reinterpret_cast<HFONT>(SendMessageA(page_, WM_GETFONT, 0, 0)));
    for (const JobControls& controls : kControls) {
      const std::string caption = WindowText(Item(controls.label));
      SIZE text = {0, 0};
      GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
      width = std::max<int>(width, text.cx + 2);
    }
  }
  ReleaseDC(page_, dc);
  return width;
}

void ScheduleStrip::Layout(int top, int width) {
  card_ = {kMargin, top, width - kMargin, top + kStripHeight};
  const auto place = [&](int id, int x, int y, int w, int h) {
    SetWindowPos(Item(id), nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  };
  const int left = card_.left + kInset;
  const int right = card_.right - kInset;
  place(IDC_SCHEDULE_TITLE, left, top + kTitleTop, right - left, kTitleHeight);
  const int labelLeft = left + kCheckSize + kLabelGap;
  const int buttonLeft = labelLeft + LabelWidth() + kButtonGap;
  for (int job = 0; job < kScheduledJobCount; ++job) {
    const int rowTop = top + kRowTop + job * kRowPitch;
    const int middle = rowTop + kButtonHeight / 2;
    place(kControls[job].checkBox, left, middle - kCheckSize / 2, kCheckSize, kCheckSize);
    place(kControls[job].label, labelLeft, middle - kLabelHeight / 2,
          buttonLeft - kButtonGap - labelLeft, kLabelHeight);
    place(kControls[job].button, buttonLeft, rowTop, std::max(right - buttonLeft, 0),
          kButtonHeight);
  }
}

bool ScheduleStrip::OnColourStatic(HWND control, HDC dc, HBRUSH cardBrush, INT_PTR& result) const {
  const int id = GetDlgCtrlID(control);
  if (id != IDC_SCHEDULE_TITLE && JobOf(id, &JobControls::checkBox) < 0 &&
      JobOf(id, &JobControls::label) < 0)
    return false;
  SetBkColor(dc, kPageCardColour);
  SetBkMode(dc, OPAQUE);
  SetTextColor(dc, IsWindowEnabled(control) ? kPageHeadingColour : GetSysColor(COLOR_GRAYTEXT));
  result = reinterpret_cast<INT_PTR>(cardBrush);
  return true;
}

bool ScheduleStrip::OnDrawItem(const DRAWITEMSTRUCT& item, bool focusCuesShown) const {
  const int job = JobOf(static_cast<int>(item.CtlID), &JobControls::button);
  if (item.CtlType != ODT_BUTTON || job < 0) return false;
  const int width = item.rcItem.right - item.rcItem.left;
  const int height = item.rcItem.bottom - item.rcItem.top;
  const ButtonLook look = LookOf(item.itemState, hover_[static_cast<std::size_t>(job)].hovered());

  BufferedDc buffer(item.hDC, width, height);
  const RECT face = {0, 0, width, height};
  FillCardColour(buffer.dc(), face);
  const SkinButtonImages& images = ImagesForLook(look, buttonImages_, pressedImages_);
  const HFONT font = reinterpret_cast<HFONT>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0));
  // The picture alone: the caption, often longer than the button, is cut
  // with an ellipsis below.
  DrawSkinButton(buffer.dc(), face, images, look, std::string(), font, kButtonTextColour,
                 kButtonCorner);
  const COLORREF text = look == ButtonLook::kDisabled ? kDisabledTextColour
                        : buttonImages_.normal        ? kButtonTextColour
                                                      : kPageHeadingColour;
  RECT caption = {kCaptionPadding, 0, width - kCaptionPadding, height};
  if (look == ButtonLook::kPressed) OffsetRect(&caption, 1, 1);
  {
    SelectedObject selected(buffer.dc(), font);
    SetBkMode(buffer.dc(), TRANSPARENT);
    SetTextColor(buffer.dc(), text);
    const std::string words = WindowText(item.hwndItem);
    DrawTextA(buffer.dc(), words.c_str(), -1, &caption,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT) && focusCuesShown) {
    RECT focus = face;
    InflateRect(&focus, -4, -4);
    SetTextColor(buffer.dc(), text);
    DrawFocusRect(buffer.dc(), &focus);
  }
  return true;
}

void ScheduleStrip::InvalidateButtons() const {
  for (const JobControls& controls : kControls)
    InvalidateRect(Item(controls.button), nullptr, FALSE);
}

}  // namespace kelvane

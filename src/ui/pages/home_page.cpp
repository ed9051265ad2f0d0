#include "ui/pages/home_page.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "foundation/language_table.h"
#include "foundation/local_time.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "resource_ids.h"
#include "ui/buffered_dc.h"
#include "ui/buffered_paint.h"
#include "ui/pages/page_card.h"
#include "ui/rules/display_date.h"
#include "ui/rules/text_format.h"
#include "ui/skin_folder.h"
#include "ui/ui_handles.h"
#include "ui/window_messages.h"
#include "ui/window_text.h"

namespace kelvane {

namespace {

enum class Glyph { kMagnifier, kBlocks, kSaveTray };

struct JobPanel {
  const char* settingsKey;
  int dueDays;
  const char* neverKey;
  const char* doneKey;
  UINT startMessage;  // to the main window
  Glyph glyph;
};

// In the order of the panels' controls in the template.
constexpr JobPanel kJobPanels[HomePage::kPanelCount] = {
    {kKeyLastClean, kFixDueDays, "L0144", "L0149", WM_START_SCAN, Glyph::kMagnifier},
    {kKeyLastDefrag, kDefragDueDays, "L0148", "L0167", WM_START_DEFRAG, Glyph::kBlocks},
    {kKeyLastBackup, kBackupDueDays, "L0169", "L0170", WM_START_BACKUP, Glyph::kSaveTray},
};

// The controls of a panel: IDC_HOME_PANEL_FIRST + panel * stride + field.
enum PanelField { kTitle = 0, kStatus = 1, kAdvice = 2, kButton = 3 };

int ControlId(int panel, PanelField field) {
  return IDC_HOME_PANEL_FIRST + panel * IDC_HOME_PANEL_STRIDE + field;
}

// Measures in pixels. The three cards are stacked at the top, the schedule
// strip's card below them.
constexpr int kMargin = 24;
constexpr int kCardTop = 16;
constexpr int kCardHeight = 80;
constexpr int kCardGap = 10;
constexpr int kBadgeSize = 48;
constexpr int kBadgeLeft = 20;
constexpr int kTextLeft = 88;  // from the card's left edge
constexpr int kTitleTop = 12;
constexpr int kTitleHeight = 20;
constexpr int kStatusTop = 34;
constexpr int kAdviceTop = 52;
constexpr int kLineHeight = 16;
constexpr int kButtonWidth = 140;   // the picture's width; wider when a caption needs it
constexpr int kButtonPadding = 18;  // on each side of the widest caption
constexpr int kButtonHeight = 34;
constexpr int kButtonRight = 20;  // from the card's right edge
constexpr int kButtonGap = 16;    // between the texts and the button
constexpr int kButtonCorner = 6;
constexpr int kTitleFontHeight = 15;

constexpr COLORREF kButtonTextColour = RGB(0xFF, 0xFF, 0xFF);

std::vector<std::string> MonthNames() {
  std::vector<std::string> names;
  for (int month = 1; month <= 12; ++month) {
    char key[8];
    wsprintfA(key, "L%04d", 152 + month);  // L0153 (January) to L0164
    names.push_back(LanguageText(key));
  }
  return names;
}

Gdiplus::Color GdiplusColour(RgbColor colour, BYTE alpha = 255) {
  return Gdiplus::Color(alpha, static_cast<BYTE>(RedOf(colour)), static_cast<BYTE>(GreenOf(colour)),
                        static_cast<BYTE>(BlueOf(colour)));
}

// A round badge in the status colour with the job's sign in white, drawn in
// a kBadgeSize square at `left`, `top`.
void DrawBadge(Gdiplus::Graphics& graphics, int left, int top, RgbColor colour, Glyph glyph) {
  const Gdiplus::REAL x = static_cast<Gdiplus::REAL>(left);
  const Gdiplus::REAL y = static_cast<Gdiplus::REAL>(top);
  Gdiplus::SolidBrush fill(GdiplusColour(colour));
  graphics.FillEllipse(&fill, x, y, kBadgeSize - 1.0f, kBadgeSize - 1.0f);

  Gdiplus::Pen pen(Gdiplus::Color(255, 255, 255, 255), 3.5f);
  pen.SetStartCap(Gdiplus::LineCapRound);
  pen.SetEndCap(Gdiplus::LineCapRound);
  pen.SetLineJoin(Gdiplus::LineJoinRound);
  Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
  switch (glyph) {
    case Glyph::kMagnifier:
      graphics.DrawEllipse(&pen, x + 13, y + 12, 16.0f, 16.0f);
      pen.SetWidth(5.0f);
      graphics.DrawLine(&pen, x + 27, y + 26, x + 35, y + 34);
      break;
    case Glyph::kBlocks:
      for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
          // One block left out: the gap that compaction closes.
          if (row == 1 && column == 2) continue;
          graphics.FillRectangle(&white, x + 13 + column * 8, y + 13 + row * 8, 6.0f, 6.0f);
        }
      }
      break;
    case Glyph::kSaveTray: {
      graphics.DrawLine(&pen, x + 24, y + 11, x + 24, y + 26);
      const Gdiplus::PointF head[] = {{x + 18, y + 21}, {x + 24, y + 27}, {x + 30, y + 21}};
      graphics.DrawLines(&pen, head, 3);
      const Gdiplus::PointF tray[] = {
          {x + 13, y + 27}, {x + 13, y + 35}, {x + 35, y + 35}, {x + 35, y + 27}};
      graphics.DrawLines(&pen, tray, 4);
      break;
    }
  }
}

}  // namespace

HomePage::HomePage(PageContext context, Clock clock)
    : SkinnedPage(IDD_PAGE_HOME, std::move(context)),
      clock_(clock ? std::move(clock) : Clock(NowLocal)),
      schedule_(clock_) {}

int HomePage::PanelOf(int id) {
  const int offset = id - IDC_HOME_PANEL_FIRST;
  if (offset < 0 || offset >= kPanelCount * IDC_HOME_PANEL_STRIDE) return -1;
  return offset / IDC_HOME_PANEL_STRIDE;
}

bool HomePage::OnInit() {
  SkinnedPage::OnInit();
  const std::string folder = CurrentSkinFolder(context().programFolder);
  buttonImages_ =
      LoadSkinButtonImages(folder, "spbtn_normal.png", "spbtn_horver.png", "spbtn_normal.png");
  pressedImages_.normal = LoadSkinImage(folder, "spbtn_pressed.png");
  titleFont_ = MakeFont(kTitleFontHeight, FW_BOLD);
  adviceFont_ = MakeFont(0, FW_BOLD);
  cardBrush_.Reset(CreateSolidBrush(kPageCardColour));
  for (int panel = 0; panel < kPanelCount; ++panel) {
    SendMessageA(Item(ControlId(panel, kTitle)), WM_SETFONT,
                 reinterpret_cast<WPARAM>(titleFont_.Get()), FALSE);
    SendMessageA(Item(ControlId(panel, kAdvice)), WM_SETFONT,
                 reinterpret_cast<WPARAM>(adviceFont_.Get()), FALSE);
    hover_[static_cast<std::size_t>(panel)].Attach(Item(ControlId(panel, kButton)));
  }
  schedule_.Init(window(), folder, titleFont_.Get());
  RECT client;
  GetClientRect(window(), &client);
  Layout(client.right);
  Refresh();
  return true;
}

int HomePage::ButtonWidth() const {
  int width = kButtonWidth;
  const HDC dc = GetDC(window());
  if (dc == nullptr) return width;
  {
    SelectedObject font(dc, adviceFont_.Get());
    for (int panel = 0; panel < kPanelCount; ++panel) {
      const std::string caption = WindowText(Item(ControlId(panel, kButton)));
      SIZE text = {0, 0};
      GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
      width = std::max<int>(width, text.cx + 2 * kButtonPadding);
    }
  }
  ReleaseDC(window(), dc);
  return width;
}

void HomePage::Layout(int width) {
  const int buttonWidth = ButtonWidth();
  for (int panel = 0; panel < kPanelCount; ++panel) {
    const int top = kCardTop + panel * (kCardHeight + kCardGap);
    RECT& card = cards_[static_cast<std::size_t>(panel)];
    card = {kMargin, top, width - kMargin, top + kCardHeight};
    const int buttonLeft = card.right - kButtonRight - buttonWidth;
    const int textLeft = card.left + kTextLeft;
    const int textWidth = buttonLeft - kButtonGap - textLeft;
    const auto place = [&](PanelField field, int x, int y, int w, int h) {
      SetWindowPos(Item(ControlId(panel, field)), nullptr, x, y, w, h,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(kTitle, textLeft, top + kTitleTop, textWidth, kTitleHeight);
    place(kStatus, textLeft, top + kStatusTop, textWidth, kLineHeight);
    place(kAdvice, textLeft, top + kAdviceTop, textWidth, kLineHeight);
    place(kButton, buttonLeft, top + (kCardHeight - kButtonHeight) / 2, buttonWidth, kButtonHeight);
  }
  schedule_.Layout(kCardTop + kPanelCount * (kCardHeight + kCardGap), width);
}

void HomePage::Refresh() {
  for (int panel = 0; panel < kPanelCount; ++panel) ShowJobStatus(panel);
  schedule_.Refresh();
  RedrawWindow(window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void HomePage::ShowJobStatus(int panel) {
  const JobPanel& job = kJobPanels[panel];
  const JobStatus status = ComputeJobStatus(ReadSetting(job.settingsKey), clock_(), job.dueDays);
  std::string line;
  if (status.state == JobState::Never) {
    line = LanguageText(job.neverKey);
  } else {
    // A translation may hold conversions of its own: filled only when they
    // fit a date text and a 64-bit day count.
    line = FormatChecked(LanguageText(job.doneKey),
                         {FormatDisplayDate(status.doneAt, MonthNames()), status.days});
  }
  SetText(ControlId(panel, kStatus), line);
  SetText(ControlId(panel, kAdvice), LanguageText(status.adviceKey));
  colours_[static_cast<std::size_t>(panel)] = status.color;
}

void HomePage::Paint() {
  PaintCardPage(window(), context().backdrop, [this](Gdiplus::Graphics& graphics) {
    for (int panel = 0; panel < kPanelCount; ++panel) {
      const RECT& place = cards_[static_cast<std::size_t>(panel)];
      DrawCard(graphics, place);
      DrawBadge(graphics, place.left + kBadgeLeft, place.top + (kCardHeight - kBadgeSize) / 2,
                colours_[static_cast<std::size_t>(panel)], kJobPanels[panel].glyph);
    }
    DrawCard(graphics, schedule_.card());
  });
}

void HomePage::DrawPanelButton(const DRAWITEMSTRUCT& item) const {
  const int width = item.rcItem.right - item.rcItem.left;
  const int height = item.rcItem.bottom - item.rcItem.top;
  const int panel = PanelOf(static_cast<int>(item.CtlID));
  const bool hovered = panel >= 0 && hover_[static_cast<std::size_t>(panel)].hovered();
  const ButtonLook look = LookOf(item.itemState, hovered);

  BufferedDc buffer(item.hDC, width, height);
  const RECT face = {0, 0, width, height};
  FillCardColour(buffer.dc(), face);
  const SkinButtonImages& images = ImagesForLook(look, buttonImages_, pressedImages_);
  // Without its pictures the button is a plain frame on the card: dark text.
  const COLORREF text = buttonImages_.normal ? kButtonTextColour : kPageHeadingColour;
  DrawSkinButton(buffer.dc(), face, images, look, WindowText(item.hwndItem), adviceFont_.Get(),
                 text, kButtonCorner);
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT) && focusCues_.shown()) {
    RECT focus = face;
    InflateRect(&focus, -4, -4);
    SetTextColor(buffer.dc(), text);
    DrawFocusRect(buffer.dc(), &focus);
  }
}

bool HomePage::OnCommand(int id, int notifyCode, HWND) {
  if (schedule_.OnCommand(id, notifyCode)) return true;
  const int panel = PanelOf(id);
  if (panel < 0 || id != ControlId(panel, kButton)) return false;
  if (notifyCode == BN_CLICKED)
    SendMessageA(MainWindowHandle(), kJobPanels[panel].startMessage, 0, 0);
  return true;
}

bool HomePage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  if (focusCues_.Observe(message, wParam)) {
    for (int panel = 0; panel < kPanelCount; ++panel)
      InvalidateRect(Item(ControlId(panel, kButton)), nullptr, FALSE);
    schedule_.InvalidateButtons();
  }
  if (AnswerPaintMessage(window(), message, result, [this] { Paint(); })) return true;
  switch (message) {
    case WM_SIZE:
      Layout(LOWORD(lParam));
      return false;
    case WM_CTLCOLORSTATIC: {
      if (schedule_.OnColourStatic(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam),
                                   cardBrush_.Get(), result))
        return true;
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
      const int panel = PanelOf(id);
      if (panel < 0) return false;
      const HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, kPageCardColour);
      SetBkMode(dc, OPAQUE);
      SetTextColor(dc, id == ControlId(panel, kTitle) ? kPageHeadingColour
                                                      : colours_[static_cast<std::size_t>(panel)]);
      result = reinterpret_cast<INT_PTR>(cardBrush_.Get());
      return true;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item != nullptr && schedule_.OnDrawItem(*item, focusCues_.shown())) {
        result = TRUE;
        return true;
      }
      if (item == nullptr || item->CtlType != ODT_BUTTON || PanelOf(item->CtlID) < 0) return false;
      DrawPanelButton(*item);
      result = TRUE;
      return true;
    }
  }
  return false;
}

}  // namespace kelvane

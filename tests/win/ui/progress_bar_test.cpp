// The progress bar: its caption by style bit, its fill, the standard
// progress messages with the position kept in range, and its painting.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "ui/controls/progress_bar.h"

using namespace kelvane;

namespace {

// A parent window for one bar.
class BarHost {
 public:
  explicit BarHost(DWORD captionStyle) {
    window_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 40, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    bar = ProgressBar::Create(window_, 7, RECT{0, 0, 200, 20}, captionStyle);
  }
  ~BarHost() { DestroyWindow(window_); }
  BarHost(const BarHost&) = delete;
  BarHost& operator=(const BarHost&) = delete;

  ProgressBar bar;

 private:
  HWND window_ = nullptr;
};

bool IsGreenish(COLORREF colour) {
  return GetGValue(colour) > GetRValue(colour) + 40 && GetGValue(colour) > GetBValue(colour) + 40;
}

bool IsPale(COLORREF colour) {
  return GetRValue(colour) > 200 && GetGValue(colour) > 200 && GetBValue(colour) > 200;
}

}  // namespace

TEST(ProgressBar, TheCaptionFollowsTheFirstStyleBitSet) {
  EXPECT_EQ(ProgressBarCaption(kProgressShowsPercent, 42, 0, 100, "text"), "42%")
      << "a percentage of 0..100";
  EXPECT_EQ(ProgressBarCaption(kProgressShowsPercent, 50, 0, 200, ""), "25%")
      << "a percentage of a wider range";
  EXPECT_EQ(ProgressBarCaption(kProgressShowsPercent, 15, 10, 20, ""), "50%")
      << "a range that does not start at 0";
  EXPECT_EQ(ProgressBarCaption(kProgressShowsPercent, 3, 5, 5, ""), "0%") << "an empty range is 0%";
  EXPECT_EQ(ProgressBarCaption(kProgressShowsCount, 3, 0, 7, ""), "3/7") << "position/maximum";
  EXPECT_EQ(ProgressBarCaption(kProgressShowsWindowText, 3, 0, 7, "Hive 2"), "Hive 2")
      << "the window text";
  EXPECT_EQ(ProgressBarCaption(kProgressShowsPercent | kProgressShowsCount, 1, 0, 4, ""), "25%")
      << "the percentage wins over the count";
  EXPECT_EQ(ProgressBarCaption(0, 3, 0, 7, "text"), "") << "no bit, no caption";
}

TEST(ProgressBar, TheFillIsThePositionsShareOfTheWidthWithinTheRange) {
  EXPECT_EQ(ProgressFillWidth(200, 50, 0, 100), 100) << "half";
  EXPECT_EQ(ProgressFillWidth(200, 100, 0, 100), 200) << "all";
  EXPECT_EQ(ProgressFillWidth(200, 150, 0, 100), 200) << "never beyond the bar";
  EXPECT_EQ(ProgressFillWidth(200, -5, 0, 100), 0) << "never before it";
  EXPECT_EQ(ProgressFillWidth(200, 3, 3, 3), 0) << "an empty range fills nothing";
  EXPECT_EQ(ProgressFillWidth(300, 2, 1, 4), 100) << "a range that does not start at 0";
}

TEST(ProgressBar, AnswersTheStandardMessagesAndKeepsItsPositionInRange) {
  BarHost host(kProgressShowsPercent);
  ASSERT_NE(host.bar.window(), nullptr) << "the class is registered and the bar made";
  const HWND bar = host.bar.window();
  EXPECT_EQ(host.bar.position(), 0) << "it starts empty";
  host.bar.SetRange(0, 10);
  host.bar.SetPosition(15);
  EXPECT_EQ(host.bar.position(), 10) << "a position beyond the range is the maximum";
  EXPECT_EQ(SendMessageA(bar, PBM_SETPOS, 4, 0), 10) << "PBM_SETPOS answers the old position";
  EXPECT_EQ(SendMessageA(bar, PBM_DELTAPOS, 3, 0), 4) << "PBM_DELTAPOS too";
  EXPECT_EQ(host.bar.position(), 7) << "and moves by the step";
  PBRANGE range = {};
  EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range)), 10)
      << "PBM_GETRANGE answers the maximum";
  EXPECT_EQ(range.iLow, 0) << "and fills the low end";
  SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(20, 30));
  EXPECT_EQ(host.bar.position(), 20) << "a new range pulls the position into it";
  EXPECT_TRUE(RegisterProgressBarClass()) << "registering again is harmless";
}

TEST(ProgressBar, PaintsTheFilledPartAndTheRestDifferently) {
  BarHost host(kProgressShowsPercent);
  ASSERT_NE(host.bar.window(), nullptr);
  host.bar.SetRange(0, 100);
  host.bar.SetPosition(50);
  const HDC screen = GetDC(nullptr);
  const HDC dc = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 20);
  ReleaseDC(nullptr, screen);
  const HGDIOBJ previous = SelectObject(dc, bitmap);
  SendMessageA(host.bar.window(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  EXPECT_TRUE(IsGreenish(GetPixel(dc, 20, 10))) << "filled at a tenth";
  EXPECT_TRUE(IsPale(GetPixel(dc, 180, 10))) << "empty at nine tenths";
  EXPECT_EQ(GetPixel(dc, 199, 10), kBarFrame) << "framed";
  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

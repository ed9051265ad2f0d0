// The progress bar: caption by style bit, fill within the range, and a
// position kept in range through the standard messages.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "ui/controls/progress_bar.h"

using namespace kelvane;

TEST(ProgressBar, CaptionAndFillFollowThePositionWithinTheRange) {
  EXPECT_EQ(ProgressBarCaption(kProgressShowsPercent, 15, 10, 20, ""), "50%");
  EXPECT_EQ(ProgressBarCaption(kProgressShowsPercent, 3, 5, 5, ""), "0%") << "empty range";
  EXPECT_EQ(ProgressBarCaption(kProgressShowsCount, 3, 0, 7, ""), "3/7");
  EXPECT_EQ(ProgressBarCaption(kProgressShowsPercent | kProgressShowsCount, 1, 0, 4, ""), "25%")
      << "the percentage wins over the count";
  EXPECT_EQ(ProgressFillWidth(300, 2, 1, 4), 100) << "a range that does not start at 0";
  EXPECT_EQ(ProgressFillWidth(200, 150, 0, 100), 200) << "never beyond the bar";
  EXPECT_EQ(ProgressFillWidth(200, 3, 3, 3), 0) << "an empty range fills nothing";
}

TEST(ProgressBar, TheStandardMessagesKeepThePositionInRange) {
  const HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 40, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
  ProgressBar bar = ProgressBar::Create(parent, 7, RECT{0, 0, 200, 20}, kProgressShowsPercent);
  ASSERT_NE(bar.window(), nullptr);
  bar.SetRange(0, 10);
  bar.SetPosition(15);
  EXPECT_EQ(bar.position(), 10) << "a position beyond the range is the maximum";
  EXPECT_EQ(SendMessageA(bar.window(), PBM_DELTAPOS, 3, 0), 10) << "answers the old position";
  SendMessageA(bar.window(), PBM_SETRANGE, 0, MAKELPARAM(20, 30));
  EXPECT_EQ(bar.position(), 20) << "a new range pulls the position into it";
  DestroyWindow(parent);
}

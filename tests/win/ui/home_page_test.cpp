// The home page: when each job last ran and whether it is due again, in the
// panels' texts and colours, read afresh whenever the page is shown; done
// texts whose conversions do not fit shown unfilled; the panel buttons show
// the job's page and start it.
#include <gtest/gtest.h>

#include <string>

#include "foundation/language_table.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "modal_driver.h"
#include "pages_test_support.h"
#include "resource_ids.h"
#include "test_dialog_ids.h"
#include "ui/dialog.h"
#include "ui/pages/home_page.h"
#include "ui/rules/job_status.h"
#include "ui/ui_handles.h"
#include "ui/window_messages.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

// The moment the panels are judged at: 10 March 2024, 12:00:00.
LocalDateTime Now() { return LocalDateTime{2024, 3, 10, 12, 0, 0}; }

struct PanelIds {
  int status;
  int advice;
  int button;
};
constexpr PanelIds kFix = {IDC_HOME_FIX_STATUS, IDC_HOME_FIX_ADVICE, IDC_HOME_FIX_BUTTON};
constexpr PanelIds kDefrag = {IDC_HOME_DEFRAG_STATUS, IDC_HOME_DEFRAG_ADVICE,
                              IDC_HOME_DEFRAG_BUTTON};
constexpr PanelIds kBackup = {IDC_HOME_BACKUP_STATUS, IDC_HOME_BACKUP_ADVICE,
                              IDC_HOME_BACKUP_BUTTON};

// The home page alone, in a host window, judged at Now().
class HomeOnly {
 public:
  HomeOnly() : host_(IDD_TEST_DIALOG), page_(PageContext{}, Now) {
    host_.Create(nullptr);
    page_.Create(host_.window());
  }
  HomePage& page() { return page_; }
  std::string Text(int id) const { return WindowTextOf(page_.Item(id)); }
  // The colour the page gives the text of control `id`.
  COLORREF Colour(int id) const {
    const HDC screen = GetDC(nullptr);
    ScopedMemoryDc dc(CreateCompatibleDC(screen));
    ReleaseDC(nullptr, screen);
    SendMessageA(page_.window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()),
                 reinterpret_cast<LPARAM>(page_.Item(id)));
    return GetTextColor(dc.Get());
  }
  // Shows the page again, as the main window does.
  void Reshow() { SendMessageA(page_.window(), WM_PAGE_ACTIVATED, 0, 0); }

 private:
  Dialog host_;
  HomePage page_;
};

}  // namespace

TEST(HomePage, CleanupIsDueFromItsThirdDayAndTheDateReadsInTwelveHourForm) {
  GdiplusScope gdiplus;
  ProgramFolder program;
  WriteSetting(kKeyLastClean, "2024-03-08 12:00:00");
  HomeOnly home;
  EXPECT_EQ(home.Text(kFix.status), "Last cleaned on March 08, 2024. 12:00 PM (2 days ago)")
      << "two days: the date and the day count";
  EXPECT_EQ(home.Text(kFix.advice), LanguageText("L0150")) << "two days: no action needed";
  EXPECT_EQ(home.Colour(kFix.status), kRecentColor) << "two days: green";
  EXPECT_EQ(home.Colour(kFix.advice), kRecentColor) << "the second line in the same colour";

  WriteSetting(kKeyLastClean, "2024-03-07 12:00:01");
  home.Reshow();
  EXPECT_EQ(home.Text(kFix.advice), LanguageText("L0150")) << "a second short of three days";
  EXPECT_EQ(home.Text(kFix.status), "Last cleaned on March 07, 2024. 12:00 PM (2 days ago)")
      << "the days are whole days";

  WriteSetting(kKeyLastClean, "2024-03-07 00:05:00");
  home.Reshow();
  EXPECT_EQ(home.Text(kFix.status), "Last cleaned on March 07, 2024. 00:05 AM (3 days ago)")
      << "five past midnight reads 00:05 AM";
  EXPECT_EQ(home.Text(kFix.advice), LanguageText("L0151")) << "three days: action recommended";
  EXPECT_EQ(home.Colour(kFix.status), kOldColor) << "three days: red-brown";

  WriteSetting(kKeyLastClean, "2024-03-09 13:00:00");
  home.Reshow();
  EXPECT_EQ(home.Text(kFix.status), "Last cleaned on March 09, 2024. 01:00 PM (0 days ago)")
      << "one in the afternoon reads 01:00 PM";
}

TEST(HomePage, ABackupIsDueFromItsFourteenthDayADefragmentationFromItsSeventh) {
  GdiplusScope gdiplus;
  ProgramFolder program;
  WriteSetting(kKeyLastBackup, "2024-02-26 12:00:00");
  WriteSetting(kKeyLastDefrag, "2024-03-03 12:00:00");
  HomeOnly home;
  EXPECT_EQ(home.Text(kBackup.status),
            "Last backed up on February 26, 2024. 12:00 PM (13 days ago)")
      << "the backup's done text";
  EXPECT_EQ(home.Colour(kBackup.status), kRecentColor) << "a thirteen days old backup is green";
  EXPECT_EQ(home.Text(kDefrag.status), "Last defragmented on March 03, 2024. 12:00 PM (7 days ago)")
      << "the defragmentation's done text";
  EXPECT_EQ(home.Colour(kDefrag.status), kOldColor) << "a seven days old defragmentation is due";

  WriteSetting(kKeyLastBackup, "2024-02-25 12:00:00");
  home.Reshow();
  EXPECT_EQ(home.Text(kBackup.advice), LanguageText("L0151")) << "fourteen days: due";
  EXPECT_EQ(home.Colour(kBackup.advice), kOldColor) << "fourteen days: red-brown";
}

TEST(HomePage, AJobNeverDoneOrWithAStampThatIsNoDateShowsItsNeverText) {
  GdiplusScope gdiplus;
  ProgramFolder program;
  WriteSetting(kKeyLastBackup, "yesterday");
  WriteSetting(kKeyLastClean, "2024-02-30 10:00:00");
  HomeOnly home;
  EXPECT_EQ(home.Text(kDefrag.status), LanguageText("L0148")) << "no LastDefrag";
  EXPECT_EQ(home.Text(kDefrag.advice), LanguageText("L0151")) << "never done: action recommended";
  EXPECT_EQ(home.Colour(kDefrag.status), kNeverDoneColor) << "never done: grey";
  EXPECT_EQ(home.Text(kBackup.status), LanguageText("L0169")) << "a stamp that is no stamp";
  EXPECT_EQ(home.Text(kFix.status), LanguageText("L0144")) << "a day that does not exist";
  EXPECT_EQ(home.Colour(kFix.advice), kNeverDoneColor) << "grey as well";
}

TEST(HomePage, AStampInTheFutureCountsAsRecent) {
  GdiplusScope gdiplus;
  ProgramFolder program;
  WriteSetting(kKeyLastClean, "2024-04-20 12:00:00");
  HomeOnly home;
  EXPECT_EQ(home.Text(kFix.advice), LanguageText("L0150")) << "a clock set back does not nag";
  EXPECT_EQ(home.Colour(kFix.status), kRecentColor) << "green";
  EXPECT_EQ(home.Text(kFix.status), "Last cleaned on April 20, 2024. 12:00 PM (41 days ago)")
      << "the distance in whole days";
}

TEST(HomePage, ADoneTextWhoseConversionsDoNotFitIsShownUnfilled) {
  GdiplusScope gdiplus;
  ProgramFolder program;
  const std::string translation = program.files().WriteFile("Language\\Test.txt",
                                                            "[String]\n"
                                                            "L0149=%d times, last on %s\n"
                                                            "L0170=Saved %s %n\n"
                                                            "L0167=%s, %I64d days, %s\n"
                                                            "L0155=Maerz\n");
  ProcessLanguageTable().Open(translation, program.files() / "Language\\English.txt");
  WriteSetting(kKeyLastClean, "2024-03-08 12:00:00");
  WriteSetting(kKeyLastBackup, "2024-03-08 12:00:00");
  WriteSetting(kKeyLastDefrag, "2024-03-08 12:00:00");
  HomeOnly home;
  EXPECT_EQ(home.Text(kFix.status), "%d times, last on %s Maerz 08, 2024. 12:00 PM 2")
      << "a number where the date goes: the text as it stands, then the values";
  EXPECT_EQ(home.Text(kBackup.status), "Saved %s %n Maerz 08, 2024. 12:00 PM 2")
      << "%n is never filled";
  EXPECT_EQ(home.Text(kDefrag.status), "%s, %I64d days, %s Maerz 08, 2024. 12:00 PM 2")
      << "one conversion more than there are values";
  EXPECT_EQ(home.Text(kFix.advice), LanguageText("L0150")) << "the rest of the panel is shown";
}

TEST(HomePage, ThePanelButtonsShowTheJobsPageAndStartIt) {
  GdiplusScope gdiplus;
  ProgramFolder program(true);
  FakePages pages(true);
  MainWindow main(program.path(), pages.Factory());
  ASSERT_NE(main.Create(nullptr), nullptr);
  ShowWindow(main.window(), SW_SHOWNA);
  const HWND home = main.PageWindow(MainWindow::kHomePage);
  ASSERT_TRUE(IsWindowVisible(home)) << "the home page is shown first";
  EXPECT_EQ(WindowTextOf(GetDlgItem(home, kFix.button)), "Clean Registry") << "L0003";
  EXPECT_EQ(WindowTextOf(GetDlgItem(home, kDefrag.button)), "Defragment Registry") << "L0004";
  EXPECT_EQ(WindowTextOf(GetDlgItem(home, kBackup.button)), "Back Up Registry") << "L0005";

  SendMessageA(GetDlgItem(home, kFix.button), BM_CLICK, 0, 0);
  EXPECT_EQ(main.currentPage(), MainWindow::kScanPage) << "the cleanup button";
  EXPECT_EQ(pages[MainWindow::kScanPage].heard, "on scan") << "starts a scan";

  main.SelectPage(MainWindow::kHomePage);
  SendMessageA(GetDlgItem(home, kDefrag.button), BM_CLICK, 0, 0);
  EXPECT_EQ(main.currentPage(), MainWindow::kDefragPage) << "the defragmentation button";
  EXPECT_EQ(pages[MainWindow::kDefragPage].heard, "on start") << "presses its start button";

  main.SelectPage(MainWindow::kHomePage);
  SendMessageA(GetDlgItem(home, kBackup.button), BM_CLICK, 0, 0);
  EXPECT_EQ(main.currentPage(), MainWindow::kBackupPage) << "the backup button";
  EXPECT_EQ(pages[MainWindow::kBackupPage].heard, "on start") << "presses its start button";
}

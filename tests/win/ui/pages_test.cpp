// The main window's pages: one page shown at a time with its button off, the
// page kept in InitPage from one start to the next, the shell messages that
// show a page and start its job, and what a busy page holds back: the
// navigation and an unasked close.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "modal_driver.h"
#include "pages_test_support.h"
#include "resource_ids.h"
#include "ui/main_window.h"
#include "ui/main_window_layout.h"
#include "ui/message_loop.h"
#include "ui/window_messages.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

constexpr int kNavIds[MainWindow::kPageCount] = {IDC_NAV_HOME, IDC_NAV_SCAN, IDC_NAV_DEFRAG,
                                                 IDC_NAV_BACKUP, IDC_NAV_OPTIONS};

// "visible" pages and "off" buttons, e.g. "page 3, button 1004 off".
std::string Shown(const MainWindow& main) {
  std::string pages;
  std::string off;
  for (int index = 0; index < MainWindow::kPageCount; ++index) {
    if (IsWindowVisible(main.PageWindow(index)))
      pages += (pages.empty() ? "" : ",") + std::to_string(index);
    if (!IsWindowEnabled(main.Item(kNavIds[index])))
      off += (off.empty() ? "" : ",") + std::to_string(kNavIds[index]);
  }
  return "page " + pages + ", button " + off + " off";
}

std::string Expected(int index) {
  return "page " + std::to_string(index) + ", button " + std::to_string(kNavIds[index]) + " off";
}

void Click(const MainWindow& main, int id) { SendMessageA(main.Item(id), BM_CLICK, 0, 0); }

// The main window with fake pages, shown without taking the focus.
struct Shell {
  explicit Shell(const ProgramFolder& program, bool realHome = false)
      : pages(realHome), main(program.path(), pages.Factory()) {
    window = main.Create(nullptr);
    ShowWindow(window, SW_SHOWNA);
  }
  FakePages pages;
  MainWindow main;
  HWND window = nullptr;
};

bool ShowsIcon(HWND box, HICON icon) {
  struct Search {
    HICON icon;
    bool found;
  } search{icon, false};
  EnumChildWindows(
      box,
      [](HWND child, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        if (reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)) == s->icon)
          s->found = true;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

TEST(Pages, EachIsMadeOnceFromItsOwnTemplateAsAChildFillingThePageArea) {
  GdiplusScope gdiplus;
  ProgramFolder program(true);
  MainWindow main(program.path());
  ASSERT_NE(main.Create(nullptr), nullptr);
  const HWND area = main.Item(IDC_PAGE_AREA);
  ASSERT_NE(area, nullptr) << "the page area is control 1005";
  RECT room;
  GetClientRect(area, &room);
  EXPECT_EQ(room.right, kMainClientWidth) << "the area is as wide as the window";
  EXPECT_EQ(room.bottom, kMainClientHeight - kHeaderHeight) << "and fills it below the header";

  const char* titles[] = {nullptr, "Clean Registry", "Defragment Registry", "Back Up Registry",
                          "Options"};
  for (int index = 0; index < MainWindow::kPageCount; ++index) {
    const HWND page = main.PageWindow(index);
    ASSERT_NE(page, nullptr) << "page " << index << " was made";
    EXPECT_EQ(GetParent(page), area) << "page " << index << " lies in the page area";
    EXPECT_EQ(GetDlgCtrlID(page), IDC_PAGE_FIRST + index) << "page " << index << "'s window id";
    RECT place;
    GetClientRect(page, &place);
    EXPECT_EQ(place.right, room.right) << "page " << index << " is as wide as the area";
    EXPECT_EQ(place.bottom, room.bottom) << "page " << index << " is as high as the area";
    if (titles[index] != nullptr) {
      EXPECT_EQ(WindowTextOf(GetDlgItem(page, IDC_PAGE_TITLE)), titles[index])
          << "page " << index << " shows its translated title";
    }
  }
  EXPECT_NE(GetDlgItem(main.PageWindow(MainWindow::kHomePage), IDC_HOME_FIX_BUTTON), nullptr)
      << "the home page comes from the home page's template";
}

TEST(Pages, TheNavigationButtonsShowTheirPageAndOnlyTheShownPagesButtonIsOff) {
  GdiplusScope gdiplus;
  ProgramFolder program(true);
  Shell shell(program);
  ASSERT_NE(shell.window, nullptr);
  EXPECT_EQ(Shown(shell.main), Expected(0)) << "no InitPage: the home page";
  EXPECT_EQ(shell.pages[0].heard, "on") << "the first page hears it was shown";

  for (int index : {2, 4, 1, 3, 0}) {
    Click(shell.main, kNavIds[index]);
    EXPECT_EQ(shell.main.currentPage(), index) << "button " << kNavIds[index];
    EXPECT_EQ(Shown(shell.main), Expected(index)) << "after button " << kNavIds[index];
  }
  EXPECT_EQ(shell.pages[2].heard, "on off") << "a page hears it was shown, then hidden";

  shell.main.SelectPage(0);
  EXPECT_EQ(shell.pages[0].heard, "on off on") << "selecting the page shown tells it nothing";
  EXPECT_EQ(Shown(shell.main), Expected(0)) << "and keeps its button off";
}

TEST(Pages, ThePageShownWhenTheWindowGoesIsTheOneShownAtTheNextStart) {
  GdiplusScope gdiplus;
  ProgramFolder program(true);
  for (int index = 0; index < MainWindow::kPageCount; ++index) {
    {
      Shell first(program);
      first.main.SelectPage(index);
    }  // the window goes with its object
    EXPECT_EQ(ReadSetting(kKeyInitPage), std::to_string(index)) << "InitPage written at the end";
    Shell next(program);
    EXPECT_EQ(Shown(next.main), Expected(index)) << "the next start shows page " << index;
  }
}

TEST(Pages, AnInitPageOutsideTheFivePagesOrNoNumberShowsTheHomePage) {
  GdiplusScope gdiplus;
  ProgramFolder program(true);
  for (const char* stored : {"5", "-1", "99999999999", "two", "2x", " "}) {
    WriteSetting(kKeyInitPage, stored);
    Shell shell(program);
    EXPECT_EQ(Shown(shell.main), Expected(0)) << "InitPage=\"" << stored << "\"";
  }
}

TEST(Pages, WhileTheScanPageIsBusyTheNavigationButtonsDoNothing) {
  GdiplusScope gdiplus;
  ProgramFolder program(true);
  Shell shell(program);
  shell.main.SelectPage(MainWindow::kScanPage);
  shell.pages[MainWindow::kScanPage].busy = true;
  for (int index : {0, 2, 3, 4}) {
    Click(shell.main, kNavIds[index]);
    EXPECT_EQ(Shown(shell.main), Expected(1)) << "button " << kNavIds[index] << " while busy";
  }
  SendMessageA(shell.window, WM_START_DEFRAG, 0, 0);
  SendMessageA(shell.window, WM_START_BACKUP, 0, 0);
  EXPECT_EQ(Shown(shell.main), Expected(1)) << "nor do the home page's other jobs";
  EXPECT_EQ(shell.pages[2].heard + shell.pages[3].heard, "") << "no start button was pressed";

  shell.pages[MainWindow::kScanPage].busy = false;
  Click(shell.main, IDC_NAV_OPTIONS);
  EXPECT_EQ(Shown(shell.main), Expected(4)) << "the buttons work again once the scan is over";
}

TEST(Pages, TheShellMessagesShowTheJobsPageAndStartIt) {
  GdiplusScope gdiplus;
  ProgramFolder program(true);
  Shell shell(program);

  EXPECT_EQ(SendMessageA(shell.window, WM_START_SCAN, 0, 0), 0) << "the shell's messages answer 0";
  EXPECT_EQ(Shown(shell.main), Expected(1)) << "WM_START_SCAN shows the scan page";
  EXPECT_EQ(shell.pages[1].heard, "on scan") << "shown first, then told to scan";

  SendMessageA(shell.window, WM_START_DEFRAG, 0, 0);
  EXPECT_EQ(Shown(shell.main), Expected(2)) << "WM_START_DEFRAG shows the defragmentation page";
  EXPECT_EQ(shell.pages[2].heard, "on start") << "and presses its start button";

  SendMessageA(shell.window, WM_START_BACKUP, 0, 0);
  EXPECT_EQ(Shown(shell.main), Expected(3)) << "WM_START_BACKUP shows the backup page";
  EXPECT_EQ(shell.pages[3].heard, "on start") << "and presses its start button";

  SendMessageA(shell.window, WM_EXCLUSIONS_CHANGED, 0, 0);
  EXPECT_EQ(shell.pages[4].heard, "exclusions") << "the options page hears of new exclusions";
  EXPECT_EQ(Shown(shell.main), Expected(3)) << "without being shown";
}

TEST(Pages, ClosingWhileBusyAsksFirstAndOnlyOkCloses) {
  GdiplusScope gdiplus;
  ProgramFolder program(true);
  Shell shell(program);
  shell.pages[MainWindow::kScanPage].busy = true;
  const HWND window = shell.window;

  struct Question {
    std::string text;
    HWND owner = nullptr;
    bool okAndCancel = false;
    bool warningIcon = false;
  } question;
  bool openAfterCancel = false;
  ModalDriver driver([&](ModalDriver& d) {
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);  // the close box
    const HWND box = d.WaitForWindow("#32770", LanguageText("L0025"));
    if (box == nullptr) return;
    question.text = WindowTextOf(GetDlgItem(box, 0xFFFF));
    question.owner = GetWindow(box, GW_OWNER);
    question.okAndCancel = GetDlgItem(box, IDOK) != nullptr && GetDlgItem(box, IDCANCEL) != nullptr;
    question.warningIcon = ShowsIcon(box, LoadIconA(nullptr, IDI_EXCLAMATION));
    PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    if (!d.WaitUntilGone(box)) return;
    SendMessageA(window, WM_NULL, 0, 0);  // the close has run to its end
    openAfterCancel = IsWindow(window) && IsWindowVisible(window);

    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    const HWND again = d.WaitForWindow("#32770", LanguageText("L0025"));
    if (again != nullptr) PostMessageA(again, WM_COMMAND, IDOK, 0);
  });
  const int code = RunMessageLoop(window);
  driver.Finish();
  EXPECT_TRUE(driver.ok()) << driver.report();
  EXPECT_EQ(question.text, LanguageText("L0057")) << "the question while a scan runs";
  EXPECT_EQ(question.owner, window) << "owned by the main window";
  EXPECT_TRUE(question.okAndCancel) << "with OK and Cancel";
  EXPECT_TRUE(question.warningIcon) << "and the warning icon";
  EXPECT_TRUE(openAfterCancel) << "Cancel keeps the window open";
  EXPECT_EQ(code, 0) << "OK closes and ends the loop";
  EXPECT_EQ(shell.main.window(), nullptr) << "the window is gone";
}

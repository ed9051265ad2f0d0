// The main window's pages: the one shown is kept in InitPage, a bad InitPage
// shows the home page and a busy page holds the navigation and the other jobs
// back.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <utility>

#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "modal_driver.h"
#include "resource_ids.h"
#include "ui/main_window.h"
#include "ui/pages/skinned_page.h"
#include "ui/window_messages.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

// A stand-in page that notes its start button (command 1000) and can be busy.
class FakePage : public SkinnedPage {
 public:
  FakePage(int templateId, PageContext context) : SkinnedPage(templateId, std::move(context)) {}
  ~FakePage() override { Destroy(); }
  bool IsBusy() const override { return busy; }
  bool busy = false;
  std::string heard;

 protected:
  bool OnCommand(int id, int notifyCode, HWND control) override {
    if (id != 1000) return SkinnedPage::OnCommand(id, notifyCode, control);
    heard += "start";
    return true;
  }
};

// The main window with fake pages, shown unfocused.
struct Shell {
  explicit Shell(const ProgramFolder& program) : main(program.path(), Factory()) {
    ShowWindow(main.Create(nullptr), SW_SHOWNA);
  }
  MainWindow::PageFactory Factory() {
    return [this](int index, PageContext context) -> std::unique_ptr<SkinnedPage> {
      static constexpr int kTemplates[] = {IDD_PAGE_HOME, IDD_PAGE_SCAN, IDD_PAGE_DEFRAG,
                                           IDD_PAGE_BACKUP, IDD_PAGE_OPTIONS};
      auto page = std::make_unique<FakePage>(kTemplates[index], std::move(context));
      pages[static_cast<std::size_t>(index)] = page.get();
      return page;
    };
  }
  void Click(HWND button) const { SendMessageA(button, BM_CLICK, 0, 0); }
  std::array<FakePage*, MainWindow::kPageCount> pages = {};
  MainWindow main;
};

}  // namespace

TEST(Pages, TheLastPageShownIsShownAtTheNextStartAndABadInitPageShowsHome) {
  GdiplusScope gdiplus;
  ProgramFolder program(true);
  {
    Shell first(program);
    first.Click(first.main.Item(IDC_NAV_BACKUP));
  }
  EXPECT_EQ(Shell(program).main.currentPage(), MainWindow::kBackupPage) << "InitPage kept";
  for (const char* stored : {"5", "-1", "99999999999", "2x"}) {
    WriteSetting(kKeyInitPage, stored);
    EXPECT_EQ(Shell(program).main.currentPage(), MainWindow::kHomePage) << "InitPage=" << stored;
  }
}

TEST(Pages, WhileAPageIsBusyTheNavigationAndTheOtherJobsDoNothing) {
  GdiplusScope gdiplus;
  ProgramFolder program(true);
  Shell shell(program);
  shell.main.SelectPage(MainWindow::kScanPage);
  shell.pages[MainWindow::kScanPage]->busy = true;
  for (int id : {IDC_NAV_HOME, IDC_NAV_OPTIONS}) shell.Click(shell.main.Item(id));
  SendMessageA(shell.main.window(), WM_START_BACKUP, 0, 0);
  EXPECT_EQ(shell.main.currentPage(), MainWindow::kScanPage) << "still the busy page";
  EXPECT_EQ(shell.pages[MainWindow::kBackupPage]->heard, "") << "no backup started";
  shell.pages[MainWindow::kScanPage]->busy = false;
  shell.Click(shell.main.Item(IDC_NAV_OPTIONS));
  EXPECT_EQ(shell.main.currentPage(), MainWindow::kOptionsPage) << "free again after the scan";
}

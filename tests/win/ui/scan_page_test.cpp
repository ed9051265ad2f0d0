// The scan page: a scan on its worker fills the list from the registry and
// records its end in the settings (a stopped one records nothing); the fix
// removes only the ticked rows' entries after a partial backup and removes
// nothing when that backup cannot be written; excluding a row saves the
// exclusion or keeps the row; closing during a scan stops and joins it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "foundation/version_info.h"
#include "modal_driver.h"
#include "resource_ids.h"
#include "scan/scan_area.h"
#include "scan/scan_config.h"
#include "support/registry_sandbox.h"
#include "test_dialog_ids.h"
#include "ui/dialog.h"
#include "ui/pages/scan_page.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Delivers this thread's messages until `done` holds; false after `ms`.
bool PumpUntil(const std::function<bool()>& done, DWORD ms = 20000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(1);
  }
  return true;
}

// Calls `action` once, on the UI thread, while the worker is blocked in
// sending its first progress report: a moment the scan cannot yet be over.
std::function<void()> g_onFirstProgress;

LRESULT CALLBACK FirstProgressHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR, DWORD_PTR) {
  if (message == WM_SCAN_PROGRESS && g_onFirstProgress) {
    const auto action = std::move(g_onFirstProgress);
    g_onFirstProgress = nullptr;
    action();
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

// A program folder whose Settings.xml switches on only the Run area, a
// sandboxed registry with two dead and one healthy Run value, and the page
// in a host window.
class ScanPageTest : public ::testing::Test {
 protected:
  ScanPageTest() : host_(IDD_TEST_DIALOG) {
    std::string xml = "<Config><Areas>";
    for (ScanArea area : kScanAreas)
      xml += std::string("<") + AreaElementName(area) + " custom=\"" +
             (area == ScanArea::Run ? "1" : "0") + "\"/>";
    program_.files().WriteFile("Settings.xml",
                               xml + "</Areas><Exclude><custom></custom></Exclude></Config>");
    alive_ = files_.WriteFile("Alive\\alive.exe");
    host_.Create(nullptr);
    page_ = std::make_unique<ScanPage>(PageContext{program_.path(), nullptr});
    page_->Create(host_.window());
  }
  ~ScanPageTest() override {
    page_.reset();
    host_.Destroy();
  }

  void AddRunValues() {
    SetString(kLocalMachine, kRun, "DeadOne", files_ / "Gone\\one.exe");
    SetString(kLocalMachine, kRun, "DeadTwo", files_ / "Gone\\two.exe");
    SetString(kLocalMachine, kRun, "Healthy", alive_);
  }
  // Runs a whole scan; false when it did not end in time.
  bool Scan() {
    if (!page_->StartScan()) return false;
    return PumpUntil([this] { return !page_->IsBusy() && !IsWindowEnabled(Stop()); });
  }
  HWND Stop() const { return page_->Item(IDC_SCAN_STOP); }
  std::string Text(int id) const { return WindowTextOf(page_->Item(id)); }
  int RowOf(const std::string& valueName) {
    for (int row = 0; row < page_->list().RowCount(); ++row) {
      const ScanIssue* issue = page_->list().RowData<ScanIssue>(row);
      if (issue != nullptr && issue->valueName == valueName) return row;
    }
    return -1;
  }
  std::string ConfigPath() const { return program_.files() / "Settings.xml"; }

  RegistrySandbox sandbox_;
  GdiplusScope gdiplus_;
  ProgramFolder program_;
  ScratchFolder files_;
  std::string alive_;
  Dialog host_;
  std::unique_ptr<ScanPage> page_;
};

}  // namespace

TEST_F(ScanPageTest, AScanListsTheDeadValuesTickedAndRecordsItsEnd) {
  AddRunValues();
  ASSERT_TRUE(Scan()) << "the scan ends";
  EXPECT_TRUE(page_->resultViewShown()) << "the results are shown";
  EXPECT_EQ(page_->list().RowCount(), 2) << "one row per dead value, none for the healthy one";
  EXPECT_GE(RowOf("DeadOne"), 0) << "the first dead value is listed";
  EXPECT_GE(RowOf("DeadTwo"), 0) << "the second dead value is listed";
  EXPECT_EQ(page_->list().TickedCount(), 2) << "every row starts ticked";
  EXPECT_EQ(Text(IDC_SCAN_STATUS), "Problems found: 2") << "the count line";
  EXPECT_EQ(Text(IDC_SCAN_CURRENT_KEY), LanguageText("L0039")) << "the scan reads completed";
  EXPECT_FALSE(ReadSetting(kKeyLastScan).empty()) << "LastScan is written";
  EXPECT_EQ(ReadSetting(kKeyErrorCount), "2") << "ErrorCnt holds the rows";
  EXPECT_TRUE(ReadSetting(kKeyLastClean).empty()) << "problems found: LastClean untouched";
  EXPECT_TRUE(IsWindowEnabled(page_->Item(IDC_SCAN_FIX))) << "rows: the fix button is enabled";
}

TEST_F(ScanPageTest, AScanThatFindsNothingAlsoRecordsTheCleanup) {
  SetString(kLocalMachine, kRun, "Healthy", alive_);
  ASSERT_TRUE(Scan()) << "the scan ends";
  EXPECT_EQ(page_->list().RowCount(), 0) << "nothing found";
  EXPECT_FALSE(ReadSetting(kKeyLastScan).empty()) << "LastScan is written";
  EXPECT_EQ(ReadSetting(kKeyLastClean), ReadSetting(kKeyLastScan))
      << "LastClean gets the same stamp";
  EXPECT_EQ(ReadSetting(kKeyErrorCount), "0") << "ErrorCnt is 0";
  EXPECT_FALSE(IsWindowEnabled(page_->Item(IDC_SCAN_FIX))) << "no rows: the fix button is off";
}

TEST_F(ScanPageTest, AStoppedScanWritesNothingAndReturnsToTheStartView) {
  AddRunValues();
  SetWindowSubclass(page_->window(), FirstProgressHook, 1, 0);
  bool asked = false;
  g_onFirstProgress = [&] {
    ModalDriver driver([](ModalDriver& d) {
      const HWND box = d.WaitForWindow("#32770", LanguageText("L0025"));
      if (box != nullptr) PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    page_->AskToStop();
    driver.Finish();
    asked = driver.ok();
  };
  ASSERT_TRUE(page_->StartScan()) << "the scan starts";
  ASSERT_TRUE(PumpUntil([this] { return !page_->IsBusy() && !IsWindowEnabled(Stop()); }))
      << "the scan ends";
  RemoveWindowSubclass(page_->window(), FirstProgressHook, 1);
  EXPECT_TRUE(asked) << "the stop question was asked and answered";
  EXPECT_TRUE(ReadSetting(kKeyLastScan).empty()) << "no LastScan";
  EXPECT_TRUE(ReadSetting(kKeyErrorCount).empty()) << "no ErrorCnt";
  EXPECT_FALSE(page_->resultViewShown()) << "back at the start view";
}

TEST_F(ScanPageTest, TheFixRemovesOnlyTheTickedRowsEntriesAfterABackup) {
  AddRunValues();
  ASSERT_TRUE(Scan()) << "the scan ends";
  ASSERT_EQ(page_->list().RowCount(), 2) << "two rows";
  page_->list().SetTicked(RowOf("DeadTwo"), false);
  ModalDriver watchdog([](ModalDriver&) {});  // only ends the test should the fix hang
  page_->FixTickedRows();
  watchdog.Finish();
  EXPECT_FALSE(ValueExists(kLocalMachine, kRun, "DeadOne")) << "the ticked row's value is gone";
  EXPECT_TRUE(ValueExists(kLocalMachine, kRun, "DeadTwo")) << "the unticked row's value stays";
  EXPECT_TRUE(ValueExists(kLocalMachine, kRun, "Healthy")) << "the healthy value stays";
  EXPECT_EQ(page_->list().RowCount(), 1) << "the fixed row left the list";
  EXPECT_EQ(RowOf("DeadTwo"), 0) << "the unticked row stays";
  EXPECT_EQ(ReadSetting(kKeyErrorCount), "1") << "ErrorCnt holds the rows left";
  EXPECT_EQ(Text(IDC_SCAN_STATUS), "Problems found: 1") << "the count line follows";
  WIN32_FIND_DATAA found;
  const HANDLE find = FindFirstFileA((program_.files() / "PartialBackup\\*.reg").c_str(), &found);
  EXPECT_NE(find, INVALID_HANDLE_VALUE) << "a partial backup was written";
  if (find != INVALID_HANDLE_VALUE) FindClose(find);
}

TEST_F(ScanPageTest, AFixWhoseBackupCannotBeWrittenKeepsEverything) {
  AddRunValues();
  ASSERT_TRUE(Scan()) << "the scan ends";
  program_.files().WriteFile("PartialBackup", "a file where the folder should be");
  std::string told;
  ModalDriver driver([&told](ModalDriver& d) {
    const HWND box = d.WaitForWindow("#32770", ProgramProductName(), 30000);
    if (box == nullptr) return;
    told = WindowTextOf(GetDlgItem(box, 0xFFFF));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  page_->FixTickedRows();
  driver.Finish();
  EXPECT_TRUE(driver.ok()) << driver.report();
  EXPECT_EQ(told, LanguageText("L0227")) << "the user is told nothing was removed";
  EXPECT_TRUE(ValueExists(kLocalMachine, kRun, "DeadOne")) << "nothing deleted";
  EXPECT_TRUE(ValueExists(kLocalMachine, kRun, "DeadTwo")) << "nothing deleted";
  EXPECT_EQ(page_->list().RowCount(), 2) << "every row stays";
  EXPECT_EQ(ReadSetting(kKeyErrorCount), "2") << "ErrorCnt unchanged";
}

TEST_F(ScanPageTest, ExcludingARowSavesTheKeyAndRemovesTheRow) {
  AddRunValues();
  ASSERT_TRUE(Scan()) << "the scan ends";
  page_->RunRowCommand(RowOf("DeadOne"), ScanPage::kRowExclude);
  const std::vector<std::string> saved = ReadExclusions(ConfigPath(), false);
  EXPECT_EQ(std::count(saved.begin(), saved.end(), "HKEY_LOCAL_MACHINE\\" + kRun), 1)
      << "the row's key is excluded";
  EXPECT_EQ(page_->list().RowCount(), 1) << "the row left the list";
  EXPECT_EQ(RowOf("DeadOne"), -1) << "the excluded row is the one gone";
  EXPECT_EQ(ReadSetting(kKeyErrorCount), "1") << "ErrorCnt holds the rows left";
}

TEST_F(ScanPageTest, AnExclusionThatCannotBeSavedKeepsTheRow) {
  AddRunValues();
  ASSERT_TRUE(Scan()) << "the scan ends";
  SetFileAttributesA(ConfigPath().c_str(), FILE_ATTRIBUTE_READONLY);
  std::string told;
  ModalDriver driver([&told](ModalDriver& d) {
    const HWND box = d.WaitForWindow("#32770", ProgramProductName());
    if (box == nullptr) return;
    told = WindowTextOf(GetDlgItem(box, 0xFFFF));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  page_->RunRowCommand(RowOf("DeadOne"), ScanPage::kRowExclude);
  driver.Finish();
  SetFileAttributesA(ConfigPath().c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_TRUE(driver.ok()) << driver.report();
  EXPECT_EQ(told, LanguageText("L0226")) << "the user is told the settings were not saved";
  EXPECT_EQ(page_->list().RowCount(), 2) << "the row stays";
  EXPECT_EQ(ReadSetting(kKeyErrorCount), "2") << "ErrorCnt unchanged";
}

TEST_F(ScanPageTest, ClosingTheWindowDuringAScanStopsAndJoinsTheWorker) {
  for (int value = 0; value < 200; ++value)
    SetString(kLocalMachine, kRun, "Dead" + std::to_string(value), files_ / "Gone\\x.exe");
  SetWindowSubclass(page_->window(), FirstProgressHook, 1, 0);
  bool busyAtClose = false;
  g_onFirstProgress = [&] { busyAtClose = page_->IsBusy(); };
  ASSERT_TRUE(page_->StartScan()) << "the scan starts";
  PumpUntil([] { return !g_onFirstProgress; }, 5000);
  host_.Destroy();  // the page and its list go while the worker is mid-scan
  EXPECT_TRUE(busyAtClose) << "the scan was running";
  EXPECT_FALSE(page_->IsBusy()) << "the worker was stopped and joined";
  EXPECT_EQ(page_->window(), nullptr) << "the page is gone";
  EXPECT_TRUE(ReadSetting(kKeyLastScan).empty()) << "an interrupted scan records nothing";
}

TEST_F(ScanPageTest, TheFixWithNoTickedRowSaysSoAndRemovesNothing) {
  AddRunValues();
  ASSERT_TRUE(Scan()) << "the scan ends";
  page_->RunRowCommand(0, ScanPage::kRowTickNone);
  std::string told;
  ModalDriver driver([&told](ModalDriver& d) {
    const HWND box = d.WaitForWindow("#32770", ProgramProductName());
    if (box == nullptr) return;
    told = WindowTextOf(GetDlgItem(box, 0xFFFF));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  page_->FixTickedRows();
  driver.Finish();
  EXPECT_TRUE(driver.ok()) << driver.report();
  EXPECT_EQ(told, LanguageText("L0086")) << "the user is told to tick rows";
  EXPECT_TRUE(ValueExists(kLocalMachine, kRun, "DeadOne")) << "nothing deleted";
  EXPECT_EQ(page_->list().RowCount(), 2) << "every row stays";
}

// The scan page: the fix
// removes only the ticked rows after a backup and nothing when the backup
// fails; an exclusion that cannot be saved keeps its row; closing during a
// scan stops and joins the worker.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

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
  for (const DWORD start = GetTickCount(); !done(); Sleep(1)) {
    if (GetTickCount() - start > ms) return false;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
  return true;
}

// Only the Run area is scanned; two dead Run values and a healthy one.
class ScanPageTest : public ::testing::Test {
 protected:
  ScanPageTest() : host_(IDD_TEST_DIALOG) {
    std::string xml = "<Config><Areas>";
    for (ScanArea area : kScanAreas)
      xml += std::string("<") + AreaElementName(area) + " custom=\"" +
             (area == ScanArea::Run ? "1" : "0") + "\"/>";
    program_.files().WriteFile("Settings.xml",
                               xml + "</Areas><Exclude><custom/></Exclude></Config>");
    SetString(kLocalMachine, kRun, "DeadOne", files_ / "Gone\\one.exe");
    SetString(kLocalMachine, kRun, "DeadTwo", files_ / "Gone\\two.exe");
    SetString(kLocalMachine, kRun, "Healthy", files_.WriteFile("alive.exe"));
    host_.Create(nullptr);
    page_ = std::make_unique<ScanPage>(PageContext{program_.path(), nullptr});
    page_->Create(host_.window());
  }
  ~ScanPageTest() override {
    page_.reset();
    host_.Destroy();
  }
  bool Scan() {
    return page_->StartScan() && PumpUntil([this] {
             return !page_->IsBusy() && !IsWindowEnabled(page_->Item(IDC_SCAN_STOP));
           });
  }
  // The text of the message box `action` brings up, answered with OK.
  std::string Told(const std::function<void()>& action) {
    std::string told;
    ModalDriver driver([&told](ModalDriver& d) {
      if (const HWND box = d.WaitForWindow("#32770", ProgramProductName(), 30000)) {
        told = WindowTextOf(GetDlgItem(box, 0xFFFF));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      }
    });
    action();
    driver.Finish();
    return told;
  }
  int RowOf(const std::string& valueName) {
    for (int row = 0; row < page_->list().RowCount(); ++row)
      if (page_->list().RowData<ScanIssue>(row)->valueName == valueName) return row;
    return -1;
  }

  RegistrySandbox sandbox_;
  GdiplusScope gdiplus_;
  ProgramFolder program_;
  ScratchFolder files_;
  Dialog host_;
  std::unique_ptr<ScanPage> page_;
};

}  // namespace

TEST_F(ScanPageTest, TheFixRemovesOnlyTheTickedRowsEntries) {
  ASSERT_TRUE(Scan()) << "the scan ends";
  ASSERT_EQ(page_->list().RowCount(), 2) << "a row per dead value";
  page_->list().SetTicked(RowOf("DeadTwo"), false);
  ModalDriver watchdog([](ModalDriver&) {});  // ends the test should the fix hang
  page_->FixTickedRows();
  watchdog.Finish();
  EXPECT_FALSE(ValueExists(kLocalMachine, kRun, "DeadOne")) << "the ticked row's value is gone";
  EXPECT_TRUE(ValueExists(kLocalMachine, kRun, "DeadTwo")) << "the unticked row's value stays";
  EXPECT_EQ(RowOf("DeadTwo"), 0) << "only the unticked row is left";
  EXPECT_EQ(ReadSetting(kKeyErrorCount), "1") << "ErrorCnt follows";
}

TEST_F(ScanPageTest, AFixWhoseBackupCannotBeWrittenKeepsEverything) {
  ASSERT_TRUE(Scan()) << "the scan ends";
  program_.files().WriteFile("PartialBackup", "a file where the folder should be");
  EXPECT_EQ(Told([this] { page_->FixTickedRows(); }), LanguageText("L0227")) << "reported";
  EXPECT_TRUE(ValueExists(kLocalMachine, kRun, "DeadOne")) << "nothing deleted";
  EXPECT_EQ(page_->list().RowCount(), 2) << "every row stays";
}

TEST_F(ScanPageTest, AnExclusionThatCannotBeSavedIsReportedAndKeepsTheRow) {
  ASSERT_TRUE(Scan()) << "the scan ends";
  const std::string config = program_.files() / "Settings.xml";
  SetFileAttributesA(config.c_str(), FILE_ATTRIBUTE_READONLY);
  const std::string told =
      Told([this] { page_->RunRowCommand(RowOf("DeadOne"), ScanPage::kRowExclude); });
  SetFileAttributesA(config.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(told, LanguageText("L0226")) << "the user is told the settings were not saved";
  EXPECT_EQ(page_->list().RowCount(), 2) << "the row stays";
}

TEST_F(ScanPageTest, ClosingTheWindowDuringAScanStopsAndJoinsTheWorker) {
  for (int value = 0; value < 200; ++value)
    SetString(kLocalMachine, kRun, "Dead" + std::to_string(value), files_ / "Gone\\x.exe");
  ASSERT_TRUE(page_->StartScan()) << "the scan starts";
  EXPECT_TRUE(page_->IsBusy()) << "the scan is running";
  host_.Destroy();  // the page and its list go while the worker is mid-scan
  EXPECT_FALSE(page_->IsBusy()) << "the worker was stopped and joined";
  EXPECT_TRUE(ReadSetting(kKeyLastScan).empty()) << "an interrupted scan records nothing";
}

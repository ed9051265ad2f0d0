// The scan page: a scan on its worker fills the list from the registry and
// records its end (a stopped one records nothing); the context menu's
// commands; an exclusion saved or, when it cannot be, its row kept; a fix
// whose backup fails removes nothing; closing during a scan stops and joins
// the worker.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "foundation/version_info.h"
#include "resource_ids.h"
#include "scan/scan_area.h"
#include "scan/scan_config.h"
#include "support/registry_sandbox.h"
#include "ui/pages/scan_page.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Delivers this thread's messages until `done` holds; false after 20 s.
bool PumpUntil(const std::function<bool()>& done) {
  for (const DWORD start = GetTickCount(); !done(); Sleep(1)) {
    if (GetTickCount() - start > 20000) return false;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
  return true;
}

// Only the Run area is scanned; two dead Run values and a healthy one.
class ScanPageTest : public ::testing::Test {
 protected:
  ScanPageTest() {
    std::string xml = "<Config><Areas>";
    for (ScanArea area : kScanAreas)
      xml += std::string("<") + AreaElementName(area) + " custom=\"" +
             (area == ScanArea::Run ? "1" : "0") + "\"/>";
    program_.files().WriteFile("Settings.xml",
                               xml + "</Areas><Exclude><custom/></Exclude></Config>");
    SetString(kLocalMachine, kRun, "DeadOne", files_ / "Gone\\one.exe");
    SetString(kLocalMachine, kRun, "DeadTwo", files_ / "Gone\\two.exe");
    SetString(kLocalMachine, kRun, "Healthy", files_.WriteFile("alive.exe"));
  }
  bool Scan() {
    return page_->StartScan() &&
           PumpUntil([this] { return !page_->IsBusy() && !page_.Enabled(IDC_SCAN_STOP); });
  }
  std::string Told(const std::function<void()>& action) {
    return AnswerBoxes({ProgramProductName()}, action, IDOK, 30000);
  }
  ResultList& list() { return page_->list(); }
  int RowOf(const std::string& valueName) {
    for (int row = 0; row < list().RowCount(); ++row)
      if (list().RowData<ScanIssue>(row)->valueName == valueName) return row;
    return -1;
  }
  std::string Ticks() {
    std::string ticks;
    for (int row = 0; row < list().RowCount(); ++row) ticks += list().IsTicked(row) ? "x" : "-";
    return ticks;
  }

  RegistrySandbox sandbox_;
  GdiplusScope gdiplus_;
  ProgramFolder program_;
  ScratchFolder files_;
  HostedPage<ScanPage> page_{PageContext{program_.path(), nullptr}};
};

}  // namespace

TEST_F(ScanPageTest, AScanListsTheDeadValuesAndRecordsItsEndAndTheMenuCommandsWork) {
  ASSERT_TRUE(Scan()) << "the scan ends";
  ASSERT_EQ(list().RowCount(), 2) << "a row per dead value, none for the healthy one";
  EXPECT_EQ(Ticks(), "xx") << "every row starts ticked";
  EXPECT_FALSE(ReadSetting(kKeyLastScan).empty()) << "a completed scan is recorded";
  EXPECT_EQ(ReadSetting(kKeyErrorCount), "2");

  const struct {
    int row;
    int command;
    const char* ticks;
  } steps[] = {{0, ScanPage::kRowFlip, "-x"},
               {1, ScanPage::kRowInvert, "x-"},
               {0, ScanPage::kRowTickNone, "--"},
               {1, ScanPage::kRowTickAll, "xx"},
               {1, ScanPage::kRowFlip, "x-"}};
  for (const auto& step : steps) {
    page_->RunRowCommand(step.row, step.command);
    EXPECT_EQ(Ticks(), step.ticks) << "command " << step.command << " on row " << step.row;
  }

  page_->RunRowCommand(RowOf("DeadOne"), ScanPage::kRowExclude);
  const std::vector<std::string> saved = ReadExclusions(program_.files() / "Settings.xml", false);
  EXPECT_EQ(std::count(saved.begin(), saved.end(), "HKEY_LOCAL_MACHINE\\" + kRun), 1)
      << "the row's key is excluded";
  EXPECT_EQ(RowOf("DeadOne"), -1) << "and its row gone";
  EXPECT_EQ(list().RowCount(), 1);
  EXPECT_EQ(ReadSetting(kKeyErrorCount), "1") << "ErrorCnt holds the rows left";
}

TEST_F(ScanPageTest, AFixWhoseBackupCannotBeWrittenKeepsEverything) {
  ASSERT_TRUE(Scan()) << "the scan ends";
  program_.files().WriteFile("PartialBackup", "a file where the folder should be");
  EXPECT_EQ(Told([this] { page_->FixTickedRows(); }), LanguageText("L0227")) << "reported";
  EXPECT_TRUE(ValueExists(kLocalMachine, kRun, "DeadOne")) << "nothing deleted";
  EXPECT_EQ(list().RowCount(), 2) << "every row stays";
}

TEST_F(ScanPageTest, AnExclusionThatCannotBeSavedIsReportedAndKeepsTheRow) {
  ASSERT_TRUE(Scan()) << "the scan ends";
  const std::string config = program_.files() / "Settings.xml";
  SetFileAttributesA(config.c_str(), FILE_ATTRIBUTE_READONLY);
  const std::string told =
      Told([this] { page_->RunRowCommand(RowOf("DeadOne"), ScanPage::kRowExclude); });
  SetFileAttributesA(config.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(told, LanguageText("L0226")) << "the user is told the settings were not saved";
  EXPECT_EQ(list().RowCount(), 2) << "the row stays";
  EXPECT_EQ(ReadSetting(kKeyErrorCount), "2") << "ErrorCnt unchanged";
}

TEST_F(ScanPageTest, ClosingTheWindowDuringAScanStopsAndJoinsTheWorker) {
  for (int value = 0; value < 200; ++value)
    SetString(kLocalMachine, kRun, "Dead" + std::to_string(value), files_ / "Gone\\x.exe");
  ASSERT_TRUE(page_->StartScan()) << "the scan starts";
  EXPECT_TRUE(page_->IsBusy()) << "the scan is running";
  page_.host.Destroy();  // the page and its list go while the worker is mid-scan
  EXPECT_FALSE(page_->IsBusy()) << "the worker was stopped and joined";
  EXPECT_TRUE(ReadSetting(kKeyLastScan).empty()) << "an interrupted scan records nothing";
  EXPECT_TRUE(ReadSetting(kKeyErrorCount).empty());
}

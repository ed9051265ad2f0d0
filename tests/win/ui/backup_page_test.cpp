// The backup page: rows from the stamped folders only, the commands behind
// their questions, a full backup that says it is done only when it is, and
// the day count, written at once and never outside 1..90.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/file_checks.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "foundation/version_info.h"
#include "resource_ids.h"
#include "ui/pages/backup_page.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

class BackupPageTest : public ::testing::Test {
 protected:
  const ScratchFolder& files() const { return program_.files(); }
  ResultList& list() { return page_->list(); }
  std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    for (int row = 0; row < list().RowCount(); ++row)
      rows.push_back(list().CellText(row, 0) + " " + list().CellText(row, 1) + " " +
                     list().CellText(row, 2));
    std::sort(rows.begin(), rows.end());
    return rows;
  }

  GdiplusScope gdiplus_;
  ProgramFolder program_;
  HostedPage<BackupPage> page_{PageContext{program_.path(), nullptr}};
};

}  // namespace

TEST_F(BackupPageTest, ListsTheStampedFoldersWithDateTimeAndSize) {
  files().WriteFile("Backup\\2009-03-14-08-05-09\\allbak.reg", std::string(1536, 'x'));
  files().WriteFile("Backup\\2011-12-31-23-59-58\\allbak.reg", std::string(1023, 'x'));
  files().MakeFolder("Backup\\2010-11-02-23-04-05");  // its file is missing
  files().MakeFolder("Backup\\old");
  files().MakeFolder("Backup\\2010-13-02-23-04-05");  // no such month
  files().WriteFile("Backup\\2012-01-01-00-00-00", "a file, not a folder");
  page_->Refresh();
  const std::vector<std::string> expected = {"2009-03-14 08:05:09 1.50KB", "2010-11-02 23:04:05 0B",
                                             "2011-12-31 23:59:58 1023B"};
  EXPECT_EQ(Rows(), expected) << "a row per stamped folder, nothing else";
  for (int row = 0; row < list().RowCount(); ++row)
    if (*list().RowData<std::string>(row) == files() / "Backup\\2010-11-02-23-04-05")
      list().SelectOnly(row);
  EXPECT_EQ(AnswerBoxes(
                {LanguageText("L0019")}, [this] { page_->RestoreSelected(); }, IDOK, 1000),
            "")
      << "a backup without its file has nothing to restore: no question";
}

TEST_F(BackupPageTest, DeletingAsksFirstAndKeepsTheSelectionPlace) {
  for (const char* name : {"2009-03-14-08-05-09", "2010-11-02-23-04-05"})
    files().WriteFile(std::string("Backup\\") + name + "\\allbak.reg");
  page_->Refresh();
  const int last = list().RowCount() - 1;
  const std::string folder = *list().RowData<std::string>(last);
  list().SelectOnly(last);
  const std::string question = LanguageText("L0019");
  const auto remove = [this] { page_->DeleteSelected(); };
  EXPECT_EQ(AnswerBoxes({question}, remove, IDCANCEL), LanguageText("L0018"));
  EXPECT_TRUE(FolderExists(folder)) << "Cancel keeps the backup";
  AnswerBoxes({question}, remove);
  EXPECT_FALSE(FolderExists(folder)) << "OK deletes the folder with its file";
  ASSERT_EQ(list().RowCount(), 1) << "its row is gone";
  EXPECT_TRUE(page_.Enabled(IDC_BACKUP_DELETE)) << "the row now last is selected";
}

TEST_F(BackupPageTest, AFullBackupThatWasNotWrittenSaysSo) {
  files().WriteFile("Backup", "a file where the folder should be");
  EXPECT_EQ(AnswerBoxes(
                {ProgramProductName()}, [this] { page_->MakeBackup(); }, IDOK, 60000),
            LanguageText("L0247"))
      << "not L0021: nothing is done";
  EXPECT_EQ(ReadSetting(kKeyLastBackup), "") << "and is not recorded as made";
  EXPECT_EQ(list().RowCount(), 0);
}

TEST_F(BackupPageTest, TheDayCountStaysWithinOneToNinetyAndIsWrittenAtOnce) {
  const struct {
    const char* stored;  // in Settings.ini before the page reads it
    WPARAM key;          // pressed on the spin; 0 for none
    const char* shown;   // afterwards, and stored unless nothing was pressed
  } cases[] = {
      {"45", VK_UP, "46"},  {"45", VK_DOWN, "44"},  {"90", VK_UP, "1"},
      {"1", VK_DOWN, "90"}, {"0", 0, "90"},         {"91", 0, "90"},
      {"-5", VK_UP, "1"},   {"abc", VK_DOWN, "89"}, {"99999999999", 0, "90"},
  };
  const HWND spin = page_->Item(IDC_BACKUP_DAYS_SPIN);
  for (const auto& c : cases) {
    WriteSetting(kKeyAutoDelFullBackupDays, c.stored);
    page_->Refresh();
    if (c.key != 0) {
      SendMessageA(spin, WM_KEYDOWN, c.key, 0);
      SendMessageA(spin, WM_KEYUP, c.key, 0);
      EXPECT_EQ(ReadSetting(kKeyAutoDelFullBackupDays), c.shown) << c.stored;
    }
    EXPECT_EQ(page_.Text(IDC_BACKUP_DAYS), c.shown) << c.stored << " then key " << c.key;
  }
  WriteSetting(kKeyAutoDelFullBackupDays, "30");
  page_->Refresh();
  SetWindowTextA(page_->Item(IDC_BACKUP_DAYS), "120");
  EXPECT_EQ(ReadSetting(kKeyAutoDelFullBackupDays), "30") << "a typed count out of range";
  SetWindowTextA(page_->Item(IDC_BACKUP_DAYS), "12");
  EXPECT_EQ(ReadSetting(kKeyAutoDelFullBackupDays), "12") << "one within it is written at once";
}

// The backup page: rows from the stamped folders only, the commands behind
// their questions, a full backup that says it is done only when it is, and
// the retention switch and day count, written at once and never outside
// 1..90.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/file_checks.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "foundation/version_info.h"
#include "modal_driver.h"
#include "resource_ids.h"
#include "test_dialog_ids.h"
#include "ui/dialog.h"
#include "ui/pages/backup_page.h"
#include "ui/window_text.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

class BackupPageTest : public ::testing::Test {
 protected:
  BackupPageTest() : host_(IDD_TEST_DIALOG) {
    host_.Create(nullptr);
    page_ = std::make_unique<BackupPage>(PageContext{program_.path(), nullptr});
    page_->Create(host_.window());
  }
  ~BackupPageTest() override {
    page_.reset();
    host_.Destroy();
  }
  const ScratchFolder& files() const { return program_.files(); }
  std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    ResultList& list = page_->list();
    for (int row = 0; row < list.RowCount(); ++row)
      rows.push_back(list.CellText(row, 0) + " " + list.CellText(row, 1) + " " +
                     list.CellText(row, 2));
    std::sort(rows.begin(), rows.end());
    return rows;
  }
  int RowOf(const std::string& folderName) {
    for (int row = 0; row < page_->list().RowCount(); ++row)
      if (*page_->list().RowData<std::string>(row) == files() / folderName) return row;
    return -1;
  }
  bool Enabled(int id) { return IsWindowEnabled(page_->Item(id)) != FALSE; }
  // Runs `action`, answering the box captioned `caption` with `answer`;
  // the text of the box, "" when none came.
  std::string Answer(const std::string& caption, int answer, const std::function<void()>& action,
                     DWORD timeoutMs = 5000) {
    std::string told;
    ModalDriver driver([&](ModalDriver& d) {
      if (const HWND box = d.WaitForWindow("#32770", caption, timeoutMs)) {
        told = WindowTextOf(GetDlgItem(box, 0xFFFF));
        PostMessageA(box, WM_COMMAND, answer, 0);
      }
    });
    action();
    driver.Finish();
    return told;
  }
  std::string DaysShown() { return WindowText(page_->Item(IDC_BACKUP_DAYS)); }
  void PressSpin(WPARAM key) {
    SendMessageA(page_->Item(IDC_BACKUP_DAYS_SPIN), WM_KEYDOWN, key, 0);
    SendMessageA(page_->Item(IDC_BACKUP_DAYS_SPIN), WM_KEYUP, key, 0);
  }

  GdiplusScope gdiplus_;
  ProgramFolder program_;
  Dialog host_;
  std::unique_ptr<BackupPage> page_;
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
  EXPECT_FALSE(Enabled(IDC_BACKUP_RESTORE)) << "nothing selected: no restore";
  EXPECT_FALSE(Enabled(IDC_BACKUP_DELETE)) << "nothing selected: no delete";
  page_->list().SelectOnly(RowOf("Backup\\2010-11-02-23-04-05"));
  EXPECT_TRUE(Enabled(IDC_BACKUP_RESTORE)) << "a selected row can be restored";
  EXPECT_TRUE(Enabled(IDC_BACKUP_DELETE)) << "a selected row can be deleted";
  // A backup without its file has nothing to restore: no question, nothing started.
  EXPECT_EQ(Answer(
                LanguageText("L0019"), IDOK, [this] { page_->RestoreSelected(); }, 1000),
            "");
}

TEST_F(BackupPageTest, DeletingAsksFirstAndKeepsTheSelectionPlace) {
  for (const char* name : {"2009-03-14-08-05-09", "2010-11-02-23-04-05"})
    files().WriteFile(std::string("Backup\\") + name + "\\allbak.reg");
  page_->Refresh();
  const int last = page_->list().RowCount() - 1;
  const std::string folder = *page_->list().RowData<std::string>(last);
  page_->list().SelectOnly(last);
  const std::string question = LanguageText("L0019");
  EXPECT_EQ(Answer(question, IDCANCEL, [this] { page_->DeleteSelected(); }), LanguageText("L0018"))
      << "the question";
  EXPECT_TRUE(FolderExists(folder)) << "Cancel keeps the backup";
  Answer(question, IDOK, [this] { page_->DeleteSelected(); });
  EXPECT_FALSE(FolderExists(folder)) << "OK deletes the folder with its file";
  ASSERT_EQ(page_->list().RowCount(), 1) << "its row is gone";
  EXPECT_TRUE(Enabled(IDC_BACKUP_DELETE)) << "the row now last is selected";
}

TEST_F(BackupPageTest, AFullBackupThatWasNotWrittenSaysSo) {
  files().WriteFile("Backup", "a file where the folder should be");
  const std::string product = ProgramProductName();
  EXPECT_EQ(Answer(
                product, IDOK, [this] { page_->MakeBackup(); }, 60000),
            LanguageText("L0247"))
      << "not L0021: nothing is done";
  EXPECT_EQ(ReadSetting(kKeyLastBackup), "") << "and is not recorded as made";
  EXPECT_EQ(page_->list().RowCount(), 0);
}

TEST_F(BackupPageTest, TheDayCountStaysWithinOneToNinetyAndIsWrittenAtOnce) {
  struct Case {
    const char* stored;  // in Settings.ini before the page reads it
    WPARAM key;          // pressed on the spin; 0 for none
    const char* shown;   // afterwards, and stored unless nothing was pressed
  };
  const Case cases[] = {
      {"45", VK_UP, "46"},  {"45", VK_DOWN, "44"},  {"90", VK_UP, "1"},
      {"1", VK_DOWN, "90"}, {"0", 0, "90"},         {"91", 0, "90"},
      {"-5", VK_UP, "1"},   {"abc", VK_DOWN, "89"}, {"99999999999", 0, "90"},
  };
  for (const Case& c : cases) {
    WriteSetting(kKeyAutoDelFullBackupDays, c.stored);
    page_->Refresh();
    if (c.key != 0) PressSpin(c.key);
    EXPECT_EQ(DaysShown(), c.shown) << c.stored << " then key " << c.key;
    if (c.key != 0) EXPECT_EQ(ReadSetting(kKeyAutoDelFullBackupDays), c.shown) << c.stored;
  }
  WriteSetting(kKeyAutoDelFullBackupDays, "30");
  page_->Refresh();
  SetWindowTextA(page_->Item(IDC_BACKUP_DAYS), "120");
  EXPECT_EQ(ReadSetting(kKeyAutoDelFullBackupDays), "30")
      << "a typed count out of range is not kept";
  SetWindowTextA(page_->Item(IDC_BACKUP_DAYS), "12");
  EXPECT_EQ(ReadSetting(kKeyAutoDelFullBackupDays), "12") << "one within it is written at once";
}

TEST_F(BackupPageTest, TheSwitchIsWrittenAtOnceAndGovernsTheDayCount) {
  page_->Refresh();
  EXPECT_EQ(IsDlgButtonChecked(page_->window(), IDC_BACKUP_AUTO_DELETE), BST_CHECKED)
      << "on by default";
  EXPECT_TRUE(Enabled(IDC_BACKUP_DAYS));
  SendMessageA(page_->Item(IDC_BACKUP_AUTO_DELETE), BM_CLICK, 0, 0);
  EXPECT_EQ(ReadSetting(kKeyAutoDelFullBackup), "0") << "cleared";
  EXPECT_FALSE(Enabled(IDC_BACKUP_DAYS)) << "no day count without the switch";
  EXPECT_FALSE(Enabled(IDC_BACKUP_DAYS_SPIN));
  SendMessageA(page_->Item(IDC_BACKUP_AUTO_DELETE), BM_CLICK, 0, 0);
  EXPECT_EQ(ReadSetting(kKeyAutoDelFullBackup), "1") << "ticked";
  EXPECT_TRUE(Enabled(IDC_BACKUP_DAYS_SPIN));
}

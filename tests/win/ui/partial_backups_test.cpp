// The partial backups window: a restore brings the entries back and only
// then consumes the file; one whose import did not happen keeps it, whatever
// the editor's exit code said. The registry editor is another process and
// sees no sandbox, so these tests work in a scratch key of the real registry.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "foundation/file_checks.h"
#include "foundation/registry_key.h"
#include "foundation/version_info.h"
#include "modal_driver.h"
#include "repair/repair_test_support.h"
#include "resource_ids.h"
#include "ui/dialogs/partial_backups_dialog.h"
#include "ui/window_text.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

constexpr const char* kBackupName = "PartialBackup\\2009-03-14_08-05-09.reg";

// A program that ends with exit code 0 and imports nothing: an editor whose
// import failed looks just like it.
std::string SilentFailingEditor() {
  char folder[MAX_PATH] = "";
  GetSystemDirectoryA(folder, MAX_PATH);
  return std::string(folder) + "\\rundll32.exe";
}

bool HasValue(const std::string& key, const char* name) {
  RegKey opened;
  return opened.Open(HKEY_CURRENT_USER, key) == ERROR_SUCCESS &&
         RegQueryValueExA(opened.Get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

class PartialBackupsTest : public ::testing::Test {
 protected:
  // A backup as the fix writes it (text mode: CR LF) of two values below the scratch key.
  std::string WriteBackup() {
    return program_.files().WriteFile(kBackupName, "REGEDIT4\r\n[HKEY_CURRENT_USER\\" + Key() +
                                                       "]\r\n\"Name\"=\"Value\"\r\n"
                                                       "\"Count\"=dword:00000007\r\n");
  }
  std::string Key() const { return key_.path() + "\\Restored"; }
  void Open(const std::string& editor) {
    dialog_ = std::make_unique<PartialBackupsDialog>(program_.path(), editor);
    ASSERT_NE(dialog_->Create(nullptr), nullptr);
  }
  // Runs `action`, answering each box in turn with OK; their texts, "|"-joined.
  std::string AnswerAll(const std::vector<std::string>& captions, DWORD timeoutMs,
                        const std::function<void()>& action) {
    std::string told;
    ModalDriver driver([&](ModalDriver& d) {
      for (const std::string& caption : captions) {
        const HWND box = d.WaitForWindow("#32770", caption, timeoutMs);
        if (box == nullptr) return;
        told += (told.empty() ? "" : "|") + WindowTextOf(GetDlgItem(box, 0xFFFF));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        d.WaitUntilGone(box);
      }
    });
    action();
    driver.Finish();
    return told;
  }
  bool Enabled(int id) { return IsWindowEnabled(dialog_->Item(id)) != FALSE; }

  GdiplusScope gdiplus_;
  ProgramFolder program_;
  RealScratchKey key_;
  std::unique_ptr<PartialBackupsDialog> dialog_;
};

}  // namespace

TEST_F(PartialBackupsTest, ARestoreThatWorksBringsTheEntriesBackAndConsumesTheFile) {
  const std::string file = WriteBackup();
  program_.files().WriteFile("PartialBackup\\notes.txt");
  Open(RegistryEditorPath());
  ASSERT_EQ(dialog_->list().RowCount(), 1) << "a row for the stamped file only";
  dialog_->list().SelectOnly(0);
  const std::string told =
      AnswerAll({LanguageText("L0088")}, 30000, [this] { dialog_->RestoreSelected(); });
  EXPECT_EQ(told, LanguageText("L0095")) << "asked first, nothing said after";
  EXPECT_TRUE(HasValue(Key(), "Name")) << "the string is back";
  EXPECT_TRUE(HasValue(Key(), "Count")) << "the number is back";
  EXPECT_FALSE(FileExists(file)) << "the restored backup is consumed";
  EXPECT_TRUE(FileExists(program_.files() / "PartialBackup\\notes.txt"));
  EXPECT_EQ(WindowText(dialog_->Item(IDC_PARTIAL_STATUS)), LanguageText("L0094"));
  ASSERT_EQ(dialog_->list().RowCount(), 1) << "one row that says there is none";
  EXPECT_EQ(dialog_->list().RowData<std::string>(0), nullptr);
  EXPECT_NE(dialog_->list().CellText(0, 0).find(LanguageText("L0091")), std::string::npos);
  EXPECT_FALSE(Enabled(IDC_PARTIAL_RESTORE)) << "nothing left to restore";
  EXPECT_FALSE(Enabled(IDC_PARTIAL_DELETE)) << "nothing left to delete";
  EXPECT_TRUE(Enabled(IDCANCEL)) << "the window can be closed again";
}

TEST_F(PartialBackupsTest, ARestoreThatDidNotHappenKeepsTheFile) {
  const std::string file = WriteBackup();
  const std::string content = ReadWholeFile(file);
  Open(SilentFailingEditor());
  dialog_->list().SelectOnly(0);
  const std::string told = AnswerAll({LanguageText("L0088"), ProgramProductName()}, 30000,
                                     [this] { dialog_->RestoreSelected(); });
  EXPECT_EQ(told, LanguageText("L0095") + "|" + LanguageText("L0248")) << "the failure is told";
  EXPECT_FALSE(HasValue(Key(), "Name")) << "nothing was imported";
  EXPECT_EQ(ReadWholeFile(file), content) << "so the only copy stays as it was";
  EXPECT_EQ(dialog_->list().RowCount(), 1);
  EXPECT_NE(dialog_->list().RowData<std::string>(0), nullptr) << "still listed";
  EXPECT_EQ(WindowText(dialog_->Item(IDC_PARTIAL_STATUS)), "") << "no \"done\"";
  EXPECT_TRUE(Enabled(IDC_PARTIAL_RESTORE)) << "it can be tried again";
}

TEST_F(PartialBackupsTest, DeletingAsksFirstAndNothingSelectedIsTold) {
  const std::string file = WriteBackup();
  Open(SilentFailingEditor());
  const std::string product = ProgramProductName();
  EXPECT_EQ(AnswerAll({product}, 5000, [this] { dialog_->DeleteSelected(); }),
            LanguageText("L0092"))
      << "no row selected";
  EXPECT_TRUE(FileExists(file));
  dialog_->list().SelectOnly(0);
  EXPECT_EQ(AnswerAll({LanguageText("L0088")}, 5000, [this] { dialog_->DeleteSelected(); }),
            LanguageText("L0093"));
  EXPECT_FALSE(FileExists(file)) << "OK deletes the file";
  EXPECT_EQ(WindowText(dialog_->Item(IDC_PARTIAL_STATUS)), LanguageText("L0094"));
  dialog_->list().SelectOnly(0);  // the row that says there is none
  EXPECT_EQ(AnswerAll({product}, 5000, [this] { dialog_->RestoreSelected(); }),
            LanguageText("L0092"))
      << "that row is nothing to restore";
}

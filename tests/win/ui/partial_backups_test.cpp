// The partial backups window: a restore whose import did not happen keeps the
// file, whatever the editor's exit code said; deleting asks first. The
// registry editor is another process and sees no sandbox, so these tests work
// in a scratch key of the real registry.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "foundation/file_checks.h"
#include "foundation/registry_key.h"
#include "foundation/version_info.h"
#include "repair/repair_test_support.h"
#include "resource_ids.h"
#include "ui/dialogs/partial_backups_dialog.h"
#include "ui/window_text.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

// A program that ends with exit code 0 and imports nothing: an editor whose
// import failed looks just like it.
std::string SilentFailingEditor() {
  char folder[MAX_PATH] = "";
  GetSystemDirectoryA(folder, MAX_PATH);
  return std::string(folder) + "\\rundll32.exe";
}

class PartialBackupsTest : public ::testing::Test {
 protected:
  // A backup as the fix writes it (text mode: CR LF) of a value below the scratch key.
  PartialBackupsTest()
      : file_(program_.files().WriteFile("PartialBackup\\2009-03-14_08-05-09.reg",
                                         "REGEDIT4\r\n[HKEY_CURRENT_USER\\" + key_.path() +
                                             "\\Restored]\r\n\"Name\"=\"Value\"\r\n")),
        dialog_(program_.path(), SilentFailingEditor()) {
    dialog_.Create(nullptr);
  }
  std::string Status() { return WindowText(dialog_.Item(IDC_PARTIAL_STATUS)); }

  GdiplusScope gdiplus_;
  ProgramFolder program_;
  RealScratchKey key_;
  const std::string file_;
  PartialBackupsDialog dialog_;
};

}  // namespace

TEST_F(PartialBackupsTest, ARestoreThatDidNotHappenKeepsTheFile) {
  const std::string content = ReadWholeFile(file_);
  dialog_.list().SelectOnly(0);
  const std::string told = AnswerBoxes(
      {LanguageText("L0088"), ProgramProductName()}, [this] { dialog_.RestoreSelected(); }, IDOK,
      30000);
  EXPECT_EQ(told, LanguageText("L0095") + "|" + LanguageText("L0248")) << "the failure is told";
  RegKey restored;
  EXPECT_NE(restored.Open(HKEY_CURRENT_USER, key_.path() + "\\Restored"), ERROR_SUCCESS)
      << "nothing was imported";
  EXPECT_EQ(ReadWholeFile(file_), content) << "so the only copy stays as it was";
  EXPECT_NE(dialog_.list().RowData<std::string>(0), nullptr) << "still listed";
  EXPECT_EQ(Status(), "") << "no \"done\"";
  EXPECT_TRUE(IsWindowEnabled(dialog_.Item(IDC_PARTIAL_RESTORE))) << "it can be tried again";
}

TEST_F(PartialBackupsTest, DeletingAsksFirstAndNothingSelectedIsTold) {
  const std::string product = ProgramProductName();
  const auto remove = [this] { dialog_.DeleteSelected(); };
  EXPECT_EQ(AnswerBoxes({product}, remove), LanguageText("L0092")) << "no row selected";
  EXPECT_TRUE(FileExists(file_));
  dialog_.list().SelectOnly(0);
  EXPECT_EQ(AnswerBoxes({LanguageText("L0088")}, remove), LanguageText("L0093"));
  EXPECT_FALSE(FileExists(file_)) << "OK deletes the file";
  EXPECT_EQ(Status(), LanguageText("L0094"));
  dialog_.list().SelectOnly(0);  // the row that says there is none
  EXPECT_EQ(AnswerBoxes({product}, [this] { dialog_.RestoreSelected(); }), LanguageText("L0092"))
      << "that row is nothing to restore";
}

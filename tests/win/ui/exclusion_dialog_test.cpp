// The exclusion dialog: removing selects the row that takes the removed
// one's place, restoring the defaults saves nothing until OK, paths picked
// are appended, and a list that cannot be saved is reported, never taken
// for saved.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/com_ptr.h"
#include "foundation/version_info.h"
#include "resource_ids.h"
#include "scan/scan_config.h"
#include "ui/dialogs/exclusion_dialog.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

using Rows = std::vector<std::string>;

const char kConfig[] =
    "<Config>\n"
    "  <Exclude>\n"
    "    <default><item value=\"D1\"/><item value=\"D2\"/></default>\n"
    "    <custom><item value=\"C1\"/><item value=\"C2\"/><item value=\"C3\"/></custom>\n"
    "  </Exclude>\n"
    "</Config>\n";

class ExclusionDialogTest : public ::testing::Test {
 protected:
  void Open(ExclusionDialog::Picker pick = nullptr) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    program_.files().WriteFile("Settings.xml", kConfig);
    dialog_ = std::make_unique<ExclusionDialog>(path_, pick);
    ASSERT_NE(dialog_->Create(nullptr), nullptr);
  }
  void Press(int id) { SendMessageA(dialog_->window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
  int Selected() {
    const std::vector<int> rows = dialog_->list().SelectedRows();
    return rows.size() == 1 ? rows.front() : -1;
  }
  std::string Told(const std::function<void()>& action) {
    return AnswerBoxes({ProgramProductName()}, action);
  }

  ComApartment com_;
  GdiplusScope gdiplus_;
  ProgramFolder program_;
  const std::string path_ = program_.files() / "Settings.xml";
  std::unique_ptr<ExclusionDialog> dialog_;
};

}  // namespace

TEST_F(ExclusionDialogTest, RemovingSelectsTheRowNowInItsPlaceAndOkSavesTheRowsInOrder) {
  const struct {
    int select;
    Rows left;
    int selected;
  } cases[] = {
      {0, {"C2", "C3"}, 0},
      {1, {"C1", "C3"}, 1},
      {2, {"C1", "C2"}, 1},  // the last row went: the new last one
  };
  for (const auto& c : cases) {
    Open();
    ASSERT_EQ(dialog_->Rows(), (Rows{"C1", "C2", "C3"})) << "the user's list, not the factory's";
    EXPECT_EQ(Told([this] { Press(IDC_EXCL_REMOVE); }), LanguageText("L0107")) << "none selected";
    dialog_->list().SelectOnly(c.select);
    Press(IDC_EXCL_REMOVE);
    EXPECT_EQ(dialog_->Rows(), c.left) << "removed row " << c.select;
    EXPECT_EQ(Selected(), c.selected) << "removed row " << c.select;
    EXPECT_EQ(ReadExclusions(path_, false), (Rows{"C1", "C2", "C3"})) << "nothing saved yet";
    ASSERT_TRUE(dialog_->Save());
    EXPECT_EQ(ReadExclusions(path_, false), c.left);
    EXPECT_EQ(ReadExclusions(path_, true), (Rows{"D1", "D2"})) << "the factory list stays";
  }
}

TEST_F(ExclusionDialogTest, RestoringTheDefaultsReplacesTheRowsAndSavesOnlyWithOk) {
  Open();
  Press(IDC_EXCL_DEFAULTS);
  EXPECT_EQ(dialog_->Rows(), (Rows{"D1", "D2"}));
  EXPECT_EQ(ReadExclusions(path_, false), (Rows{"C1", "C2", "C3"})) << "not saved by itself";
  ASSERT_TRUE(dialog_->Save());
  EXPECT_EQ(ReadExclusions(path_, false), (Rows{"D1", "D2"}));
}

TEST_F(ExclusionDialogTest, PickedPathsAreAppendedAndShownAsTyped) {
  const Rows rows = {"C1", "C2", "C3", "HKEY_CURRENT_USER\\Software\\{ICON:1}Vendor", "*\\Tools*"};
  Open([](HWND, std::vector<std::string>& paths) {
    paths = {"HKEY_CURRENT_USER\\Software\\{ICON:1}Vendor", "*\\Tools*"};
    return true;
  });
  Press(IDC_EXCL_ADD);
  EXPECT_EQ(dialog_->Rows(), rows);
  EXPECT_EQ(dialog_->list().LookOfCell(3, 0).text, rows[3]) << "a path is never markup";
  ASSERT_TRUE(dialog_->Save());
  EXPECT_EQ(ReadExclusions(path_, false), rows);
}

TEST_F(ExclusionDialogTest, AListThatCannotBeSavedIsReportedAndKeptForAnotherTry) {
  const struct {
    const char* what;
    std::function<void(const std::string&)> spoil;
    std::function<void(const std::string&)> mend;
  } cases[] = {
      {"a read-only file",
       [](const std::string& p) { SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_READONLY); },
       [](const std::string& p) { SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_NORMAL); }},
      {"a file that does not load", [](const std::string& p) { DeleteFileA(p.c_str()); },
       [](const std::string&) {}},
  };
  for (const auto& c : cases) {
    Open();
    dialog_->list().SelectOnly(0);
    Press(IDC_EXCL_REMOVE);
    c.spoil(path_);
    bool saved = true;
    EXPECT_EQ(Told([&] { saved = dialog_->Save(); }), LanguageText("L0226")) << c.what;
    EXPECT_FALSE(saved) << c.what;
    EXPECT_EQ(dialog_->Rows(), (Rows{"C2", "C3"})) << c.what << ": the rows stay";
    c.mend(path_);
  }
  // A modal dialog stays open after the failed OK.
  dialog_.reset();
  program_.files().WriteFile("Settings.xml", kConfig);
  SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY);
  std::string told;
  bool stayed = false;
  ModalDriver driver([&](ModalDriver& d) {
    const HWND dialog = d.WaitForWindow("#32770", LanguageText("L0100"));
    if (dialog == nullptr) return;
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    const HWND box = d.WaitForWindow("#32770", ProgramProductName());
    if (box == nullptr) return;
    told = BoxText(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    d.WaitUntilGone(box);
    stayed = IsWindowVisible(dialog) != FALSE;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_FALSE(EditExclusions(nullptr, path_));
  driver.Finish();
  SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_TRUE(driver.ok()) << driver.report();
  EXPECT_EQ(told, LanguageText("L0226"));
  EXPECT_TRUE(stayed);
}

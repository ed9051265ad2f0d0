// The options page: every switch and day count is written the moment it
// changes and never leaves its range; the exclusion count follows the list;
// the skin chooser stores a choice only when one is selected.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "foundation/com_ptr.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "modal_driver.h"
#include "resource_ids.h"
#include "scan/scan_config.h"
#include "test_dialog_ids.h"
#include "ui/controls/day_spin.h"
#include "ui/dialogs/skin_dialog.h"
#include "ui/pages/options_page.h"
#include "ui/rules/text_format.h"
#include "ui/window_messages.h"
#include "ui/window_text.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

class OptionsPageTest : public ::testing::Test {
 protected:
  OptionsPageTest() : host_(IDD_TEST_DIALOG) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    program_.files().WriteFile("Settings.xml",
                               "<Config><Exclude><default/><custom><item value=\"A\"/>"
                               "</custom></Exclude></Config>");
  }
  ~OptionsPageTest() override {
    page_.reset();
    host_.Destroy();
  }
  void Open() {
    host_.Create(nullptr);
    page_ = std::make_unique<OptionsPage>(PageContext{program_.path(), nullptr});
    ASSERT_NE(page_->Create(host_.window()), nullptr);
  }
  HWND Item(int id) const { return page_->Item(id); }
  void Click(int id) const { SendMessageA(Item(id), BM_CLICK, 0, 0); }
  // One press of the arrow key in the day count.
  void Step(WPARAM key) const {
    SendMessageA(Item(IDC_OPT_DAYS), WM_KEYDOWN, key, 1);
    SendMessageA(Item(IDC_OPT_DAYS), WM_KEYUP, key, 0xC0000001);
  }
  void Type(const std::string& text) const {
    SetWindowTextA(Item(IDC_OPT_DAYS), text.c_str());
    SendMessageA(page_->window(), WM_COMMAND, MAKEWPARAM(IDC_OPT_DAYS, EN_KILLFOCUS),
                 reinterpret_cast<LPARAM>(Item(IDC_OPT_DAYS)));
  }
  std::string Days() const { return WindowText(Item(IDC_OPT_DAYS)); }

  ComApartment com_;
  GdiplusScope gdiplus_;
  ProgramFolder program_;
  Dialog host_;
  std::unique_ptr<OptionsPage> page_;
};

}  // namespace

TEST_F(OptionsPageTest, EachSwitchIsWrittenTheMomentItIsClicked) {
  Open();
  struct Case {
    int id;
    const char* key;
    const char* stored;
    bool daysEnabled;
  };
  const Case cases[] = {
      {IDC_OPT_BACKUP_WHEN_CLEAN, kKeyBackupWhenClean, "0", true},
      {IDC_OPT_BACKUP_WHEN_CLEAN, kKeyBackupWhenClean, "1", true},
      {IDC_OPT_AUTO_DELETE, kKeyAutoDelBackup, "0", false},
      {IDC_OPT_AUTO_DELETE, kKeyAutoDelBackup, "1", true},
  };
  for (const Case& c : cases) {
    Click(c.id);
    EXPECT_EQ(ReadSetting(c.key), c.stored) << c.key;
    EXPECT_EQ(IsWindowEnabled(Item(IDC_OPT_DAYS)) != FALSE, c.daysEnabled)
        << c.key << " " << c.stored;
    EXPECT_EQ(IsWindowEnabled(Item(IDC_OPT_DAYS_SPIN)) != FALSE, c.daysEnabled);
  }
}

TEST_F(OptionsPageTest, TheSwitchesShowWhatIsStored) {
  WriteSetting(kKeyBackupWhenClean, "0");
  WriteSetting(kKeyAutoDelBackup, "yes");  // not a number: its default, on
  Open();
  EXPECT_EQ(IsDlgButtonChecked(page_->window(), IDC_OPT_BACKUP_WHEN_CLEAN), BST_UNCHECKED);
  EXPECT_EQ(IsDlgButtonChecked(page_->window(), IDC_OPT_AUTO_DELETE), BST_CHECKED);
  WriteSetting(kKeyAutoDelBackup, "0");
  SendMessageA(page_->window(), WM_PAGE_ACTIVATED, 0, 0);
  EXPECT_EQ(IsDlgButtonChecked(page_->window(), IDC_OPT_AUTO_DELETE), BST_UNCHECKED)
      << "read again when the page is shown";
  EXPECT_FALSE(IsWindowEnabled(Item(IDC_OPT_DAYS))) << "no day count without deletion";
}

TEST_F(OptionsPageTest, AStoredDayCountOutsideItsRangeShowsTheDefault) {
  const struct {
    const char* stored;
    const char* shown;
  } cases[] = {{"0", "60"}, {"61", "60"}, {"-5", "60"}, {"4x", "60"}, {"1", "1"}, {"37", "37"}};
  for (const auto& c : cases) {
    WriteSetting(kKeyAutoDelBackupDays, c.stored);
    Open();
    EXPECT_EQ(Days(), c.shown) << "stored " << c.stored;
    page_.reset();
    host_.Destroy();
  }
}

TEST_F(OptionsPageTest, TheSpinWrapsRoundAndEveryStepIsWritten) {
  WriteSetting(kKeyAutoDelBackupDays, "59");
  Open();
  const struct {
    WPARAM key;
    const char* days;
  } steps[] = {{VK_UP, "60"}, {VK_UP, "1"}, {VK_UP, "2"}, {VK_DOWN, "1"}, {VK_DOWN, "60"}};
  for (const auto& step : steps) {
    Step(step.key);
    EXPECT_EQ(Days(), step.days);
    EXPECT_EQ(ReadSetting(kKeyAutoDelBackupDays), step.days) << "written at once";
  }
}

TEST_F(OptionsPageTest, ATypedDayCountIsStoredOnlyWithinItsRange) {
  Open();
  const struct {
    const char* typed;
    const char* stored;
  } cases[] = {{"45", "45"}, {"0", "45"}, {"61", "45"}, {"", "45"}, {"1", "1"}, {"60", "60"}};
  for (const auto& c : cases) {
    Type(c.typed);
    EXPECT_EQ(ReadSetting(kKeyAutoDelBackupDays), c.stored) << "typed \"" << c.typed << "\"";
    EXPECT_EQ(Days(), c.stored) << "the edit shows what is stored once left";
  }
}

TEST(DayCountStep, WrapsWithinOneToTheMaximum) {
  const struct {
    int value, delta, maximum, expected;
  } cases[] = {{60, 1, 60, 1},  {1, -1, 60, 60}, {30, 5, 60, 35},  {58, 5, 60, 3},
               {3, -5, 60, 58}, {0, 0, 90, 1},   {500, 0, 90, 90}, {90, 1, 90, 1}};
  for (const auto& c : cases)
    EXPECT_EQ(StepWrapped(c.value, c.delta, c.maximum), c.expected)
        << c.value << " + " << c.delta << " in 1.." << c.maximum;
}

TEST_F(OptionsPageTest, TheExclusionCountFollowsTheList) {
  Open();
  const auto shown = [this] { return WindowText(Item(IDC_OPT_EXCL_COUNT)); };
  EXPECT_EQ(shown(), FormatChecked(LanguageText("L0101"), {1}));
  ASSERT_TRUE(AddExclusion(SettingsXmlPath(), "HKEY_CURRENT_USER\\Software\\B"));
  SendMessageA(page_->window(), WM_EXCLUSIONS_CHANGED, 0, 0);
  EXPECT_EQ(shown(), FormatChecked(LanguageText("L0101"), {2}));
}

TEST_F(OptionsPageTest, TheLanguageAndSkinShownAreTheOnesInUse) {
  CopyFileA(SourcePath("package\\Language\\Default.bmp").c_str(),
            (program_.files() / "Language\\Default.bmp").c_str(), FALSE);
  const struct {
    const char* languageFile;
    const char* language;
    bool shippedSkin;  // Skin\Default exists
    const char* skinName;
    const char* skin;
  } cases[] = {
      {"German.txt", "German", true, "Blue", "Blue"},
      {"", "English", true, "", "Default"},  // the fallback and the shipped skin are in use
      {"", "English", false, "", nullptr},   // the Skin folder itself: L0266
  };
  for (const auto& c : cases) {
    if (c.shippedSkin) program_.files().MakeFolder("Skin\\Default");
    if (!c.shippedSkin) RemoveDirectoryA((program_.files() / "Skin\\Default").c_str());
    WriteSetting(kKeyLanguageFile, c.languageFile);
    WriteSetting(kKeySkinName, c.skinName);
    Open();
    EXPECT_EQ(WindowText(Item(IDC_OPT_LANGUAGE_TITLE)), c.language) << c.languageFile;
    EXPECT_NE(SendMessageA(Item(IDC_OPT_LANGUAGE_FLAG), STM_GETIMAGE, IMAGE_BITMAP, 0), 0)
        << "a flag is shown (Default.bmp when the language has none)";
    EXPECT_EQ(WindowText(Item(IDC_OPT_SKIN_NAME)), c.skin ? c.skin : LanguageText("L0266"))
        << "SkinName \"" << c.skinName << "\"";
    page_.reset();
    host_.Destroy();
  }
}

TEST(SkinChooser, OkStoresTheChosenSkinAndNothingWhenNoneIsSelected) {
  for (const std::string choose : {"Blue", ""}) {
    ProgramFolder program;
    program.files().MakeFolder("Skin\\Default");
    program.files().MakeFolder("Skin\\Blue");
    WriteSetting(kKeySkinName, "Gone");  // no such folder: nothing is selected at first
    std::string note;
    ModalDriver driver([&](ModalDriver& d) {
      const HWND dialog = d.WaitForWindow("#32770", LanguageText("L0264"));
      if (dialog == nullptr) return;
      const HWND list = GetDlgItem(dialog, IDC_SKIN_LIST);
      if (SendMessageA(list, CB_GETCURSEL, 0, 0) != CB_ERR) d.Problem("a skin was selected");
      const LPARAM name = reinterpret_cast<LPARAM>(choose.c_str());
      if (!choose.empty())
        SendMessageA(list, CB_SETCURSEL, SendMessageA(list, CB_FINDSTRINGEXACT, -1, name), 0);
      PostMessageA(dialog, WM_COMMAND, IDOK, 0);
      if (!d.WaitUntilGone(dialog) || choose.empty()) return;
      if (const HWND box = d.WaitForWindow("#32770", "")) {
        note = WindowTextOf(GetDlgItem(box, 0xFFFF));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      }
    });
    EXPECT_TRUE(ChooseSkin(nullptr, program.path())) << "ended with OK, chose " << choose;
    driver.Finish();
    EXPECT_TRUE(driver.ok()) << driver.report();
    EXPECT_EQ(ReadSetting(kKeySkinName), choose.empty() ? "Gone" : choose)
        << "chose \"" << choose << "\"";
    if (!choose.empty()) EXPECT_EQ(note, LanguageText("L0124"));
  }
}

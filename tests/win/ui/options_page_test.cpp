// The options page: the switches and day count show what is stored and the
// day count is written the moment it changes, never outside its range; the
// language and skin shown are the ones in use.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "foundation/com_ptr.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "resource_ids.h"
#include "ui/pages/options_page.h"
#include "ui/window_messages.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

class OptionsPageTest : public ::testing::Test {
 protected:
  OptionsPageTest() {
    program_.files().WriteFile("Settings.xml",
                               "<Config><Exclude><default/><custom/></Exclude></Config>");
  }
  OptionsPage& Open() {
    page_.reset();  // the old page goes before the new one reads the settings
    page_.emplace(PageContext{program_.path(), nullptr});
    return page_->page;
  }
  std::string Days() const { return page_->Text(IDC_OPT_DAYS); }

  ComApartment com_;
  GdiplusScope gdiplus_;
  ProgramFolder program_;
  std::optional<HostedPage<OptionsPage>> page_;
};

}  // namespace

TEST_F(OptionsPageTest, TheSwitchesShowWhatIsStoredAndAreReadAgainWhenShown) {
  WriteSetting(kKeyBackupWhenClean, "0");
  WriteSetting(kKeyAutoDelBackup, "yes");  // not a number: its default, on
  OptionsPage& page = Open();
  EXPECT_FALSE(page_->Ticked(IDC_OPT_BACKUP_WHEN_CLEAN));
  EXPECT_TRUE(page_->Ticked(IDC_OPT_AUTO_DELETE));
  WriteSetting(kKeyAutoDelBackup, "0");
  SendMessageA(page.window(), WM_PAGE_ACTIVATED, 0, 0);
  EXPECT_FALSE(page_->Ticked(IDC_OPT_AUTO_DELETE)) << "read again when the page is shown";
  EXPECT_FALSE(page_->Enabled(IDC_OPT_DAYS)) << "no day count without deletion";
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
  }
}

TEST_F(OptionsPageTest, TheDayCountWrapsRoundAndIsStoredAtOnceOnlyWithinItsRange) {
  WriteSetting(kKeyAutoDelBackupDays, "59");
  const HWND days = Open().Item(IDC_OPT_DAYS);
  const struct {
    WPARAM key;
    const char* days;
  } steps[] = {{VK_UP, "60"}, {VK_UP, "1"}, {VK_UP, "2"}, {VK_DOWN, "1"}, {VK_DOWN, "60"}};
  for (const auto& step : steps) {
    SendMessageA(days, WM_KEYDOWN, step.key, 1);
    SendMessageA(days, WM_KEYUP, step.key, 0xC0000001);
    EXPECT_EQ(Days(), step.days);
    EXPECT_EQ(ReadSetting(kKeyAutoDelBackupDays), step.days) << "written at once";
  }
  const struct {
    const char* typed;
    const char* stored;
  } typed[] = {{"45", "45"}, {"0", "45"}, {"61", "45"}, {"", "45"}, {"1", "1"}, {"60", "60"}};
  for (const auto& c : typed) {
    SetWindowTextA(days, c.typed);
    SendMessageA(page_->page.window(), WM_COMMAND, MAKEWPARAM(IDC_OPT_DAYS, EN_KILLFOCUS),
                 reinterpret_cast<LPARAM>(days));
    EXPECT_EQ(ReadSetting(kKeyAutoDelBackupDays), c.stored) << "typed \"" << c.typed << "\"";
    EXPECT_EQ(Days(), c.stored) << "the edit shows what is stored once left";
  }
}

TEST_F(OptionsPageTest, TheLanguageAndSkinShownAreTheOnesInUse) {
  CopyFileA(SourcePath("package\\Language\\Default.bmp").c_str(),
            (program_.files() / "Language\\Default.bmp").c_str(), FALSE);
  const struct {
    const char* languageFile;
    const char* language;
    bool shippedSkin;  // Skin\Default exists
    const char* skinName;
    const char* skin;  // nullptr: L0266, the Skin folder itself
  } cases[] = {
      {"German.txt", "German", true, "Blue", "Blue"},
      {"", "English", true, "", "Default"},
      {"", "English", false, "", nullptr},
  };
  for (const auto& c : cases) {
    if (c.shippedSkin) program_.files().MakeFolder("Skin\\Default");
    if (!c.shippedSkin) RemoveDirectoryA((program_.files() / "Skin\\Default").c_str());
    WriteSetting(kKeyLanguageFile, c.languageFile);
    WriteSetting(kKeySkinName, c.skinName);
    OptionsPage& page = Open();
    EXPECT_EQ(page_->Text(IDC_OPT_LANGUAGE_TITLE), c.language) << c.languageFile;
    EXPECT_NE(SendMessageA(page.Item(IDC_OPT_LANGUAGE_FLAG), STM_GETIMAGE, IMAGE_BITMAP, 0), 0)
        << "a flag is shown (Default.bmp when the language has none)";
    EXPECT_EQ(page_->Text(IDC_OPT_SKIN_NAME), c.skin ? c.skin : LanguageText("L0266"))
        << "SkinName \"" << c.skinName << "\"";
  }
}

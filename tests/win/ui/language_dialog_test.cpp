// The language and skin choosers: OK stores the choice, and OK with nothing
// selected (the stored one is not there) stores nothing.
#include <gtest/gtest.h>

#include <string>

#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "resource_ids.h"
#include "ui/dialogs/language_dialog.h"
#include "ui/dialogs/skin_dialog.h"
#include "ui_test_support.h"

using namespace kelvane;

TEST(Choosers, OkStoresTheChoiceAndNothingWhenNoneIsSelected) {
  const struct {
    const char* captionKey;
    int list;
    bool (*choose)(HWND, const std::string&);
    const char* key;
    const char* before;  // stored, and not in the list: nothing selected at first
    const char* choice;  // "" selects nothing
    const char* stored;  // afterwards
  } cases[] = {
      {"L0225", IDC_LANGUAGE_LIST, ChooseLanguage, kKeyLanguageFile, "", "Test", "Test.txt"},
      {"L0225", IDC_LANGUAGE_LIST, ChooseLanguage, kKeyLanguageFile, "", "", ""},
      {"L0264", IDC_SKIN_LIST, ChooseSkin, kKeySkinName, "Gone", "Blue", "Blue"},
      {"L0264", IDC_SKIN_LIST, ChooseSkin, kKeySkinName, "Gone", "", "Gone"},
  };
  for (const auto& c : cases) {
    ProgramFolder program;
    program.files().WriteFile("Language\\Test.txt", "[String]\nL0001=Start\n");
    program.files().MakeFolder("Skin\\Default");
    program.files().MakeFolder("Skin\\Blue");
    WriteSetting(c.key, c.before);
    const std::string choice = c.choice;
    ModalDriver driver([&](ModalDriver& d) {
      const HWND dialog = d.WaitForWindow("#32770", LanguageText(c.captionKey));
      if (dialog == nullptr) return;
      const HWND list = GetDlgItem(dialog, c.list);
      if (SendMessageA(list, CB_GETCURSEL, 0, 0) != CB_ERR) d.Problem("a missing choice selected");
      const LPARAM name = reinterpret_cast<LPARAM>(c.choice);
      if (!choice.empty())
        SendMessageA(list, CB_SETCURSEL, SendMessageA(list, CB_FINDSTRINGEXACT, -1, name), 0);
      PostMessageA(dialog, WM_COMMAND, IDOK, 0);
      if (!d.WaitUntilGone(dialog) || choice.empty()) return;
      if (const HWND note = d.WaitForWindow("#32770", ""))  // "comes with the next start"
        PostMessageA(note, WM_COMMAND, IDOK, 0);
    });
    EXPECT_TRUE(c.choose(nullptr, program.path())) << "ended with OK, chose " << choice;
    driver.Finish();
    EXPECT_TRUE(driver.ok()) << driver.report();
    EXPECT_EQ(ReadSetting(c.key), c.stored) << "chose \"" << choice << "\"";
  }
}

// The language chooser: OK stores the language chosen, OK with nothing
// selected stores nothing.
#include <gtest/gtest.h>

#include <string>

#include "foundation/language_table.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "modal_driver.h"
#include "resource_ids.h"
#include "ui/dialogs/language_dialog.h"
#include "ui_test_support.h"

using namespace kelvane;

TEST(LanguageChooser, OkStoresTheChosenLanguageAndNothingWhenNoneIsSelected) {
  for (const std::string choose : {"Test", ""}) {
    ProgramFolder program;  // no LanguageFile: nothing is selected at first
    program.files().WriteFile("Language\\Test.txt", "[String]\nL0001=Start\n");
    ModalDriver driver([&](ModalDriver& d) {
      const HWND dialog = d.WaitForWindow("#32770", LanguageText("L0225"));
      if (dialog == nullptr) return;
      const HWND list = GetDlgItem(dialog, IDC_LANGUAGE_LIST);
      const LPARAM name = reinterpret_cast<LPARAM>(choose.c_str());
      if (!choose.empty())
        SendMessageA(list, CB_SETCURSEL, SendMessageA(list, CB_FINDSTRINGEXACT, -1, name), 0);
      PostMessageA(dialog, WM_COMMAND, IDOK, 0);
      if (!d.WaitUntilGone(dialog) || choose.empty()) return;
      if (const HWND note = d.WaitForWindow("#32770", ""))  // "comes with the next start"
        PostMessageA(note, WM_COMMAND, IDOK, 0);
    });
    EXPECT_TRUE(ChooseLanguage(nullptr, program.path())) << "ended with OK, chose " << choose;
    driver.Finish();
    EXPECT_TRUE(driver.ok()) << driver.report();
    EXPECT_EQ(ReadSetting(kKeyLanguageFile), choose.empty() ? "" : "Test.txt")
        << "chose \"" << choose << "\"";
  }
}

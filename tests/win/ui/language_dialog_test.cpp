// The language chooser: what it lists and shows, what OK and Cancel store,
// and the note that the new language comes with the next start.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/language_table.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "modal_driver.h"
#include "resource_ids.h"
#include "ui/dialogs/language_dialog.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

// What the driver saw of the chooser and of the note after it.
struct Seen {
  std::string caption;
  std::string buttons;  // OK|Cancel captions
  std::vector<std::string> entries;
  std::string selected;
  HANDLE flagFirst = nullptr;  // the flag shown at first and after the choice
  HANDLE flagChosen = nullptr;
  std::string noteText;
  std::string noteCaption;
  bool noteHasInformationIcon = false;
};

std::string SelectedEntry(HWND list) {
  const LRESULT row = SendMessageA(list, CB_GETCURSEL, 0, 0);
  if (row == CB_ERR) return std::string();
  char text[256] = "";
  SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text));
  return text;
}

std::vector<std::string> Entries(HWND list) {
  std::vector<std::string> entries;
  const LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
  for (LRESULT row = 0; row < count; ++row) {
    char text[256] = "";
    SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text));
    entries.push_back(text);
  }
  std::sort(entries.begin(), entries.end());  // the order found is the file system's
  return entries;
}

bool ShowsIcon(HWND box, HICON icon) {
  struct Search {
    HICON icon;
    bool found;
  } search{icon, false};
  EnumChildWindows(
      box,
      [](HWND child, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        if (reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)) == s->icon)
          s->found = true;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Runs the chooser: `choose` is the entry to pick ("" picks none), then OK
// or Cancel; a note that follows is read and answered.
bool RunChooser(const std::string& folder, const std::string& choose, int button, Seen& seen,
                bool expectNote, std::string& problems) {
  ModalDriver driver([&](ModalDriver& d) {
    const HWND dialog = d.WaitForWindow("#32770", LanguageText("L0225"));
    if (dialog == nullptr) return;
    const HWND list = GetDlgItem(dialog, IDC_LANGUAGE_LIST);
    seen.caption = WindowTextOf(dialog);
    seen.buttons =
        WindowTextOf(GetDlgItem(dialog, IDOK)) + "|" + WindowTextOf(GetDlgItem(dialog, IDCANCEL));
    seen.entries = Entries(list);
    seen.selected = SelectedEntry(list);
    seen.flagFirst = reinterpret_cast<HANDLE>(
        SendDlgItemMessageA(dialog, IDC_LANGUAGE_FLAG, STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (!choose.empty()) {
      SendMessageA(list, CB_SETCURSEL,
                   SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                reinterpret_cast<LPARAM>(choose.c_str())),
                   0);
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_LANGUAGE_LIST, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));  // as a choice with the mouse tells it
    }
    seen.flagChosen = reinterpret_cast<HANDLE>(
        SendDlgItemMessageA(dialog, IDC_LANGUAGE_FLAG, STM_GETIMAGE, IMAGE_BITMAP, 0));
    PostMessageA(dialog, WM_COMMAND, button, 0);
    if (!d.WaitUntilGone(dialog)) return;
    if (!expectNote) {
      d.NoWindowFor("#32770", 1500);
      return;
    }
    const HWND note = d.WaitForWindow("#32770", "");
    if (note == nullptr) return;
    seen.noteText = WindowTextOf(GetDlgItem(note, 0xFFFF));
    seen.noteCaption = WindowTextOf(note);
    seen.noteHasInformationIcon = ShowsIcon(note, LoadIconA(nullptr, IDI_INFORMATION));
    PostMessageA(note, WM_COMMAND, IDOK, 0);
  });
  const bool ok = ChooseLanguage(nullptr, folder);
  driver.Finish();
  problems = driver.report();
  return ok;
}

}  // namespace

TEST(LanguageChooser, ListsTheLanguageFilesShowsTheCurrentOneAndCancelWritesNothing) {
  ProgramFolder program;
  program.files().WriteFile("Language\\Test.txt", "[String]\nL0001=Start\n");
  program.files().WriteFile("Language\\readme.md", "not a language");
  for (const char* flag : {"English.bmp", "Default.bmp"}) {
    CopyFileA(SourcePath(std::string("package\\Language\\") + flag).c_str(),
              (program.files() / (std::string("Language\\") + flag)).c_str(), FALSE);
  }
  WriteSetting(kKeyLanguageFile, "Test.txt");

  Seen seen;
  std::string problems;
  EXPECT_FALSE(RunChooser(program.path(), "English", IDCANCEL, seen, false, problems))
      << "Cancel ends without OK";
  EXPECT_EQ(problems, "");
  EXPECT_EQ(seen.caption, "Language") << "the caption key is translated";
  EXPECT_EQ(seen.buttons, "OK|Cancel") << "the button keys are translated";
  EXPECT_EQ(seen.entries, (std::vector<std::string>{"English", "Test"}))
      << "*.txt only, no extension";
  EXPECT_EQ(seen.selected, "Test") << "the current LanguageFile is shown";
  EXPECT_NE(seen.flagFirst, nullptr) << "with a flag (Test has none of its own: Default.bmp)";
  EXPECT_NE(seen.flagChosen, nullptr) << "a flag after the choice";
  EXPECT_NE(seen.flagChosen, seen.flagFirst) << "the flag follows the language selected";
  EXPECT_EQ(ReadSetting(kKeyLanguageFile), "Test.txt") << "Cancel wrote nothing";
}

TEST(LanguageChooser, OkStoresTheChoiceAndTellsOfTheNextStartOnlyWhenItChanged) {
  ProgramFolder program;
  program.files().WriteFile("Language\\Test.txt", "[String]\nL0001=Start\n");
  WriteSetting(kKeyLanguageFile, "English.txt");

  Seen seen;
  std::string problems;
  EXPECT_TRUE(RunChooser(program.path(), "Test", IDOK, seen, true, problems)) << "ended with OK";
  EXPECT_EQ(problems, "");
  EXPECT_EQ(seen.selected, "English") << "the language in use was shown first";
  EXPECT_EQ(ReadSetting(kKeyLanguageFile), "Test.txt") << "OK stored the file with its extension";
  EXPECT_EQ(seen.noteText, LanguageText("L0120"))
      << "the note says the language comes with the next start";
  EXPECT_EQ(seen.noteCaption, "Kelvane") << "the product name is the note's caption";
  EXPECT_TRUE(seen.noteHasInformationIcon) << "with the information icon";

  Seen again;
  EXPECT_TRUE(RunChooser(program.path(), "Test", IDOK, again, false, problems)) << "OK again";
  EXPECT_EQ(problems, "") << "the same language chosen again brings no note";
  EXPECT_EQ(again.selected, "Test") << "the stored choice is shown next time";
}

TEST(LanguageChooser, OkWithNothingSelectedChangesNothing) {
  ProgramFolder program;  // no LanguageFile: nothing in the list is selected
  Seen seen;
  std::string problems;
  EXPECT_TRUE(RunChooser(program.path(), "", IDOK, seen, false, problems)) << "ended with OK";
  EXPECT_EQ(problems, "") << "no note";
  EXPECT_EQ(seen.selected, "") << "nothing was shown as selected";
  EXPECT_EQ(ReadWholeFile(program.files() / "Settings.ini").find("LanguageFile"), std::string::npos)
      << "LanguageFile was not written";
}

// The program's own files: Settings.ini, the language files, its version resource.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "foundation/language_choice.h"
#include "foundation/language_table.h"
#include "foundation/program_paths.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "foundation/version_info.h"
#include "support/scratch_folder.h"
#include "support/test_paths.h"

using namespace kelvane;

TEST(ProgramFiles, SettingsReadTheirDefaultsStoreDecimalsAndExpandOnlyTheFirstPathToken) {
  ScratchFolder folder;
  SetSettingsPaths(folder / "Settings.ini", folder / "Settings.xml");
  EXPECT_EQ(ReadSettingInt(kKeyAutoDelBackupDays, kDefaultAutoDelBackupDays), 60);
  EXPECT_EQ(ReadSettingInt(kKeyAutoDelFullBackupDays, kDefaultAutoDelFullBackupDays), 90);
  EXPECT_EQ(ReadSettingInt(kKeyBackupWhenClean, kDefaultBackupWhenClean), 1);
  EXPECT_EQ(ReadSettingInt(kKeyAutoDelBackup, kDefaultAutoDelBackup), 1);
  EXPECT_EQ(ReadSettingInt(kKeyAutoDelFullBackup, kDefaultAutoDelFullBackup), 1);
  EXPECT_EQ(ReadSettingInt(kKeyInitPage, kDefaultInitPage), 0);
  for (const char* key : {kKeyLastScan, kKeyLastClean, kKeyLastBackup, kKeyLastDefrag, kKeySkinName,
                          kKeyLanguageFile})
    EXPECT_EQ(ReadSetting(key), "") << key;
  EXPECT_TRUE(WriteSettingInt(kKeyErrorCount, -1));
  EXPECT_NE(ReadWholeFile(folder / "Settings.ini").find("ErrorCnt=-1"), std::string::npos);

  char buffer[MAX_PATH];
  const std::string windows(buffer, GetWindowsDirectoryA(buffer, MAX_PATH));
  const std::string program = GetProgramFolder();
  const std::pair<const char*, std::string> cases[] = {
      {"%module_path%\\x", program + "\\x"},
      {"%temp_path%\\%module_path%", "%temp_path%\\" + program},
      {"%system_path%;%window_path%;%window_path%", "%system_path%;" + windows + ";" + windows},
      {"%MODULE_PATH%\\x", "%MODULE_PATH%\\x"}};
  for (const auto& c : cases) {
    WriteSetting(kKeySkinName, c.first);
    EXPECT_EQ(ReadSetting(kKeySkinName), c.second) << c.first;
  }
  SetSettingsPaths("", "");
  EXPECT_EQ(ProgramFolderOf("C:\\Tools\\Kelvane.exe"), "C:\\Tools");
  EXPECT_EQ(ProgramFolderOf("C:\\Kelvane.exe"), "C:");
  EXPECT_EQ(ProgramFolderOf("C:Kelvane.exe"), "C:");
  EXPECT_EQ(ProgramFolderOf("\\\\server\\share\\Tools\\Kelvane.exe"), "\\\\server\\share\\Tools");
}

TEST(ProgramFiles, LanguageTextsComeFromThePrimaryThenTheFallbackThenTheKeyItself) {
  ScratchFolder folder;
  const std::string primary = folder.WriteFile("de.txt", "[String]\nL0001=Start\nL0002=A\\nB\n");
  LanguageTable table;
  table.Open(primary, folder.WriteFile("en.txt", "[String]\nL0004=Defrag\n"));
  EXPECT_EQ(table.Lookup("L0001", true), "Start") << "from the primary file";
  EXPECT_EQ(table.Lookup("L0004", true), "Defrag") << "from the fallback file";
  EXPECT_EQ(table.Lookup("L9999", true), "L9999") << "in neither file";
  EXPECT_EQ(table.Lookup("L0002", false), "A\\nB");
  WritePrivateProfileStringA("String", "L0001", "Neustart", primary.c_str());
  EXPECT_EQ(table.Lookup("L0001", true), "Neustart");  // an edit is seen at once

  const auto make = [](HWND parent, const char* caption) {
    return CreateWindowExA(0, "STATIC", caption, parent ? WS_CHILD : WS_OVERLAPPED, 0, 0, 9, 9,
                           parent, nullptr, nullptr, nullptr);
  };
  const HWND top = make(nullptr, "L0001"), group = make(top, "L0004");
  const HWND all[] = {top, group, make(group, "L0002"), make(top, "OK"), make(top, "")};
  table.TranslateWindow(top);
  std::string captions;
  for (HWND window : all) {
    char caption[64] = "?";
    GetWindowTextA(window, caption, sizeof caption);
    captions += std::string(caption) + "|";
  }
  EXPECT_EQ(captions, "Neustart|Defrag|A\nB|OK||");  // captions that are no key stay
  DestroyWindow(top);
}

TEST(ProgramFiles, TheLanguageChooserListsTheFilesAndFindsTheirFlags) {
  ScratchFolder folder;
  for (const char* name : {"Deutsch.txt", "English.txt", "readme.md", "Deutsch.bmp"})
    folder.WriteFile(std::string("Language\\") + name);
  std::vector<std::string> entries;
  for (const LanguageEntry& entry : ListLanguageFiles(folder.path()))
    entries.push_back(entry.fileName + "=" + entry.title);
  std::sort(entries.begin(), entries.end());
  EXPECT_EQ(entries, (std::vector<std::string>{"Deutsch.txt=Deutsch", "English.txt=English"}));
  EXPECT_EQ(LanguageFlagPath(folder.path(), "Deutsch.txt"), folder / "Language\\Deutsch.bmp");
  EXPECT_EQ(LanguageFlagPath(folder.path(), "English.txt"), folder / "Language\\Default.bmp");
  EXPECT_EQ(LanguageTitleOf("a.txt.txt"), "a");
}

TEST(ShippedFiles, EnglishFormatsCarryTheConversionsTheirCallersPassAndTheProgramItsVersion) {
  UseRepositoryLanguage();
  const auto conversions = [](const char* key) {
    return std::regex_replace(LanguageText(key),
                              std::regex("(%[-+ #0-9.]*(I64)?[a-zA-Z])|%%|[^%]+|%"), "$1");
  };
  for (const char* category : {"L0045", "L0047", "L0048", "L0049", "L0050", "L0051", "L0052",
                               "L0053", "L0054", "L0055", "L0056"})
    EXPECT_EQ(conversions(category), "%s") << category;
  EXPECT_EQ(conversions("L0090"), "%02d%02d%04d%02d%02d%02d");
  for (const char* done : {"L0149", "L0167", "L0170"}) {
    EXPECT_EQ(conversions(done), "%s%I64d") << done;
    EXPECT_NE(FormatLanguageText(done, "today", 12345678901LL).find("12345678901"),
              std::string::npos);
  }
  EXPECT_EQ(GetProductName(KelvaneExePath()), "Kelvane");
  EXPECT_EQ(GetProductVersion(KelvaneExePath()), "3.0");
  EXPECT_EQ(GetProductName(SourcePath("package\\Language\\English.txt")), "");  // no resource
}
